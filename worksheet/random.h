// The program-wide 32-bit linear congruential generator of the window.
#pragma once

#include <cstdint>

#include "worksheet/lcg.h"

// Advanced by every draw; seeded once at start-up.
extern uint32_t RandomState;

// Seeds RandomState from the clock (ClockSeed).
void SeedRandom();

// Advances RandomState := RandomState × 134775813 + 1 (mod 2^32), then returns
// floor(n × RandomState / 2^32), both taken unsigned: 0..n-1 for n ≥ 1.
int32_t RandomInt(int32_t n);

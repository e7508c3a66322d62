// The draws of a sheet: a 32-bit linear congruential generator held as a
// value and handed to whatever draws, so that the same seed gives the same
// sheets on every machine.
#pragma once

#include <cstdint>

struct TRandom {
    uint32_t State = 0;

    // Advances State := State × 134775813 + 1 (mod 2^32), then returns
    // floor(n × State / 2^32), both taken unsigned: 0..n-1 for n ≥ 1.
    int32_t Below(int32_t n)
    {
        State = State * 134775813u + 1u;
        const uint64_t product = static_cast<uint64_t>(static_cast<uint32_t>(n)) * State;
        return static_cast<int32_t>(static_cast<uint32_t>(product >> 32));
    }
};

// The generator a 64-bit seed (--seed, a link) starts: its two halves folded
// into the 32-bit state.
inline TRandom RandomFromSeed(uint64_t seed)
{
    return TRandom{static_cast<uint32_t>(seed) ^ static_cast<uint32_t>(seed >> 32)};
}

// The low 32 bits of the monotonic clock in nanoseconds (a coarser clock if
// that one cannot be read): a seed that differs from run to run.
uint32_t ClockSeed();

// A 64-bit seed that differs from run to run: the time in seconds above
// ClockSeed.
uint64_t FreshSeed();

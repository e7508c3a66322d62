// Helpers shared by the worksheet tests.
#pragma once

#include <cstdint>

#include "worksheet/settings.h"

// The generator's recurrence, stepped `draws` times from `state`.
uint32_t AdvanceState(uint32_t state, uint64_t draws);

// Puts the program-wide table and values back to their start-up state.
void ResetWorksheetGlobals();

// The carrying conditions in words, written independently of the generator:
// true when multiplicand × multiplier is a problem of `mode`.
bool MeetsMode(int32_t mode, int32_t multiplicand, int32_t multiplier);

// Settings whose every range holds a single digit: those of `first` and
// `second`, place by place.
TWorksheetSettings FixedProblem(TOperation operation, int32_t first, int32_t second, int32_t pattern);

// The patterns and the remainder choice of long division, worked digit by
// digit as a pupil would, guessing each quotient digit with the divisor
// taken as its nearest ten: true when dividend ÷ divisor is a problem of
// `pattern` and `remainder` (0 any, 1 none, 2 some).
bool MeetsDivisionPattern(int32_t pattern, int32_t remainder, int32_t dividend, int32_t divisor);

// The patterns of written addition and subtraction, worked column by column
// on the decimal texts as a pupil would, independently of the generator:
// true when first + second (or first − second) is a problem of `pattern`.
bool MeetsAdditionPattern(int32_t pattern, int32_t first, int32_t second);
bool MeetsSubtractionPattern(int32_t pattern, int32_t first, int32_t second);

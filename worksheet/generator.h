// The window's generator: fills the program-wide problem table with distinct
// random problems that meet the digit ranges, the carrying mode and the
// answer range, drawing from RandomState.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "worksheet/settings.h"
#include "worksheet/sheet_generator.h"

// Draws the two digits of one place from its four range texts, given in the
// order multiplicand low, multiplicand high, multiplier low, multiplier high.
// Converts all four with TextToInt in that order (the first bad text raises
// EConvertError, and nothing is drawn), orders each pair, then makes exactly
// two draws: the multiplicand digit first, then the multiplier digit.
void PickDigits(std::string_view multiplicandLow, std::string_view multiplicandHigh,
                std::string_view multiplierLow, std::string_view multiplierHigh,
                int32_t& multiplicandDigit, int32_t& multiplierDigit);

// Seeks N problems (0..20; std::out_of_range otherwise) of the settings'
// operation (a multiplication unless they say otherwise) whose answer lies in
// [low, high] (ordered first), giving each at most 1000 candidates of eight
// draws. Writes entries 1..C of ProblemTable. After a shortfall (C < N) it sets
// QuestionCount := C, calls shortfallAlert (the beep and the modal warning;
// may be empty), and only then writes the texts of entries 1..C. Without a
// shortfall QuestionCount is left as the caller stored it. A digit text that
// is not an integer raises EConvertError before anything is written.
void GenerateProblems(const TWorksheetSettings& settings, int32_t N, int32_t low, int32_t high,
                      const std::function<void()>& shortfallAlert);

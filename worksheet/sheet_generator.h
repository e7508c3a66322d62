// Draws the problems of a sheet: distinct random problems that meet the
// digit ranges, the operation's pattern and the answer range.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "worksheet/lcg.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// Orders a and b so that a <= b (signed); equal values stay as they are.
void SortPair(int32_t& a, int32_t& b);

// The ordered ranges of one place, converted from its four texts in the
// order first low, first high, second low, second high (the first bad text
// raises EConvertError).
struct TPlaceRange {
    int32_t FirstLow, FirstSpan, SecondLow, SecondSpan;
};
TPlaceRange MakePlaceRange(std::string_view firstLow, std::string_view firstHigh, std::string_view secondLow,
                           std::string_view secondHigh);

// Two draws from `random`: the first number's digit of the place, then the
// second's.
void DrawPlace(const TPlaceRange& place, TRandom& random, int32_t& firstDigit, int32_t& secondDigit);

// Seeks N problems (0..20; std::out_of_range otherwise) of the settings'
// operation whose answer lies in [low, high] (ordered first), each among at
// most 1000 candidates of eight draws from `random`: for places 1 to 4, the
// first number's digit, then the second's. Returns the problems found, fewer
// than N after a shortfall. A digit text that is not an integer raises
// EConvertError before anything is drawn.
std::vector<TSheetProblem> DrawProblems(const TWorksheetSettings& settings, int32_t N, int32_t low, int32_t high,
                                        TRandom& random);

// A whole sheet numbered `number`: the requested count of the settings, the
// answer range converted from AnsLow, then AnsHigh (the first bad text
// raises EConvertError), and DrawProblems with `random`.
TSheet GenerateSheet(const TWorksheetSettings& settings, int32_t number, TRandom& random);

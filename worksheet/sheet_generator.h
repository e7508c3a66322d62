// Draws the problems of a sheet: distinct random problems that meet the
// digit ranges, the operation's pattern and the answer range.
#pragma once

#include <cstdint>
#include <vector>

#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// Seeks N problems (0..20; std::out_of_range otherwise) of the settings'
// operation whose
// answer lies in [low, high] (ordered first), each among at most 1000
// candidates of eight draws from RandomState: for places 1 to 4, the first
// number's digit, then the second's. Returns the problems found, fewer than
// N after a shortfall. A digit text that is not an integer raises
// EConvertError before anything is drawn.
std::vector<TSheetProblem> DrawProblems(const TWorksheetSettings& settings, int32_t N, int32_t low, int32_t high);

// A whole sheet numbered `number`: the requested count of
// the settings, the answer range converted from AnsLow, then AnsHigh (the
// first bad text raises EConvertError), and DrawProblems.
TSheet GenerateSheet(const TWorksheetSettings& settings, int32_t number);

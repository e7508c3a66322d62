// Class sets: a different sheet for every pupil, with consecutive numbers.
// Pure C++.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "worksheet/lcg.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// A run of the set found fewer than four problems: the set stops before
// anything is written or printed. The message is the shortfall warning.
class EShortfall : public std::runtime_error {
public:
    EShortfall();
};

// The text of the shortfall warning.
extern const char* const kShortfallMessage;

// The fewest problems a sheet is made with.
inline constexpr size_t kFewestProblems = 4;

struct TClassSet {
    int32_t Requested = 0;             // problems asked for per sheet
    std::vector<TSheet> Sheets;        // in number order
    std::vector<int32_t> ShortSheets;  // numbers of the sheets with fewer problems than asked
};

// The most sheets a class set has.
inline constexpr int32_t kMostSheets = 99;

// `count` when a class set may have that many sheets (1 to kMostSheets);
// ERefused naming it as it was typed (`typed`) otherwise.
int32_t CheckedSheetCount(int64_t count, const std::string& typed);

// Makes `count` sheets (1 to 99), each a fresh run of the generator with
// `settings`, drawing on from `random`, numbered from `firstNumber` on
// (NextNumber). A sheet that ends short is kept when it has four problems or
// more. `goOn` is asked after each sheet; false stops and raises EAbort.
// Raises EConvertError for a text that is not a number, EShortfall for a run
// with fewer than four problems, ERefused for a count outside 1 to 99.
TClassSet MakeClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber, TRandom& random,
                       const std::function<bool(int done)>& goOn = {});

// What the teacher is told when the numbers of `set` went past 2147483647
// and on from -2147483648; empty when they did not.
std::string WrappedNumbersNote(const TClassSet& set);

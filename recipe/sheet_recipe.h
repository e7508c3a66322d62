// What a sheet of 大きなマス carries for the reader: the recipe that makes
// it again (its settings as numbers, paper, seed, number, place in its set,
// kind and 出席番号) and a check of its problems, written as bytes and as the
// square code printed on it. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// What a page printed with a code is: a pupil's problem sheet, its answer
// sheet, or a diagnostic sheet's key. Only a problem sheet is read.
enum class TPageKind : uint8_t { Problems = 0, Answers = 1, Key = 2 };

// What the code carries at most: 出席番号 and places in a class set of up to
// 99 sheets, sheet numbers of up to six digits (either sign), up to 32
// problems (0: as many as the layout holds).
inline constexpr int32_t kMostRecipeRoll = 99, kMostRecipeNumber = 999999, kMostRecipeProblems = 32;

struct TSheetRecipe {
    // What decides the problems and the layout, the numbers as TextToInt
    // reads them (written back as decimal texts); the sentence is not kept.
    TWorksheetSettings Settings;
    std::string Paper = "A4";
    uint64_t Seed = 0;
    int32_t Number = 0;  // the sheet's own number
    int32_t Place = 0;   // its place in its set
    bool Diagnostic = false;
    // A pupil's follow-up sheet: the procedure it was made for (TSheet::FollowUp).
    std::optional<int32_t> FollowUp;
    int32_t Roll = 0;  // the 出席番号 printed on it, 0 for none
    TPageKind Kind = TPageKind::Problems;
    uint16_t ProblemsCheck = 0;  // ProblemsCheckOf its problems
    bool operator==(const TSheetRecipe&) const = default;
};

// A check of the problems, in their order (CRC-16).
uint16_t ProblemsCheckOf(const std::vector<TSheetProblem>& problems);

// True for an operation whose sheets the code can carry and the reader can
// mark: each of the whole-number and the decimal ones.
bool CarriesRecipe(TOperation operation);
// True when sheets of `settings` carry their code and are read: their
// operation does, and every answer stands in its cells (not a decimal
// division with a remainder or a rounded quotient, written beside them).
bool CarriesRecipe(const TWorksheetSettings& settings);

// The recipe of `sheet` on `paper` as a page of `kind`; none for an
// operation without one (CarriesRecipe), for a sheet without a seed, with a
// setting that is not a number or with a field beyond what a code carries.
std::optional<TSheetRecipe> RecipeOf(const TSheet& sheet, const std::string& paper, TPageKind kind = TPageKind::Problems);

// True when every field is one a printed sheet can have: a cell of
// 大きなマス, a remainder and a pattern of their groups, a problem count,
// sheet number, place and 出席番号 within what the code carries, a
// follow-up's procedure one of its operation's.
bool IsRecipeInRange(const TSheetRecipe& recipe);

// The recipe as bytes (at most kRecipeBytes); none when it takes more or a
// field is out of range (IsRecipeInRange). The check written is the
// problems' check combined with a check of every other byte, so that a
// field changed anywhere makes the problems fail to check.
std::optional<std::vector<uint8_t>> RecipeBytes(const TSheetRecipe& recipe);
// The recipe those bytes hold; none when they are not one or a field is out
// of range.
std::optional<TSheetRecipe> RecipeFromBytes(const std::vector<uint8_t>& bytes);

// The code: kCodeModules × kCodeModules modules, a ring of black ones round
// the data, row by row, true for black.
inline constexpr int kCodeModules = 24;
inline constexpr size_t kRecipeBytes = 39;
// The modules of the code of `recipe`; none when the recipe does not fit.
std::optional<std::vector<bool>> CodeModules(const TSheetRecipe& recipe);
// The recipe the modules hold, up to 10 wrong bytes put right; none when
// they do not check.
std::optional<TSheetRecipe> RecipeFromModules(const std::vector<bool>& modules);

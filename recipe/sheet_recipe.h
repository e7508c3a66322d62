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

struct TSheetRecipe {
    // What decides the problems and the layout, the numbers as TextToInt
    // reads them (written back as decimal texts); the sentence is not kept.
    TWorksheetSettings Settings;
    std::string Paper = "A4";
    uint64_t Seed = 0;
    int32_t Number = 0;  // the sheet's own number
    int32_t Place = 0;   // its place in its set
    bool Diagnostic = false;
    int32_t Roll = 0;  // the 出席番号 printed on it, 0 for none
    uint16_t ProblemsCheck = 0;  // ProblemsCheckOf its problems
    bool operator==(const TSheetRecipe&) const = default;
};

// A check of the problems, in their order (CRC-16).
uint16_t ProblemsCheckOf(const std::vector<TSheetProblem>& problems);

// True for an operation whose sheets the code can carry and the reader can
// mark: the whole-number ones (a decimal's places have no room in the code).
bool CarriesRecipe(TOperation operation);

// The recipe of `sheet` on `paper`; none for an operation without one
// (CarriesRecipe), for a sheet without a seed or with
// a setting that is not a number.
std::optional<TSheetRecipe> RecipeOf(const TSheet& sheet, const std::string& paper);

// The recipe as bytes (at most kRecipeBytes); none when it takes more.
std::optional<std::vector<uint8_t>> RecipeBytes(const TSheetRecipe& recipe);
// The recipe those bytes hold; none when they are not one.
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

// What an operation is: its names, its answer, and the patterns a teacher
// can ask for, as one row of data. Each operation's own file fills its row;
// the generator, the figures, the files, the window and the help read it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// The digits of one candidate, ones first: A of the first number, B of the
// second.
struct TCandidateDigits {
    std::array<int32_t, 4> A{}, B{};
};

// Two numbers of a problem with their decimal places, and the choice of the
// pattern group (a decimal division's: how far the quotient is worked).
struct TOperands {
    int32_t First = 0, Second = 0;
    int32_t FirstPlaces = 0, SecondPlaces = 0;
    int32_t Choice = 0;
};

struct TOperationRules {
    TOperation Operation;
    const char* Key;   // in settings files and the CSV: "multiplication"
    const char* Name;  // on the sheet and in the window: "かけ算"
    const char* Sign;  // between the numbers in the window and in summaries: "×"
    // The two numbers as a teacher names them: "かけられる数", "かける数".
    const char* FirstNumberName;
    const char* SecondNumberName;
    bool HasRemainder;  // its problems have a remainder
    int32_t SecondPlaces;  // how many places the second number may have (d1 … d4)
    // The pattern group's caption and its items, index 0 first.
    const char* PatternCaption;
    std::vector<std::string> PatternLabels;
    // The problem of two numbers, with its answer (32-bit arithmetic wraps).
    TSheetProblem (*Solve)(int32_t first, int32_t second);
    // True when the candidate meets the settings' pattern (and whatever
    // else the operation asks of a problem besides the answer range).
    bool (*Meets)(const TWorksheetSettings& settings, const TCandidateDigits& digits, const TSheetProblem& problem);
    // The accelerator of its menu item: "M" gives かけ算(&M).
    const char* MenuAccelerator = "";
    // For the help, by pattern: what it means, and an example of it.
    std::vector<std::string> PatternMeanings = {};
    std::vector<std::string> PatternExamples = {};
    // Its problems can be asked to carry in the addition of their partial
    // products (PartialSumCarry): an option only this operation offers.
    bool PartialSums = false;
    // An operation of numbers with decimal places: its problem of two
    // numbers with their places (Solve is not used); null for whole numbers.
    TSheetProblem (*SolveWithPlaces)(const TOperands& operands) = nullptr;
    bool Decimal() const { return SolveWithPlaces != nullptr; }
};


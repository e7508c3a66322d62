// What each operation is: its names, its answer, and the patterns a teacher
// can ask for. The generator, the figures, the files and the window read
// these rows; an operation is added here, not by copying another's code.
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

struct TOperationRules {
    TOperation Operation;
    const char* Key;   // in settings files and the CSV: "multiplication"
    const char* Name;  // on the sheet and in the window: "かけ算"
    const char* Sign;  // between the numbers in the window and in summaries: "×"
    // The two numbers as a teacher names them: "かけられる数", "かける数".
    const char* FirstNumberName;
    const char* SecondNumberName;
    bool HasRemainder;  // its problems have a remainder
    // The pattern group's caption and its items, index 0 first.
    const char* PatternCaption;
    std::vector<std::string> PatternLabels;
    // The problem of two numbers, with its answer (32-bit arithmetic wraps).
    TSheetProblem (*Solve)(int32_t first, int32_t second);
    // True when the candidate meets the settings' pattern (and whatever
    // else the operation asks of a problem besides the answer range).
    bool (*Meets)(const TWorksheetSettings& settings, const TCandidateDigits& digits, const TSheetProblem& problem);
};

// Every operation, in menu order.
const std::vector<TOperationRules>& Operations();
const TOperationRules& RulesOf(TOperation operation);
// The operation with that key, or null.
const TOperationRules* OperationWithKey(const std::string& key);

// Diagnostic sheets: twelve problems chosen so that every wrong procedure of
// the catalogue gets some of them wrong, and any two procedures (the right
// one among them) answer some of them differently; and the reading of a
// pupil's answers on such a sheet. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/lcg.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"
#include "worksheet/wrong_procedures.h"

inline constexpr int32_t kDiagnosticProblems = 12;
// How many problems must tell a procedure from the right one, and any two
// procedures apart.
inline constexpr int32_t kDiagnosticSeparation = 3;

// The digits a diagnostic sheet's problems are drawn from: a range for each
// place of the two numbers (ones first), as the digit boxes give them.
struct TDigitRanges {
    int32_t FirstLow[4]{}, FirstHigh[4]{}, SecondLow[4]{}, SecondHigh[4]{};
};

// The ranges of `settings`' digit boxes; EConvertError for a text that is not a number.
TDigitRanges DigitRangesOf(const TWorksheetSettings& settings);

struct TDiagnosticSheet {
    std::vector<TSheetProblem> Problems;
    // The procedures (ids; "correct" for the right one) that the sheet does
    // not tell apart by three problems or more: empty when it does.
    std::vector<std::pair<std::string, std::string>> TooClose;
};

// Searches the problems of `operation` that `ranges` allow (each a draw of
// every place's digit; for a subtraction, the first number larger) for
// twelve that tell the catalogue's procedures apart as well as they can be.
// Draws on `random`. Raises std::runtime_error with the shortfall message
// when the ranges give fewer than twelve problems.
TDiagnosticSheet FindDiagnosticSheet(TOperation operation, const std::vector<TDigitRanges>& ranges, TRandom& random);

// The ranges a diagnostic sheet takes by default: 3けた and 4けた−3けた for
// addition and subtraction, 3けた×2けた and 3けた×3けた, 3けた÷1けた and
// 3けた÷2けた.
std::vector<TDigitRanges> DefaultDiagnosticRanges(TOperation operation);

// What a pupil's answers say. Procedure is the catalogue's id, "correct" or
// "undecided".
struct TDiagnosis {
    std::string Procedure;
    std::string Name;                  // as the teacher reads it
    int32_t Explained = 0;             // answers the procedure gives
    std::vector<int32_t> NotFitting;   // problems (from 1) whose answer it does not give
};

// Reads `answers` (none: left blank) to the problems: the procedure that
// gives most of them — 正しくできています for the right one — or
// 判定できません when two fit equally or it gives fewer than half of them.
TDiagnosis Diagnose(TOperation operation, const std::vector<TSheetProblem>& problems,
                    const std::vector<std::optional<TWrittenAnswer>>& answers);

// Diagnostic sheets: twelve problems chosen so that every wrong procedure of
// the catalogue gets some of them wrong, and any two procedures (the right
// one among them) answer some of them differently; and the reading of a
// pupil's answers on such a sheet. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
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

// The ranges give fewer than twelve different problems.
class ETooFewProblems : public std::runtime_error {
public:
    ETooFewProblems() : std::runtime_error("今の条件では、指定された問題数が確保できません。") {}
};

struct TDiagnosticSheet {
    std::vector<TSheetProblem> Problems;
    // The procedures (ids; "correct" for the right one) that the sheet does
    // not tell apart by three problems or more: empty when it does.
    std::vector<std::pair<std::string, std::string>> TooClose;
};

// Searches the problems of `operation` that `ranges` allow (each a draw of
// every place's digit; for a subtraction, the first number larger) for
// twelve that tell the catalogue's procedures apart as well as they can be.
// Draws on `random`. Raises ETooFewProblems when the ranges give fewer than
// twelve problems.
TDiagnosticSheet FindDiagnosticSheet(TOperation operation, const std::vector<TDigitRanges>& ranges, TRandom& random);

// The ranges a diagnostic sheet takes by default: 3けた and 4けた−3けた for
// addition and subtraction, 3けた×2けた and 3けた×3けた, 3けた÷1けた and
// 3けた÷2けた.
std::vector<TDigitRanges> DefaultDiagnosticRanges(TOperation operation);

// The sheets of a diagnostic class set, and the procedures their ranges do
// not let them tell apart (of the first sheet that falls short).
struct TDiagnosticSet {
    std::vector<TSheet> Sheets;
    std::vector<std::pair<std::string, std::string>> TooClose;
};

// `count` different diagnostic sheets of `settings`' operation, numbered
// from `number` on (past 2147483647 on from -2147483648), drawn with
// `settings`' sentence and grid in the layout 標準, searched within
// `ranges`. Raises as FindDiagnosticSheet does.
TDiagnosticSet MakeDiagnosticSheets(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges,
                                    int32_t number, int32_t count, TRandom& random);

// The teacher's words for procedures a sheet cannot tell apart: empty when
// there are none.
std::string TooCloseMessage(TOperation operation, const std::vector<std::pair<std::string, std::string>>& pairs);

// A procedure's letter on the key: ア, イ, ウ … by its place in the catalogue.
std::string ProcedureLetter(size_t index);

// One line of a problem's key: a wrong answer and the letters of the
// procedures that give it.
struct TKeyEntry {
    std::string Letters;
    TWrittenAnswer Answer;
};

// The distinct wrong answers the catalogue's procedures give to `problem`,
// in the order of their first procedure; none that is the right answer.
std::vector<TKeyEntry> DiagnosticKey(TOperation operation, const TSheetProblem& problem);

// A written answer as a teacher types it: "207", "21あまり1", "21r1"
// (full-width digits too); none for a text that is not one.
std::optional<TWrittenAnswer> ParseWrittenAnswer(const std::string& text);

// The procedures (ids, "correct" first for the right one) that give
// `answer` to `problem`; none for an answer no procedure gives.
std::vector<std::string> ProceduresGiving(TOperation operation, const TSheetProblem& problem, const TWrittenAnswer& answer);

// What a pupil's answers say. Procedure is the catalogue's id, "correct" or
// "undecided".
struct TDiagnosis {
    std::string Procedure;
    std::string Name;                  // as the teacher reads it
    int32_t Explained = 0;             // answers the procedure gives
    std::vector<int32_t> NotFitting;   // problems (from 1) whose answer it does not give
};

// What `diagnosis` of answers to `problems` tells the teacher, in a few
// lines: the procedure, how many of the given answers it explains, and the
// problems whose answers it does not.
std::string DiagnosisText(TOperation operation, const std::vector<TSheetProblem>& problems, const TDiagnosis& diagnosis,
                          int32_t given);

// Reads `answers` (none: left blank) to the problems: the procedure that
// gives most of them — 正しくできています for the right one — or
// 判定できません when two fit equally or it gives fewer than half of them.
TDiagnosis Diagnose(TOperation operation, const std::vector<TSheetProblem>& problems,
                    const std::vector<std::optional<TWrittenAnswer>>& answers);

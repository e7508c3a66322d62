// Diagnostic sheets: twelve problems chosen so that every wrong procedure of
// the catalogue gets some of them wrong, and any two procedures (the right
// one among them) answer some of them differently (reading one:
// diagnosis.h). Pure C++.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "worksheet/lcg.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"
#include "worksheet/diagnostic_row.h"
#include "worksheet/wrong_procedures.h"

inline constexpr int32_t kDiagnosticProblems = 12;
// How many problems must tell a procedure from the right one, and any two
// procedures apart.
inline constexpr int32_t kDiagnosticSeparation = 3;


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

// The ranges a diagnostic sheet of `operation` is searched in: the digit
// boxes of `settings` when they are of that operation, the defaults
// otherwise.
std::vector<TDigitRanges> DiagnosticRangesFor(const TWorksheetSettings& settings, TOperation operation);

// The sheets of a diagnostic class set, and the procedures their ranges do
// not let them tell apart (of the first sheet that falls short).
struct TDiagnosticSet {
    std::vector<TSheet> Sheets;
    std::vector<std::pair<std::string, std::string>> TooClose;
};

// `settings` with the digits of `ranges` in its boxes, in any pattern (a
// decimal division worked as far as the ranges say) and any answer: the
// inverse of DigitRangesOf.
TWorksheetSettings SettingsOfRanges(const TWorksheetSettings& settings, const TDigitRanges& ranges);

// The settings a diagnostic sheet of `settings`' operation searched within
// `ranges` is drawn with: no number of its own, every remainder asked, a
// division of decimals worked as far as the ranges say.
TWorksheetSettings DiagnosticSheetSettings(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges);

// `count` different diagnostic sheets of `settings`' operation, numbered
// from `number` on (past 2147483647 on from -2147483648), drawn with
// `settings`' sentence and grid in the layout 標準, searched within
// `ranges`. Raises as FindDiagnosticSheet does.
TDiagnosticSet MakeDiagnosticSheets(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges,
                                    int32_t number, int32_t count, TRandom& random);

// The teacher's words for procedures a sheet cannot tell apart: empty when
// there are none.
std::string TooCloseMessage(TOperation operation, const std::vector<std::pair<std::string, std::string>>& pairs);

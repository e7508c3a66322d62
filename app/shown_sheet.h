// The sheet the window shows, held in one place: the one conversion of the
// sheet number box, the sheet of the last Preview, the sheet each command
// makes, and the number going on once that sheet went out. It keeps the
// program-wide values of the original window (the problem table,
// QuestionCount, PrintNumber, PreviewReady, RandomState) in step; nothing
// else in the window touches them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "worksheet/settings.h"
#include "worksheet/sheet.h"

class TShownSheet {
public:
    // Start-up: PreviewReady := 0, the random generator seeded from the
    // clock, QuestionCount := 0, then the sheet number converted from
    // `numberText` (EConvertError for a text that is not a number).
    void Start(const std::string& numberText);

    // The one place the sheet number box becomes a number: PrintNumber :=
    // TextToInt(numberText), returned.
    int32_t ConvertNumber(const std::string& numberText);

    // Preview: the number converted, the requested count stored, the answer
    // range converted, then GenerateProblems with `settings`, which calls
    // `shortfallAlert` after a shortfall. True when four problems or more
    // were found: the sheet is shown and may be printed (PreviewReady := 1);
    // false forgets the shown sheet. A conversion error raises with nothing
    // changed but the number.
    bool Preview(const TWorksheetSettings& settings, const std::function<void()>& shortfallAlert);

    // A diagnostic sheet made apart from the window's settings: shown and
    // ready to print as a Preview's sheet is (its problems in the problem
    // table, its number the current one), until the next Preview or Forget.
    void ShowDiagnostic(const TSheet& sheet);

    // A Preview has found a sheet that may be shown and printed.
    bool Ready() const;

    // Nothing is shown, and nothing printed, until the next good Preview.
    void Forget();

    // The sheet shown now: the problems of the last Preview with its
    // settings, the sentence, grid, marks and digit face of `now`, and the
    // current number.
    TSheet Sheet(const TWorksheetSettings& now) const;

    // The sheet a command makes: the box's number converted (once) and the
    // shown sheet with it.
    TSheet SheetToMake(const std::string& numberText, const TWorksheetSettings& now);

    // After the sheet numbered `made` went out: PrintNumber := the number
    // after it (NextNumber), returned.
    int32_t Advance(int32_t made);

private:
    // The settings of the last Preview that ran to its end: what made the
    // problems in the table.
    TWorksheetSettings previewSettings_;
    // The shown sheet is a diagnostic sheet.
    bool diagnostic_ = false;
};

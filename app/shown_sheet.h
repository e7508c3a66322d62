// The sheet the window shows, held in one place as a value: the one
// conversion of the sheet number box, the sheet of the last Preview (made by
// the preview request, with its seed), the sheet each command makes, and
// the number going on once that sheet went out. It fills the program-wide
// values of the original window (the problem table, QuestionCount,
// PrintNumber, PreviewReady) from that sheet, for the routines that read
// them; nothing reads them back to draw, and nothing else in the window
// touches them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "requests/requests.h"
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

    // Preview: the number converted, then the preview request (MakePreview)
    // with `settings`, `seed` and the paper; the problem table holds what it
    // found. A printable sheet is shown and may be printed; one of fewer
    // than four problems, or 大きなマス that do not fit (raised), leave
    // nothing shown. A text that is not a number raises with nothing changed
    // but the number.
    TPreview Preview(const TWorksheetSettings& settings, uint64_t seed, const std::string& paperName);

    // A sheet made apart from the window's settings (a diagnostic sheet):
    // shown and ready to print as a Preview's sheet is, until the next
    // Preview or Forget.
    void Show(const TSheet& sheet);

    // A sheet is shown that may be printed.
    bool Ready() const;

    // Nothing is shown, and nothing printed, until the next good Preview.
    void Forget();

    // The sheet shown now (SheetAsNow): its problems, with the sentence,
    // grid, marks and digit face of `now`, and the current number.
    TSheet Sheet(const TWorksheetSettings& now) const;

    // The sheet shown, as it was made; none when nothing is shown.
    const std::optional<TSheet>& Shown() const { return shown_; }

    // The sheet a command makes: the box's number converted (once) and the
    // shown sheet with it.
    TSheet SheetToMake(const std::string& numberText, const TWorksheetSettings& now);

    // After the sheet numbered `made` went out: PrintNumber := the number
    // after it (NextNumber), returned.
    int32_t Advance(int32_t made);

private:
    // The program-wide table and values, filled from the sheet shown.
    void FillProgramWideValues(const TSheet& sheet);

    std::optional<TSheet> shown_;
};

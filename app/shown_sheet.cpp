#include "app/shown_sheet.h"

#include "sheets/sheet_number.h"
#include "worksheet/generator.h"
#include "worksheet/operations.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/text_to_int.h"

void TShownSheet::Start(const std::string& numberText)
{
    PreviewReady = 0;
    SeedRandom();
    QuestionCount = 0;
    ConvertNumber(numberText);
}

int32_t TShownSheet::ConvertNumber(const std::string& numberText)
{
    PrintNumber = TextToInt(numberText);
    return PrintNumber;
}

bool TShownSheet::Preview(const TWorksheetSettings& settings, const std::function<void()>& shortfallAlert)
{
    ConvertNumber(settings.PrnNum);
    const int32_t requested = RequestedCount(settings);
    const int32_t low = TextToInt(settings.AnsLow);
    const int32_t high = TextToInt(settings.AnsHigh);
    // The requested count stands in QuestionCount while the run seeks. A run
    // that fails (on a digit text) leaves the count as it was, so that no
    // repaint or print draws rows of entries this run never wrote.
    const int32_t previousCount = QuestionCount;
    QuestionCount = requested;
    try {
        GenerateProblems(settings, requested, low, high, shortfallAlert);
    } catch (...) {
        QuestionCount = previousCount;
        throw;
    }
    previewSettings_ = settings;
    diagnostic_ = false;
    if (QuestionCount < 4) {
        // Too few problems for a sheet: nothing is left to print.
        Forget();
        return false;
    }
    PreviewReady = 1;
    return true;
}

void TShownSheet::ShowDiagnostic(const TSheet& sheet)
{
    ProblemTable.Clear();
    int k = 0;
    for (const TSheetProblem& p : sheet.Problems) {
        if (++k > TProblemTable::Capacity) break;
        ProblemTable[k] = {p.First, p.Second, std::to_string(p.First), std::to_string(p.Second)};
    }
    QuestionCount = k;
    PrintNumber = sheet.Number;
    previewSettings_ = sheet.Settings;
    diagnostic_ = true;
    PreviewReady = 1;
}

bool TShownSheet::Ready() const
{
    return PreviewReady == 1 && QuestionCount > 0;
}

void TShownSheet::Forget()
{
    PreviewReady = 0;
}

TSheet TShownSheet::Sheet(const TWorksheetSettings& now) const
{
    TSheet sheet;
    sheet.Settings = previewSettings_;
    sheet.Settings.QstSentence = now.QstSentence;
    sheet.Settings.Waku = now.Waku;
    sheet.Settings.CarryMarks = now.CarryMarks;
    sheet.Settings.DigitFont = now.DigitFont;
    sheet.Settings.PrnNum.clear();
    sheet.Number = PrintNumber;
    sheet.Requested = RequestedCount(previewSettings_);
    sheet.Diagnostic = diagnostic_;
    if (diagnostic_) sheet.Requested = QuestionCount;
    const TOperationRules& rules = RulesOf(sheet.Settings.Operation);
    for (int k = 1; k <= QuestionCount && k <= TProblemTable::Capacity; ++k)
        sheet.Problems.push_back(rules.Solve(ProblemTable[k].Multiplicand, ProblemTable[k].Multiplier));
    return sheet;
}

TSheet TShownSheet::SheetToMake(const std::string& numberText, const TWorksheetSettings& now)
{
    ConvertNumber(numberText);
    return Sheet(now);
}

int32_t TShownSheet::Advance(int32_t made)
{
    PrintNumber = NextNumber(made);
    return PrintNumber;
}

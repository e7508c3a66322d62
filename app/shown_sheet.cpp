#include "app/shown_sheet.h"

#include "render/large_cell_page.h"
#include "sheets/sheet_number.h"
#include "worksheet/decimal.h"
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

TPreview TShownSheet::Preview(const TWorksheetSettings& settings, uint64_t seed, const std::string& paperName)
{
    ConvertNumber(settings.PrnNum);
    TPreview preview;
    try {
        preview = MakePreview(settings, seed, paperName);
    } catch (const ELayoutDoesNotFit&) {
        Forget();
        throw;
    }
    FillProgramWideValues(preview.Sheet);
    if (preview.Printable) shown_ = preview.Sheet;
    else Forget();  // nothing is left to print that the box does not show
    return preview;
}

void TShownSheet::Show(const TSheet& sheet)
{
    shown_ = sheet;
    FillProgramWideValues(sheet);
}

void TShownSheet::FillProgramWideValues(const TSheet& sheet)
{
    ProblemTable.Clear();
    int k = 0;
    for (const TSheetProblem& p : sheet.Problems) {
        if (++k > TProblemTable::Capacity) break;
        ProblemTable[k] = {p.First, p.Second, FirstText(p), SecondText(p)};
    }
    QuestionCount = k;
    PrintNumber = sheet.Number;
    PreviewReady = 1;
}

bool TShownSheet::Ready() const
{
    return shown_.has_value() && PreviewReady == 1;
}

void TShownSheet::Forget()
{
    shown_.reset();
    PreviewReady = 0;
}

TSheet TShownSheet::Sheet(const TWorksheetSettings& now) const
{
    return shown_ ? SheetAsNow(*shown_, now, PrintNumber) : TSheet{};
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

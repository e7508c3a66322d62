// Sheets, class sets and diagnostic sheets as the front ends ask for them.
#include "requests/requests.h"

#include <algorithm>

#include "render/large_cell_page.h"
#include "render/page_layout.h"
#include "render/paper_size.h"
#include "sheets/sheet_number.h"
#include "worksheet/follow_up.h"
#include "worksheet/lcg.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/text_to_int.h"

TPreview MakePreview(const TWorksheetSettings& settings, uint64_t seed, const std::string& paperName)
{
    const int32_t number = TextToInt(settings.PrnNum);
    TRandom random = RandomFromSeed(seed);
    TPreview preview{GenerateSheet(settings, number, random)};
    TSheet& sheet = preview.Sheet;
    sheet.Seed = seed;
    preview.Short = static_cast<int32_t>(sheet.Problems.size()) < sheet.Requested;
    preview.Printable = sheet.Problems.size() >= kFewestProblems;
    if (preview.Printable && settings.CellMM > 0) {
        // 大きなマス that do not fit the paper: said with what would.
        const TPaperSize& paper = PaperSizeNamed(paperName);
        TPageView view = PageViewOf(settings);
        view.PaperName = paper.Name;
        view.DotsPerMm = 10;
        const int32_t W = static_cast<int32_t>((paper.WidthMm - 2 * kSheetMarginMm) * 10);
        const int32_t H = static_cast<int32_t>((paper.HeightMm - 2 * kSheetMarginMm) * 10);
        const TLargeCellFit fit = LargeCellFitOf(sheet, view, W, H);
        if (!fit.Fits())
            throw ELayoutDoesNotFit(LargeCellsMessage(fit, settings.CellMM, RequestedCount(settings), paper.Name));
    }
    return preview;
}

std::string PreviewNote(const TSheet& sheet)
{
    std::string note = std::string(sheet.Diagnostic ? "診断プリント " : "") + "No." + std::to_string(sheet.Number) + "（" +
                       std::to_string(sheet.Problems.size()) + "問）";
    if (sheet.Seed) note += "乱数のもと " + std::to_string(*sheet.Seed);
    return note;
}

TSheet SheetAsNow(const TSheet& shown, const TWorksheetSettings& now, int32_t number)
{
    TSheet sheet = shown;
    sheet.Settings.QstSentence = now.QstSentence;
    sheet.Settings.Waku = now.Waku;
    sheet.Settings.CarryMarks = now.CarryMarks;
    sheet.Settings.DigitFont = now.DigitFont;
    sheet.Settings.PrnNum.clear();
    sheet.Number = number;
    return sheet;
}

TClassSet MakeClassSetOf(const TWorksheetSettings& settings, int32_t count, int32_t firstNumber, uint64_t seed)
{
    TRandom random = RandomFromSeed(seed);
    TClassSet set = MakeClassSet(settings, count, firstNumber, random);
    for (TSheet& sheet : set.Sheets) sheet.Seed = seed;
    return set;
}

std::vector<std::string> ClassSetNotes(const TClassSet& set)
{
    std::vector<std::string> notes;
    if (!set.ShortSheets.empty()) {
        std::string numbers;
        for (const int32_t number : set.ShortSheets) numbers += (numbers.empty() ? "No." : "、No.") + std::to_string(number);
        notes.push_back(numbers + " は、問題が " + std::to_string(set.Requested) + " 問そろいませんでした。");
    }
    if (const std::string wrapped = WrappedNumbersNote(set); !wrapped.empty()) notes.push_back(wrapped + "。");
    return notes;
}

TDiagnosticSet MakeDiagnosticOf(const TWorksheetSettings& settings, TOperation operation, int32_t count,
                                int32_t firstNumber, uint64_t seed)
{
    const std::vector<TDigitRanges> ranges = DiagnosticRangesFor(settings, operation);
    TWorksheetSettings made = settings;
    made.Operation = operation;
    TRandom random = RandomFromSeed(seed);
    TDiagnosticSet set;
    try {
        set = MakeDiagnosticSheets(made, ranges, firstNumber, count, random);
    } catch (const ETooFewProblems&) {
        throw EShortfall();
    }
    for (TSheet& sheet : set.Sheets) sheet.Seed = seed;
    return set;
}

TSheet MakeFollowUpOf(const TWorksheetSettings& unit, int32_t procedure, int32_t number, uint64_t seed, int32_t place,
                      int32_t roll)
{
    // Each pupil's draws of their own: the seed turned by their place.
    TRandom random = RandomFromSeed(seed ^ (static_cast<uint64_t>(static_cast<uint32_t>(place)) * 0x9E3779B97F4A7C15ull));
    TFollowUp made = FollowUpProblems(unit, static_cast<size_t>(std::max(procedure, 0)), random);
    TSheet sheet;
    sheet.Settings = unit;
    sheet.Settings.PrnNum.clear();
    if (sheet.Settings.CellMM == 0) sheet.Settings.CellMM = 10;
    sheet.Settings.Problems = kFollowUpProblems;
    sheet.Settings.ReadingMarks = true;
    sheet.Number = number;
    sheet.Requested = kFollowUpProblems;
    sheet.Problems = std::move(made.Problems);
    sheet.Purposes = std::move(made.Purposes);
    sheet.Seed = seed;
    sheet.Place = place;
    sheet.Roll = roll;
    sheet.FollowUp = std::max(procedure, 0);
    return sheet;
}

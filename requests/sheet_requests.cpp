// Sheets, class sets and diagnostic sheets as the front ends ask for them.
#include "requests/requests.h"

#include <algorithm>

#include "errors/errors.h"
#include "render/large_cell_page.h"
#include "render/page_layout.h"
#include "render/paper_size.h"
#include "sheets/sheet_number.h"
#include "worksheet/follow_up.h"
#include "worksheet/lcg.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/text_to_int.h"

namespace {

// The fit of `sheet` on the paper named `paperName`, with its marks.
TLargeCellFit FitOnPaper(const TSheet& sheet, const std::string& paperName)
{
    const TPaperSize& paper = PaperSizeNamed(paperName);
    TPageView view = PageViewOf(sheet.Settings);
    view.PaperName = paper.Name;
    view.DotsPerMm = 10;
    const int32_t W = static_cast<int32_t>((paper.WidthMm - 2 * kSheetMarginMm) * 10);
    const int32_t H = static_cast<int32_t>((paper.HeightMm - 2 * kSheetMarginMm) * 10);
    return LargeCellFitOf(sheet, view, W, H);
}

// The smallest cell a pupil's next sheet is drawn in.
constexpr int32_t kSmallestFollowUpCellMM = 8;

}  // namespace

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
        const TLargeCellFit fit = FitOnPaper(sheet, paperName);
        if (!fit.Fits())
            throw ELayoutDoesNotFit(LargeCellsMessage(fit, settings.CellMM, RequestedCount(settings), PaperSizeNamed(paperName).Name));
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
    sheet.Settings.CarryMarks = true;  // the example's full working
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


std::vector<TSheet> MakeFollowUpsOf(const std::vector<TPupilWork>& pupils, int32_t firstNumber, uint64_t seed,
                                    const std::string& paperName)
{
    if (pupils.size() > static_cast<size_t>(kMostSheets))
        throw ERefused("次のプリントは一度に " + std::to_string(kMostSheets) + " 人分までです（読み取りを分けてください）");
    std::vector<TSheet> sheets;
    for (size_t place = 0; place < pupils.size(); ++place) {
        const TPupilWork& pupil = pupils[place];
        const int32_t number = static_cast<int32_t>(static_cast<uint32_t>(firstNumber) + static_cast<uint32_t>(place));
        TWorksheetSettings unit = pupil.Sheet.Settings;
        if (unit.CellMM == 0) unit.CellMM = 10;
        const TOperation operation = unit.Operation;
        const std::optional<size_t> procedure =
            pupil.Decided ? ProcedureToFollowUp(operation, pupil.Sheet.Problems, pupil.Answers) : std::nullopt;
        for (int32_t cell = unit.CellMM;; --cell) {
            unit.CellMM = cell;
            TSheet sheet;
            if (procedure) {
                sheet = MakeFollowUpOf(unit, static_cast<int32_t>(*procedure), number, seed, static_cast<int32_t>(place), pupil.Roll);
            } else {
                // The diagnostic sheet again, at the pupil's place in a
                // diagnostic set of the same seed (which its code makes again).
                unit.ReadingMarks = true;
                const int32_t count = static_cast<int32_t>(place) + 1;
                sheet = MakeDiagnosticOf(unit, operation, count, static_cast<int32_t>(static_cast<uint32_t>(number) - static_cast<uint32_t>(place)),
                                         seed).Sheets.back();
                sheet.Roll = pupil.Roll;
            }
            const TLargeCellFit fit = FitOnPaper(sheet, paperName);
            if (fit.Fits()) {
                sheets.push_back(std::move(sheet));
                break;
            }
            if (cell <= kSmallestFollowUpCellMM)
                throw ELayoutDoesNotFit(LargeCellsMessage(fit, pupil.Sheet.Settings.CellMM > 0 ? pupil.Sheet.Settings.CellMM : 10,
                                                          static_cast<int32_t>(sheet.Problems.size()), PaperSizeNamed(paperName).Name));
        }
    }
    return sheets;
}

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

// The smallest cell a pupil's next sheet is drawn in, and the notebook
// square from grade 3 on, which twelve problems keep before they are fewer.
constexpr int32_t kSmallestFollowUpCellMM = 8, kGradeCellMM = 10;

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
    TSheet sheet;
    sheet.Settings = unit;
    sheet.Settings.PrnNum.clear();
    if (sheet.Settings.CellMM == 0) sheet.Settings.CellMM = kGradeCellMM;
    const auto counts = std::begin(kFollowUpCounts), last = std::end(kFollowUpCounts);
    if (std::find(counts, last, unit.Problems) == last) sheet.Settings.Problems = kFollowUpProblems;
    TFollowUp made = FollowUpProblems(sheet.Settings, static_cast<size_t>(std::max(procedure, 0)), random);
    sheet.Settings.ReadingMarks = true;
    sheet.Settings.CarryMarks = true;  // the example's full working
    sheet.Number = number;
    sheet.Requested = sheet.Settings.Problems;
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
    auto unitOf = [](const TPupilWork& pupil) {
        TWorksheetSettings unit = pupil.Sheet.Settings;
        if (unit.CellMM == 0) unit.CellMM = kGradeCellMM;
        unit.ReadingMarks = true;
        return unit;
    };
    std::vector<std::optional<size_t>> procedures;
    for (const TPupilWork& pupil : pupils)
        procedures.push_back(pupil.Decided ? ProcedureToFollowUp(pupil.Sheet.Settings.Operation, pupil.Sheet.Problems, pupil.Answers)
                                           : std::nullopt);
    // The pupils whose answers cannot say get the diagnostic sheet again: one
    // diagnostic set of the seed for each unit, the k-th such pupil its k-th
    // sheet (the place its code makes it again at).
    std::vector<std::pair<TWorksheetSettings, int32_t>> undecided;  // a unit and its pupils
    for (size_t place = 0; place < pupils.size(); ++place) {
        if (procedures[place]) continue;
        const TWorksheetSettings unit = unitOf(pupils[place]);
        const auto known = std::find_if(undecided.begin(), undecided.end(), [&](const auto& u) { return u.first == unit; });
        if (known == undecided.end()) undecided.push_back({unit, 1});
        else ++known->second;
    }
    std::vector<std::pair<TWorksheetSettings, TDiagnosticSet>> diagnostic;
    for (const auto& [unit, count] : undecided)
        diagnostic.push_back({unit, MakeDiagnosticOf(unit, unit.Operation, count, firstNumber, seed)});
    std::vector<size_t> taken(diagnostic.size(), 0);
    std::vector<TSheet> sheets;
    for (size_t place = 0; place < pupils.size(); ++place) {
        const TPupilWork& pupil = pupils[place];
        TWorksheetSettings unit = unitOf(pupil);
        const int32_t number = static_cast<int32_t>(static_cast<uint32_t>(firstNumber) + static_cast<uint32_t>(place));
        std::optional<TSheet> fitting;
        TLargeCellFit fit;
        if (procedures[place]) {
            // Twelve problems in the unit's cells or smaller ones down to a
            // grade's notebook square; then fewer, down to the smallest cell.
            const int32_t grade = std::min(unit.CellMM, kGradeCellMM);
            std::vector<std::pair<int32_t, int32_t>> tries;  // cell, count
            for (int32_t cell = unit.CellMM; cell >= grade; --cell) tries.push_back({cell, kFollowUpProblems});
            for (const int32_t count : kFollowUpCounts)
                for (int32_t cell = grade; cell >= kSmallestFollowUpCellMM; --cell)
                    if (std::find(tries.begin(), tries.end(), std::pair(cell, count)) == tries.end()) tries.push_back({cell, count});
            for (const auto& [cell, count] : tries) {
                unit.CellMM = cell;
                unit.Problems = count;
                TSheet sheet = MakeFollowUpOf(unit, static_cast<int32_t>(*procedures[place]), number, seed, static_cast<int32_t>(place), pupil.Roll);
                fit = FitOnPaper(sheet, paperName);
                if (fit.Fits()) {
                    fitting = std::move(sheet);
                    break;
                }
            }
        } else {
            const size_t set = static_cast<size_t>(
                std::find_if(diagnostic.begin(), diagnostic.end(), [&](const auto& d) { return d.first == unit; }) - diagnostic.begin());
            TSheet sheet = diagnostic[set].second.Sheets.at(taken[set]++);
            sheet.Number = number;
            sheet.Roll = pupil.Roll;
            // Its twelve problems in smaller cells; in 標準 where no cell holds them.
            for (; !(fit = FitOnPaper(sheet, paperName)).Fits() && sheet.Settings.CellMM > kSmallestFollowUpCellMM;) --sheet.Settings.CellMM;
            if (!fit.Fits()) {
                sheet.Settings.CellMM = 0;
                sheet.Settings.Problems = 0;  // 標準: the problem-count group's twelve
                sheet.Settings.QNumPattern = 0;
            }
            fitting = std::move(sheet);
        }
        if (!fitting)
            throw ELayoutDoesNotFit(LargeCellsMessage(fit, unitOf(pupil).CellMM, kFollowUpCounts[std::size(kFollowUpCounts) - 1],
                                                      PaperSizeNamed(paperName).Name));
        sheets.push_back(std::move(*fitting));
    }
    return sheets;
}

std::string FollowUpsNote(const std::vector<TSheet>& sheets)
{
    const auto again = std::count_if(sheets.begin(), sheets.end(), [](const TSheet& s) { return s.Diagnostic; });
    if (again == 0) return std::string();
    return "答えから まちがい方を決められなかった " + std::to_string(again) + " 人には、診断プリントをもう一度作りました。";
}

// The reader on simulated class sets: for each operation, resolution and
// kind of page (a copier's scan, a tablet's photo), how many pages were
// registered, how many answers were decided, how many of those were wrong,
// and the time a page takes. Hands: faces the reader was not trained on,
// one a page in turn (Breip, femkeklaver — outlined digits, harder than any
// child's —, SetoFont, Humor Sans). READING_BENCH_WRONG=1 prints each
// answer decided wrong. The argument: pages of each kind (6).
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "answer_scans.h"
#include "recipe/sheet_recipe.h"
#include "errors/errors.h"
#include "reader/class_results.h"
#include "reader/page_reading.h"
#include "scans/scan_files.h"
#include "render/large_cell_page.h"
#include "render/page_layout.h"
#include "render/paper_size.h"
#include "render/qt_fonts.h"
#include "requests/requests.h"
#include "sheets/presets.h"
#include "worksheet/decimal.h"
#include "worksheet/diagnosis.h"
#include "worksheet/operations.h"
#include "worksheet/wrong_procedures.h"

namespace {

struct TCount {
    int Pages = 0, Registered = 0, Answers = 0, Decided = 0, Wrong = 0;
    double Seconds = 0;
};

// Answers as a class writes them: mostly right, some a wrong procedure's, a few blank.
std::vector<std::optional<TWrittenAnswer>> ClassAnswers(const TSheet& sheet, std::mt19937& random)
{
    std::vector<std::optional<TWrittenAnswer>> answers;
    for (const TSheetProblem& p : sheet.Problems) {
        const std::vector<TWrittenAnswer> every = EveryAnswer(sheet.Settings.Operation, p);
        const int roll = static_cast<int>(random() % 20);
        std::optional<TWrittenAnswer> a = every[0];
        if (roll == 0) a.reset();
        else if (roll < 5 && every.size() > 1) {
            const TWrittenAnswer& wrong = every[1 + random() % (every.size() - 1)];
            if (!(wrong == kNoAnswer) && wrong.Value >= 0 && wrong.Remainder >= 0) a = wrong;
        }
        answers.push_back(a);
    }
    return answers;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    const int pagesEach = argc > 1 ? std::max(1, std::atoi(argv[1])) : 6;
    const char* presets[] = {"3けた＋3けた（くり上がり2回）", "3けた−3けた（くり下がり2回）", "2けた×1けた（十の位でくり上がり）",
                             "3けた÷1けた（商に0が立つ）", "3年 小数のたし算（くり上がりあり）", "4年 小数のひき算（整数−小数）",
                             "5年 小数×小数（1/10の位どうし）"};
    const char* faces[] = {"Breip", "femkeklaver", "SetoFont", "Humor Sans"};
    struct TKind {
        const char* Name;
        TScanStyle Style;
    } kinds[] = {
        {"copier 150 dpi", {150, 0.8, 1.0, false, false, 0, 6, 0}},
        {"copier 200 dpi", {200, -1.2, 0.98, true, false, 0, 6, 80}},
        {"copier 300 dpi", {300, 0.4, 1.0, false, false, 0, 4, 0}},
        {"camera 12°", {200, 2, 1.0, false, true, 12, 8, 75}},
    };
    std::mt19937 random(2026);
    std::printf("%-36s %-16s %6s %6s %8s %8s %6s %9s\n", "preset", "kind", "pages", "reg.", "answers", "decided", "wrong",
                "s/page");
    TCount all;
    TCount byFace[4];
    for (const char* preset : presets) {
        TWorksheetSettings settings;
        ApplyNamed(PresetFor(*FindPreset(preset), "A4"), settings);
        const TClassSet set = MakeClassSetOf(settings, pagesEach, 1, 77u);
        for (const TKind& kind : kinds) {
            TCount count;
            for (int i = 0; i < pagesEach; ++i) {
                const TSheet& sheet = set.Sheets[static_cast<size_t>(i)];
                const auto written = ClassAnswers(sheet, random);
                const QImage scan = FilledScan(sheet, written, i + 1, FaceHand(QString::fromUtf8(faces[i % 4])), kind.Style, random);
                const TGreyImage grey = GreyOfScan(scan);
                const auto start = std::chrono::steady_clock::now();
                const TReadPage page = ReadPage(grey);
                count.Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                ++count.Pages;
                TCount& face = byFace[i % 4];
                ++face.Pages;
                if (!page.Read()) continue;
                ++count.Registered;
                ++face.Registered;
                for (size_t k = 0; k < written.size() && k < page.Answers.size(); ++k) {
                    ++count.Answers;
                    ++face.Answers;
                    if (page.Answers[k].Decided == TDecided::Asked) continue;
                    ++count.Decided;
                    ++face.Decided;
                    face.Wrong += page.Answers[k].Best == written[k] ? 0 : 1;
                    if (page.Answers[k].Best == written[k]) continue;
                    ++count.Wrong;
                    if (std::getenv("READING_BENCH_WRONG"))
                        std::printf("  %s: wrote %s, read %s\n", preset, written[k] ? WrittenText(*written[k]).c_str() : "-",
                                    page.Answers[k].Best ? WrittenText(*page.Answers[k].Best).c_str() : "-");
                }
            }
            std::printf("%-36s %-16s %6d %6d %8d %7.1f%% %6d %9.3f\n", preset, kind.Name, count.Pages, count.Registered,
                        count.Answers, count.Answers ? 100.0 * count.Decided / count.Answers : 0.0, count.Wrong,
                        count.Seconds / count.Pages);
            all.Pages += count.Pages, all.Registered += count.Registered, all.Answers += count.Answers;
            all.Decided += count.Decided, all.Wrong += count.Wrong, all.Seconds += count.Seconds;
        }
    }
    std::printf("%-36s %-16s %6d %6d %8d %7.1f%% %6d %9.3f\n", "all", "", all.Pages, all.Registered, all.Answers,
                all.Answers ? 100.0 * all.Decided / all.Answers : 0.0, all.Wrong, all.Seconds / all.Pages);
    // Diagnostic sheets in 大きなマス: pupils each following one procedure
    // (or none); the asked answers typed as the teacher would; the
    // procedure named against the one their typed answers name.
    std::printf("\n%-16s %6s %6s %8s %8s %6s %10s\n", "diagnostic", "pupils", "reg.", "answers", "decided", "wrong",
                "named");
    for (const TOperationRules& rules : Operations()) {
        TWorksheetSettings settings;
        // Settings of another operation: the diagnostic sheet takes its operation's own ranges.
        settings.Operation = rules.Operation == TOperation::Addition ? TOperation::Subtraction : TOperation::Addition;
        settings.Problems = 12;
        // The largest cells its twelve problems fit on A4 in.
        TDiagnosticSet set;
        for (int32_t cell = 12; cell >= 7 && set.Sheets.empty(); --cell) {
            settings.CellMM = cell;
            set = MakeDiagnosticOf(settings, rules.Operation, pagesEach * 2, 1, 99u);
            TPageView view = PageViewOf(set.Sheets.front().Settings);
            view.DotsPerMm = 10;
            view.PaperName = kPaperSizes[0].Name;
            const double w = kPaperSizes[0].WidthMm - 2 * kSheetMarginMm, h = kPaperSizes[0].HeightMm - 2 * kSheetMarginMm;
            if (!LargeCellFitOf(set.Sheets.front(), view, static_cast<int32_t>(w * 10), static_cast<int32_t>(h * 10)).Fits())
                set.Sheets.clear();
        }
        if (set.Sheets.empty()) {
            std::printf("%-16s does not fit on A4 in 大きなマス\n", rules.Key);
            continue;
        }
        // A sheet whose answers stand beside its cells carries no code to be read by.
        if (!CarriesRecipe(set.Sheets.front().Settings)) continue;
        const std::vector<TWrongProcedure>& procedures = WrongProcedures(rules.Operation);
        TCount count;
        int named = 0;
        for (size_t i = 0; i < set.Sheets.size(); ++i) {
            const TSheet& sheet = set.Sheets[i];
            const size_t follows = i % (procedures.size() + 1);  // the last: calculating right
            std::vector<std::optional<TWrittenAnswer>> written;
            for (const TSheetProblem& p : sheet.Problems) {
                const TWrittenAnswer a = EveryAnswer(rules.Operation, p)[follows < procedures.size() ? follows + 1 : 0];
                written.push_back(a == kNoAnswer ? std::nullopt : std::optional<TWrittenAnswer>(a));
            }
            const QImage scan = FilledScan(sheet, written, static_cast<int>(i + 1), FaceHand(QString::fromUtf8(faces[i % 4])),
                                           kinds[i % 4].Style, random);
            ++count.Pages;
            const TReadPage page = ReadPage(GreyOfScan(scan));
            if (!page.Read()) continue;
            ++count.Registered;
            TMarkedSheet marked = MarkSheet(page, "bench");
            for (size_t k = 0; k < written.size() && k < page.Answers.size(); ++k) {
                // A procedure's answer longer than the answer's cells is
                // written past them, where no reader looks: not counted.
                if (written[k] && static_cast<int32_t>(DecimalDigits(written[k]->Value, written[k]->Places).size()) >
                                      page.Places[k].Answer.Count) {
                    TypeAnswer(marked, k, written[k]);
                    continue;
                }
                ++count.Answers;
                if (page.Answers[k].Decided == TDecided::Asked) {
                    TypeAnswer(marked, k, written[k]);
                    continue;
                }
                ++count.Decided;
                count.Wrong += page.Answers[k].Best == written[k] ? 0 : 1;
            }
            const TDiagnosis typed = Diagnose(rules.Operation, sheet.Problems, written);
            named += marked.Diagnosis && marked.Diagnosis->Procedure == typed.Procedure ? 1 : 0;
        }
        std::printf("%-16s %6d %6d %8d %7.1f%% %6d %9.1f%%\n", rules.Key, count.Pages, count.Registered, count.Answers,
                    count.Answers ? 100.0 * count.Decided / count.Answers : 0.0, count.Wrong,
                    count.Pages ? 100.0 * named / count.Pages : 0.0);
    }
    std::printf("\n");
    for (int f = 0; f < 4; ++f)
        std::printf("%-36s %-16s %6d %6d %8d %7.1f%% %6d\n", faces[f], "(hand)", byFace[f].Pages, byFace[f].Registered,
                    byFace[f].Answers, byFace[f].Answers ? 100.0 * byFace[f].Decided / byFace[f].Answers : 0.0, byFace[f].Wrong);
    return 0;
}

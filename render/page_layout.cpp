#include "render/page_layout.h"

#include "recipe/sheet_recipe.h"

#include <algorithm>
#include <functional>

#include "render/diagnostic_key.h"
#include "render/figure.h"
#include "render/figure_parts.h"
#include "render/hissan.h"
#include "render/large_cell_page.h"
#include "render/page_scale.h"
#include "render/reference_page.h"
#include "worksheet/operations.h"
#include "worksheet/problems.h"

namespace {

constexpr int32_t kColumns = 4;

// "（", eleven ideographic spaces, "）": the box for the pupil's name.
std::string NameBox()
{
    std::string box = "（";
    for (int i = 0; i < 11; ++i) box += "\u3000";
    return box + "）";
}

// The part of the page a figure stands in: from its x back to the left
// margin, across to the next column and down to the next row, less a gap.
struct TPageCell {
    int32_t Left, Width, Height;
};

// What a page shows besides its layout: the subject, the number, how many
// problems there are, and the figure of problem `index` (0-based) at x, y.
struct TPageContent {
    const char* Subject;
    int32_t Number;
    int64_t Problems;
    std::function<void(int64_t index, int32_t x, int32_t y, const TPageCell& cell)> Figure;
    // Run once before the first figure, with the figures' cell; may be empty.
    std::function<void(const TPageCell& cell)> BeforeFigures = {};
    // An answer sheet: 「答え」 in the name box.
    bool AnswerSheet = false;
    // Reference units kept at the foot of the page below the rows, and what
    // is drawn there, from its top.
    int32_t FootHeight = 0;
    std::function<void(int32_t top)> Foot = {};
};

// The one layout of a page, at `scale`.
void LayOutPage(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view, float scale, const TPageContent& content)
{
    const auto S = [scale](double length) { return ScaleLenAt(scale, length); };

    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = 0xFFFFFF;
    canvas.Pen.Color = 0xFFFFFF;
    canvas.Rectangle(0, 0, S(int64_t{view.RefWidth} - 1), S(int64_t{view.RefHeight} - 1));

    canvas.Pen.Color = 0;
    canvas.Brush.Style = bsClear;

    canvas.Font.Name = kGothicFace;
    canvas.Font.Height = S(6);
    canvas.TextOut(S(14), S(10), content.Subject);

    canvas.Font.Name = kMinchoFace;
    canvas.Font.Height = S(6);
    canvas.TextOut(S(64), S(10), "問題No." + std::to_string(content.Number));

    canvas.Font.Height = S(14);
    canvas.TextOut(S(140), S(10), NameBox());
    if (content.AnswerSheet) {
        // An answer sheet says so, in the middle of the name box.
        const std::string answer = "答え";
        const int64_t box = canvas.TextWidth(NameBox());
        canvas.TextOut(Narrow(S(140) + (box - canvas.TextWidth(answer)) / 2), S(10), answer);
    }

    canvas.Font.Height = S(10);
    canvas.TextOut(S(14), S(27), view.Sentence);

    // The figure font: its height is the row height of every figure.
    canvas.Font.Height = S(14);

    // The grid spreads over the whole device size; integer division truncates
    // toward zero.
    const int64_t columnPitch = (int64_t{W} - S(7)) / kColumns;
    const int64_t pageRows = content.Problems / kColumns;
    if (pageRows <= 0) return;
    const int64_t rowPitch = (int64_t{H} - S(50) - S(content.FootHeight)) / pageRows;

    const TPageCell cell{S(26), Narrow(columnPitch - S(4)), Narrow(rowPitch - S(4))};
    if (content.BeforeFigures) content.BeforeFigures(cell);
    for (int64_t i = 1; i <= pageRows; ++i) {
        for (int64_t j = 1; j <= kColumns; ++j) {
            const int64_t x = S(33) + (j - 1) * columnPitch;
            const int64_t y = S(44) + (i - 1) * rowPitch;
            content.Figure((i - 1) * kColumns + j - 1, Narrow(x), Narrow(y), cell);
        }
    }
    if (content.Foot) content.Foot(Narrow(S(44) + pageRows * rowPitch));
}

// The key's lines: Mincho of 9 pt and more on every paper (its height is the
// cell of the glyphs, as the surface takes it), a line every 8 reference units.
constexpr int32_t kKeyFont = 7, kKeyPitch = 8;

// The answer sheet of a diagnostic sheet: each figure with its worked
// answer and, below it, the right answer and the wrong procedures' answers
// lettered; the letters' meanings at the foot.
void DrawDiagnosticKeyPage(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view, const TSheet& sheet,
                           float scale, TFigureStyle style, const std::string& subject)
{
    const auto S = [scale](double length) { return ScaleLenAt(scale, length); };
    const TOperation operation = sheet.Settings.Operation;
    const int32_t legendColumn = S((kReferenceWidth - 28) / 2);
    auto keyFont = [&] {
        canvas.Font.Name = kMinchoFace;
        canvas.Font.Height = S(kKeyFont);
    };
    keyFont();
    const int32_t legendRows = LegendRows(canvas, operation, legendColumn);
    std::vector<std::vector<std::string>> keys;
    size_t keyRows = 0;
    LayOutPage(canvas, W, H, view, scale,
               {subject.c_str(), sheet.Number, static_cast<int64_t>(sheet.Problems.size()),
                [&](int64_t index, int32_t x, int32_t y, const TPageCell& cell) {
                    DrawFigure(canvas, x, y, operation, sheet.Problems[static_cast<size_t>(index)], style);
                    const TFont figureFont = canvas.Font;
                    keyFont();
                    const auto& lines = keys[static_cast<size_t>(index)];
                    for (size_t k = 0; k < lines.size(); ++k)
                        canvas.TextOut(x - cell.Left + S(2), y + style.RoomHeight + static_cast<int32_t>(k) * S(kKeyPitch),
                                       lines[k]);
                    canvas.Font = figureFont;
                },
                [&](const TPageCell& cell) {
                    const TFont figureFont = canvas.Font;
                    keyFont();
                    for (const TSheetProblem& p : sheet.Problems) {
                        keys.push_back(KeyLines(canvas, operation, p, cell.Width - S(2)));
                        keyRows = std::max(keyRows, keys.back().size());
                    }
                    canvas.Font = figureFont;
                    // The figures share one size, over the key's lines: a
                    // figure that sizes itself is told its room, the others
                    // get rows that fit it.
                    style.RoomLeft = cell.Left;
                    style.RoomWidth = cell.Width;
                    style.RoomHeight = std::max(cell.Height - static_cast<int32_t>(keyRows) * S(kKeyPitch), S(7));
                    const TFigureRow& figure = FigureOf(operation);
                    if (figure.RowHeight)
                        style.RowHeight = SharedRowHeight(canvas, operation, sheet.Problems, style);
                    else
                        canvas.Font.Height = std::min(canvas.Font.Height, std::max(1, style.RoomHeight / figure.Grid(ShapeOf(sheet)).Rows));
                },
                true, (legendRows + 1) * kKeyPitch + 4,
                [&](int32_t top) {
                    keyFont();
                    canvas.TextOut(S(14), top + S(2), kLegendTitle);
                    DrawLegend(canvas, operation, S(14), top + S(2 + kKeyPitch), legendColumn, S(kKeyPitch));
                }});
}

}  // namespace

TPageView PageViewOf(const TWorksheetSettings& settings)
{
    TPageView view;
    view.Sentence = settings.QstSentence;
    view.Waku = settings.Waku;
    view.CarryMarks = settings.CarryMarks;
    view.CellMM = settings.CellMM;
    view.DigitFont = settings.DigitFont;
    view.ReadingMarks = settings.ReadingMarks && CarriesRecipe(settings);
    return view;
}

void DrawSheetPage(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view, const TSheet& sheet, bool answers)
{
    // A diagnostic sheet's key needs the room of 標準.
    if (view.CellMM > 0 && !(sheet.Diagnostic && answers)) return DrawLargeCellPage(canvas, W, H, view, sheet, answers);
    const float scale = PageScaleFor(W, H, view.RefWidth, view.RefHeight);
    const TOperation operation = sheet.Settings.Operation;
    TFigureStyle style{view.Waku, answers, scale, view.CarryMarks};
    const TFigureShape shape = ShapeOf(sheet);
    style.FewestDivisorDigits = shape.FewestSecondPlaces;
    style.RemainderBlank = shape.RemainderBlank;
    const std::string subject = std::string(RulesOf(operation).Name) + (sheet.Diagnostic ? "（診断）" : "");
    if (sheet.Diagnostic && answers) return DrawDiagnosticKeyPage(canvas, W, H, view, sheet, scale, style, subject);
    LayOutPage(canvas, W, H, view, scale,
               {subject.c_str(), sheet.Number, static_cast<int64_t>(sheet.Problems.size()),
                [&](int64_t index, int32_t x, int32_t y, const TPageCell&) {
                    style.SmallWordsFirst = index % 2 == 1;
                    DrawFigure(canvas, x, y, operation, sheet.Problems[static_cast<size_t>(index)], style);
                },
                [&](const TPageCell& cell) {
                    // The figures of the page share one size.
                    style.RoomLeft = cell.Left;
                    style.RoomWidth = cell.Width;
                    style.RoomHeight = cell.Height;
                    const std::vector<TSheetProblem> onPage(sheet.Problems.begin(),
                                                            sheet.Problems.begin() + static_cast<std::ptrdiff_t>(sheet.ProblemsOnPage()));
                    style.RowHeight = SharedRowHeight(canvas, operation, onPage, style);
                },
                answers});
}

void MakePrint(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view)
{
    SetPageScale(W, H, view.RefWidth, view.RefHeight);
    // The table holds at most five rows.
    const int64_t count = std::min<int64_t>(QuestionCount, TProblemTable::Capacity);
    LayOutPage(canvas, W, H, view, PageScale,
               {"かけ算", PrintNumber, count, [&](int64_t index, int32_t x, int32_t y, const TPageCell&) {
                    const TProblem& problem = ProblemTable[static_cast<int>(index + 1)];
                    Hissan(canvas, x, y, problem.MultiplicandText, problem.MultiplierText, " ", view.Waku);
                }});
}

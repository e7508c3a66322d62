#include "render/large_cell_page.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "render/cell_canvas.h"
#include "recipe/sheet_recipe.h"
#include "render/figure.h"
#include "render/figure_parts.h"
#include "render/paper_size.h"
#include "render/reference_page.h"
#include "worksheet/follow_up.h"
#include "worksheet/operations.h"
#include "worksheet/wrong_procedures.h"

namespace {

// The whole millimetres of a size, for the messages.
int32_t Millimetres(double mm)
{
    return static_cast<int32_t>(std::floor(mm + 1e-9));
}

// Device units per millimetre of the view on a surface W × H: given, or the
// inside of an A4 sheet's margins scaled to fit.
double DotsPerMm(const TPageView& view, int32_t W, int32_t H)
{
    if (view.DotsPerMm > 0) return view.DotsPerMm;
    const TPaperSize& a4 = kPaperSizes[0];
    return std::max(0.01, std::min(W / (a4.WidthMm - 2 * kSheetMarginMm), H / (a4.HeightMm - 2 * kSheetMarginMm)));
}

struct TArrangement {
    int32_t Columns, Rows;
    double LargestCellMM;  // the largest cell at which it holds its figures
};

// Every columns × rows that holds exactly `count` figures, with the largest
// cell each allows.
std::vector<TArrangement> Arrangements(const TCellGrid& grid, int32_t count, double widthMm, double heightMm)
{
    const double figureWidth = grid.Left + grid.Right + 1, figureHeight = grid.Rows + 1;
    std::vector<TArrangement> all;
    for (int32_t columns = 1; columns <= count; ++columns) {
        if (count % columns) continue;
        const int32_t rows = count / columns;
        all.push_back({columns, rows, std::min(widthMm / (columns * figureWidth), heightMm / (rows * figureHeight))});
    }
    return all;
}

double LargestCell(const TCellGrid& grid, int32_t count, double widthMm, double heightMm)
{
    double largest = 0;
    for (const TArrangement& a : Arrangements(grid, count, widthMm, heightMm)) largest = std::max(largest, a.LargestCellMM);
    return largest;
}

std::string Header(const TSheet& sheet)
{
    return std::string(RulesOf(sheet.Settings.Operation).Name);
}

}  // namespace

TLargeCellFit FitLargeCells(const TCellGrid& grid, int32_t cellMM, int32_t count, double widthMm, double heightMm,
                            bool readingMarks)
{
    TLargeCellFit fit;
    const double usableHeight = heightMm - (readingMarks ? kLargeHeaderWithMarksMm + kReadingBandMm : kLargeHeaderMm);
    double best = 0;
    for (const TArrangement& a : Arrangements(grid, count, widthMm, usableHeight))
        if (a.LargestCellMM >= cellMM && a.LargestCellMM > best) {
            best = a.LargestCellMM;
            fit.Columns = a.Columns;
            fit.Rows = a.Rows;
        }
    fit.LargestCellMM = std::min(kLargestCellMM, Millimetres(LargestCell(grid, count, widthMm, usableHeight)));
    if (fit.LargestCellMM < kSmallestCellMM) fit.LargestCellMM = 0;
    for (const int32_t offered : kProblemCounts)
        if (LargestCell(grid, offered, widthMm, usableHeight) >= cellMM) fit.LargestCount = offered;
    return fit;
}

// The problems a page is laid out for: those asked for (a sheet that fell
// short leaves its last places empty).
static int32_t PlacesOnPage(const TSheet& sheet)
{
    return std::max<int32_t>({sheet.Requested, static_cast<int32_t>(sheet.Problems.size()), 1});
}

// The page inside the sheet's margins, in millimetres: the surface less the
// margin still to keep, never more than the paper has inside its margins.
std::pair<double, double> PageMm(const TPageView& view, int32_t W, int32_t H)
{
    const double dots = DotsPerMm(view, W, H);
    const TPaperSize& paper = PaperSizeNamed(view.PaperName);
    return {std::min(W / dots - 2 * view.MarginMm, paper.WidthMm - 2 * kSheetMarginMm),
            std::min(H / dots - 2 * view.MarginMm, paper.HeightMm - 2 * kSheetMarginMm)};
}

TLargeCellFit LargeCellFitOf(const TSheet& sheet, const TPageView& view, int32_t W, int32_t H)
{
    const int32_t count = PlacesOnPage(sheet);
    const TCellGrid grid = FigureOf(sheet.Settings.Operation).Grid(ShapeOf(sheet));
    const auto [width, height] = PageMm(view, W, H);
    return FitLargeCells(grid, view.CellMM, count, width, height, view.ReadingMarks);
}

std::string LargeCellsMessage(const TLargeCellFit& fit, int32_t cellMM, int32_t count, const std::string& paper)
{
    std::string message = "大きなマス " + std::to_string(cellMM) + " mm では、" + paper + " の用紙に " +
                          std::to_string(count) + " 問がのりません。";
    message += fit.LargestCellMM > 0 ? std::to_string(count) + " 問なら " + std::to_string(fit.LargestCellMM) + " mm まで"
                                     : std::to_string(count) + " 問は " + std::to_string(kSmallestCellMM) + " mm でものらず";
    message += fit.LargestCount > 0 ? "、" + std::to_string(cellMM) + " mm なら " + std::to_string(fit.LargestCount) + " 問までのります"
                                    : "、" + std::to_string(cellMM) + " mm では 6 問ものりません";
    return message;
}

std::string DiagnosticCellsMessage(const TSheet& sheet, const TPageView& view, int32_t W, int32_t H)
{
    const int32_t count = PlacesOnPage(sheet);
    const TCellGrid grid = FigureOf(sheet.Settings.Operation).Grid(ShapeOf(sheet));
    const TPaperSize& asked = PaperSizeNamed(view.PaperName);
    std::string message = "大きなマス " + std::to_string(view.CellMM) + " mm では、" + asked.Name + " の用紙に診断プリントの " +
                          std::to_string(count) + " 問がのりません（診断プリントの問題は減らせません）。";
    std::vector<std::string> ways;
    // Smaller cells on this paper.
    const auto [width, height] = PageMm(view, W, H);
    const TLargeCellFit here = FitLargeCells(grid, view.CellMM, count, width, height, view.ReadingMarks);
    if (here.LargestCellMM > 0) ways.push_back(std::string(asked.Name) + " なら " + std::to_string(here.LargestCellMM) + " mm まで");
    // A larger paper, at the cell asked for or the largest it takes.
    for (const TPaperSize& paper : kPaperSizes) {
        if (paper.WidthMm * paper.HeightMm <= asked.WidthMm * asked.HeightMm) continue;
        const TLargeCellFit fit = FitLargeCells(grid, view.CellMM, count, paper.WidthMm - 2 * kSheetMarginMm,
                                                paper.HeightMm - 2 * kSheetMarginMm, view.ReadingMarks);
        if (fit.Fits())
            ways.push_back(std::string(paper.Name) + " なら " + std::to_string(view.CellMM) + " mm で");
        else if (fit.LargestCellMM > 0)
            ways.push_back(std::string(paper.Name) + " なら " + std::to_string(fit.LargestCellMM) + " mm まで");
    }
    for (size_t i = 0; i < ways.size(); ++i) message += (i ? "、" : "") + ways[i];
    if (!ways.empty()) message += "のります。";
    return message + "標準の配置（マスの大きさ 0）なら " + asked.Name + " にのります";
}

namespace {

// The page inside its margins and where every figure of a sheet goes.
struct TLargeCellLayout {
    double Dots = 1;  // device units per millimetre
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t Cell = 1;
    TLargeCellFit Fit;
    TFigureShape Shape;
    struct TFigureAt {
        int32_t X, Y;
    };
    std::vector<TFigureAt> Figures;  // in page order
    int32_t Mm(double length) const { return static_cast<int32_t>(std::lround(length * Dots)); }
};

TLargeCellLayout LayOut(const TSheet& sheet, const TPageView& view, int32_t W, int32_t H)
{
    TLargeCellLayout layout;
    layout.Fit = LargeCellFitOf(sheet, view, W, H);
    if (!layout.Fit.Fits())
        throw ELayoutDoesNotFit(sheet.Diagnostic ? DiagnosticCellsMessage(sheet, view, W, H)
                                                 : LargeCellsMessage(layout.Fit, view.CellMM, PlacesOnPage(sheet), view.PaperName));
    layout.Dots = DotsPerMm(view, W, H);
    const auto [widthMm, heightMm] = PageMm(view, W, H);
    layout.Left = layout.Mm(view.MarginMm);
    layout.Top = layout.Left;
    layout.Right = layout.Left + layout.Mm(widthMm);
    layout.Bottom = layout.Top + layout.Mm(heightMm);
    // The figures, each centred in its share of the page, in cells of a whole
    // number of device units: every figure's cells are alike.
    layout.Cell = std::max(1, layout.Mm(view.CellMM));
    layout.Shape = ShapeOf(sheet);
    const TFigureRow& figure = FigureOf(sheet.Settings.Operation);
    const TCellGrid grid = figure.Grid(layout.Shape);
    const int32_t cell = layout.Cell;
    const int32_t areaTop = layout.Top + layout.Mm(view.ReadingMarks ? kLargeHeaderWithMarksMm : kLargeHeaderMm);
    const int32_t areaBottom = layout.Bottom - (view.ReadingMarks ? layout.Mm(kReadingBandMm) : 0);
    const int32_t slotWidth = (layout.Right - layout.Left) / layout.Fit.Columns;
    const int32_t slotHeight = (areaBottom - areaTop) / layout.Fit.Rows;
    const int32_t figureWidth = (grid.Left + grid.Right + 1) * cell, figureHeight = (grid.Rows + 1) * cell;
    for (size_t k = 0; k < sheet.Problems.size(); ++k) {
        const TSheetProblem& problem = sheet.Problems[k];
        const int32_t column = static_cast<int32_t>(k) % layout.Fit.Columns, row = static_cast<int32_t>(k) / layout.Fit.Columns;
        const int32_t boxLeft = layout.Left + column * slotWidth + (slotWidth - figureWidth) / 2;
        const int32_t boxTop = areaTop + row * slotHeight + (slotHeight - figureHeight) / 2;
        // Every figure of a page column on one units column: a figure of
        // fewer places stands as many cells further right.
        TFigureShape own = layout.Shape;
        own.FirstPlaces = static_cast<int32_t>(std::to_string(problem.First).size());
        own.SecondPlaces = static_cast<int32_t>(std::to_string(problem.Second).size());
        if (figure.Measure) {
            // A figure of decimals: its own working's columns.
            own = TFigureShape{1, 1, 1, layout.Shape.RemainderBlank, layout.Shape.Marks};
            figure.Measure(problem, own);
        }
        const int32_t shift = std::max(0, grid.Right - figure.Grid(own).Right);
        layout.Figures.push_back({boxLeft + (grid.Left + shift) * cell + cell / 2, boxTop + cell / 2});
    }
    return layout;
}

TFigureStyle StyleOf(const TLargeCellLayout& layout, const TPageView& view, bool answers)
{
    TFigureStyle style{view.Waku, answers, static_cast<float>(layout.Cell) / 14.0f, view.CarryMarks};
    style.RowHeight = layout.Cell;
    style.FewestDivisorDigits = layout.Shape.FewestSecondPlaces;
    style.RemainderBlank = layout.Shape.RemainderBlank;
    style.InCells = true;
    return style;
}

// A surface that draws nothing and measures every character half as wide as
// high: the cells' places need no face.
class TMeasuringCanvas : public TCanvas {
public:
    void TextOut(int32_t, int32_t, const std::string&) override {}
    int32_t TextWidth(const std::string& text) override { return static_cast<int32_t>(text.size()) * Font.Height / 2; }
    void MoveTo(int32_t, int32_t) override {}
    void LineTo(int32_t, int32_t) override {}
    void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
};

TReadingMarks MarksOf(const TLargeCellLayout& layout)
{
    TReadingMarks marks;
    const int32_t side = layout.Mm(kCornerMarkMm);
    const int32_t l = layout.Left, t = layout.Top, r = layout.Right, b = layout.Bottom;
    marks.Corners[0] = {l, t, l + side, t + side};
    marks.Corners[1] = {r - side, t, r, t + side};
    marks.Corners[2] = {l, b - side, l + side, b};
    marks.Corners[3] = {r - side, b - side, r, b};
    const int32_t code = std::max(kCodeModules, layout.Mm(kCodeModules * kCodeModuleMm));
    const int32_t bandTop = b - layout.Mm(kReadingBandMm);
    const int32_t codeTop = bandTop + (layout.Mm(kReadingBandMm) - code) / 2;
    marks.Code = {r - side - layout.Mm(3) - code, codeTop, r - side - layout.Mm(3), codeTop + code};
    const int32_t roll = layout.Mm(kRollCellMm), rollTop = bandTop + (layout.Mm(kReadingBandMm) - roll) / 2;
    const int32_t rollLeft = l + side + layout.Mm(24);
    marks.Roll[0] = {rollLeft, rollTop, rollLeft + roll, rollTop + roll};
    marks.Roll[1] = {rollLeft + roll, rollTop, rollLeft + 2 * roll, rollTop + roll};
    return marks;
}

void Fill(TCanvas& canvas, const TBox& box)
{
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
}

// The corner marks, the 出席番号 box (with the sheet's Roll) and the code.
void DrawReadingMarks(TCanvas& canvas, const TLargeCellLayout& layout, const TSheet& sheet, const TPageView& view, bool answers)
{
    const TReadingMarks marks = MarksOf(layout);
    canvas.Pen = {0, 1, psSolid};
    canvas.Brush = {0, bsSolid};
    for (const TBox& corner : marks.Corners) Fill(canvas, corner);
    // An answer page's code says so: the reader passes it over.
    const TPageKind kind = !answers ? TPageKind::Problems : sheet.Diagnostic ? TPageKind::Key : TPageKind::Answers;
    if (const std::optional<TSheetRecipe> recipe = RecipeOf(sheet, view.PaperName, kind)) {
        if (const std::optional<std::vector<bool>> modules = CodeModules(*recipe)) {
            // The modules' edges where the code's own size puts them, not
            // a whole number of device units apart: a reader measures it.
            auto edge = [&](int32_t from, int32_t to, int k) {
                return from + static_cast<int32_t>(std::lround(double(to - from) * k / kCodeModules));
            };
            // A row's black modules side by side as one rectangle.
            for (int row = 0; row < kCodeModules; ++row)
                for (int column = 0; column < kCodeModules;) {
                    if (!(*modules)[static_cast<size_t>(row * kCodeModules + column)]) {
                        ++column;
                        continue;
                    }
                    int end = column;
                    while (end < kCodeModules && (*modules)[static_cast<size_t>(row * kCodeModules + end)]) ++end;
                    canvas.Rectangle(edge(marks.Code.Left, marks.Code.Right, column), edge(marks.Code.Top, marks.Code.Bottom, row),
                                     edge(marks.Code.Left, marks.Code.Right, end), edge(marks.Code.Top, marks.Code.Bottom, row + 1));
                    column = end;
                }
        }
    }
    canvas.Brush.Style = bsClear;
    canvas.Pen = {0, std::max(1, layout.Mm(0.35)), psSolid};
    for (const TBox& cell : marks.Roll) Fill(canvas, cell);
    canvas.Font.Name = kGothicFace;
    canvas.Font.Height = layout.Mm(4.5);
    canvas.Font.Style = 0;
    const int32_t roll = marks.Roll[0].Bottom - marks.Roll[0].Top;
    canvas.TextOut(marks.Roll[0].Left - canvas.TextWidth("出席番号") - layout.Mm(2),
                   marks.Roll[0].Top + (roll - canvas.Font.Height) / 2, "出席番号");
    if (sheet.Roll > 0 && sheet.Roll < 100) {
        TCellCanvas cells(canvas, view.DigitFont, roll, layout.Dots);
        cells.Font.Height = roll;
        cells.Brush.Style = bsClear;
        const std::string digits = (sheet.Roll < 10 ? " " : "") + std::to_string(sheet.Roll);
        cells.TextOut(marks.Roll[0].Left, marks.Roll[0].Top, digits);
    }
    canvas.Pen = {0, 1, psSolid};
}

}  // namespace

TReadingMarks ReadingMarksOf(const TPageView& view, int32_t W, int32_t H)
{
    TLargeCellLayout layout;
    layout.Dots = DotsPerMm(view, W, H);
    const auto [widthMm, heightMm] = PageMm(view, W, H);
    layout.Left = layout.Top = layout.Mm(view.MarginMm);
    layout.Right = layout.Left + layout.Mm(widthMm);
    layout.Bottom = layout.Top + layout.Mm(heightMm);
    return MarksOf(layout);
}

std::vector<TAnswerPlaces> AnswerPlacesOf(const TSheet& sheet, const TPageView& view, int32_t W, int32_t H)
{
    const TLargeCellLayout layout = LayOut(sheet, view, W, H);
    TMeasuringCanvas measuring;
    TCellCanvas cells(measuring, view.DigitFont, layout.Cell, layout.Dots);
    cells.Font.Name = kMinchoFace;
    cells.Font.Height = layout.Cell;
    TFigureStyle style = StyleOf(layout, view, false);
    std::vector<TAnswerPlaces> places(sheet.Problems.size());
    for (size_t k = 0; k < sheet.Problems.size(); ++k) {
        style.Places = &places[k];
        DrawFigure(cells, layout.Figures[k].X, layout.Figures[k].Y, sheet.Settings.Operation, sheet.Problems[k], style);
    }
    return places;
}

void DrawLargeCellPage(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view, const TSheet& sheet, bool answers)
{
    const TLargeCellLayout layout = LayOut(sheet, view, W, H);
    auto mm = [&layout](double length) { return layout.Mm(length); };
    // Room for the corner marks beside the header.
    const int32_t inset = view.ReadingMarks ? mm(kCornerMarkMm + 2) : 0;
    const int32_t left = layout.Left + inset, right = layout.Right - inset, top = layout.Top;

    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = 0xFFFFFF;
    canvas.Pen.Color = 0xFFFFFF;
    canvas.Rectangle(0, 0, W, H);
    canvas.Pen.Color = 0;
    canvas.Brush.Style = bsClear;

    // The header, in millimetres.
    canvas.Font.Name = kGothicFace;
    canvas.Font.Height = mm(4.5);
    const std::string header = Header(sheet);
    canvas.TextOut(left, top, header);
    // The number after the subject, however long its name.
    const int32_t numberLeft = std::max(left + mm(22), left + canvas.TextWidth(header) + mm(3));
    canvas.Font.Name = kMinchoFace;
    canvas.TextOut(numberLeft, top, "問題No." + std::to_string(sheet.Number));
    std::string box = "（";
    for (int i = 0; i < 11; ++i) box += "\u3000";
    box += "）";
    canvas.Font.Height = mm(8);
    const int32_t boxWidth = canvas.TextWidth(box);
    canvas.TextOut(right - boxWidth, top, box);
    if (answers) canvas.TextOut(right - boxWidth + (boxWidth - canvas.TextWidth("答え")) / 2, top, "答え");
    canvas.Font.Height = mm(6);
    canvas.TextOut(left, top + mm(12), view.Sentence);
    if (view.ReadingMarks) DrawReadingMarks(canvas, layout, sheet, view, answers);
    if (sheet.Problems.empty()) return;

    TCellCanvas cells(canvas, view.DigitFont, layout.Cell, layout.Dots);
    cells.Font.Name = kMinchoFace;
    cells.Font.Height = layout.Cell;
    cells.Pen = {0, 1, psSolid};
    cells.Brush.Style = bsClear;
    TFigureStyle style = StyleOf(layout, view, answers);
    for (size_t k = 0; k < sheet.Problems.size(); ++k) {
        style.SmallWordsFirst = k % 2 == 1;
        const TPurpose purpose = sheet.PurposeOf(k);
        if (!IsShownWorked(purpose)) {
            DrawFigure(cells, layout.Figures[k].X, layout.Figures[k].Y, sheet.Settings.Operation, sheet.Problems[k], style);
            continue;
        }
        // Above the figure, in its spare half cell, what it is there for.
        canvas.Font.Name = kGothicFace;
        canvas.Font.Height = std::max(1, layout.Cell * 2 / 5);
        canvas.TextOut(layout.Figures[k].X - layout.Cell / 2, layout.Figures[k].Y - layout.Cell / 2 + layout.Cell / 20,
                       purpose == TPurpose::Example ? "れい" : "まちがいをさがそう");
        TFigureStyle shown = style;
        TSheetProblem problem = sheet.Problems[k];
        shown.Answers = true;
        shown.Marks = true;
        if (purpose == TPurpose::FindMistake && !answers) {
            // On the pupil's page the answer the procedure gives, to mend.
            const TWrittenAnswer wrong = AnswerOfProcedure(sheet.Settings.Operation, problem, static_cast<size_t>(sheet.FollowUp.value_or(0)));
            if (!(wrong == kNoAnswer)) {
                problem.Answer = static_cast<int32_t>(wrong.Value);
                problem.Remainder = static_cast<int32_t>(wrong.Remainder);
                problem.AnswerPlaces = wrong.Places;
                problem.RemainderPlaces = wrong.RemainderPlaces;
            }
            shown.Marks = false;
        }
        DrawFigure(cells, layout.Figures[k].X, layout.Figures[k].Y, sheet.Settings.Operation, problem, shown);
    }
}

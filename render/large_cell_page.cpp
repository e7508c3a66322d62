#include "render/large_cell_page.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "render/cell_canvas.h"
#include "render/figure.h"
#include "render/figure_parts.h"
#include "render/paper_size.h"
#include "render/reference_page.h"
#include "worksheet/operations.h"

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

TLargeCellFit FitLargeCells(const TCellGrid& grid, int32_t cellMM, int32_t count, double widthMm, double heightMm)
{
    TLargeCellFit fit;
    const double usableHeight = heightMm - kLargeHeaderMm;
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
    return FitLargeCells(grid, view.CellMM, count, width, height);
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

void DrawLargeCellPage(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view, const TSheet& sheet, bool answers)
{
    const int32_t count = static_cast<int32_t>(sheet.Problems.size());
    const TLargeCellFit fit = LargeCellFitOf(sheet, view, W, H);
    if (!fit.Fits()) throw ELayoutDoesNotFit(LargeCellsMessage(fit, view.CellMM, PlacesOnPage(sheet), view.PaperName));

    const double dots = DotsPerMm(view, W, H);
    auto mm = [dots](double length) { return static_cast<int32_t>(std::lround(length * dots)); };
    const int32_t margin = mm(view.MarginMm);
    const auto [widthMm, heightMm] = PageMm(view, W, H);
    const int32_t left = margin, right = margin + mm(widthMm), top = margin, bottom = margin + mm(heightMm);

    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = 0xFFFFFF;
    canvas.Pen.Color = 0xFFFFFF;
    canvas.Rectangle(0, 0, W, H);
    canvas.Pen.Color = 0;
    canvas.Brush.Style = bsClear;

    // The header, in millimetres.
    canvas.Font.Name = kGothicFace;
    canvas.Font.Height = mm(4.5);
    canvas.TextOut(left, top, Header(sheet));
    canvas.Font.Name = kMinchoFace;
    canvas.TextOut(left + mm(22), top, "問題No." + std::to_string(sheet.Number));
    std::string box = "（";
    for (int i = 0; i < 11; ++i) box += "\u3000";
    box += "）";
    canvas.Font.Height = mm(8);
    const int32_t boxWidth = canvas.TextWidth(box);
    canvas.TextOut(right - boxWidth, top, box);
    if (answers) canvas.TextOut(right - boxWidth + (boxWidth - canvas.TextWidth("答え")) / 2, top, "答え");
    canvas.Font.Height = mm(6);
    canvas.TextOut(left, top + mm(12), view.Sentence);
    if (count == 0) return;

    // The figures, each centred in its share of the page, in cells of a whole
    // number of device units: every figure's cells are alike.
    const int32_t cell = std::max(1, mm(view.CellMM));
    const TFigureShape shape = ShapeOf(sheet);
    const TCellGrid grid = FigureOf(sheet.Settings.Operation).Grid(shape);
    const int32_t areaTop = top + mm(kLargeHeaderMm);
    const int32_t slotWidth = (right - left) / fit.Columns, slotHeight = (bottom - areaTop) / fit.Rows;
    const int32_t figureWidth = (grid.Left + grid.Right + 1) * cell, figureHeight = (grid.Rows + 1) * cell;

    TCellCanvas cells(canvas, view.DigitFont, cell, dots);
    cells.Font.Name = kMinchoFace;
    cells.Font.Height = cell;
    cells.Pen = {0, 1, psSolid};
    cells.Brush.Style = bsClear;
    TFigureStyle style{view.Waku, answers, static_cast<float>(cell) / 14.0f, view.CarryMarks};
    style.RowHeight = cell;
    style.FewestDivisorDigits = shape.FewestSecondPlaces;
    style.RemainderBlank = shape.RemainderBlank;
    style.InCells = true;
    const TFigureRow& figure = FigureOf(sheet.Settings.Operation);
    for (int32_t k = 0; k < count; ++k) {
        const TSheetProblem& problem = sheet.Problems[static_cast<size_t>(k)];
        const int32_t column = k % fit.Columns, row = k / fit.Columns;
        const int32_t boxLeft = left + column * slotWidth + (slotWidth - figureWidth) / 2;
        const int32_t boxTop = areaTop + row * slotHeight + (slotHeight - figureHeight) / 2;
        // Every figure of a page column on one units column: a figure of
        // fewer places stands as many cells further right.
        TFigureShape own = shape;
        own.FirstPlaces = static_cast<int32_t>(std::to_string(problem.First).size());
        own.SecondPlaces = static_cast<int32_t>(std::to_string(problem.Second).size());
        const int32_t shift = std::max(0, grid.Right - figure.Grid(own).Right);
        style.SmallWordsFirst = k % 2 == 1;
        DrawFigure(cells, boxLeft + (grid.Left + shift) * cell + cell / 2, boxTop + cell / 2, sheet.Settings.Operation,
                   problem, style);
    }
}

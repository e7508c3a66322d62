#include "render/division_figure.h"

#include <algorithm>
#include <string>
#include <vector>

#include "render/figure_parts.h"
#include "render/page_scale.h"
#include "worksheet/division.h"

namespace {

// The rows of the working below the dividend: one product row and one row
// of what is left for each quotient digit above 0.
struct TWorkingStep {
    size_t Column;       // the dividend digit its quotient digit stands over
    int32_t Partial;     // what is divided, written above the product
    int32_t Product;     // quotient digit × divisor
    size_t NextColumn;   // where the row of what is left ends
    int32_t Next;        // what is left, with the next digits brought down
};

std::vector<TWorkingStep> WorkingSteps(const TSheetProblem& p, size_t dividendDigits)
{
    std::vector<TWorkingStep> working;
    const std::vector<TDivisionStep> steps = DivisionSteps(p.First, p.Second);
    for (size_t k = 0; k < steps.size(); ++k) {
        if (steps[k].Digit == 0) continue;  // the next digit comes straight down
        TWorkingStep step{steps[k].Column, steps[k].Partial, steps[k].Digit * p.Second, dividendDigits - 1, p.Remainder};
        for (size_t next = k + 1; next < steps.size(); ++next)
            if (steps[next].Digit != 0) {
                step.NextColumn = steps[next].Column;
                step.Next = steps[next].Partial;
                break;
            }
        working.push_back(step);
    }
    return working;
}

// The vertical layout: the top of each row, for a row height h and a gap of
// g above each number that is subtracted from; `steps` working steps are
// given room, and a last row for the remainder with `remainderRow`.
struct TRows {
    int64_t Quotient, Bar, Dividend;
    std::vector<int64_t> Product, Left;  // per working step
    int64_t Remainder;                   // the remainder's row, when there is one
    int64_t Bottom;
};

TRows LayOutRows(int64_t y, int64_t h, int64_t g, size_t steps, bool remainderRow)
{
    TRows rows;
    rows.Quotient = y;
    rows.Bar = y + h;
    rows.Dividend = rows.Bar + g;
    int64_t top = rows.Dividend + h;
    for (size_t k = 0; k < steps; ++k) {
        rows.Product.push_back(top);
        rows.Left.push_back(top + h + g);
        top += 2 * h + g;
    }
    rows.Remainder = top;
    rows.Bottom = top + (remainderRow ? h : 0);
    return rows;
}

// The steps a problem's working is given room for: those of the longest
// working for a dividend of its places (the quotient starting over the
// divisor's last place), never fewer than its own.
size_t RoomySteps(const TSheetProblem& p, const TFigureStyle& style, size_t ownSteps)
{
    const int64_t n = CharCount(std::to_string(p.First));
    const int64_t d = style.FewestDivisorDigits > 0 ? style.FewestDivisorDigits : CharCount(std::to_string(p.Second));
    return std::max<size_t>(ownSteps, static_cast<size_t>(std::max<int64_t>(n - d + 1, 1)));
}


// The bracket, a ")" curve down the cell from the bar to the dividend row's
// bottom, as a few straight pieces.
void Bracket(TCanvas& canvas, int64_t x, int64_t c, int64_t top, int64_t bottom)
{
    static const int kBulge[] = {0, 4, 6, 6, 4, 0};  // twelfths of the cell to the right
    const int pieces = static_cast<int>(std::size(kBulge)) - 1;
    canvas.MoveTo(Narrow(x + c / 4), Narrow(top));
    for (int i = 1; i <= pieces; ++i)
        canvas.LineTo(Narrow(x + c / 4 + c * kBulge[i] / 12), Narrow(top + (bottom - top) * i / pieces));
}

// Before the remainder's cells.
const char* const kRemainderLabel = "あまり（";

// "あまり 5", small, for the answer sheet.
std::string RemainderText(int32_t remainder)
{
    return "あまり " + std::to_string(remainder);
}

// The room a figure takes at row height h (and column width c): across
// right of x, left of x (the divisor) and down.
struct TExtent {
    int64_t Right, Left, Down;
};

TExtent ExtentOf(TCanvas& canvas, const TSheetProblem& problem, int64_t h, const TFigureStyle& style)
{
    const int32_t kept = canvas.Font.Height;
    const int64_t font = FontForRow(h, kept);
    canvas.Font.Height = static_cast<int32_t>(font);
    const int64_t c = canvas.TextWidth(" ");
    const int64_t n = CharCount(std::to_string(problem.First)), lb = CharCount(std::to_string(problem.Second));
    const size_t steps = RoomySteps(problem, style, WorkingSteps(problem, static_cast<size_t>(n)).size());
    const int64_t g = MarksGap(style, h);
    TExtent extent{(n + 1) * c, lb * c, LayOutRows(0, h, g, steps, style.RemainderBlank).Bottom + (font - h)};
    if (!style.RemainderBlank && problem.Remainder > 0) {
        canvas.Font.Height = static_cast<int32_t>(std::max<int64_t>(font / 2, 1));
        extent.Right += c / 2 + canvas.TextWidth(RemainderText(problem.Remainder));
    }
    if (style.RemainderBlank) {
        // 「あまり（」 left of the two cells of the remainder, 「）」 after them.
        canvas.Font.Height = static_cast<int32_t>(std::max<int64_t>(font / 2, 1));
        extent.Left = std::max(extent.Left, canvas.TextWidth(kRemainderLabel) + 2 * c - (n + 1) * c);
        extent.Right += canvas.TextWidth("）");
    }
    canvas.Font.Height = kept;
    return extent;
}

bool Fits(const TExtent& e, const TFigureStyle& style)
{
    return (style.RoomHeight <= 0 || e.Down <= style.RoomHeight) &&
           (style.RoomWidth <= 0 || (e.Left <= style.RoomLeft && e.Right <= style.RoomWidth - style.RoomLeft));
}

// Sizes a figure is drawn smaller at: hundredths of the page's row height.
constexpr int kSteps = 100;

}  // namespace

int32_t DivisionRowHeight(TCanvas& canvas, const std::vector<TSheetProblem>& problems, const TFigureStyle& style)
{
    const int64_t full = canvas.Font.Height;
    // Everything grows with the row height: the first guess is the smallest
    // share of the room any figure leaves at full size, then a step smaller
    // until every figure fits.
    double share = 1.0;
    for (const TSheetProblem& problem : problems) {
        const TExtent e = ExtentOf(canvas, problem, full, style);
        if (style.RoomHeight > 0 && e.Down > 0) share = std::min(share, double(style.RoomHeight) / double(e.Down));
        if (style.RoomWidth > 0) {
            if (e.Right > 0) share = std::min(share, double(style.RoomWidth - style.RoomLeft) / double(e.Right));
            if (e.Left > 0) share = std::min(share, double(style.RoomLeft) / double(e.Left));
        }
    }
    for (int step = std::clamp(static_cast<int>(share * kSteps), 1, kSteps); step > 1; --step) {
        const int64_t h = std::max<int64_t>(full * step / kSteps, 1);
        if (std::all_of(problems.begin(), problems.end(),
                        [&](const TSheetProblem& p) { return Fits(ExtentOf(canvas, p, h, style), style); }))
            return static_cast<int32_t>(h);
    }
    return static_cast<int32_t>(std::max<int64_t>(full / kSteps, 1));
}

void DivisionFigure(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    const std::string dividend = std::to_string(problem.First), divisor = std::to_string(problem.Second);
    const int64_t n = CharCount(dividend);
    const std::vector<TWorkingStep> working = WorkingSteps(problem, static_cast<size_t>(n));
    const int32_t fontHeight = canvas.Font.Height;
    const int64_t h = style.RowHeight > 0 ? style.RowHeight : DivisionRowHeight(canvas, {problem}, style);
    const int64_t font = FontForRow(h, fontHeight);
    canvas.Font.Height = static_cast<int32_t>(font);
    const int64_t c = canvas.TextWidth(" ");
    const int64_t g = MarksGap(style, h);
    // Every problem of this many places gets the same room, whatever its quotient.
    const size_t steps = RoomySteps(problem, style, working.size());
    // Digits larger than their rows stand in the middle of them.
    const int64_t lift = (font - h) / 2;
    const TRows rows = LayOutRows(int64_t{y} + lift, h, g, steps, style.RemainderBlank);
    const int64_t first = int64_t{x} + c;        // the left edge of the dividend's first digit
    const int64_t right = first + n * c;         // the right edge of every number
    auto columnRight = [&](size_t column) { return first + static_cast<int64_t>(column + 1) * c; };
    auto text = [&](int64_t top) { return top - lift; };  // where a row's text cell starts

    // The small words together, before or after the digits: a printer gets
    // the digits of a figure as one run of text and its small words as another.
    auto smallWords = [&] {
        const int32_t small = static_cast<int32_t>(std::max<int64_t>(font / 2, 1));
        canvas.Font.Height = small;
        if (style.RemainderBlank) {
            // 「あまり（　　）」: two cells for the remainder, on both sheets.
            const int64_t labelTop = rows.Remainder + h - lift - small;
            RightAligned(canvas, right - 2 * c, labelTop, kRemainderLabel);
            canvas.TextOut(Narrow(right), Narrow(labelTop), "）");
        } else if (style.Answers && problem.Remainder > 0) {
            canvas.TextOut(Narrow(right + c / 2), Narrow(rows.Quotient + h - lift - small), RemainderText(problem.Remainder));
        }
        canvas.Font.Height = static_cast<int32_t>(font);
    };
    if (style.SmallWordsFirst) smallWords();
    if (style.Places) {
        style.Places->Answer = {Narrow(right), Narrow(text(rows.Quotient)), Narrow(c), Narrow(h), Narrow(n)};
        if (style.RemainderBlank) style.Places->Remainder = {Narrow(right), Narrow(text(rows.Remainder)), Narrow(c), Narrow(h), 2};
    }

    if (style.Waku == 0) {
        if (g == 0) {
            // The rows follow one another: one grid over them all.
            DotGrid(canvas, first, rows.Quotient, n, 2 + 2 * static_cast<int64_t>(steps), c, h);
        } else {
            // A band for each row; the half rows of the marks stay open.
            std::vector<int64_t> bands = {rows.Quotient, rows.Dividend};
            bands.insert(bands.end(), rows.Product.begin(), rows.Product.end());
            bands.insert(bands.end(), rows.Left.begin(), rows.Left.end());
            for (const int64_t top : bands) DotGrid(canvas, first, top, n, 1, c, h);
        }
        if (style.RemainderBlank) DotGrid(canvas, right - 2 * c, rows.Remainder, 2, 1, c, h);
    }

    canvas.Pen.Width = ScaleLenAt(style.Scale, 0.5);
    canvas.Pen.Style = psSolid;
    Bracket(canvas, x, c, rows.Bar, rows.Dividend + h);
    canvas.MoveTo(Narrow(x + c / 4), Narrow(rows.Bar));
    canvas.LineTo(Narrow(right), Narrow(rows.Bar));
    RightAligned(canvas, x, text(rows.Dividend), divisor);
    canvas.TextOut(Narrow(first), Narrow(text(rows.Dividend)), dividend);

    if (style.Answers) {
        RightAligned(canvas, right, text(rows.Quotient), std::to_string(problem.Answer));
        if (style.RemainderBlank) RightAligned(canvas, right, text(rows.Remainder), std::to_string(problem.Remainder));
        for (size_t k = 0; k < working.size(); ++k) {
            const TWorkingStep& step = working[k];
            const std::string partial = std::to_string(step.Partial), product = std::to_string(step.Product);
            // The rule runs under the whole number it is subtracted from.
            const std::string ruled = std::string(product.size() < partial.size() ? partial.size() - product.size() : 0, ' ') + product;
            canvas.Font.Style = fsUnderline;
            RightAligned(canvas, columnRight(step.Column), text(rows.Product[k]), ruled);
            canvas.Font.Style = 0;
            RightAligned(canvas, columnRight(step.NextColumn), text(rows.Left[k]), std::to_string(step.Next));
            if (style.Marks)
                BorrowMarks(canvas, step.Partial, step.Product, columnRight(step.Column), c, h,
                            k == 0 ? rows.Dividend : rows.Left[k - 1], style.Scale);
        }
    }
    if (!style.SmallWordsFirst) smallWords();
    canvas.Font.Height = fontHeight;
    canvas.Pen.Width = ScaleLenAt(style.Scale, 0.5);
    canvas.Pen.Style = psSolid;
}

namespace {

// The divisor's places left of the bracket; the bracket and the dividend's
// places; the quotient and dividend rows, the room of the longest working,
// the remainder's row and the rows of the marks.
TCellGrid DivisionGrid(const TFigureShape& shape)
{
    const int32_t steps = std::max(shape.FirstPlaces - shape.FewestSecondPlaces + 1, 1);
    // With the marks, a row for them above the dividend and above what each step leaves.
    return {shape.SecondPlaces, 1 + shape.FirstPlaces,
            2 + 2 * steps + (shape.RemainderBlank ? 1 : 0) + (shape.Marks ? steps + 1 : 0)};
}

}  // namespace

const TFigureRow& DivisionFigureRow()
{
    static const TFigureRow row = {TOperation::Division, TSign::Bracket, DivisionFigure, DivisionRowHeight, DivisionGrid};
    return row;
}

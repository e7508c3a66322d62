#include "render/decimal_figures.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <vector>

#include "render/figure_parts.h"
#include "render/page_scale.h"
#include "worksheet/decimal.h"
#include "worksheet/division.h"

namespace {

int64_t Length(const std::string& digits)
{
    return static_cast<int64_t>(digits.size());
}

// A decimal point on the line at x between two columns, sitting on the
// digits' baseline in the row whose top is `top`.
void Point(TCanvas& canvas, int64_t x, int64_t top, int64_t c, int64_t h)
{
    const int64_t size = std::max<int64_t>(c / 5, 2);
    const int64_t bottom = top + h * 17 / 20;
    const TBrush kept = canvas.Brush;
    const TPen keptPen = canvas.Pen;
    canvas.Brush = {0x000000, bsSolid};
    canvas.Pen = {0x000000, 1, psSolid};
    canvas.Rectangle(Narrow(x - size / 2), Narrow(bottom - size), Narrow(x - size / 2 + size), Narrow(bottom));
    canvas.Brush = kept;
    canvas.Pen = keptPen;
}

// The small mark of a point moved right: a curve under the row from the old
// point at `from` to the new one at `to`, and the new point.
void MovedPoint(TCanvas& canvas, int64_t from, int64_t to, int64_t top, int64_t c, int64_t h, float scale)
{
    if (to == from) return;
    const TPen kept = canvas.Pen;
    canvas.Pen = {0x000000, ScaleLenAt(scale, 0.3), psSolid};
    const int64_t y = top + h * 9 / 10, dip = std::max<int64_t>(h / 12, 1);
    canvas.MoveTo(Narrow(from), Narrow(y));
    canvas.LineTo(Narrow(from + (to - from) / 4), Narrow(y + dip));
    canvas.LineTo(Narrow(from + (to - from) * 3 / 4), Narrow(y + dip));
    canvas.LineTo(Narrow(to), Narrow(y));
    canvas.Pen = kept;
    Point(canvas, to, top, c, h);
}

// The last `count` digits of a number ending at `right` struck out: zeros
// at the end of a decimal that the answer does not keep.
void StrikeLast(TCanvas& canvas, int64_t right, int64_t top, int64_t c, int64_t h, int32_t count, float scale)
{
    for (int32_t k = 1; k <= count; ++k) StrikeDigit(canvas, right - k * c, top, c, h, scale);
}

// Ones first: the digits of a whole number of up to 18 places.
std::array<int32_t, 19> ColumnDigits(int64_t number)
{
    std::array<int32_t, 19> digits{};
    for (size_t i = 0; i < digits.size() && number > 0; ++i, number /= 10) digits[i] = static_cast<int32_t>(number % 10);
    return digits;
}

// ---- addition and subtraction ----

struct TColumnLayout {
    std::string A, B, Answer;   // written digits, the point left out
    int32_t PlacesA, PlacesB, Places;  // decimal places; Places: the working's
    int64_t Whole;              // whole columns of the longer number
};

TColumnLayout ColumnLayoutOf(const TSheetProblem& p)
{
    TColumnLayout l{DecimalDigits(p.First, p.FirstPlaces), DecimalDigits(p.Second, p.SecondPlaces),
                    DecimalDigits(p.Answer, p.AnswerPlaces), p.FirstPlaces, p.SecondPlaces, p.AnswerPlaces, 0};
    l.Whole = std::max(Length(l.A) - l.PlacesA, Length(l.B) - l.PlacesB);
    return l;
}

void DrawColumn(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style,
                TSign sign)
{
    const TColumnLayout l = ColumnLayoutOf(problem);
    const int64_t h = canvas.Font.Height, c = canvas.TextWidth(" ");
    const int64_t firstTop = int64_t{y} + h, secondTop = firstTop + h, answerTop = secondTop + h;
    const int64_t columns = 1 + l.Whole + l.Places;
    const int64_t right = int64_t{x} + columns * c, point = right - l.Places * c;
    if (style.Waku == 0) DotGrid(canvas, x, firstTop, columns, 3, c, h);

    RightAligned(canvas, point + l.PlacesA * c, firstTop, l.A);
    // The rule runs under the whole figure, the second number over it.
    const TFontStyles kept = canvas.Font.Style;
    canvas.Font.Style = fsUnderline;
    canvas.TextOut(x, Narrow(secondTop), std::string(static_cast<size_t>(columns), ' '));
    canvas.Font.Style = kept;
    RightAligned(canvas, point + l.PlacesB * c, secondTop, l.B);
    OperatorSign(canvas, sign, x, secondTop, h, style.Scale, style.InCells);
    if (l.PlacesA > 0) Point(canvas, point, firstTop, c, h);
    if (l.PlacesB > 0) Point(canvas, point, secondTop, c, h);

    if (style.Places) style.Places->Answer = {Narrow(right), Narrow(answerTop), Narrow(c), Narrow(h), Narrow(columns)};
    if (!style.Answers) return;
    const bool subtracting = sign == TSign::Minus;
    // The working's places: a whole number gets its point, and the places
    // the first number lacks are written as zeros before it is subtracted from.
    if (l.Places > 0 && l.PlacesA == 0) Point(canvas, point, firstTop, c, h);
    if (l.Places > 0 && l.PlacesB == 0) Point(canvas, point, secondTop, c, h);
    if (subtracting && l.PlacesA < l.Places)
        RightAligned(canvas, right, firstTop, std::string(static_cast<size_t>(l.Places - l.PlacesA), '0'));
    RightAligned(canvas, right, answerTop, l.Answer);
    if (l.Places > 0) Point(canvas, point, answerTop, c, h);
    StrikeLast(canvas, right, answerTop, c, h, StruckZeros(problem.Answer, l.Places), style.Scale);

    if (!style.Marks) return;
    const int64_t a = AtPlaces(problem.First, l.PlacesA, l.Places), b = AtPlaces(problem.Second, l.PlacesB, l.Places);
    const std::array<int32_t, 19> da = ColumnDigits(a), db = ColumnDigits(b);
    // step[i]: place i carries into (or borrows from) place i + 1.
    std::array<int32_t, 19> step{};
    for (size_t i = 0; i < da.size(); ++i) {
        const int32_t before = i == 0 ? 0 : step[i - 1];
        step[i] = subtracting ? (da[i] - before < db[i] ? 1 : 0) : (da[i] + db[i] + before >= 10 ? 1 : 0);
    }
    for (size_t i = 1; i < da.size(); ++i) {
        if (!step[i - 1]) continue;
        const int64_t left = right - static_cast<int64_t>(i + 1) * c;
        if (!subtracting) {
            SmallMark(canvas, left, c, firstTop, "1");
        } else {
            // The lending digit struck, its new value above it.
            StrikeDigit(canvas, left, firstTop, c, h, style.Scale);
            SmallMark(canvas, left, c, firstTop, std::to_string(da[i] - 1 + 10 * step[i]));
        }
    }
}

void DrawSum(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    DrawColumn(canvas, x, y, problem, style, TSign::Plus);
}

void DrawDifference(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    DrawColumn(canvas, x, y, problem, style, TSign::Minus);
}

void MeasureColumn(const TSheetProblem& p, TFigureShape& shape)
{
    const TColumnLayout l = ColumnLayoutOf(p);
    shape.FirstPlaces = std::max<int32_t>(shape.FirstPlaces, static_cast<int32_t>(l.Whole));
    shape.AnswerColumns = std::max(shape.AnswerColumns, l.Places);
}

TCellGrid ColumnGrid(const TFigureShape& shape)
{
    return {0, 1 + shape.FirstPlaces + shape.AnswerColumns, 4};
}

// ---- multiplication ----

struct TProductLayout {
    std::string A, B, Multiplier, Product;  // Multiplier: B's digits from its first that is not 0
    int64_t Columns, Rows;
};

TProductLayout ProductLayoutOf(const TSheetProblem& p)
{
    TProductLayout l{DecimalDigits(p.First, p.FirstPlaces), DecimalDigits(p.Second, p.SecondPlaces),
                     std::to_string(p.Second), DecimalDigits(p.Answer, p.AnswerPlaces), 0, 0};
    const int64_t lm = Length(l.Multiplier);
    l.Columns = std::max({Length(l.A) + lm, Length(l.Product), std::max(Length(l.A), Length(l.B)) + 1});
    l.Rows = lm == 1 ? 3 : lm + 3;
    return l;
}

void DrawProduct(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    const TProductLayout l = ProductLayoutOf(problem);
    const int64_t h = canvas.Font.Height, c = canvas.TextWidth(" ");
    const int64_t operatorAndRight = 1 + std::max(Length(l.A), Length(l.B));
    const int64_t right = int64_t{x} + operatorAndRight * c;
    if (style.Waku == 0) DotGrid(canvas, right - l.Columns * c, y, l.Columns, l.Rows, c, h);

    RightAligned(canvas, right, y, l.A);
    const TFontStyles kept = canvas.Font.Style;
    canvas.Font.Style = fsUnderline;
    canvas.TextOut(x, Narrow(y + h), std::string(static_cast<size_t>(operatorAndRight), ' '));
    canvas.Font.Style = kept;
    RightAligned(canvas, right, y + h, l.B);
    OperatorSign(canvas, TSign::Times, x, int64_t{y} + h, h, style.Scale, style.InCells);
    if (problem.FirstPlaces > 0) Point(canvas, right - problem.FirstPlaces * c, y, c, h);
    if (problem.SecondPlaces > 0) Point(canvas, right - problem.SecondPlaces * c, y + h, c, h);

    const int64_t lm = Length(l.Multiplier);
    const int64_t productTop = y + (lm == 1 ? 2 : lm + 2) * h;
    if (style.Places) style.Places->Answer = {Narrow(right), Narrow(productTop), Narrow(c), Narrow(h), Narrow(l.Columns)};
    if (!style.Answers) return;
    if (lm > 1) {
        // One partial product per digit of the multiplier, each a place further left.
        for (int64_t i = 0; i < lm; ++i) {
            const int64_t digit = l.Multiplier[static_cast<size_t>(lm - 1 - i)] - '0';
            if (i == lm - 1) canvas.Font.Style = fsUnderline;
            RightAligned(canvas, right - i * c, y + (i + 2) * h, std::to_string(int64_t{problem.First} * digit));
            canvas.Font.Style = kept;
        }
    }
    RightAligned(canvas, right, productTop, l.Product);
    if (problem.AnswerPlaces > 0) Point(canvas, right - problem.AnswerPlaces * c, productTop, c, h);
    StrikeLast(canvas, right, productTop, c, h, StruckZeros(problem.Answer, problem.AnswerPlaces), style.Scale);
}

void MeasureProduct(const TSheetProblem& p, TFigureShape& shape)
{
    const TProductLayout l = ProductLayoutOf(p);
    shape.FirstPlaces = std::max<int32_t>(shape.FirstPlaces, static_cast<int32_t>(std::max(Length(l.A), Length(l.B))));
    shape.AnswerColumns = std::max<int32_t>(shape.AnswerColumns, static_cast<int32_t>(l.Columns));
    shape.Steps = std::max<int32_t>(shape.Steps, static_cast<int32_t>(l.Rows));
}

TCellGrid ProductGrid(const TFigureShape& shape)
{
    const int32_t operatorAndRight = 1 + shape.FirstPlaces;
    return {std::max(0, shape.AnswerColumns - operatorAndRight), operatorAndRight, shape.Steps};
}

// ---- division ----

// A step of the working: the product written under the partial dividend
// ending at Column, and what is left with the next digits brought down,
// ending at NextColumn.
struct TQuotientStep {
    int64_t Column, Partial, Product, NextColumn, Next;
};

struct TQuotientLayout {
    std::string Dividend;    // written digits with the zeros the working appends
    std::string Divisor;     // written digits ("03" for 0.3)
    int64_t OldPoint = 0;    // dividend digits before its own point
    int64_t MovedPoint = 0;  // dividend digits before the moved point
    int64_t DivisorWhole = 0;
    int64_t QuotientEnd = 0;  // the column of the quotient's last digit
    std::string Quotient;     // its digits as worked, ending at QuotientEnd
    std::vector<TQuotientStep> Steps;
    std::string Last;         // the working's last row, ending at the last column
    bool LastIsRemainder = false;
};

TQuotientLayout QuotientLayoutOf(const TSheetProblem& p)
{
    TQuotientLayout l;
    l.Dividend = DecimalDigits(p.First, p.FirstPlaces);
    l.Divisor = DecimalDigits(p.Second, p.SecondPlaces);
    l.OldPoint = Length(l.Dividend) - p.FirstPlaces;
    l.DivisorWhole = Length(l.Divisor) - p.SecondPlaces;
    l.MovedPoint = l.OldPoint + p.SecondPlaces;
    l.QuotientEnd = l.MovedPoint - 1 + p.WorkedPlaces;
    if (Length(l.Dividend) < l.QuotientEnd + 1) l.Dividend.append(static_cast<size_t>(l.QuotientEnd + 1 - Length(l.Dividend)), '0');
    if (p.Second <= 0) return l;
    // The dividend up to the quotient's last digit, as a whole number.
    int64_t worked = 0;
    for (int64_t k = 0; k <= l.QuotientEnd && worked <= std::numeric_limits<int32_t>::max(); ++k)
        worked = worked * 10 + (l.Dividend[static_cast<size_t>(k)] - '0');
    if (worked > std::numeric_limits<int32_t>::max()) return l;
    const int64_t quotient = worked / p.Second;
    l.Quotient = DecimalDigits(quotient, p.WorkedPlaces);
    const int64_t offset = l.QuotientEnd + 1 - Length(std::to_string(worked));
    const std::vector<TDivisionStep> steps = DivisionSteps(static_cast<int32_t>(worked), p.Second);
    const int64_t lastColumn = Length(l.Dividend) - 1;
    // What is left after the quotient's last digit, with the dividend's
    // remaining digits brought down.
    int64_t left = worked % p.Second;
    for (int64_t k = l.QuotientEnd + 1; k <= lastColumn; ++k) left = left * 10 + (l.Dividend[static_cast<size_t>(k)] - '0');
    for (size_t k = 0; k < steps.size(); ++k) {
        if (steps[k].Digit == 0) continue;
        TQuotientStep step{static_cast<int64_t>(steps[k].Column) + offset, steps[k].Partial,
                           int64_t{steps[k].Digit} * p.Second, lastColumn, left};
        for (size_t next = k + 1; next < steps.size(); ++next)
            if (steps[next].Digit != 0) {
                step.NextColumn = static_cast<int64_t>(steps[next].Column) + offset;
                step.Next = steps[next].Partial;
                break;
            }
        l.Steps.push_back(step);
    }
    l.LastIsRemainder = !p.Rounded && p.Remainder >= 0;
    // A remainder is written with its point where the dividend's stood.
    l.Last = l.LastIsRemainder && p.RemainderPlaces > 0 && left > 0 ? DecimalDigits(left, p.RemainderPlaces) : std::to_string(left);
    return l;
}

// The answer written small beside the quotient: 「あまり 0.2」, 「約 1.7」.
std::string AnswerNote(const TSheetProblem& p)
{
    if (p.Rounded) return "約 " + DecimalText(p.Answer, p.AnswerPlaces);
    if (p.Remainder > 0) return "あまり " + ShortDecimalText(p.Remainder, p.RemainderPlaces);
    return std::string();
}

// The rows of the working: quotient, dividend, then a product and a row of
// what is left for each step, each row after the first with its gap.
int64_t QuotientRows(const TQuotientLayout& l)
{
    return 2 + 2 * static_cast<int64_t>(std::max<size_t>(l.Steps.size(), 1));
}

// The room a figure takes at row height h: right of x, left of x, down.
struct TQuotientExtent {
    int64_t Right, Left, Down;
};

TQuotientExtent QuotientExtentOf(TCanvas& canvas, const TSheetProblem& p, int64_t h, const TFigureStyle& style)
{
    const TQuotientLayout l = QuotientLayoutOf(p);
    const int32_t kept = canvas.Font.Height;
    canvas.Font.Height = static_cast<int32_t>(std::max<int64_t>(h, 1));
    // A column at most eleven twentieths of the row (a half-width digit and
    // room): the size chosen is the same on every surface, whatever its face.
    const int64_t c = std::max<int64_t>(canvas.TextWidth(" ") > 0 ? h * 11 / 20 : 0, 1);
    const int64_t steps = static_cast<int64_t>(std::max<size_t>(l.Steps.size(), 1));
    TQuotientExtent e{(Length(l.Dividend) + 1) * c, Length(l.Divisor) * c,
                      QuotientRows(l) * h + (steps + 1) * MarksGap(style, h)};
    // The note beside the quotient, each character at most as wide as its
    // small font is high: the same room on every surface, whatever its face.
    if (style.Answers) e.Right += c / 2 + CharCount(AnswerNote(p)) * std::max<int64_t>(h / 2, 1);
    canvas.Font.Height = kept;
    return e;
}

int32_t QuotientRowHeight(TCanvas& canvas, const std::vector<TSheetProblem>& problems, const TFigureStyle& style)
{
    const int64_t full = canvas.Font.Height;
    auto fits = [&](int64_t h) {
        return std::all_of(problems.begin(), problems.end(), [&](const TSheetProblem& p) {
            const TQuotientExtent e = QuotientExtentOf(canvas, p, h, style);
            return (style.RoomHeight <= 0 || e.Down <= style.RoomHeight) &&
                   (style.RoomWidth <= 0 || (e.Left <= style.RoomLeft && e.Right <= style.RoomWidth - style.RoomLeft));
        });
    };
    // Everything grows with the row height: the first guess is the smallest
    // share of the room any figure leaves at full size, then a step smaller
    // until every figure fits.
    double share = 1.0;
    for (const TSheetProblem& p : problems) {
        const TQuotientExtent e = QuotientExtentOf(canvas, p, full, style);
        if (style.RoomHeight > 0 && e.Down > 0) share = std::min(share, double(style.RoomHeight) / double(e.Down));
        if (style.RoomWidth > 0 && e.Right > 0) share = std::min(share, double(style.RoomWidth - style.RoomLeft) / double(e.Right));
        if (style.RoomLeft > 0 && e.Left > 0) share = std::min(share, double(style.RoomLeft) / double(e.Left));
    }
    for (int64_t step = std::clamp<int64_t>(static_cast<int64_t>(share * 100), 1, 100); step > 1; --step) {
        const int64_t h = std::max<int64_t>(full * step / 100, 1);
        if (fits(h)) return static_cast<int32_t>(h);
    }
    return static_cast<int32_t>(std::max<int64_t>(full / 100, 1));
}

void DrawQuotient(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    const TQuotientLayout l = QuotientLayoutOf(problem);
    const int32_t fontHeight = canvas.Font.Height;
    const int64_t h = style.RowHeight > 0 ? style.RowHeight : QuotientRowHeight(canvas, {problem}, style);
    // Digits may stand a little larger than their rows, in the middle of them.
    const int64_t font = FontForRow(h, fontHeight), lift = (font - h) / 2;
    canvas.Font.Height = static_cast<int32_t>(font);
    const int64_t c = canvas.TextWidth(" ");
    auto text = [&](int64_t top) { return top - lift; };
    const int64_t g = MarksGap(style, h);
    const int64_t first = int64_t{x} + c;  // the dividend's first digit's left edge
    const int64_t n = Length(l.Dividend);
    const int64_t right = first + n * c;
    auto columnRight = [&](int64_t column) { return first + (column + 1) * c; };
    const int64_t quotientTop = y, barY = y + h, dividendTop = barY + g;
    const int64_t steps = static_cast<int64_t>(std::max<size_t>(l.Steps.size(), 1));
    std::vector<int64_t> productTop, leftTop;
    for (int64_t k = 0, top = dividendTop + h; k < steps; ++k, top += 2 * h + g) {
        productTop.push_back(top);
        leftTop.push_back(top + h + g);
    }

    if (style.Waku == 0) {
        DotGrid(canvas, first, quotientTop, n, 1, c, h);
        DotGrid(canvas, first, dividendTop, n, 1, c, h);
        for (int64_t k = 0; k < steps; ++k) {
            DotGrid(canvas, first, productTop[static_cast<size_t>(k)], n, 1, c, h);
            DotGrid(canvas, first, leftTop[static_cast<size_t>(k)], n, 1, c, h);
        }
    }
    if (style.Places) style.Places->Answer = {Narrow(columnRight(l.QuotientEnd)), Narrow(quotientTop), Narrow(c), Narrow(h),
                                              Narrow(l.QuotientEnd + 1)};

    canvas.Pen.Width = ScaleLenAt(style.Scale, 0.5);
    canvas.Pen.Style = psSolid;
    // The bracket from the bar down the dividend's row, and the bar.
    canvas.MoveTo(Narrow(x + c / 4), Narrow(barY));
    canvas.LineTo(Narrow(x + c / 2), Narrow(barY + (dividendTop + h - barY) / 2));
    canvas.LineTo(Narrow(x + c / 4), Narrow(dividendTop + h));
    canvas.MoveTo(Narrow(x + c / 4), Narrow(barY));
    canvas.LineTo(Narrow(right), Narrow(barY));

    // The divisor left of the bracket, the dividend as written: the zeros
    // the working appends are the pupil's, on the answer sheet only.
    RightAligned(canvas, x, text(dividendTop), l.Divisor);
    const int64_t written = Length(DecimalDigits(problem.First, problem.FirstPlaces));
    canvas.TextOut(Narrow(first), Narrow(text(dividendTop)), l.Dividend.substr(0, static_cast<size_t>(written)));
    if (problem.SecondPlaces > 0) Point(canvas, x - problem.SecondPlaces * c, dividendTop, c, h);
    if (problem.FirstPlaces > 0) Point(canvas, first + l.OldPoint * c, dividendTop, c, h);

    if (style.Answers) {
        if (n > written) canvas.TextOut(Narrow(first + written * c), Narrow(text(dividendTop)), l.Dividend.substr(static_cast<size_t>(written)));
        // Both points moved right by the divisor's places, the old ones kept.
        MovedPoint(canvas, x - problem.SecondPlaces * c, x, dividendTop, c, h, style.Scale);
        MovedPoint(canvas, first + l.OldPoint * c, first + l.MovedPoint * c, dividendTop, c, h, style.Scale);
        if (problem.WorkedPlaces > 0 && !l.Quotient.empty()) {
            // The quotient's point directly above the dividend's moved point.
            if (l.MovedPoint == l.OldPoint && problem.FirstPlaces == 0) Point(canvas, first + l.MovedPoint * c, dividendTop, c, h);
            Point(canvas, first + l.MovedPoint * c, quotientTop, c, h);
        }
        RightAligned(canvas, columnRight(l.QuotientEnd), text(quotientTop), l.Quotient);
        for (size_t k = 0; k < l.Steps.size(); ++k) {
            const TQuotientStep& step = l.Steps[k];
            const std::string partial = std::to_string(step.Partial), product = std::to_string(step.Product);
            const std::string ruled = std::string(product.size() < partial.size() ? partial.size() - product.size() : 0, ' ') + product;
            canvas.Font.Style = fsUnderline;
            RightAligned(canvas, columnRight(step.Column), text(productTop[k]), ruled);
            canvas.Font.Style = 0;
            const bool last = k + 1 == l.Steps.size();
            RightAligned(canvas, columnRight(step.NextColumn), text(leftTop[k]), last ? l.Last : std::to_string(step.Next));
            if (last && l.LastIsRemainder && problem.RemainderPlaces > 0 && problem.Remainder > 0)
                Point(canvas, first + l.OldPoint * c, leftTop[k], c, h);
            if (style.Marks && step.Partial <= std::numeric_limits<int32_t>::max() && step.Product <= std::numeric_limits<int32_t>::max())
                BorrowMarks(canvas, static_cast<int32_t>(step.Partial), static_cast<int32_t>(step.Product), columnRight(step.Column),
                            c, h, k == 0 ? dividendTop : leftTop[k - 1], style.Scale);
        }
        const std::string note = AnswerNote(problem);
        if (!note.empty()) {
            const int32_t small = static_cast<int32_t>(std::max<int64_t>(font / 2, 1));
            canvas.Font.Height = small;
            canvas.TextOut(Narrow(right + c / 2), Narrow(text(quotientTop) + h - small), note);
        }
    }
    canvas.Font.Height = fontHeight;
    canvas.Pen.Width = ScaleLenAt(style.Scale, 0.5);
    canvas.Pen.Style = psSolid;
}

void MeasureQuotient(const TSheetProblem& p, TFigureShape& shape)
{
    const TQuotientLayout l = QuotientLayoutOf(p);
    shape.FirstPlaces = std::max<int32_t>(shape.FirstPlaces, static_cast<int32_t>(Length(l.Dividend)));
    shape.SecondPlaces = std::max<int32_t>(shape.SecondPlaces, static_cast<int32_t>(Length(l.Divisor)));
    shape.Steps = std::max<int32_t>(shape.Steps, static_cast<int32_t>(std::max<size_t>(l.Steps.size(), 1)));
}

TCellGrid QuotientGrid(const TFigureShape& shape)
{
    const int32_t steps = std::max(shape.Steps, 1);
    return {shape.SecondPlaces, 1 + shape.FirstPlaces, 2 + 2 * steps + (shape.Marks ? steps + 1 : 0)};
}

}  // namespace

const TFigureRow& DecimalAdditionFigureRow()
{
    static const TFigureRow row = {TOperation::DecimalAddition, TSign::Plus, DrawSum, nullptr, ColumnGrid, MeasureColumn};
    return row;
}

const TFigureRow& DecimalSubtractionFigureRow()
{
    static const TFigureRow row = {TOperation::DecimalSubtraction, TSign::Minus, DrawDifference, nullptr, ColumnGrid,
                                   MeasureColumn};
    return row;
}

const TFigureRow& DecimalMultiplicationFigureRow()
{
    static const TFigureRow row = {TOperation::DecimalMultiplication, TSign::Times, DrawProduct, nullptr, ProductGrid,
                                   MeasureProduct};
    return row;
}

const TFigureRow& DecimalDivisionFigureRow()
{
    static const TFigureRow row = {TOperation::DecimalDivision, TSign::Bracket, DrawQuotient, QuotientRowHeight,
                                   QuotientGrid, MeasureQuotient};
    return row;
}

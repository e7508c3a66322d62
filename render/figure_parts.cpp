#include "render/figure_parts.h"

#include <algorithm>
#include <limits>

#include "render/page_scale.h"
#include "worksheet/column_steps.h"
#include "worksheet/utf8.h"

void TCanvas::TextOutInSlots(int32_t x, int32_t y, const std::string& text, int32_t slot)
{
    int32_t at = x;
    ForEachCharacter(text, [&](char32_t code, std::string_view bytes) {
        const std::string character(bytes);
        if (code != U' ' && code != 0x3000) TextOut(at + (slot - TextWidth(character)) / 2, y, character);
        at += slot;
    });
}

int32_t Narrow(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int64_t CharCount(const std::string& text)
{
    return static_cast<int64_t>(CharacterCount(text));
}

void RightAligned(TCanvas& canvas, int64_t right, int64_t top, const std::string& text)
{
    canvas.TextOut(Narrow(right - canvas.TextWidth(text)), Narrow(top), text);
}

void DotGrid(TCanvas& canvas, int64_t left, int64_t top, int64_t cols, int64_t rows, int64_t c, int64_t h)
{
    canvas.Pen.Width = 1;
    canvas.Pen.Style = psDot;
    const int64_t right = left + cols * c, bottom = top + rows * h;
    canvas.Rectangle(Narrow(left), Narrow(top), Narrow(right), Narrow(bottom));
    for (int64_t r = 1; r < rows; ++r) {
        canvas.MoveTo(Narrow(left), Narrow(top + r * h));
        canvas.LineTo(Narrow(right), Narrow(top + r * h));
    }
    for (int64_t q = 1; q < cols; ++q) {
        canvas.MoveTo(Narrow(left + q * c), Narrow(top));
        canvas.LineTo(Narrow(left + q * c), Narrow(bottom));
    }
}

namespace {

void Line(TCanvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    canvas.MoveTo(Narrow(x1), Narrow(y1));
    canvas.LineTo(Narrow(x2), Narrow(y2));
}

}  // namespace

void OperatorSign(TCanvas& canvas, TSign sign, int64_t x, int64_t top, int64_t h, float scale, bool inSquare)
{
    const int64_t c = canvas.TextWidth(" ");
    canvas.Pen.Width = ScaleLenAt(scale, 0.5);
    canvas.Pen.Style = psSolid;
    if (inSquare) {
        // The size of a digit, in the middle of its square.
        const int64_t half = c * 9 / 40, middle = top + h / 2, centre = x + c / 2;
        if (sign == TSign::Times) {
            Line(canvas, centre - half, middle - half, centre + half, middle + half);
            Line(canvas, centre - half, middle + half, centre + half, middle - half);
            return;
        }
        Line(canvas, centre - half * 4 / 3, middle, centre + half * 4 / 3, middle);
        if (sign == TSign::Plus) Line(canvas, centre, middle - half * 4 / 3, centre, middle + half * 4 / 3);
        return;
    }
    if (sign == TSign::Times) {
        // The two diagonals of a box inside the cell.
        const int64_t x0 = x + ScaleLenAt(scale, 2);
        const int64_t y0 = top + ScaleLenAt(scale, 4);
        const int64_t w = c - ScaleLenAt(scale, 4);
        const int64_t d = h - ScaleLenAt(scale, 6);
        Line(canvas, x0, y0, x0 + w, y0 + d);
        Line(canvas, x0, y0 + d, x0 + w, y0);
        return;
    }
    // A bar across the cell, at the middle of the row, and for a plus an
    // upright of the same length.
    const int64_t inset = ScaleLenAt(scale, 1);
    const int64_t w = c - 2 * inset;
    const int64_t middle = top + h / 2, centre = x + c / 2;
    Line(canvas, x + inset, middle, x + inset + w, middle);
    if (sign == TSign::Plus) Line(canvas, centre, middle - w / 2, centre, middle - w / 2 + w);
}

void SmallMark(TCanvas& canvas, int64_t left, int64_t c, int64_t bottom, const std::string& text)
{
    const int32_t height = canvas.Font.Height;
    canvas.Font.Height = std::max<int32_t>(height / 2, 1);
    int64_t width = canvas.TextWidth(text);
    // A gap to the next column's mark: two marks side by side never read as one number.
    if (width * 5 > c * 4) {
        canvas.Font.Height = std::max<int32_t>(1, Narrow(canvas.Font.Height * c * 4 / (width * 5)));
        width = canvas.TextWidth(text);
    }
    canvas.TextOut(Narrow(left + (c - width) / 2), Narrow(bottom - canvas.Font.Height), text);
    canvas.Font.Height = height;
}

void StrikeDigit(TCanvas& canvas, int64_t left, int64_t top, int64_t c, int64_t h, float scale)
{
    canvas.Pen.Width = ScaleLenAt(scale, 0.5);
    canvas.Pen.Style = psSolid;
    // From near the top right to near the bottom left: past the digit's ink
    // above and below, clear of the cells beside it.
    Line(canvas, left + c * 7 / 8, top + h / 20, left + c / 8, top + h * 19 / 20);
}

void BorrowMarks(TCanvas& canvas, int32_t minuend, int32_t subtrahend, int64_t right, int64_t c, int64_t h,
                 int64_t top, float scale)
{
    const TPlaceDigits a = DigitsOf(minuend);
    const TPlaceDigits borrow = BorrowsOf(a, DigitsOf(subtrahend));
    for (size_t i = 1; i < a.size(); ++i) {
        if (!borrow[i - 1]) continue;
        const int64_t left = right - static_cast<int64_t>(i + 1) * c;
        StrikeDigit(canvas, left, top, c, h, scale);
        SmallMark(canvas, left, c, top, std::to_string(a[i] - 1 + 10 * borrow[i]));
    }
}

int64_t MarksGap(const TFigureStyle& style, int64_t h)
{
    return style.Marks ? (style.InCells ? h : h / 2) : 0;
}

int64_t FontForRow(int64_t row, int64_t full)
{
    return std::min(full, row * 13 / 10);
}

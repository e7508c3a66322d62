#include "render/hissan.h"

#include <algorithm>
#include <limits>

#include "render/page_scale.h"
#include "worksheet/problems.h"
#include "worksheet/text_to_int.h"

namespace {

// Positions are computed wide and narrowed for the canvas, so that no input
// can overflow.
int32_t Narrow(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Characters of a UTF-8 text.
int64_t CharCount(const std::string& text)
{
    return std::count_if(text.begin(), text.end(),
                         [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; });
}

// The product of two converted texts as 32-bit arithmetic gives it.
std::string ProductText(int32_t a, int32_t b)
{
    const int64_t wide = int64_t{a} * int64_t{b};
    return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide))));
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

// The sign: the two diagonals of a box inside the operator cell of row 1.
void MultiplicationSign(TCanvas& canvas, int64_t x, int64_t y, int64_t h, float scale)
{
    const int64_t x0 = x + ScaleLenAt(scale, 2);
    const int64_t y0 = y + h + ScaleLenAt(scale, 4);
    const int64_t w = int64_t{canvas.TextWidth(" ")} - ScaleLenAt(scale, 4);  // measured underlined
    const int64_t d = h - ScaleLenAt(scale, 6);
    canvas.Pen.Width = ScaleLenAt(scale, 0.5);
    canvas.Pen.Style = psSolid;
    canvas.MoveTo(Narrow(x0), Narrow(y0));
    canvas.LineTo(Narrow(x0 + w), Narrow(y0 + d));
    canvas.MoveTo(Narrow(x0), Narrow(y0 + d));
    canvas.LineTo(Narrow(x0 + w), Narrow(y0));
}

}  // namespace

void MultiplicationFigure(TCanvas& canvas, int32_t x, int32_t y, const std::string& A, const std::string& B,
                          const std::string& Op, const TFigureStyle& style)
{
    // An entry no run has written yet holds no texts: nothing to draw.
    if (A.empty() || B.empty()) return;

    const int32_t a = TextToInt(A);
    const std::string P = ProductText(a, TextToInt(B));

    const int64_t LA = CharCount(A), LB = CharCount(B);
    const int64_t rows = LB == 1 ? LB + 2 : LB + 3;
    const int64_t cols = LA + LB;
    const std::string paddedB = Op + std::string(static_cast<size_t>(std::max<int64_t>(LA - LB, 0)), ' ') + B;
    const int64_t N = CharCount(paddedB);
    const int64_t h = canvas.Font.Height;
    const int64_t c = canvas.TextWidth(" ");

    if (style.Waku == 0) DotGrid(canvas, cols > N ? x - (cols - N) * c : x, y, cols, rows, c, h);

    const int64_t R = int64_t{x} + canvas.TextWidth(paddedB);
    RightAligned(canvas, R, y, A);

    canvas.Font.Style = fsUnderline;
    canvas.TextOut(x, Narrow(y + h), paddedB);
    MultiplicationSign(canvas, x, y, h, style.Scale);
    canvas.Font.Style = 0;

    if (!style.Answers) return;
    // Partial product of place i (0 = ones), shifted left one cell per place.
    auto partial = [&](int64_t place) {
        const std::string digit = B.substr(static_cast<size_t>(B.size() - 1 - place), 1);
        return ProductText(a, TextToInt(digit)) + std::string(static_cast<size_t>(place), ' ');
    };
    if (LB == 1) {
        RightAligned(canvas, R, y + 2 * h, P);
        return;
    }
    for (int64_t i = 0; i <= LB - 2; ++i) RightAligned(canvas, R, y + (i + 2) * h, partial(i));
    canvas.Font.Style = fsUnderline;
    RightAligned(canvas, R, y + (LB + 1) * h, partial(LB - 1));
    canvas.Font.Style = 0;
    RightAligned(canvas, R, y + (LB + 2) * h, P);
}

void Hissan(TCanvas& canvas, int32_t x, int32_t y, const std::string& A, const std::string& B,
            const std::string& Op, int32_t waku)
{
    MultiplicationFigure(canvas, x, y, A, B, Op, {waku, ShowAnswers == 1, PageScale});
}

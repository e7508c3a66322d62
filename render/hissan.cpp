#include "render/hissan.h"

#include <algorithm>

#include "render/figure_parts.h"
#include "render/page_scale.h"
#include "worksheet/problems.h"
#include "worksheet/operations.h"
#include "worksheet/text_to_int.h"
#include "worksheet/wrap.h"

namespace {

// The partial product of one multiplier digit, as 32-bit arithmetic gives it.
std::string PartialProduct(int32_t multiplicand, int32_t digit)
{
    return std::to_string(Wrap(int64_t{multiplicand} * digit));
}

void DrawMultiplication(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    MultiplicationFigure(canvas, x, y, problem, " ", style);
}

TCellGrid MultiplicationGrid(const TFigureShape& shape)
{
    const int32_t LA = shape.FirstPlaces, LB = shape.SecondPlaces;
    const int32_t operatorAndRight = 1 + std::max(LA, LB);
    return {std::max(0, LA + LB - operatorAndRight), operatorAndRight, LB == 1 ? LB + 2 : LB + 3};
}

}  // namespace

void MultiplicationFigure(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const std::string& Op,
                          const TFigureStyle& style)
{
    const std::string A = std::to_string(problem.First), B = std::to_string(problem.Second);
    const std::string P = std::to_string(problem.Answer);

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
    OperatorSign(canvas, TSign::Times, x, int64_t{y} + h, h, style.Scale, style.InCells);
    canvas.Font.Style = 0;

    if (style.Places)
        style.Places->Answer = {Narrow(R), Narrow(y + (LB == 1 ? 2 : LB + 2) * h), Narrow(c), Narrow(h), Narrow(cols)};
    if (!style.Answers) return;
    // Partial product of place i (0 = ones), shifted left one cell per place.
    auto partial = [&](int64_t place) {
        const int32_t digit = B[static_cast<size_t>(B.size() - 1 - place)] - '0';
        return PartialProduct(problem.First, digit) + std::string(static_cast<size_t>(place), ' ');
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

const TFigureRow& MultiplicationFigureRow()
{
    static const TFigureRow row = {TOperation::Multiplication, TSign::Times, DrawMultiplication, nullptr, MultiplicationGrid};
    return row;
}

void Hissan(TCanvas& canvas, int32_t x, int32_t y, const std::string& A, const std::string& B,
            const std::string& Op, int32_t waku)
{
    // An entry no run has written yet holds no texts: nothing to draw.
    if (A.empty() || B.empty()) return;
    const int32_t a = TextToInt(A);
    const TSheetProblem problem = RulesOf(TOperation::Multiplication).Solve(a, TextToInt(B));
    MultiplicationFigure(canvas, x, y, problem, Op, {waku, ShowAnswers == 1, PageScale});
}

#include "render/column_figure.h"

#include <algorithm>
#include <string>

#include "render/figure_parts.h"
#include "worksheet/column_steps.h"

namespace {

// The marks of a sum: a small 1 at the top of each column that receives a carry.
void CarryMarks(TCanvas& canvas, const TSheetProblem& problem, int64_t right, int64_t c, int64_t, int64_t firstTop, float)
{
    const TPlaceDigits carry = CarriesOf(DigitsOf(problem.First), DigitsOf(problem.Second));
    for (size_t i = 0; i < carry.size(); ++i)
        if (carry[i]) SmallMark(canvas, right - static_cast<int64_t>(i + 2) * c, c, firstTop, "1");
}

// The marks of a difference: each digit that lends struck, its new value above.
void DifferenceMarks(TCanvas& canvas, const TSheetProblem& problem, int64_t right, int64_t c, int64_t h,
                     int64_t firstTop, float scale)
{
    BorrowMarks(canvas, problem.First, problem.Second, right, c, h, firstTop, scale);
}

void DrawAddition(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    ColumnFigure(canvas, x, y, problem, style, AdditionFigureRow().Sign, CarryMarks);
}

void DrawSubtraction(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style)
{
    ColumnFigure(canvas, x, y, problem, style, SubtractionFigureRow().Sign, DifferenceMarks);
}

// The marks row, the two numbers and the answer, one column more than the
// longer number has places.
TCellGrid ColumnGrid(const TFigureShape& shape)
{
    return {0, std::max(shape.FirstPlaces, shape.SecondPlaces) + 1, 4};
}

}  // namespace

void ColumnFigure(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style,
                  TSign sign, TColumnMarks marks)
{
    const std::string A = std::to_string(problem.First), B = std::to_string(problem.Second);
    const int64_t places = std::max(CharCount(A), CharCount(B));
    const std::string paddedB = " " + std::string(static_cast<size_t>(places - CharCount(B)), ' ') + B;
    const int64_t h = canvas.Font.Height;
    const int64_t c = canvas.TextWidth(" ");
    const int64_t firstTop = int64_t{y} + h, secondTop = firstTop + h, answerTop = secondTop + h;

    if (style.Waku == 0) DotGrid(canvas, x, firstTop, places + 1, 3, c, h);

    const int64_t right = int64_t{x} + canvas.TextWidth(paddedB);
    RightAligned(canvas, right, firstTop, A);

    const TFontStyles kept = canvas.Font.Style;
    canvas.Font.Style = fsUnderline;
    canvas.TextOut(x, Narrow(secondTop), paddedB);
    OperatorSign(canvas, sign, x, secondTop, h, style.Scale, style.InCells);
    canvas.Font.Style = kept;

    if (style.Places) style.Places->Answer = {Narrow(right), Narrow(answerTop), Narrow(c), Narrow(h), Narrow(places + 1)};
    if (!style.Answers) return;
    RightAligned(canvas, right, answerTop, std::to_string(problem.Answer));
    if (style.Marks) marks(canvas, problem, right, c, h, firstTop, style.Scale);
}

const TFigureRow& AdditionFigureRow()
{
    static const TFigureRow row = {TOperation::Addition, TSign::Plus, DrawAddition, nullptr, ColumnGrid};
    return row;
}

const TFigureRow& SubtractionFigureRow()
{
    static const TFigureRow row = {TOperation::Subtraction, TSign::Minus, DrawSubtraction, nullptr, ColumnGrid};
    return row;
}

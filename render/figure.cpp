#include "render/figure.h"

#include <algorithm>
#include <string>

#include "render/column_figure.h"
#include "render/division_figure.h"
#include "render/hissan.h"

int32_t SharedRowHeight(TCanvas& canvas, TOperation operation, const std::vector<TSheetProblem>& problems,
                        const TFigureStyle& style)
{
    return operation == TOperation::Division ? DivisionRowHeight(canvas, problems, style) : canvas.Font.Height;
}

void DrawFigure(TCanvas& canvas, int32_t x, int32_t y, TOperation operation, const TSheetProblem& problem,
                const TFigureStyle& style)
{
    switch (operation) {
    case TOperation::Multiplication:
        MultiplicationFigure(canvas, x, y, std::to_string(problem.First), std::to_string(problem.Second), " ", style);
        break;
    case TOperation::Addition:
    case TOperation::Subtraction:
        ColumnFigure(canvas, x, y, operation, problem, style);
        break;
    case TOperation::Division:
        DivisionFigure(canvas, x, y, problem, style);
        break;
    }
}

#include "render/figure.h"

#include <string>

#include "render/column_figure.h"
#include "render/hissan.h"

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
    }
}

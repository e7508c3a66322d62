#include "render/figure.h"

#include <string>

#include "render/hissan.h"

void DrawFigure(TCanvas& canvas, int32_t x, int32_t y, TOperation operation, const TSheetProblem& problem,
                const TFigureStyle& style)
{
    switch (operation) {
    case TOperation::Multiplication:
        MultiplicationFigure(canvas, x, y, std::to_string(problem.First), std::to_string(problem.Second), " ", style);
        break;
    }
}

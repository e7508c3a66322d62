#include "render/figure.h"

#include <stdexcept>

#include "render/column_figure.h"
#include "render/division_figure.h"
#include "render/hissan.h"

namespace {

const std::vector<TFigureRow>& FigureRows()
{
    static const std::vector<TFigureRow> rows = {
        MultiplicationFigureRow(),
        AdditionFigureRow(),
        SubtractionFigureRow(),
        DivisionFigureRow(),
    };
    return rows;
}

}  // namespace

const TFigureRow& FigureOf(TOperation operation)
{
    for (const TFigureRow& row : FigureRows())
        if (row.Operation == operation) return row;
    throw std::out_of_range("no figure for the operation");
}

int32_t SharedRowHeight(TCanvas& canvas, TOperation operation, const std::vector<TSheetProblem>& problems,
                        const TFigureStyle& style)
{
    const TFigureRow& row = FigureOf(operation);
    return row.RowHeight ? row.RowHeight(canvas, problems, style) : canvas.Font.Height;
}

void DrawFigure(TCanvas& canvas, int32_t x, int32_t y, TOperation operation, const TSheetProblem& problem,
                const TFigureStyle& style)
{
    FigureOf(operation).Draw(canvas, x, y, problem, style);
}

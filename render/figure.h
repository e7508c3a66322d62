// One problem of a sheet in its written layout, whatever the operation: the
// figure rows of every operation, read by operation.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"
#include "render/figure_style.h"
#include "worksheet/sheet.h"

// What the figures of `sheet` are made to hold: the places its settings allow
// its numbers (or more, where a problem has them), and the remainder's row
// of a division whose settings allow one.
TFigureShape ShapeOf(const TSheet& sheet);

// The figure of `operation`; std::out_of_range for an operation without one.
const TFigureRow& FigureOf(TOperation operation);

// The row height at which every one of `problems` fits its room: the
// canvas's Font.Height for an operation whose figures never grow too big,
// smaller where a figure would not fit.
int32_t SharedRowHeight(TCanvas& canvas, TOperation operation, const std::vector<TSheetProblem>& problems,
                        const TFigureStyle& style);

// Draws `problem` of `operation` with its operator cell at x on row 1 and its
// top at y; rows are canvas.Font.Height high, columns one space wide.
void DrawFigure(TCanvas& canvas, int32_t x, int32_t y, TOperation operation, const TSheetProblem& problem,
                const TFigureStyle& style);

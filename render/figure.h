// One problem of a sheet in its written layout, whatever the operation.
#pragma once

#include <cstdint>

#include "render/canvas.h"
#include "worksheet/sheet.h"

// How a figure is drawn: with the dotted digit grid (Waku 0) or without, with
// the worked answers or without, at the page's scale; with the small carry
// and borrow marks on an answer sheet when Marks is set.
struct TFigureStyle {
    int32_t Waku = 0;
    bool Answers = false;
    float Scale = 1.0f;
    bool Marks = false;
};

// Draws `problem` of `operation` with its operator cell at x on row 1 and its
// top at y; rows are canvas.Font.Height high, columns one space wide.
void DrawFigure(TCanvas& canvas, int32_t x, int32_t y, TOperation operation, const TSheetProblem& problem,
                const TFigureStyle& style);

// One multiplication problem in the written, digit-under-digit layout.
#pragma once

#include <cstdint>
#include <string>

#include "render/canvas.h"
#include "render/figure_style.h"

// Draws the multiplicand over B′ (Op, the multiplier padded on the left to
// the multiplicand's length) at x, y: row 0 the multiplicand right-aligned,
// row 1 the multiplier underlined with the sign in its first cell, a dotted
// grid of digit cells when style.Waku is 0, and, with style.Answers, one
// partial product per multiplier digit and the product. Rows are
// canvas.Font.Height high, columns one space wide; lengths are scaled by
// style.Scale. Leaves the font regular and the pen solid with width
// ScaleLenAt(style.Scale, 0.5).
void MultiplicationFigure(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const std::string& Op,
                          const TFigureStyle& style);

// The figure row of multiplication: MultiplicationFigure with the operator
// text " ".
const TFigureRow& MultiplicationFigureRow();

// MultiplicationFigure of the texts A and B with the grid choice `waku`, the
// answers while ShowAnswers is 1, at PageScale. An empty A or B draws
// nothing; a text that is not an integer raises EConvertError first.
void Hissan(TCanvas& canvas, int32_t x, int32_t y, const std::string& A, const std::string& B,
            const std::string& Op, int32_t waku);

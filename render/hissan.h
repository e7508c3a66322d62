// One multiplication problem in the written, digit-under-digit layout.
#pragma once

#include <cstdint>
#include <string>

#include "render/canvas.h"
#include "render/figure.h"

// Draws A over B′ (Op, B padded on the left to A's length) at x, y: row 0 the
// multiplicand right-aligned, row 1 the multiplier underlined with the sign
// in its first cell, a dotted grid of digit cells when style.Waku is 0, and,
// with style.Answers, one partial product per multiplier digit and the
// product. Rows are canvas.Font.Height high, columns one space wide; lengths
// are scaled by style.Scale. Leaves the font regular and the pen solid with
// width ScaleLenAt(style.Scale, 0.5). An empty A or B draws nothing; a text
// that is not an integer raises EConvertError first.
void MultiplicationFigure(TCanvas& canvas, int32_t x, int32_t y, const std::string& A, const std::string& B,
                          const std::string& Op, const TFigureStyle& style);

// MultiplicationFigure with the grid choice `waku`, the answers while
// ShowAnswers is 1, at PageScale.
void Hissan(TCanvas& canvas, int32_t x, int32_t y, const std::string& A, const std::string& B,
            const std::string& Op, int32_t waku);

// A written addition or subtraction: the first number, the sign and the
// second number over a rule, and on the answer sheet the answer, each
// right-aligned by place; above them a row for the small carry and borrow
// marks.
#pragma once

#include <cstdint>

#include "render/canvas.h"
#include "render/figure_style.h"
#include "worksheet/sheet.h"

// Row 0 holds the marks (with style.Answers and style.Marks only), row 1 the
// first number, row 2 the operator cell at x with the second number,
// underlined from x to the right edge, row 3 the answer. Columns are one
// space wide: the operator cell and one per place of the longer number, so
// that a sum that gains a digit writes it in the operator cell's column.
// The dotted grid (style.Waku 0) covers rows 1 to 3. Leaves the font as it
// found it and the pen solid with width ScaleLenAt(style.Scale, 0.5).
// `sign` stands in the operator cell; `marks` writes the small marks of an
// answer sheet, given the right edge of the numbers, the column width, the
// row height and the top of the first number's row.
using TColumnMarks = void (*)(TCanvas& canvas, const TSheetProblem& problem, int64_t right, int64_t c, int64_t h,
                              int64_t firstTop, float scale);
void ColumnFigure(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style,
                  TSign sign, TColumnMarks marks);

// The figure rows of written addition (a plus, the carried 1s) and
// subtraction (a minus, the borrows).
const TFigureRow& AdditionFigureRow();
const TFigureRow& SubtractionFigureRow();

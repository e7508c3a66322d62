// Long division laid out the Japanese way: the divisor, the bracket and the
// bar over the dividend, the quotient above the bar, and on the answer sheet
// the whole working below.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"
#include "render/figure_style.h"
#include "worksheet/sheet.h"

// The bracket stands in the cell from x, the divisor right-aligned just left
// of it, the dividend's digits in the cells after it. Row 0 holds the
// quotient, each digit over the last digit of the partial dividend it
// divides, and 「あまり R」 small after it when R > 0; the dividend row
// follows, and for each quotient digit above 0 a product row (underlined:
// the rule) and the row of the difference with the next digits brought down,
// the last of them the remainder. With marks, a half row above each number
// that is subtracted from holds the borrow marks. The dotted grid covers the
// dividend's columns in every row. A figure taller or wider than its room is
// drawn smaller as a whole. Leaves the font as it found it and the pen solid
// with width ScaleLenAt(style.Scale, 0.5).
void DivisionFigure(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style);

// The figure row of long division.
const TFigureRow& DivisionFigureRow();

// The row height, canvas.Font.Height or a hundredth of it a number of times,
// at which the figure of every one of `problems` fits its room, room for
// its 「あまり R」 included whether or not the answers are shown.
int32_t DivisionRowHeight(TCanvas& canvas, const std::vector<TSheetProblem>& problems, const TFigureStyle& style);

// The pieces every written-calculation figure is made of: numbers right-
// aligned on a column edge, the dotted digit grid, the sign in the operator
// cell, and the small marks of the answer sheets.
#pragma once

#include <cstdint>
#include <string>

#include "render/canvas.h"
#include "render/figure_style.h"

// Positions are computed wide and narrowed for the canvas, so that no input
// can overflow.
int32_t Narrow(int64_t v);

// Characters of a UTF-8 text.
int64_t CharCount(const std::string& text);

// The text with its right edge at `right`, its top at `top`.
void RightAligned(TCanvas& canvas, int64_t right, int64_t top, const std::string& text);

// The dotted grid of `cols` × `rows` cells c wide and h high from (left, top),
// with a one-dot pen; leaves the pen dotted.
void DotGrid(TCanvas& canvas, int64_t left, int64_t top, int64_t cols, int64_t rows, int64_t c, int64_t h);

// The sign drawn as lines inside the operator cell whose row starts at `top`
// (x the cell's left edge, h the row height), with a solid pen of half a
// reference unit at `scale`: the times sign as the diagonals of a box inset
// by 2 and 4 reference units, plus and minus as a bar across the cell inset
// by 1 at the middle of the row. The cell's width is measured with the
// canvas's font as it is. `inSquare`: in a square cell of 大きなマス, the
// sign the size of a digit in its middle.
void OperatorSign(TCanvas& canvas, TSign sign, int64_t x, int64_t top, int64_t h, float scale, bool inSquare = false);

// A small text (half the row height) centred in the column [left, left + c)
// with its bottom at `bottom`; written smaller where it would take more than
// four fifths of the column, so that the marks of neighbouring columns never
// run together. The font height is restored afterwards.
void SmallMark(TCanvas& canvas, int64_t left, int64_t c, int64_t bottom, const std::string& text);

// A slanted stroke across the cell at (left, top), c wide and h high, longer
// than any digit is tall but inside the cell's sides: a digit that lent to
// the place on its right.
void StrikeDigit(TCanvas& canvas, int64_t left, int64_t top, int64_t c, int64_t h, float scale);

// A division's room above each number that is subtracted from, for its
// borrow marks: half a row, or in square cells a whole row (the cells stay
// square); none without the marks.
int64_t MarksGap(const TFigureStyle& style, int64_t h);

// A division's shrunk row keeps its digits three tenths larger than itself
// (their ink still shorter than the row): a figure's many rows are spaced
// tighter, not written as much smaller. `full` is the font's own height.
int64_t FontForRow(int64_t row, int64_t full);

// The borrow marks of minuend − subtrahend written by place, the minuend's
// ones digit in the cell ending at `right`, its row's top at `top`: each
// digit that lends is struck through, its new value written small above it.
void BorrowMarks(TCanvas& canvas, int32_t minuend, int32_t subtrahend, int64_t right, int64_t c, int64_t h,
                 int64_t top, float scale);

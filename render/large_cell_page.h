// The page of 大きなマス: every figure in square cells of a size given in
// millimetres on paper, the problems in the columns × rows that fit the
// paper inside its margins under the header. Pure C++.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "render/figure_style.h"
#include "render/page_layout.h"
#include "worksheet/sheet.h"

// The header's height in millimetres: the subject, the number, the name box
// and the sentence.
inline constexpr double kLargeHeaderMm = 24;

// The reader's marks: solid squares of this side in the four corners inside
// the margins, and at the foot a band this high for the 出席番号 box and the
// code, below the figures.
inline constexpr double kCornerMarkMm = 5;
inline constexpr double kReadingBandMm = 16;
// The header is shorter then, the sentence closer to the figures.
inline constexpr double kLargeHeaderWithMarksMm = 19;
// The code's modules and the 出席番号 cells.
inline constexpr double kCodeModuleMm = 0.6;
inline constexpr double kRollCellMm = 12;

// How the problems of a sheet of 大きなマス sit on their paper.
struct TLargeCellFit {
    int32_t Columns = 0, Rows = 0;  // 0: they do not fit
    int32_t LargestCellMM = 0;      // the largest cell at which that many fit (0: not even the smallest)
    int32_t LargestCount = 0;       // the most problems of those offered that fit at that cell (0: none)
    bool Fits() const { return Columns > 0; }
};

// The arrangement of `count` figures of `grid` cells, each with one spare
// cell each way, on a page `widthMm` × `heightMm` inside its margins under
// the header (and above the band of the reader's marks when
// `readingMarks`), at `cellMM`: of the columns × rows that hold exactly
// `count`, the one that leaves the figures the most room.
TLargeCellFit FitLargeCells(const TCellGrid& grid, int32_t cellMM, int32_t count, double widthMm, double heightMm,
                            bool readingMarks);

// The fit of `sheet` drawn with `view` on a surface W × H device units large.
TLargeCellFit LargeCellFitOf(const TSheet& sheet, const TPageView& view, int32_t W, int32_t H);

// What the teacher is told when the problems do not fit: the cell and the
// paper asked for, the largest cell that fits that many problems on that
// paper, and the most problems that fit at that cell.
std::string LargeCellsMessage(const TLargeCellFit& fit, int32_t cellMM, int32_t count, const std::string& paper);

// The same for a diagnostic sheet, whose problems cannot be fewer: the
// smaller cell that holds them on this paper, each larger paper that holds
// them (at the cell asked for, or the largest it takes), and 標準, which
// always does.
std::string DiagnosticCellsMessage(const TSheet& sheet, const TPageView& view, int32_t W, int32_t H);

// The problems of a sheet of 大きなマス do not fit its paper; the message
// says what would (LargeCellsMessage).
class ELayoutDoesNotFit : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A rectangle in device units: Left <= x < Right, Top <= y < Bottom.
struct TBox {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TBox&) const = default;
};

// Where the reader's marks stand on a page of 大きなマス drawn with `view`
// on a surface W × H: the corner marks (top left, top right, bottom left,
// bottom right), the code (kCodeModules modules each way), and the two
// cells of 出席番号.
struct TReadingMarks {
    TBox Corners[4];
    TBox Code;
    TBox Roll[2];
};
TReadingMarks ReadingMarksOf(const TPageView& view, int32_t W, int32_t H);

// Where the answer of each problem of `sheet` is written on its page of
// 大きなマス drawn with `view` on a surface W × H, in page order. Raises
// ELayoutDoesNotFit as DrawLargeCellPage does.
std::vector<TAnswerPlaces> AnswerPlacesOf(const TSheet& sheet, const TPageView& view, int32_t W, int32_t H);

// Draws `sheet` as a page of 大きなマス on a surface W × H device units
// large: the page white, the header (the operation's name, "問題No." and the
// number, the name box with 「答え」 on an answer sheet, the sentence), then
// the figures in their arrangement, each in cells of view.CellMM
// millimetres. With view.ReadingMarks the corner marks, the 出席番号 box
// (the sheet's Roll in it when it has one) and, for a sheet with a recipe
// (RecipeOf), its code. Raises ELayoutDoesNotFit, before anything is drawn,
// when they do not fit.
void DrawLargeCellPage(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view, const TSheet& sheet, bool answers);

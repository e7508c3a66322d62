// One whole worksheet page: header, sentence and the problems in rows of four.
#pragma once

#include <cstdint>
#include <string>

#include "render/canvas.h"
#include "render/reference_page.h"
#include "worksheet/sheet.h"

// The values a page reads from the window: the size of the preview box (the
// reference page), the instruction sentence, the grid choice (the item index
// of the grid group, 0 draws the grid) and whether answer sheets show the
// small carry and borrow marks. The defaults are the reference page where
// there is no window.
struct TPageView {
    int32_t RefWidth = kReferenceWidth;
    int32_t RefHeight = kReferenceHeight;
    std::string Sentence = "つぎの計算をしましょう。";
    int32_t Waku = 0;
    bool CarryMarks = false;
    // The layout 大きなマス: square cells of CellMM millimetres on paper (0:
    // 標準), digits in DigitFont.
    int32_t CellMM = 0;
    std::string DigitFont = "BIZ UDGothic";
    // The surface in millimetres: device units per millimetre (0: the
    // surface is the inside of an A4 sheet's margins, scaled to fit), the
    // margin still to keep inside it (a printer's printable area starts
    // nearer the paper's edge than the sheet's margin), and the paper's
    // name for the messages.
    double DotsPerMm = 0;
    double MarginMm = 0;
    std::string PaperName = "A4";
    // 大きなマス with the reader's marks: corner marks, the 出席番号 box and
    // the sheet's code.
    bool ReadingMarks = true;
};

// The view a sheet is drawn with away from the window: the reference page,
// and the sentence, grid, marks and layout of its settings.
TPageView PageViewOf(const TWorksheetSettings& settings);

// Draws `sheet` onto a surface W × H device units large, at the scale that
// W, H and the view's reference page give: clears the reference page to
// white, draws the operation's name, "問題No." followed by the sheet's
// number, the name box and the sentence, then the sheet's problems in whole
// rows of four. With `answers` it is the answer sheet: 「答え」 stands in the
// middle of the name box and the problems show their worked answers. Fewer
// than four problems leave the header alone. A view of 大きなマス draws the
// large-cell page instead (DrawLargeCellPage), but for a diagnostic sheet,
// whose answer sheet is its key: under each worked problem its right answer
// and the wrong procedures' answers, lettered, and the letters' meanings at
// the foot; its subject says 「（診断）」. Errors of the surface pass through.
void DrawSheetPage(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view, const TSheet& sheet, bool answers);

// The page of the program-wide table: sets PageScale, then draws "かけ算",
// "問題No." followed by PrintNumber, the name box and the sentence, then
// QuestionCount div 4 rows of four figures from the texts of ProblemTable
// (answers while ShowAnswers is 1). A table text that is not an integer
// raises EConvertError.
void MakePrint(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view);

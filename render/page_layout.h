// One whole worksheet page: header, sentence and the problems in rows of four.
#pragma once

#include <cstdint>
#include <string>

#include "render/canvas.h"

// The three values a page reads from the window: the size of the preview box
// (the reference page), the instruction sentence and the grid choice (the
// item index of the grid group, 0 draws the grid). The defaults are the
// reference page where there is no window.
struct TPageView {
    int32_t RefWidth = 320;
    int32_t RefHeight = 441;
    std::string Sentence = "つぎの計算をしましょう。";
    int32_t Waku = 0;
};

// Draws the page onto a surface W × H device units large: sets PageScale,
// clears the reference page to white, draws "かけ算", "問題No." followed by
// PrintNumber, the name box and the sentence, then QuestionCount div 4 rows
// of four figures from ProblemTable (answers while ShowAnswers is 1). Fewer
// than four problems leave the header alone. Errors of the surface pass
// through; a table text that is not an integer raises EConvertError.
void MakePrint(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view);

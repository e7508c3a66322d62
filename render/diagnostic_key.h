// The key of a diagnostic sheet's answer sheet: under each problem its right
// answer and the wrong answers of the catalogue's procedures, lettered, and
// the letters' meanings at the foot of the page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "worksheet/sheet.h"

// The title of the legend at the foot of a key.
inline constexpr const char* kLegendTitle = "記号の意味（正答のほかに出やすい答えと、その答えになるまちがい方）";

// Every text a key of `operation` can write besides numbers: 「正答」, the
// letters, the legend: what a surface must have the glyphs of.
std::string KeyTexts(TOperation operation);

// The lines of `problem`'s key as they fit `width` device units in the
// canvas's font: 「正答 207」, then the wrong answers, 「ア 254　イウ 54」.
std::vector<std::string> KeyLines(TCanvas& canvas, TOperation operation, const TSheetProblem& problem, int32_t width);

// The lines of the letters' meanings, 「ア　くり下がりで…」, one a line.
std::vector<std::string> LegendLines(TOperation operation);

// The rows the legend takes in the canvas's font: half its lines when every
// line fits `width` (two columns), else all of them.
int32_t LegendRows(TCanvas& canvas, TOperation operation, int32_t width);

// Draws the legend's lines from x, y in columns `width` apart where two fit
// (LegendRows), a line every `pitch` units.
void DrawLegend(TCanvas& canvas, TOperation operation, int32_t x, int32_t y, int32_t width, int32_t pitch);

#include "render/page_layout.h"

#include <algorithm>

#include "render/hissan.h"
#include "render/page_scale.h"
#include "worksheet/problems.h"

namespace {

const char* const kGothic = "ＭＳ ゴシック";
const char* const kMincho = "ＭＳ 明朝";
constexpr int32_t kColumns = 4;

int32_t S(double length)
{
    return ScaleLen(length);
}

// "（", eleven ideographic spaces, "）": the box for the pupil's name.
std::string NameBox()
{
    std::string box = "（";
    for (int i = 0; i < 11; ++i) box += "\u3000";
    return box + "）";
}

void DrawHeader(TCanvas& canvas, const TPageView& view)
{
    canvas.Font.Name = kGothic;
    canvas.Font.Height = S(6);
    canvas.TextOut(S(14), S(10), "かけ算");

    canvas.Font.Name = kMincho;
    canvas.Font.Height = S(6);
    canvas.TextOut(S(64), S(10), "問題No." + std::to_string(PrintNumber));

    canvas.Font.Height = S(14);
    canvas.TextOut(S(140), S(10), NameBox());

    canvas.Font.Height = S(10);
    canvas.TextOut(S(14), S(27), view.Sentence);
}

}  // namespace

void MakePrint(TCanvas& canvas, int32_t W, int32_t H, const TPageView& view)
{
    SetPageScale(W, H, view.RefWidth, view.RefHeight);

    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = 0xFFFFFF;
    canvas.Pen.Color = 0xFFFFFF;
    canvas.Rectangle(0, 0, S(int64_t{view.RefWidth} - 1), S(int64_t{view.RefHeight} - 1));

    canvas.Pen.Color = 0;
    canvas.Brush.Style = bsClear;
    DrawHeader(canvas, view);

    // The figure font: its height is the row height of every figure.
    canvas.Font.Height = S(14);

    // The grid spreads over the whole device size; integer division truncates
    // toward zero. The table holds at most five rows.
    const int64_t columnPitch = (int64_t{W} - S(7)) / kColumns;
    const int64_t pageRows = std::min<int64_t>(QuestionCount / kColumns, TProblemTable::Capacity / kColumns);
    if (pageRows <= 0) return;
    const int64_t rowPitch = (int64_t{H} - S(50)) / pageRows;

    for (int64_t i = 1; i <= pageRows; ++i) {
        for (int64_t j = 1; j <= kColumns; ++j) {
            const TProblem& problem = ProblemTable[static_cast<int>((i - 1) * kColumns + j)];
            const int64_t x = S(33) + (j - 1) * columnPitch;
            const int64_t y = S(44) + (i - 1) * rowPitch;
            Hissan(canvas, static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
                   static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX)), problem.MultiplicandText,
                   problem.MultiplierText, " ", view.Waku);
        }
    }
}

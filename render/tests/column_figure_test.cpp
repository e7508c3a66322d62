// Written addition and subtraction figures: the numbers in their cells, the
// rule, the small marks on answer sheets, and the figures inside their cell
// of the page on every paper.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_canvas.h"
#include "render/figure.h"
#include "render/page_layout.h"
#include "render/page_scale.h"
#include "render/reference_page.h"
#include "worksheet/operations.h"

namespace {

constexpr int32_t kX = 100, kY = 50;

// One figure drawn as the page layout hands the canvas over, at `scale`.
TRecordingCanvas Figure(TOperation operation, int32_t first, int32_t second, bool answers, bool marks, float scale)
{
    TRecordingCanvas canvas;
    canvas.Font.Name = kMinchoFace;
    canvas.Font.Height = ScaleLenAt(scale, 14);
    canvas.Pen.Color = 0;
    canvas.Brush.Style = bsClear;
    DrawFigure(canvas, kX, kY, operation, RulesOf(operation).Solve(first, second), {0, answers, scale, marks});
    return canvas;
}

// "row:column:text" of every text at full height, and of every small mark,
// in cells of the figure (column 0 is the operator cell).
std::vector<std::string> Cells(const TRecordingCanvas& canvas, bool small)
{
    const int32_t h = canvas.Font.Height, c = FixedWidth(canvas.Font, " ");
    std::vector<std::string> cells;
    for (const TCanvasOp& t : canvas.OfKind(TCanvasOp::TextOp)) {
        if ((t.Font.Height < h) != small) continue;
        // The row its bottom is in, the column its middle is in.
        const int32_t row = (t.Y1 + t.Font.Height - kY - 1) / h;
        const int32_t column = (t.X1 + (small ? FixedWidth(t.Font, t.Text) / 2 : 0) - kX) / c;
        cells.push_back(std::to_string(row) + ":" + std::to_string(column) + ":" + t.Text);
    }
    return cells;
}

int StruckDigits(const TRecordingCanvas& canvas)
{
    int slanted = 0;
    for (const TCanvasOp& line : canvas.OfKind(TCanvasOp::LineOp))
        slanted += line.X1 != line.X2 && line.Y1 != line.Y2;
    return slanted;
}

}  // namespace

TEST(ColumnFigure, NumbersMarksAndRuleInTheirCells)
{
    using V = std::vector<std::string>;
    const struct {
        TOperation Operation;
        int32_t First, Second;
        V Problem;  // without answers
        V Answers;  // the answer row added
        V Marks;    // the small marks added with the marks on
        int Struck;
    } cases[] = {
        {TOperation::Addition, 38, 45, {"1:1:38", "2:0: 45"}, {"3:1:83"}, {"0:1:1"}, 0},
        {TOperation::Addition, 99, 1, {"1:1:99", "2:0:  1"}, {"3:0:100"}, {"0:1:1", "0:0:1"}, 0},
        {TOperation::Addition, 7, 1234, {"1:4:7", "2:0: 1234"}, {"3:1:1241"}, {"0:3:1"}, 0},
        {TOperation::Subtraction, 302, 158, {"1:1:302", "2:0: 158"}, {"3:1:144"}, {"0:2:9", "0:1:2"}, 2},
        {TOperation::Subtraction, 1000, 1, {"1:1:1000", "2:0:    1"}, {"3:2:999"}, {"0:3:9", "0:2:9", "0:1:0"}, 3},
        {TOperation::Subtraction, 52, 52, {"1:1:52", "2:0: 52"}, {"3:2:0"}, {}, 0},
    };
    for (const float scale : {1.0f, 7.5f}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.First) + ", " + std::to_string(c.Second) + " at " + std::to_string(scale));
            const TRecordingCanvas problem = Figure(c.Operation, c.First, c.Second, false, true, scale);
            EXPECT_EQ(Cells(problem, false), c.Problem);
            EXPECT_TRUE(Cells(problem, true).empty());  // marks only on answer sheets
            V answered = c.Problem;
            answered.insert(answered.end(), c.Answers.begin(), c.Answers.end());
            const TRecordingCanvas answers = Figure(c.Operation, c.First, c.Second, true, false, scale);
            EXPECT_EQ(Cells(answers, false), answered);
            EXPECT_TRUE(Cells(answers, true).empty());
            const TRecordingCanvas marked = Figure(c.Operation, c.First, c.Second, true, true, scale);
            EXPECT_EQ(Cells(marked, false), answered);
            EXPECT_EQ(Cells(marked, true), c.Marks);
            EXPECT_EQ(StruckDigits(marked), c.Struck);
            // The figure ends as it began: regular font, solid pen.
            EXPECT_EQ(marked.Font.Style, 0u);
            EXPECT_EQ(marked.Font.Height, ScaleLenAt(scale, 14));
            EXPECT_EQ(marked.Pen.Style, psSolid);
        }
    }
}

TEST(ColumnFigure, MarksChangeNothingInAMultiplication)
{
    TRecordingCanvas plain, marked;
    for (TRecordingCanvas* canvas : {&plain, &marked}) {
        canvas->Font.Name = kMinchoFace;
        canvas->Font.Height = 14;
    }
    const TSheetProblem problem = RulesOf(TOperation::Multiplication).Solve(123, 405);
    DrawFigure(plain, kX, kY, TOperation::Multiplication, problem, {0, true, 1.0f, false});
    DrawFigure(marked, kX, kY, TOperation::Multiplication, problem, {0, true, 1.0f, true});
    ASSERT_EQ(plain.Ops().size(), marked.Ops().size());
    for (size_t i = 0; i < plain.Ops().size(); ++i) {
        EXPECT_EQ(plain.Ops()[i].Text, marked.Ops()[i].Text);
        EXPECT_EQ(plain.Ops()[i].X1, marked.Ops()[i].X1);
        EXPECT_EQ(plain.Ops()[i].Y1, marked.Ops()[i].Y1);
    }
}

TEST(ColumnFigure, EveryFigureStaysInItsCellOfThePage)
{
    // Printable areas at 300 dpi: A4, B5, B4, A3.
    const std::pair<int32_t, int32_t> papers[] = {{2480, 3508}, {2150, 3035}, {3035, 4299}, {3508, 4961}};
    for (const TOperation operation : {TOperation::Addition, TOperation::Subtraction}) {
        for (const int32_t count : {12, 16}) {
            for (const auto& [W, H] : papers) {
                TSheet sheet;
                sheet.Settings.Operation = operation;
                sheet.Settings.CarryMarks = true;
                for (int32_t k = 0; k < count; ++k) sheet.Problems.push_back(RulesOf(operation).Solve(9999, 9999 - k));
                TRecordingCanvas page;
                DrawSheetPage(page, W, H, PageViewOf(sheet.Settings), sheet, true);
                const int32_t columnPitch = (W - ScaleLenAt(PageScaleFor(W, H, 0, 0), 7)) / 4;
                const int32_t rowPitch = (H - ScaleLenAt(PageScaleFor(W, H, 0, 0), 50)) / (count / 4);
                // Every figure's texts end before the next column starts and
                // above the next row; the bottom row ends on the page.
                int32_t right = 0, bottom = 0;
                for (const TCanvasOp& t : page.OfKind(TCanvasOp::TextOp)) {
                    if (t.Y1 < ScaleLenAt(PageScaleFor(W, H, 0, 0), 40)) continue;  // the header
                    right = std::max(right, t.X1 + FixedWidth(t.Font, t.Text));
                    bottom = std::max(bottom, t.Y1 + t.Font.Height);
                }
                EXPECT_LT(right, W) << W << " x " << H << ", " << count;
                EXPECT_LT(bottom, H) << W << " x " << H << ", " << count;
                EXPECT_LT(4 * ScaleLenAt(PageScaleFor(W, H, 0, 0), 14) * 1, rowPitch);  // four rows fit a row pitch
                EXPECT_LT(6 * page.Font.Height / 2, columnPitch);  // five cells and a margin fit a column
            }
        }
    }
}

TEST(DivisionFigure, WorkingInItsCells)
{
    using V = std::vector<std::string>;
    const struct {
        int32_t Dividend, Divisor;
        V Problem, Working;
        int Marks;  // small marks with the marks on
    } cases[] = {
        // 624 ÷ 3: the 0 of the quotient brings the 4 straight down.
        {624, 3, {"1:-1:3", "1:1:624"}, {"0:1:208", "2:1:6", "3:2:24", "4:2:24", "5:3:0"}, 0},
        // 9876 ÷ 12, four digits by two.
        {9876, 12, {"1:-2:12", "1:1:9876"}, {"0:2:823", "2:1:96", "3:2:27", "4:2:24", "5:3:36", "6:3:36", "7:4:0"}, 0},
        // 413 ÷ 59: the quotient stands over the ones; a remainder of 0 is written.
        {413, 59, {"1:-2:59", "1:1:413"}, {"0:3:7", "2:1:413", "3:3:0"}, 0},
        // 532 ÷ 7: 53 − 49 borrows, its 5 lends.
        {532, 7, {"1:-1:7", "1:1:532"}, {"0:2:76", "2:1:49", "3:2:42", "4:2:42", "5:3:0"}, 1},
    };
    for (const float scale : {1.0f, 7.5f}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.Dividend) + " / " + std::to_string(c.Divisor) + " at " + std::to_string(scale));
            EXPECT_EQ(Cells(Figure(TOperation::Division, c.Dividend, c.Divisor, false, false, scale), false), c.Problem);
            V worked = c.Problem;
            worked.insert(worked.end(), c.Working.begin(), c.Working.end());
            const TRecordingCanvas answers = Figure(TOperation::Division, c.Dividend, c.Divisor, true, false, scale);
            EXPECT_EQ(Cells(answers, false), worked);
            const TRecordingCanvas marked = Figure(TOperation::Division, c.Dividend, c.Divisor, true, true, scale);
            EXPECT_EQ(static_cast<int>(Cells(marked, true).size()), c.Marks);
            EXPECT_EQ(marked.Font.Height, ScaleLenAt(scale, 14));
        }
    }
    // A remainder is written beside the quotient, small.
    const TRecordingCanvas rest = Figure(TOperation::Division, 62, 3, true, false, 1.0f);
    EXPECT_EQ(Cells(rest, true), (V{"0:5:あまり 2"}));
}

TEST(DivisionFigure, LongWorkingsAreDrawnSmallerToFitTheirCells)
{
    const std::pair<int32_t, int32_t> papers[] = {{2480, 3508}, {2150, 3035}, {3035, 4299}, {3508, 4961}};
    for (const bool marks : {false, true}) {
        for (const int32_t count : {12, 16}) {
            for (const auto& [W, H] : papers) {
                SCOPED_TRACE(std::to_string(W) + " x " + std::to_string(H) + ", " + std::to_string(count) +
                             (marks ? ", marks" : ""));
                TSheet sheet;
                sheet.Settings.Operation = TOperation::Division;
                sheet.Settings.CarryMarks = marks;
                for (int32_t k = 0; k < count; ++k)
                    sheet.Problems.push_back(RulesOf(TOperation::Division).Solve(k % 2 ? 9999 - k : 9806 + k, k % 2 ? 2 : 13));
                TRecordingCanvas page;
                DrawSheetPage(page, W, H, PageViewOf(sheet.Settings), sheet, true);
                const float scale = PageScaleFor(W, H, 0, 0);
                const int32_t columnPitch = (W - ScaleLenAt(scale, 7)) / 4, rowPitch = (H - ScaleLenAt(scale, 50)) / (count / 4);
                // Each text lies in the cell of one figure: between its column's
                // left margin and the next, above the next row.
                for (const TCanvasOp& t : page.OfKind(TCanvasOp::TextOp)) {
                    if (t.Y1 < ScaleLenAt(scale, 44)) continue;  // the header
                    const int32_t column = (t.X1 - ScaleLenAt(scale, 7)) / columnPitch;
                    const int32_t row = (t.Y1 - ScaleLenAt(scale, 44)) / rowPitch;
                    EXPECT_LE(t.X1 + FixedWidth(t.Font, t.Text), ScaleLenAt(scale, 7) + (column + 1) * columnPitch) << t.Text;
                    EXPECT_LE(t.Y1 + t.Font.Height, ScaleLenAt(scale, 44) + (row + 1) * rowPitch) << t.Text;
                }
            }
        }
    }
}

// A problem sheet never shows the shape of its answer: every division of the
// same places gets the same lines, whatever its quotient, and room for its
// remainder where the settings allow one.
TEST(DivisionFigure, ProblemSheetsShowNothingOfTheAnswer)
{
    // 624 ÷ 3 works in two steps (208), 696 ÷ 3 in three (232), 105 ÷ 5 in two.
    const std::pair<int32_t, int32_t> problems[] = {{624, 3}, {696, 3}, {105, 5}, {987, 3}};
    auto lines = [](int32_t first, int32_t second, bool blank) {
        TRecordingCanvas canvas;
        canvas.Font.Name = kMinchoFace;
        canvas.Font.Height = 14;
        TFigureStyle style{0, false, 1.0f, false};
        style.FewestDivisorDigits = 1;
        style.RemainderBlank = blank;
        DrawFigure(canvas, kX, kY, TOperation::Division, RulesOf(TOperation::Division).Solve(first, second), style);
        std::vector<std::string> drawn;
        for (const TCanvasOp& op : canvas.Ops())
            if (op.Kind != TCanvasOp::TextOp || op.Text == "あまり（" || op.Text == "）")
                drawn.push_back(std::to_string(op.X1) + "," + std::to_string(op.Y1) + "," + std::to_string(op.X2) + "," +
                                std::to_string(op.Y2) + op.Text);
        return drawn;
    };
    for (const bool blank : {false, true})
        for (const auto& [first, second] : problems) EXPECT_EQ(lines(first, second, blank), lines(624, 3, blank)) << first;
}

// Long workings are spaced tighter, not written much smaller: in 標準,
// 4けた÷1けた with sixteen problems on B5 has digits at least 80 % as tall
// as a multiplication's on the same paper.
TEST(DivisionFigure, DivisionSheetsKeepTheirSize)
{
    const int32_t W = 7654, H = 11197;  // B5 inside its margins, at 1200 dpi
    TSheet sheet;
    sheet.Settings.Operation = TOperation::Division;
    sheet.Settings.u4l = "1", sheet.Settings.u4h = "9", sheet.Settings.d1l = "2", sheet.Settings.d1h = "9";
    for (int32_t k = 0; k < 16; ++k) sheet.Problems.push_back(RulesOf(TOperation::Division).Solve(9876 - 37 * k, 2 + k % 8));
    TRecordingCanvas page;
    DrawSheetPage(page, W, H, PageViewOf(sheet.Settings), sheet, true);
    const int32_t multiplication = ScaleLenAt(PageScaleFor(W, H, 0, 0), 14);
    int32_t smallest = multiplication;
    for (const TCanvasOp& t : page.OfKind(TCanvasOp::TextOp))
        if (t.Text == std::to_string(sheet.Problems[0].First)) smallest = std::min(smallest, t.Font.Height);
    EXPECT_GE(smallest * 10, multiplication * 8) << smallest << " of " << multiplication;
}

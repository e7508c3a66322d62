#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "recording_canvas.h"
#include "render/hissan.h"
#include "render/page_scale.h"
#include "worksheet/problems.h"
#include "worksheet/text_to_int.h"

namespace {

constexpr int32_t kX = 100, kY = 50;

// The canvas as the page layout hands it to a figure.
TRecordingCanvas FigureCanvas(int32_t height)
{
    TRecordingCanvas canvas;
    canvas.Font.Name = "ＭＳ 明朝";
    canvas.Font.Height = height;
    canvas.Pen.Color = 0;
    canvas.Brush.Style = bsClear;
    return canvas;
}

// What the texts of a figure put in its cells, one string per row from the
// leftmost to the rightmost column used ('.' for a cell nothing was drawn
// in), and which columns each row underlines.
struct TCells {
    std::vector<std::string> Rows;
    std::map<int, std::pair<int, int>> Underlined;  // row → first and last column
    int FirstColumn = 0;
};

TCells ReadCells(const TRecordingCanvas& canvas, int32_t c, int32_t h, int firstColumn, int lastColumn)
{
    TCells cells;
    cells.FirstColumn = firstColumn;
    for (const TRecord& t : canvas.OfKind(TRecord::TextOp)) {
        EXPECT_EQ((t.X1 - kX) % c, 0) << "text [" << t.Text << "] is off the column grid";
        EXPECT_EQ((t.Y1 - kY) % h, 0) << "text [" << t.Text << "] is off the row grid";
        const int row = (t.Y1 - kY) / h, col = (t.X1 - kX) / c;
        if (static_cast<int>(cells.Rows.size()) <= row)
            cells.Rows.resize(static_cast<size_t>(row) + 1, std::string(static_cast<size_t>(lastColumn - firstColumn + 1), '.'));
        for (size_t i = 0; i < t.Text.size(); ++i) {
            const int at = col + static_cast<int>(i) - firstColumn;
            EXPECT_GE(at, 0) << t.Text;
            EXPECT_LE(at, lastColumn - firstColumn) << t.Text;
            if (at >= 0 && at <= lastColumn - firstColumn) cells.Rows[static_cast<size_t>(row)][static_cast<size_t>(at)] = t.Text[i];
        }
        if (t.Font.Style & fsUnderline) cells.Underlined[row] = {col, col + static_cast<int>(t.Text.size()) - 1};
    }
    return cells;
}

struct TWorked {
    const char *A, *B;
    int FirstColumn, LastColumn, Rows;  // grid columns relative to x, in cells
    std::vector<std::string> WithAnswers;
    std::map<int, std::pair<int, int>> Underlined;
};

const TWorked kWorked[] = {
    {"7", "8", 0, 1, 3, {".7", " 8", "56"}, {{1, {0, 1}}}},
    {"123", "405", -2, 3, 6, {"...123", ".. 405", "...615", "....0 ", ".492  ", ".49815"}, {{1, {0, 3}}, {4, {-1, 3}}}},
    {"12", "3456", -1, 4, 7, {"....12", ". 3456", "....72", "...60 ", "..48  ", ".36   ", ".41472"},
     {{1, {0, 4}}, {5, {0, 4}}}},
};

class HissanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetPageScale(320, 441, 320, 441);
        ShowAnswers = 0;
    }
    void TearDown() override { ShowAnswers = 0; }
};

TEST_F(HissanTest, WorkedFiguresCellByCell)
{
    for (const TWorked& w : kWorked) {
        for (int answers : {1, 0}) {
            SCOPED_TRACE(std::string(w.A) + " x " + w.B + (answers ? " with answers" : " without answers"));
            TRecordingCanvas canvas = FigureCanvas(14);
            ShowAnswers = answers;
            Hissan(canvas, kX, kY, w.A, w.B, " ", 1);
            const TCells cells = ReadCells(canvas, 7, 14, w.FirstColumn, w.LastColumn);
            const std::vector<std::string> expected(w.WithAnswers.begin(), w.WithAnswers.begin() + (answers ? w.Rows : 2));
            EXPECT_EQ(cells.Rows, expected);
            auto underlined = w.Underlined;
            if (!answers) underlined = {{1, w.Underlined.at(1)}};
            EXPECT_EQ(cells.Underlined, underlined);
            EXPECT_TRUE(canvas.OfKind(TRecord::RectOp).empty());
        }
    }
}

TEST_F(HissanTest, GridCoversEveryRowAndColumn)
{
    for (const TWorked& w : kWorked) {
        for (int answers : {1, 0}) {
            SCOPED_TRACE(std::string(w.A) + " x " + w.B);
            TRecordingCanvas canvas = FigureCanvas(14);
            ShowAnswers = answers;
            Hissan(canvas, kX, kY, w.A, w.B, " ", 0);
            const int cols = w.LastColumn - w.FirstColumn + 1;
            const int32_t left = kX + w.FirstColumn * 7, right = left + cols * 7, bottom = kY + w.Rows * 14;

            const auto rects = canvas.OfKind(TRecord::RectOp);
            ASSERT_EQ(rects.size(), 1u);
            EXPECT_EQ(std::vector<int32_t>({rects[0].X1, rects[0].Y1, rects[0].X2, rects[0].Y2}),
                      std::vector<int32_t>({left, kY, right, bottom}));
            EXPECT_EQ(rects[0].Pen.Style, psDot);
            EXPECT_EQ(rects[0].Pen.Width, 1);

            std::vector<std::vector<int32_t>> expected;
            for (int r = 1; r < w.Rows; ++r) expected.push_back({left, kY + r * 14, right, kY + r * 14});
            for (int q = 1; q < cols; ++q) expected.push_back({left + q * 7, kY, left + q * 7, bottom});
            std::vector<std::vector<int32_t>> dotted;
            for (const TRecord& l : canvas.OfKind(TRecord::LineOp))
                if (l.Pen.Style == psDot) dotted.push_back({l.X1, l.Y1, l.X2, l.Y2});
            EXPECT_EQ(dotted, expected);

            // The texts stand exactly where they stand without the grid.
            TRecordingCanvas plain = FigureCanvas(14);
            Hissan(plain, kX, kY, w.A, w.B, " ", 1);
            const auto texts = canvas.OfKind(TRecord::TextOp), plainTexts = plain.OfKind(TRecord::TextOp);
            ASSERT_EQ(texts.size(), plainTexts.size());
            for (size_t i = 0; i < texts.size(); ++i) {
                EXPECT_EQ(texts[i].X1, plainTexts[i].X1);
                EXPECT_EQ(texts[i].Y1, plainTexts[i].Y1);
                EXPECT_EQ(texts[i].Text, plainTexts[i].Text);
            }
        }
    }
}

TEST_F(HissanTest, GridOnlyForItemZero)
{
    for (int32_t waku : {1, -1, 2}) {
        TRecordingCanvas canvas = FigureCanvas(14);
        Hissan(canvas, kX, kY, "1234", "5678", " ", waku);
        EXPECT_TRUE(canvas.OfKind(TRecord::RectOp).empty());
        EXPECT_EQ(canvas.OfKind(TRecord::LineOp).size(), 2u);  // the sign only
    }
    TRecordingCanvas both4 = FigureCanvas(14);
    Hissan(both4, kX, kY, "1234", "5678", " ", 0);
    const TRecord rect = both4.OfKind(TRecord::RectOp).at(0);
    EXPECT_EQ(rect.X1, kX - 3 * 7);  // eight columns, three left of x
    EXPECT_EQ(rect.Y2 - rect.Y1, 7 * 14);
}

TEST_F(HissanTest, SignAtScaleOne)
{
    TRecordingCanvas canvas = FigureCanvas(14);
    Hissan(canvas, kX, kY, "7", "8", " ", 1);
    const auto lines = canvas.OfKind(TRecord::LineOp);
    ASSERT_EQ(lines.size(), 2u);
    const int32_t x0 = kX + 2, y0 = kY + 14 + 4, w = 7 - 4, d = 14 - 6;
    EXPECT_EQ(std::vector<int32_t>({lines[0].X1, lines[0].Y1, lines[0].X2, lines[0].Y2}),
              std::vector<int32_t>({x0, y0, x0 + w, y0 + d}));
    EXPECT_EQ(std::vector<int32_t>({lines[1].X1, lines[1].Y1, lines[1].X2, lines[1].Y2}),
              std::vector<int32_t>({x0, y0 + d, x0 + w, y0}));
    for (const TRecord& l : lines) {
        EXPECT_EQ(l.Pen.Width, 0);
        EXPECT_EQ(l.Pen.Style, psSolid);
    }
    // The sign's width is measured while row 1 is underlined.
    int underlinedSpaces = 0;
    for (const TWidthQuery& q : canvas.WidthQueries) underlinedSpaces += q.Text == " " && q.Style == fsUnderline;
    EXPECT_EQ(underlinedSpaces, 1);
}

TEST_F(HissanTest, AtPrinterScale)
{
    SetPageScale(2400, 3400, 320, 441);
    ShowAnswers = 1;
    TRecordingCanvas canvas = FigureCanvas(ScaleLen(14));  // 105 high, 52 wide
    Hissan(canvas, 248, 330, "123", "405", " ", 0);
    const auto rect = canvas.OfKind(TRecord::RectOp).at(0);
    EXPECT_EQ(std::vector<int32_t>({rect.X1, rect.Y1, rect.X2, rect.Y2}),
              std::vector<int32_t>({248 - 2 * 52, 330, 248 + 4 * 52, 330 + 6 * 105}));
    const auto lines = canvas.OfKind(TRecord::LineOp);
    const TRecord& sign = lines[lines.size() - 2];
    EXPECT_EQ(std::vector<int32_t>({sign.X1, sign.Y1, sign.X2, sign.Y2}),
              std::vector<int32_t>({248 + 15, 330 + 105 + 30, 248 + 15 + 52 - 30, 330 + 105 + 30 + 105 - 45}));
    EXPECT_EQ(sign.Pen.Width, 4);
    EXPECT_EQ(rect.Pen.Width, 1);  // the grid stays one device unit wide
    const auto texts = canvas.OfKind(TRecord::TextOp);
    EXPECT_EQ(texts.back().Text, "49815");
    EXPECT_EQ(texts.back().X1, 248 + 4 * 52 - 5 * 52);
    EXPECT_EQ(texts.back().Y1, 330 + 5 * 105);
}

TEST_F(HissanTest, LeavesTheCanvasRegularSolidAndHalfUnitWide)
{
    SetPageScale(2400, 3400, 320, 441);
    ShowAnswers = 1;
    TRecordingCanvas canvas = FigureCanvas(105);
    canvas.Pen.Color = 0x123456;
    canvas.Brush.Color = 0xABCDEF;
    Hissan(canvas, 0, 0, "12", "3456", " ", 0);
    EXPECT_EQ(canvas.Font.Style, 0u);
    EXPECT_EQ(canvas.Font.Name, "ＭＳ 明朝");
    EXPECT_EQ(canvas.Font.Height, 105);
    EXPECT_EQ(canvas.Pen.Style, psSolid);
    EXPECT_EQ(canvas.Pen.Width, 4);
    EXPECT_EQ(canvas.Pen.Color, 0x123456u);
    EXPECT_EQ(canvas.Brush.Color, 0xABCDEFu);
    EXPECT_EQ(canvas.Brush.Style, bsClear);
}

TEST_F(HissanTest, OneDigitMultiplierHasOneAnswerRowAndNoSecondRule)
{
    ShowAnswers = 1;
    TRecordingCanvas canvas = FigureCanvas(14);
    Hissan(canvas, kX, kY, "4321", "9", " ", 0);
    const auto texts = canvas.OfKind(TRecord::TextOp);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].Text, "38889");
    EXPECT_EQ(texts[2].Y1, kY + 2 * 14);
    EXPECT_EQ(texts[2].Font.Style, 0u);
    EXPECT_EQ(canvas.OfKind(TRecord::RectOp).at(0).Y2, kY + 3 * 14);
}

TEST_F(HissanTest, TwoDigitMultiplierHasFiveRows)
{
    ShowAnswers = 1;
    TRecordingCanvas canvas = FigureCanvas(14);
    Hissan(canvas, kX, kY, "25", "40", " ", 0);
    const TCells cells = ReadCells(canvas, 7, 14, -1, 2);
    EXPECT_EQ(cells.Rows, (std::vector<std::string>{"..25", ". 40", "...0", "100 ", "1000"}));
    EXPECT_EQ(canvas.OfKind(TRecord::RectOp).at(0).Y2, kY + 5 * 14);
}

TEST_F(HissanTest, EntryWithoutTextsDrawsNothing)
{
    ShowAnswers = 1;
    for (const auto& [a, b] : {std::pair{"", "12"}, {"12", ""}, {"", ""}}) {
        TRecordingCanvas canvas = FigureCanvas(14);
        EXPECT_NO_THROW(Hissan(canvas, kX, kY, a, b, " ", 0));
        EXPECT_TRUE(canvas.Ops().empty());
        EXPECT_TRUE(canvas.WidthQueries.empty());
    }
}

TEST_F(HissanTest, TextThatIsNotAnIntegerRaisesBeforeDrawing)
{
    TRecordingCanvas canvas = FigureCanvas(14);
    EXPECT_THROW(Hissan(canvas, kX, kY, "1x", "5", " ", 0), EConvertError);
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST_F(HissanTest, OverflowingProductWrapsWithoutUndefinedBehaviour)
{
    ShowAnswers = 1;
    TRecordingCanvas canvas = FigureCanvas(14);
    Hissan(canvas, kX, kY, "2147483647", "2", " ", 1);
    EXPECT_EQ(canvas.OfKind(TRecord::TextOp).back().Text, "-2");
}

}  // namespace

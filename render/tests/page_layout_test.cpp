#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "recording_canvas.h"
#include "render/large_cell_page.h"
#include "render/page_layout.h"
#include "render/page_scale.h"
#include "worksheet/diagnostic.h"
#include "worksheet/operations.h"
#include "worksheet/problems.h"

namespace {

using TPoints = std::vector<std::pair<int32_t, int32_t>>;

// Fills entries 1..n with 7 × 8, so that each figure's underlined row 1
// (" 8") starts at its x, one row below its y.
void FillTable(int n)
{
    ProblemTable.Clear();
    for (int k = 1; k <= n; ++k) ProblemTable[k] = {7, 8, "7", "8"};
}

// The (x, y) of every figure drawn, in drawing order.
TPoints FigurePositions(const TRecordingCanvas& canvas)
{
    TPoints points;
    for (const TRecord& t : canvas.OfKind(TRecord::TextOp))
        if (t.Font.Style & fsUnderline) points.emplace_back(t.X1, t.Y1 - t.Font.Height);
    return points;
}

TPoints Grid(const std::vector<int32_t>& xs, const std::vector<int32_t>& ys)
{
    TPoints points;
    for (int32_t y : ys)
        for (int32_t x : xs) points.emplace_back(x, y);
    return points;
}

class PageLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrintNumber = 1;
        ShowAnswers = 0;
        QuestionCount = 0;
        ProblemTable.Clear();
    }
    void TearDown() override
    {
        QuestionCount = 0;
        ProblemTable.Clear();
    }

    TRecordingCanvas Page(int32_t W, int32_t H, const TPageView& view = {})
    {
        TRecordingCanvas canvas;
        MakePrint(canvas, W, H, view);
        return canvas;
    }
};

TEST_F(PageLayoutTest, WorkedPositions)
{
    const struct {
        int32_t W, H, count;
        TPoints expected;
    } cases[] = {
        {320, 441, 16, Grid({33, 111, 189, 267}, {44, 141, 238, 335})},
        {320, 441, 12, Grid({33, 111, 189, 267}, {44, 174, 304})},
        {2400, 3400, 16, Grid({248, 835, 1422, 2009}, {330, 1086, 1842, 2598})},
        {2400, 3400, 12, Grid({248, 835, 1422, 2009}, {330, 1338, 2346})},
        {0, 441, 16, Grid({33, 32, 31, 30}, {44, 141, 238, 335})},  // pitch (0 - 7) div 4 = -1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.W) + " x " + std::to_string(c.H) + ", " + std::to_string(c.count));
        FillTable(c.count);
        QuestionCount = c.count;
        EXPECT_EQ(FigurePositions(Page(c.W, c.H)), c.expected);
    }
}

TEST_F(PageLayoutTest, OnlyWholeRowsOfFour)
{
    FillTable(16);
    const std::pair<int32_t, size_t> cases[] = {{0, 0},  {1, 0},  {3, 0},   {4, 4},   {7, 4},   {12, 12},
                                                {13, 12}, {14, 12}, {15, 12}, {16, 16}, {-4, 0}, {99, 20}};
    for (const auto& [count, figures] : cases) {
        QuestionCount = count;
        if (count > 16) FillTable(20);
        const TRecordingCanvas canvas = Page(320, 441);
        EXPECT_EQ(FigurePositions(canvas).size(), figures) << "QuestionCount " << count;
        EXPECT_EQ(canvas.OfKind(TRecord::TextOp).front().Text, "かけ算") << "QuestionCount " << count;
    }
}

TEST_F(PageLayoutTest, HeaderAtScaleOne)
{
    TPageView view;
    view.Sentence = "よく見て計算しよう";
    PrintNumber = 7;
    const auto texts = Page(320, 441, view).OfKind(TRecord::TextOp);
    ASSERT_EQ(texts.size(), 4u);
    const std::string box = "（\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000）";
    const struct {
        std::string text, face;
        int32_t x, y, height;
    } expected[] = {
        {"かけ算", "ＭＳ ゴシック", 14, 10, 6},
        {"問題No.7", "ＭＳ 明朝", 64, 10, 6},
        {box, "ＭＳ 明朝", 140, 10, 14},
        {"よく見て計算しよう", "ＭＳ 明朝", 14, 27, 10},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i].Text, expected[i].text);
        EXPECT_EQ(texts[i].Font.Name, expected[i].face);
        EXPECT_EQ(texts[i].X1, expected[i].x);
        EXPECT_EQ(texts[i].Y1, expected[i].y);
        EXPECT_EQ(texts[i].Font.Height, expected[i].height);
        EXPECT_EQ(texts[i].Font.Style, 0u);
        EXPECT_EQ(texts[i].Brush.Style, bsClear);
        EXPECT_EQ(texts[i].Pen.Color, 0u);
    }
}

TEST_F(PageLayoutTest, SheetNumberFollowsTheLabelDirectly)
{
    for (const auto& [number, text] : {std::pair{0, "問題No.0"}, {-3, "問題No.-3"}, {12345, "問題No.12345"},
                                       {-2147483647 - 1, "問題No.-2147483648"}}) {
        PrintNumber = number;
        EXPECT_EQ(Page(320, 441).OfKind(TRecord::TextOp).at(1).Text, text);
    }
}

TEST_F(PageLayoutTest, EmptySentenceChangesNothingElse)
{
    FillTable(12);
    QuestionCount = 12;
    TPageView empty;
    empty.Sentence = "";
    const auto withSentence = Page(320, 441).Ops();
    const auto without = Page(320, 441, empty).Ops();
    ASSERT_EQ(withSentence.size(), without.size());
    EXPECT_EQ(without[4].Text, "");  // the sentence, after the clearing rectangle and three header texts
    for (size_t i = 0; i < without.size(); ++i) {
        if (i == 4) continue;
        EXPECT_EQ(without[i].Text, withSentence[i].Text);
        EXPECT_EQ(without[i].X1, withSentence[i].X1);
        EXPECT_EQ(without[i].Y1, withSentence[i].Y1);
    }
}

TEST_F(PageLayoutTest, ClearingRectangleTakesThePenAsFound)
{
    TRecordingCanvas canvas;
    canvas.Pen.Width = 4;
    canvas.Pen.Style = psDot;
    MakePrint(canvas, 320, 441, {});
    const TRecord& clear = canvas.Ops().at(0);
    ASSERT_EQ(clear.Kind, TRecord::RectOp);
    EXPECT_EQ(std::vector<int32_t>({clear.X1, clear.Y1, clear.X2, clear.Y2}), std::vector<int32_t>({0, 0, 319, 440}));
    EXPECT_EQ(clear.Brush.Style, bsSolid);
    EXPECT_EQ(clear.Brush.Color, 0xFFFFFFu);
    EXPECT_EQ(clear.Pen.Color, 0xFFFFFFu);
    EXPECT_EQ(clear.Pen.Width, 4);
    EXPECT_EQ(clear.Pen.Style, psDot);

    const TRecord printer = Page(2400, 3400).Ops().at(0);
    EXPECT_EQ(std::vector<int32_t>({printer.X2, printer.Y2}), std::vector<int32_t>({2392, 3300}));
}

TEST_F(PageLayoutTest, StateLeftForTheNextPage)
{
    FillTable(4);
    QuestionCount = 4;
    TRecordingCanvas canvas;
    MakePrint(canvas, 2400, 3400, {});
    EXPECT_EQ(canvas.Font.Name, "ＭＳ 明朝");
    EXPECT_EQ(canvas.Font.Height, 105);
    EXPECT_EQ(canvas.Font.Style, 0u);
    EXPECT_EQ(canvas.Brush.Style, bsClear);
    EXPECT_EQ(canvas.Brush.Color, 0xFFFFFFu);
    EXPECT_EQ(canvas.Pen.Color, 0u);
    EXPECT_EQ(canvas.Pen.Style, psSolid);
    EXPECT_EQ(canvas.Pen.Width, 4);
}

TEST_F(PageLayoutTest, FiguresReadTheGridChoiceAndTheirTexts)
{
    FillTable(8);
    ProblemTable[6] = {0, 0, "", ""};  // never written by a run
    QuestionCount = 8;
    TPageView noGrid;
    noGrid.Waku = 1;
    EXPECT_EQ(FigurePositions(Page(320, 441, noGrid)).size(), 7u);
    EXPECT_EQ(Page(320, 441, noGrid).OfKind(TRecord::RectOp).size(), 1u);  // the clearing rectangle only
    EXPECT_EQ(Page(320, 441).OfKind(TRecord::RectOp).size(), 8u);
}

TEST_F(PageLayoutTest, ReferencePageComesFromTheView)
{
    TPageView big;
    big.RefWidth = 640;
    big.RefHeight = 882;
    MakePrint(*std::make_unique<TRecordingCanvas>(), 640, 882, big);
    EXPECT_EQ(PageScale, 1.0f);
    TRecordingCanvas canvas;
    MakePrint(canvas, 640, 882, {});
    EXPECT_EQ(PageScale, 2.0f);
    EXPECT_EQ(canvas.Ops().at(0).X2, 638);
}

}  // namespace

TEST(SheetPage, AnAnswerSheetSaysSoInTheMiddleOfTheNameBox)
{
    TSheet sheet;
    for (int k = 0; k < 4; ++k) sheet.Problems.push_back({12, 3, 36, 0});
    for (const auto& [W, H] : {std::pair{320, 441}, std::pair{2400, 3400}}) {
        for (const bool answers : {false, true}) {
            TRecordingCanvas page;
            DrawSheetPage(page, W, H, {}, sheet, answers);
            const auto texts = page.OfKind(TCanvasOp::TextOp);
            const auto box = std::find_if(texts.begin(), texts.end(), [](const TCanvasOp& t) { return t.Text.rfind("（", 0) == 0; });
            ASSERT_NE(box, texts.end());
            const auto answer = std::find_if(texts.begin(), texts.end(), [](const TCanvasOp& t) { return t.Text == "答え"; });
            EXPECT_EQ(answer != texts.end(), answers) << W;
            if (answer == texts.end()) continue;
            // Centred between the parentheses, in the name box's font and row.
            EXPECT_EQ(answer->X1 - box->X1, (FixedWidth(box->Font, box->Text) - FixedWidth(answer->Font, "答え")) / 2);
            EXPECT_EQ(answer->Y1, box->Y1);
            EXPECT_EQ(answer->Font.Height, box->Font.Height);
            EXPECT_EQ(answer->Font.Name, box->Font.Name);
        }
    }
}

// 大きなマス: the problems in the arrangement that fits, every figure's
// lines where every other figure of its places has them, and a clear refusal
// with what would fit when nothing does.
TEST(LargeCellPage, ArrangementAndRefusal)
{
    // Three-digit by one-digit divisions on A4 at 10 mm: six in three columns of two.
    TSheet sheet;
    sheet.Settings.Operation = TOperation::Division;
    sheet.Settings.CellMM = 10;
    sheet.Settings.u3l = "1", sheet.Settings.u3h = sheet.Settings.u2h = sheet.Settings.u1h = "9";
    sheet.Settings.d1l = "2", sheet.Settings.d1h = "9";
    sheet.Requested = 6;
    for (const auto& [a, b] : std::vector<std::pair<int32_t, int32_t>>{{624, 3}, {696, 3}, {105, 5}, {987, 3}, {700, 7}, {512, 4}})
        sheet.Problems.push_back(RulesOf(TOperation::Division).Solve(a, b));
    TPageView view = PageViewOf(sheet.Settings);
    view.DotsPerMm = 10;  // a surface of 1900 × 2770 for the inside of A4's margins
    const TLargeCellFit fit = LargeCellFitOf(sheet, view, 1900, 2770);
    EXPECT_TRUE(fit.Fits());
    EXPECT_EQ(fit.Columns * fit.Rows, 6);
    // Problem sheets: the lines of every figure alike, moved to its place,
    // whatever its quotient.
    TRecordingCanvas page;
    DrawSheetPage(page, 1900, 2770, view, sheet, false);
    const int32_t slotWidth = 1900 / fit.Columns, top = 240, slotHeight = (2770 - top) / fit.Rows;
    std::map<int32_t, std::vector<std::string>> figures;
    std::map<int32_t, std::pair<int32_t, int32_t>> origins;
    for (const TCanvasOp& line : page.OfKind(TCanvasOp::LineOp)) {
        if (line.Y1 < top) continue;
        const int32_t figure = line.X1 / slotWidth + fit.Columns * ((line.Y1 - top) / slotHeight);
        const auto [origin, added] = origins.try_emplace(figure, line.X1, line.Y1);
        figures[figure].push_back(std::to_string(line.X1 - origin->second.first) + "," + std::to_string(line.Y1 - origin->second.second) +
                                  "," + std::to_string(line.X2 - origin->second.first) + "," +
                                  std::to_string(line.Y2 - origin->second.second));
    }
    ASSERT_EQ(figures.size(), 6u);
    for (const auto& [index, lines] : figures) EXPECT_EQ(lines, figures.begin()->second) << index;

    // Sixteen at 15 mm: refused, with the largest cell for sixteen and the most at 15 mm.
    sheet.Settings.CellMM = view.CellMM = 15;
    sheet.Requested = 16;
    const TLargeCellFit tooMany = LargeCellFitOf(sheet, view, 1900, 2770);
    EXPECT_FALSE(tooMany.Fits());
    EXPECT_EQ(LargeCellsMessage(tooMany, 15, 16, "A4"),
              "大きなマス 15 mm では、A4 の用紙に 16 問がのりません。16 問は 7 mm でものらず、15 mm では 6 問ものりません");
    EXPECT_THROW(DrawSheetPage(page, 1900, 2770, view, sheet, false), ELayoutDoesNotFit);
}

// A diagnostic sheet that does not fit its paper in 大きなマス is never
// offered fewer problems: it is told the smaller cell, the larger paper and
// 標準 that hold all twelve.
TEST(SheetPage, ADiagnosticSheetTooLargeIsToldWhatHoldsItWhole)
{
    TWorksheetSettings settings;
    settings.Operation = TOperation::Division;
    TRandom random{11};
    TSheet sheet = MakeDiagnosticSheets(settings, DefaultDiagnosticRanges(TOperation::Division), 1, 1, random).Sheets.front();
    const struct {
        int32_t CellMM;
        std::vector<std::string> Said;
    } cases[] = {
        {8, {"A4 の用紙に診断プリントの 12 問がのりません", "B4 なら 8 mm で", "標準の配置"}},
        {12, {"B4 なら 8 mm まで", "A3 なら 9 mm まで", "標準の配置"}},
    };
    for (const auto& c : cases) {
        sheet.Settings.CellMM = c.CellMM;
        TPageView view = PageViewOf(sheet.Settings);
        view.DotsPerMm = 10;
        view.PaperName = "A4";
        TRecordingCanvas page;
        try {
            DrawSheetPage(page, 1900, 2770, view, sheet, false);
            ADD_FAILURE() << c.CellMM << " mm fitted";
        } catch (const ELayoutDoesNotFit& e) {
            const std::string said = e.what();
            for (const std::string& part : c.Said) EXPECT_NE(said.find(part), std::string::npos) << said;
            EXPECT_EQ(said.find("問まで"), std::string::npos) << said;
        }
    }
}

// A diagnostic sheet's key: the right answer under every problem, no key
// line over a figure or another, the letters' meanings below everything,
// all below the header on the page, for every operation, at the preview's
// size and on A4 and B5 (10 dots a millimetre), its lines of 9 pt at least.
TEST(SheetPage, DiagnosticKeyStaysClearOfTheFigures)
{
    struct TBox {
        int32_t Left, Top, Right, Bottom;
        bool Overlaps(const TBox& o) const { return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom; }
    };
    for (const TOperationRules& rules : Operations()) {
        if (!HasDiagnosticSheets(rules.Operation)) continue;
        TWorksheetSettings settings;
        settings.Operation = rules.Operation;
        TRandom random{11};
        const TSheet sheet = MakeDiagnosticSheets(settings, DefaultDiagnosticRanges(rules.Operation), 1, 1, random).Sheets.front();
        for (const auto& [W, H] : {std::pair{320, 441}, std::pair{1900, 2770}, std::pair{1620, 2370}}) {
            SCOPED_TRACE(std::string(rules.Key) + " " + std::to_string(W));
            TRecordingCanvas page;
            DrawSheetPage(page, W, H, {}, sheet, true);
            const float scale = PageScaleFor(W, H, kReferenceWidth, kReferenceHeight);
            const int32_t top = ScaleLenAt(scale, 40);
            int32_t keyHeight = 0;
            for (const TCanvasOp& t : page.OfKind(TCanvasOp::TextOp))
                if (t.Text.rfind("正答 ", 0) == 0) keyHeight = t.Font.Height;
            // A Mincho glyph's em is its cell height over 1.102: 9 pt is 3.175 mm.
            if (W > 320) {
                EXPECT_GE(keyHeight / 10.0 / 1.102, 3.175);
            }
            std::vector<TBox> key, figures;
            int32_t rightAnswers = 0, legendTop = H, lowest = 0;
            for (const TCanvasOp& t : page.OfKind(TCanvasOp::TextOp)) {
                const TBox box{t.X1, t.Y1, t.X1 + FixedWidth(t.Font, t.Text), t.Y1 + t.Font.Height};
                if (box.Top > top) {
                    EXPECT_TRUE(box.Left >= 0 && box.Right <= W && box.Bottom <= H) << t.Text;
                }
                if (t.Text.rfind("記号の意味", 0) == 0) legendTop = std::min(legendTop, box.Top);
                if (t.Text.rfind("正答 ", 0) == 0) ++rightAnswers;
                if (t.Font.Height == keyHeight) {
                    key.push_back(box);
                } else if (box.Top > top) {
                    figures.push_back(box);
                    lowest = std::max(lowest, box.Bottom);
                }
            }
            EXPECT_EQ(rightAnswers, 12);
            EXPECT_GE(legendTop, lowest);
            for (const TBox& k : key) {
                for (const TBox& f : figures) ASSERT_FALSE(k.Overlaps(f)) << k.Left << "," << k.Top;
                for (const TBox& other : key) ASSERT_TRUE(&k == &other || !k.Overlaps(other)) << k.Left << "," << k.Top;
            }
        }
    }
}

// In 大きなマス every figure of a page column stands on one units column,
// whatever its places: numbers are right-aligned across the page column as
// down each figure.
TEST(LargeCellPage, FiguresOfAColumnShareTheirUnitsColumn)
{
    for (const TOperationRules& rules : Operations()) {
        // Figures of decimals line up by their points, not their last digits.
        if (rules.Decimal()) continue;
        SCOPED_TRACE(rules.Name);
        TSheet sheet;
        sheet.Settings.Operation = rules.Operation;
        sheet.Settings.CellMM = 8;
        sheet.Settings.Problems = sheet.Requested = 9;
        for (const auto& [first, second] :
             std::vector<std::pair<int32_t, int32_t>>{{12, 3}, {345, 6}, {678, 2}, {90, 9}, {9, 3}, {234, 4}, {56, 7}, {81, 3}, {4, 2}})
            sheet.Problems.push_back(rules.Solve(first, second));
        TPageView view = PageViewOf(sheet.Settings);
        view.DotsPerMm = 10;
        TRecordingCanvas page;
        DrawSheetPage(page, 1900, 2770, view, sheet, true);
        // The digits, by page column (far apart across) and by figure (apart down).
        std::vector<TCanvasOp> digits;
        for (const TCanvasOp& op : page.OfKind(TCanvasOp::TextOp))
            if (op.Text.size() == 1 && op.Text[0] >= '0' && op.Text[0] <= '9' && op.Y1 > 300) digits.push_back(op);
        std::sort(digits.begin(), digits.end(), [](const TCanvasOp& a, const TCanvasOp& b) { return a.X1 < b.X1; });
        std::vector<std::vector<TCanvasOp>> columns;
        for (const TCanvasOp& d : digits) {
            if (columns.empty() || d.X1 - columns.back().back().X1 > 150) columns.emplace_back();
            columns.back().push_back(d);
        }
        ASSERT_GE(columns.size(), 2u);
        for (std::vector<TCanvasOp>& column : columns) {
            std::sort(column.begin(), column.end(), [](const TCanvasOp& a, const TCanvasOp& b) { return a.Y1 < b.Y1; });
            std::vector<int32_t> unitsColumns;  // the rightmost digit of each figure
            for (size_t k = 0; k < column.size(); ++k) {
                if (k == 0 || column[k].Y1 - column[k - 1].Y1 > 150) unitsColumns.push_back(column[k].X1);
                unitsColumns.back() = std::max(unitsColumns.back(), column[k].X1);
            }
            ASSERT_GE(unitsColumns.size(), 2u);
            for (const int32_t x : unitsColumns) EXPECT_EQ(x, unitsColumns.front());
        }
    }
}

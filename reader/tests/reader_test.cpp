// The reader without pages: the shipped network on a fixed sample, as its
// training script computed it; an answer weighed against what it can be,
// decided or asked; a class's sheets marked, typed over and written out.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "reader/answer_reading.h"
#include "reader/cell_reading.h"
#include "reader/class_results.h"
#include "reader/digit_network.h"
#include "reader/point_reading.h"
#include "worksheet/decimal.h"
#include "worksheet/decimal_operations.h"
#include "worksheet/operations.h"
#include "requests/requests.h"
#include "worksheet/wrong_procedures.h"

namespace {

// Cells that read `text` right-aligned in `count` cells, each digit with
// chance `sure`; '?' is a cell torn between `sure` 2 and the rest 7; '#'
// a mark that is no digit.
std::vector<TCellReading> Cells(const std::string& text, size_t count, double sure = 0.999)
{
    std::vector<TCellReading> cells(count);
    const size_t blanks = count - text.size();
    for (size_t i = 0; i < count; ++i) {
        TCellReading& cell = cells[i];
        cell.Odds.fill(static_cast<float>((1 - sure) / 10));
        if (i < blanks) {
            cell.Blank = sure;
            continue;
        }
        cell.Blank = 1 - sure;
        const char c = text[i - blanks];
        cell.Odds.fill(0);
        if (c == '?') {
            cell.Odds[2] = static_cast<float>(sure);
            cell.Odds[7] = static_cast<float>(1 - sure);
        } else {
            cell.Odds.fill(static_cast<float>((1 - sure) / 10));
            cell.Odds[c == '#' ? kNotADigit : c - '0'] = static_cast<float>(sure);
        }
    }
    return cells;
}

}  // namespace

TEST(AnswerReading, DecidedOnlyWhenSure)
{
    // 23 × 4 = 92; 82 is what a pupil who forgets the carry writes.
    const TSheetProblem product{23, 4};
    struct TCase {
        const char* What;
        std::vector<TCellReading> Cells;
        std::optional<TWrittenAnswer> Best;
        TDecided Decided;
    } cases[] = {
        {"the right answer written clearly", Cells("92", 3), TWrittenAnswer(92, 0), TDecided::Read},
        {"left blank", Cells("", 3), std::nullopt, TDecided::Read},
        {"a wrong procedure's answer", Cells("82", 3), TWrittenAnswer(82, 0), TDecided::Read},
        {"an answer of no procedure, clearly", Cells("51", 3), TWrittenAnswer(51, 0), TDecided::Read},
        {"a digit torn between two readings", Cells("9?", 3, 0.6), TWrittenAnswer(92, 0), TDecided::Asked},
        {"the right answer read less surely", Cells("92", 3, 0.9), TWrittenAnswer(92, 0), TDecided::Read},
        {"a mark that is no digit", Cells("9#", 3), std::nullopt, TDecided::Asked},
    };
    for (const TCase& c : cases) {
        const TAnswerReading reading = ReadAnswer(TOperation::Multiplication, product, c.Cells, {});
        EXPECT_EQ(reading.Decided, c.Decided) << c.What << " (confidence " << reading.Confidence << ")";
        if (c.Decided != TDecided::Asked || c.Best) {
            EXPECT_EQ(reading.Best, c.Best) << c.What;
        }
    }
    // A division's remainder is read in its own cells; a remainder of 0 may be left out.
    EXPECT_EQ(ReadAnswer(TOperation::Division, {95, 4}, Cells("23", 3), Cells("3", 2)).Best, TWrittenAnswer(23, 3));
    EXPECT_EQ(ReadAnswer(TOperation::Division, {96, 4}, Cells("24", 3), Cells("", 2)).Best, TWrittenAnswer(24, 0));
}

TEST(ClassResults, DiagnosticSheetNamesTheProcedureOnceNothingIsAsked)
{
    const TDiagnosticSet set = MakeDiagnosticOf(TWorksheetSettings(), TOperation::Subtraction, 1, 3, 77u);
    const TSheet& sheet = set.Sheets.front();
    const std::vector<TWrongProcedure>& procedures = WrongProcedures(TOperation::Subtraction);
    ASSERT_FALSE(procedures.empty());
    // A pupil who follows the first wrong procedure on every problem.
    TReadPage page;
    page.Sheet = sheet;
    page.Roll = 12;
    for (const TSheetProblem& p : sheet.Problems) {
        TAnswerReading a;
        a.Best = procedures.front().Answer(p.First, p.Second);
        a.Decided = TDecided::Read;
        page.Answers.push_back(a);
    }
    page.Answers[5].Decided = TDecided::Asked;
    TMarkedSheet marked = MarkSheet(page, "scan.pdf 1ページ");
    EXPECT_FALSE(marked.Diagnosis);
    EXPECT_FALSE(marked.Right[5]);
    EXPECT_EQ(AskedCount({marked}), 1);
    EXPECT_NE(ResultsCsv({marked}).find("12,3,6,?"), std::string::npos);

    TypeAnswer(marked, 5, page.Answers[5].Best);
    ASSERT_TRUE(marked.Diagnosis);
    EXPECT_EQ(marked.Diagnosis->Procedure, procedures.front().Id);
    EXPECT_EQ(AskedCount({marked}), 0);
    const std::string csv = ResultsCsv({marked});
    EXPECT_EQ(csv.rfind("shusseki,sheet,problem,answer,correct,decided,procedure,operation,seed\n", 0), 0u);
    EXPECT_NE(csv.find(",typed," + std::string(procedures.front().Id)), std::string::npos);
    const TClassTable table = ClassTableOf({marked});
    ASSERT_EQ(table.Rows.size(), 1u);
    EXPECT_EQ(table.Rows[0][0], "12");
    ASSERT_EQ(table.Procedures.size(), 1u);
    EXPECT_EQ(table.Procedures[0].second, 1);
}

TEST(ClassResults, TableInRollOrderWithTheUnnumberedLast)
{
    TSheet sheet;
    sheet.Settings.Operation = TOperation::Multiplication;
    sheet.Problems = {{23, 4}, {31, 2}, {47, 3}, {12, 8}};
    std::vector<TMarkedSheet> sheets;
    for (const std::optional<int32_t> roll : {std::optional<int32_t>(9), std::optional<int32_t>(), std::optional<int32_t>(2)}) {
        TReadPage page;
        page.Sheet = sheet;
        page.Roll = roll;
        for (const TSheetProblem& p : sheet.Problems) {
            TAnswerReading a;
            a.Best = EveryAnswer(TOperation::Multiplication, p.First, p.Second)[0];
            a.Decided = TDecided::Read;
            page.Answers.push_back(a);
        }
        sheets.push_back(MarkSheet(page, "p"));
    }
    const TClassTable table = ClassTableOf(sheets);
    ASSERT_EQ(table.Rows.size(), 3u);
    EXPECT_EQ(table.Rows[0][0], "2");
    EXPECT_EQ(table.Rows[1][0], "9");
    EXPECT_EQ(table.Rows[2][0], "?");
    const std::string count = std::to_string(sheet.Problems.size());
    EXPECT_EQ(table.Rows[0].back(), "");
    EXPECT_EQ(table.Rows[0][table.Rows[0].size() - 2], count + "/" + count);
}

TEST(ClassResults, AFollowUpsWorkedProblemsAreShownNotMarked)
{
    // A follow-up sheet whose first two problems are worked on it: they are
    // neither right nor wrong nor asked, and typing over them changes nothing.
    TReadPage page;
    page.Sheet.Settings.Operation = TOperation::Multiplication;
    page.Sheet.Problems = {{23, 4}, {31, 2}, {47, 3}, {12, 8}};
    page.Sheet.FollowUp = 1;
    page.Sheet.Purposes = {TPurpose::Example, TPurpose::FindMistake, TPurpose::Targeted, TPurpose::Review};
    page.Roll = 4;
    for (size_t k = 0; k < page.Sheet.Problems.size(); ++k) {
        TAnswerReading a;
        a.Decided = k < 2 ? TDecided::Shown : TDecided::Read;
        if (k >= 2) a.Best = EveryAnswer(TOperation::Multiplication, page.Sheet.Problems[k])[k == 2 ? 0 : 1];
        page.Answers.push_back(a);
    }
    TMarkedSheet sheet = MarkSheet(page, "p");
    TypeAnswerText(sheet, 0, "99");
    EXPECT_EQ(sheet.Answers[0].Decided, TDecided::Shown);
    EXPECT_EQ(sheet.RightCount, 1);
    const TClassTable table = ClassTableOf({sheet});
    EXPECT_EQ(table.Rows[0][2], "－");
    EXPECT_EQ(table.Rows[0][3], "－");
    EXPECT_EQ(table.Rows[0][table.Rows[0].size() - 2], "1/2");
    EXPECT_EQ(PupilsCsv({sheet}), "shusseki,sheet,operation,right,wrong,asked,procedure\n4,0,multiplication,1,1,0,\n");
    EXPECT_NE(ResultsCsv({sheet}).find("4,0,1,,,shown,"), std::string::npos);
}

namespace {

// A pupil's multiplication sheet as read: its 出席番号, its class set's seed
// and number, and how many of its four answers are asked.
TMarkedSheet ReadSheet(std::optional<int32_t> roll, uint64_t seed, int32_t number, int asked, const std::string& source,
                       TOperation operation = TOperation::Multiplication)
{
    TReadPage page;
    page.Sheet.Settings.Operation = operation;
    page.Sheet.Problems = {{23, 4}, {31, 2}, {47, 3}, {12, 8}};
    page.Sheet.Seed = seed;
    page.Sheet.Number = number;
    page.Roll = roll;
    for (const TSheetProblem& p : page.Sheet.Problems) {
        TAnswerReading a;
        a.Best = EveryAnswer(operation, p.First, p.Second)[0];
        a.Decided = static_cast<int>(page.Answers.size()) < asked ? TDecided::Asked : TDecided::Read;
        page.Answers.push_back(a);
    }
    return MarkSheet(page, source);
}

}  // namespace

TEST(ClassResults, APupilsSheetIsKeptOnceTheReadingThatAsksLess)
{
    struct TCase {
        const char* What;
        TMarkedSheet Later;
        size_t Sheets;     // after the later one
        bool Replaced;
        bool Said;
    };
    const TCase cases[] = {
        {"scanned again, as sure", ReadSheet(3, 7, 5, 1, "b"), 1, false, true},
        {"scanned again, surer", ReadSheet(3, 7, 5, 0, "b"), 1, true, true},
        {"another pupil", ReadSheet(4, 7, 5, 1, "b"), 2, false, false},
        {"no 出席番号 known", ReadSheet(std::nullopt, 7, 5, 0, "b"), 2, false, false},
        {"another class set", ReadSheet(3, 8, 5, 0, "b"), 2, false, false},
        {"another sheet", ReadSheet(3, 7, 6, 0, "b"), 2, false, false},
        {"another operation", ReadSheet(3, 7, 5, 0, "b", TOperation::Addition), 2, false, false},
    };
    for (const TCase& c : cases) {
        std::vector<TMarkedSheet> sheets{ReadSheet(3, 7, 5, 1, "a")};
        const TKeptOnce kept = KeepOnce(sheets, c.Later);
        EXPECT_EQ(sheets.size(), c.Sheets) << c.What;
        EXPECT_EQ(kept.Replaced, c.Replaced) << c.What;
        EXPECT_EQ(!kept.Note.empty(), c.Said) << c.What;
        if (c.Said) {
            EXPECT_EQ(kept.At, 0u) << c.What;
            EXPECT_EQ(sheets[0].Source, c.Replaced ? "b" : "a") << c.What;
            EXPECT_EQ(kept.Note, std::string(c.Replaced ? "a: b" : "b: a") + " と同じプリント（出席番号 3）なので、一度だけ数えました") << c.What;
        }
    }
}

TEST(ClassResults, PupilsTableAndTypedAnswers)
{
    std::vector<TMarkedSheet> sheets{ReadSheet(2, 7, 5, 2, "a"), ReadSheet(1, 7, 4, 0, "b")};
    const std::vector<std::string> problems = TypeAnswersFromCsv(sheets,
                                                                 "\xEF\xBB\xBFshusseki,sheet,problem,answer\r\n"
                                                                 "2,5,1,92\r\n"
                                                                 "2,5,2,61\r\n"
                                                                 "2,5,9,1\n"
                                                                 "3,5,1,1\n"
                                                                 "x,5,1,1\n"
                                                                 "2,5,1\n"
                                                                 "1,4,1,あいう\n",
                                                                 "t.csv");
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_EQ(problems[0].rfind("t.csv 4行目: ", 0), 0u) << problems[0];
    EXPECT_EQ(problems[1].rfind("t.csv 5行目: 出席番号 3 の No.5 は読んだページにありません", 0), 0u) << problems[1];
    EXPECT_EQ(problems[2].rfind("t.csv 6行目: ", 0), 0u);
    EXPECT_EQ(problems[3].rfind("t.csv 7行目: ", 0), 0u);
    EXPECT_EQ(problems[4].rfind("t.csv 8行目: ", 0), 0u);
    EXPECT_EQ(AskedCount(sheets), 0);
    EXPECT_EQ(PupilsCsv(sheets), "shusseki,sheet,operation,right,wrong,asked,procedure\n"
                                 "1,4,multiplication,4,0,0,\n"
                                 "2,5,multiplication,3,1,0,\n");
}

TEST(AnswerReading, ADecimalIsReadWithItsPointOrAsked)
{
    // 1.5 × 2.5 = 3.75 in four cells; a pupil who lines the points up as in
    // an addition writes 37.5. points[i]: a point after cell i.
    const TSheetProblem product = SolveProblem(RulesOf(TOperation::DecimalMultiplication), TOperands{15, 25, 1, 1, 0});
    ASSERT_EQ(WrittenAnswerOf(product), TWrittenAnswer(375, 0, 2));
    struct TCase {
        const char* What;
        std::vector<TCellReading> Cells;
        std::vector<double> Points;
        std::optional<TWrittenAnswer> Best;
        TDecided Decided;
    } cases[] = {
        {"the right answer with its point", Cells("375", 4), {0.03, 0.97, 0.03}, TWrittenAnswer(375, 0, 2), TDecided::Read},
        {"the points lined up as in an addition", Cells("375", 4), {0.03, 0.03, 0.97}, TWrittenAnswer(375, 0, 1), TDecided::Read},
        {"the point left out", Cells("375", 4), {0.03, 0.03, 0.03}, std::nullopt, TDecided::Asked},
        {"a point hard to make out", Cells("375", 4), {0.03, 0.5, 0.03}, std::nullopt, TDecided::Asked},
        {"two points", Cells("375", 4), {0.03, 0.97, 0.97}, std::nullopt, TDecided::Asked},
        {"left blank", Cells("", 4), {0.03, 0.03, 0.03}, std::nullopt, TDecided::Read},
    };
    for (const TCase& c : cases) {
        const TAnswerReading reading = ReadAnswer(TOperation::DecimalMultiplication, product, c.Cells, {}, c.Points);
        EXPECT_EQ(reading.Decided, c.Decided) << c.What << " (confidence " << reading.Confidence << ")";
        if (c.Decided != TDecided::Asked) {
            EXPECT_EQ(reading.Best, c.Best) << c.What;
            if (reading.Best) {
                EXPECT_EQ(reading.Best->Places, c.Best->Places) << c.What;
            }
        }
    }
    // A division's remainder is written beside its cells: asked, however
    // clearly its quotient reads.
    const TSheetProblem withRemainder =
        SolveProblem(RulesOf(TOperation::DecimalDivision), TOperands{74, 3, 1, 0, qcOnesWithRemainder});
    ASSERT_NE(withRemainder.Remainder, 0);
    const std::string quotient = DecimalDigits(withRemainder.Answer, withRemainder.AnswerPlaces);
    EXPECT_EQ(ReadAnswer(TOperation::DecimalDivision, withRemainder, Cells(quotient, 3), {}, {0.03, 0.03}).Decided,
              TDecided::Asked);
}

TEST(PointReading, ASmallDotClearOfTheEdgesIsAPoint)
{
    // A 40-pixel picture of the foot of the line between two cells: the
    // line itself light grey down the middle; marks drawn in black.
    struct TBlot {
        int X0, Y0, X1, Y1;  // inclusive
    };
    struct TCase {
        const char* What;
        std::vector<TBlot> Blots;
        bool Point;
    };
    const TCase cases[] = {
        {"nothing but the grid", {}, false},
        {"a dot on the line", {{17, 20, 23, 26}}, true},
        {"a small dot a little off the line", {{22, 24, 26, 28}}, true},
        {"a speck", {{20, 20, 20, 20}}, false},
        {"a digit's stroke coming in from the side", {{0, 10, 14, 14}}, false},
        {"a digit's stroke coming down from above", {{8, 0, 11, 25}}, false},
        {"a dot on a division's bar", {{0, 18, 39, 19}, {16, 14, 23, 23}}, true},
        {"a bar alone", {{0, 18, 39, 19}}, false},
    };
    for (const TCase& c : cases) {
        TGreyImage picture(40, 40, 250);
        for (int32_t y = 0; y < 40; ++y) picture.At(20, y) = 200;
        for (const TBlot& b : c.Blots)
            for (int32_t y = b.Y0; y <= b.Y1; ++y)
                for (int32_t x = b.X0; x <= b.X1; ++x) picture.At(x, y) = 30;
        const double chance = ReadPoint(picture);
        EXPECT_EQ(chance > 0.9, c.Point) << c.What << ": " << chance;
        EXPECT_EQ(chance < 0.1, !c.Point) << c.What << ": " << chance;
    }
}

TEST(CellReading, AThinUprightOneIsADigitAndALineAcrossTheCellIsNot)
{
    // A 40-pixel cell with its printed border; strokes drawn in black.
    struct TCase {
        const char* What;
        int X0, Y0, X1, Y1;  // the stroke's box, inclusive
        bool Blank;
    };
    const TCase cases[] = {
        {"a thin upright 1, two thirds of the cell", 19, 7, 20, 33, false},
        {"a thin upright 1, a little shorter", 19, 10, 20, 30, false},
        {"a rule across the whole inner cell", 19, 3, 20, 36, true},
        {"a rule across, left to right", 3, 19, 36, 20, true},
    };
    for (const TCase& c : cases) {
        TGreyImage cell(40, 40, 250);
        for (int32_t i = 0; i < 40; ++i) cell.At(i, 0) = cell.At(i, 39) = cell.At(0, i) = cell.At(39, i) = 40;
        for (int32_t y = c.Y0; y <= c.Y1; ++y)
            for (int32_t x = c.X0; x <= c.X1; ++x) cell.At(x, y) = 20;
        const TCellReading read = ReadCellPicture(cell, TDigitNetwork::Shipped());
        EXPECT_EQ(read.Likeliest() == -1, c.Blank) << c.What << ": " << read.Likeliest();
        if (!c.Blank) {
            EXPECT_EQ(read.Likeliest(), 1) << c.What;
        }
    }
}

TEST(DigitNetwork, ShippedWeightsGiveTheTrainingScriptsOdds)
{
    std::ifstream file(TAVELIN_DIGIT_SAMPLE, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 8u);
    ASSERT_EQ(std::memcmp(bytes.data(), "TVDS", 4), 0);
    uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 4, 4);
    const size_t record = 1 + kDigitSide * kDigitSide + 11 * 4;
    ASSERT_EQ(bytes.size(), 8 + count * record);
    int right = 0;
    for (uint32_t k = 0; k < count; ++k) {
        const uint8_t* at = bytes.data() + 8 + k * record;
        std::vector<float> ink(kDigitSide * kDigitSide);
        for (size_t i = 0; i < ink.size(); ++i) ink[i] = at[1 + i] / 255.0f;
        const TDigitOdds odds = TDigitNetwork::Shipped().Classify(NormaliseDigit(ink, kDigitSide, kDigitSide));
        for (size_t c = 0; c < 11; ++c) {
            float expected;
            std::memcpy(&expected, at + 1 + ink.size() + c * 4, 4);
            EXPECT_NEAR(odds[c], expected, 2e-3) << "digit " << k << " class " << c;
        }
        right += static_cast<int>(std::max_element(odds.begin(), odds.end()) - odds.begin()) == at[0] ? 1 : 0;
    }
    EXPECT_GE(right * 100, static_cast<int>(count) * 95);
    // Weights of another shape are refused, not run.
    EXPECT_THROW(TDigitNetwork(std::vector<uint8_t>{'T', 'V', 'D', 'N', 1, 0, 0, 0, 9, 0, 0, 0}), std::runtime_error);
}

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"
#include "worksheet/generator.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/text_to_int.h"

namespace {

// Settings with each place's range as a two-character "lh" text, ones first:
// WithDigits("19", "00", ...) draws the multiplicand ones digit from 1 to 9.
TWorksheetSettings WithDigits(const std::string& u1, const std::string& u2, const std::string& u3,
                              const std::string& u4, const std::string& d1, const std::string& d2,
                              const std::string& d3, const std::string& d4,
                              int32_t mode = kmAny)
{
    TWorksheetSettings s;
    auto split = [](const std::string& lh, std::string& l, std::string& h) {
        l = lh.substr(0, 1);
        h = lh.substr(1, 1);
    };
    split(u1, s.u1l, s.u1h);
    split(u2, s.u2l, s.u2h);
    split(u3, s.u3l, s.u3h);
    split(u4, s.u4l, s.u4h);
    split(d1, s.d1l, s.d1h);
    split(d2, s.d2l, s.d2h);
    split(d3, s.d3l, s.d3h);
    split(d4, s.d4l, s.d4h);
    s.Kuriagari = mode;
    return s;
}

// A problem fixed digit by digit: every range holds a single value.
TWorksheetSettings Fixed(int32_t multiplicand, int32_t multiplier, int32_t mode)
{
    auto d = [](int32_t v, int place) {
        for (int i = 1; i < place; ++i) v /= 10;
        const std::string digit(1, static_cast<char>('0' + v % 10));
        return digit + digit;
    };
    return WithDigits(d(multiplicand, 1), d(multiplicand, 2), d(multiplicand, 3), d(multiplicand, 4),
                      d(multiplier, 1), d(multiplier, 2), d(multiplier, 3), d(multiplier, 4), mode);
}

class GeneratorTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWorksheetGlobals(); }

    // Runs as the Preview command does: QuestionCount holds N before the run.
    int32_t Run(const TWorksheetSettings& s, int32_t n, int32_t low, int32_t high)
    {
        QuestionCount = n;
        alerts = 0;
        GenerateProblems(s, n, low, high, [this] { ++alerts; });
        return QuestionCount;
    }

    std::vector<std::pair<int32_t, int32_t>> Found() const
    {
        std::vector<std::pair<int32_t, int32_t>> v;
        for (int k = 1; k <= QuestionCount; ++k) v.emplace_back(ProblemTable[k].Multiplicand, ProblemTable[k].Multiplier);
        return v;
    }

    int alerts = 0;
};

TEST_F(GeneratorTest, DefaultsGiveOneProblemThenAShortfall)
{
    RandomState = 777;
    EXPECT_EQ(Run(TWorksheetSettings{}, 12, 0, 0), 1);
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(ProblemTable[1].MultiplicandText, "0");
    EXPECT_EQ(ProblemTable[1].MultiplierText, "0");
    // One accepted attempt, then 1001 for problem 2; eight draws each.
    EXPECT_EQ(RandomState, AdvanceState(777, (1 + 1001) * 8));
    EXPECT_EQ(ProblemTable[2].MultiplicandText, "");
}

TEST_F(GeneratorTest, NoProductInRangeFindsNothing)
{
    RandomState = 5;
    EXPECT_EQ(Run(WithDigits("19", "00", "00", "00", "19", "00", "00", "00"), 16, 0, 0), 0);
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(RandomState, AdvanceState(5, 1001 * 8));
}

TEST_F(GeneratorTest, ExactlyFourDistinctProblems)
{
    RandomState = 99;
    EXPECT_EQ(Run(WithDigits("16", "00", "00", "00", "16", "00", "00", "00"), 12, 6, 6), 4);
    EXPECT_EQ(alerts, 1);
    auto found = Found();
    std::sort(found.begin(), found.end());
    const std::vector<std::pair<int32_t, int32_t>> expected = {{1, 6}, {2, 3}, {3, 2}, {6, 1}};
    EXPECT_EQ(found, expected);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(ProblemTable[k].MultiplicandText, std::to_string(ProblemTable[k].Multiplicand));
        EXPECT_EQ(ProblemTable[k].MultiplierText, std::to_string(ProblemTable[k].Multiplier));
    }
}

TEST_F(GeneratorTest, FullRunKeepsTheRequestedCountAndEveryCondition)
{
    RandomState = 2024;
    const auto s = WithDigits("09", "19", "03", "00", "29", "05", "00", "00");
    EXPECT_EQ(Run(s, 16, 1000, 50000), 16);
    EXPECT_EQ(alerts, 0);
    std::set<std::pair<int32_t, int32_t>> distinct;
    for (int k = 1; k <= 16; ++k) {
        const TProblem& p = ProblemTable[k];
        distinct.emplace(p.Multiplicand, p.Multiplier);
        EXPECT_GE(p.Multiplicand * p.Multiplier, 1000);
        EXPECT_LE(p.Multiplicand * p.Multiplier, 50000);
        EXPECT_LE(p.Multiplicand, 399);
        EXPECT_GE(p.Multiplicand % 100 / 10, 1);
        EXPECT_GE(p.Multiplier % 10, 2);
        EXPECT_LE(p.Multiplier, 59);
        EXPECT_EQ(p.MultiplicandText, std::to_string(p.Multiplicand));
        EXPECT_EQ(p.MultiplierText, std::to_string(p.Multiplier));
    }
    EXPECT_EQ(distinct.size(), 16u);
    EXPECT_EQ(ProblemTable[17].MultiplicandText, "");
}

TEST_F(GeneratorTest, ReversedRangesBehaveAsOrderedOnes)
{
    const auto ordered = WithDigits("27", "29", "00", "00", "39", "00", "00", "00");
    const auto reversed = WithDigits("72", "92", "00", "00", "93", "00", "00", "00");
    RandomState = 31337;
    Run(ordered, 16, 100, 500);
    const auto first = Found();
    ResetWorksheetGlobals();
    RandomState = 31337;
    Run(reversed, 16, 500, 100);
    EXPECT_EQ(Found(), first);
    ASSERT_EQ(first.size(), 16u);
    std::set<int32_t> tens;
    for (const auto& [m, r] : first) {
        EXPECT_GE(m * r, 100);
        EXPECT_LE(m * r, 500);
        tens.insert(m / 10);
    }
    EXPECT_GE(*tens.begin(), 2);
    EXPECT_LE(*tens.rbegin(), 9);
}

// Each example is accepted under kmAny and exactly one other mode.
TEST_F(GeneratorTest, EachCarryingModeAcceptsItsExample)
{
    const struct {
        int32_t multiplicand, multiplier, onlyMode;
    } examples[] = {
        {12, 9, kmTensSum1}, {23, 9, kmTensSum2}, {13, 4, kmOnesCarry},
        {31, 4, kmTensCarry}, {21, 4, kmNoCarry}, {21, 14, kmNoCarry},
    };
    for (const auto& e : examples) {
        for (int32_t mode : {0, 1, 2, 3, 4, 5, 6, -1}) {
            SCOPED_TRACE(std::to_string(e.multiplicand) + " x " + std::to_string(e.multiplier) +
                         " mode " + std::to_string(mode));
            ResetWorksheetGlobals();
            const bool accepted = mode == e.onlyMode || mode == kmAny || mode == 6 || mode == -1;
            EXPECT_EQ(Run(Fixed(e.multiplicand, e.multiplier, mode), 1, 0, 99999999), accepted ? 1 : 0);
        }
    }
}

TEST_F(GeneratorTest, MultiplierOnesDigitOne)
{
    const auto s = [](int32_t mode) { return WithDigits("19", "19", "00", "00", "11", "00", "00", "00", mode); };
    EXPECT_EQ(Run(s(kmNoCarry), 12, 0, 1000), 0);
    EXPECT_EQ(Run(s(kmTensCarry), 12, 0, 1000), 0);
    EXPECT_EQ(Run(s(kmAny), 12, 0, 1000), 12);
}

TEST_F(GeneratorTest, EveryProblemMeetsItsMode)
{
    const auto wide = [](int32_t mode) { return WithDigits("09", "09", "09", "00", "09", "09", "00", "00", mode); };
    for (int32_t mode = kmAny; mode <= kmTensSum2; ++mode) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        RandomState = static_cast<uint32_t>(mode) * 1000003u;
        ASSERT_EQ(Run(wide(mode), 16, 0, 99999999), 16);
        for (const auto& [m, r] : Found()) EXPECT_TRUE(MeetsMode(mode, m, r)) << m << " x " << r;
    }
}

// The generator converts the texts once; converting at every attempt with
// PickDigits, as the draw order describes, must give the same table.
TEST_F(GeneratorTest, SameTableAsDrawingEveryAttemptWithPickDigits)
{
    const auto s = WithDigits("29", "05", "13", "01", "39", "12", "00", "00", kmOnesCarry);
    RandomState = 4242;
    Run(s, 16, 50, 9000);
    const auto actual = Found();
    const uint32_t endState = RandomState;

    RandomState = 4242;
    std::vector<std::pair<int32_t, int32_t>> expected;
    while (expected.size() < 16) {
        int32_t a[4], b[4];
        PickDigits(s.u1l, s.u1h, s.d1l, s.d1h, a[0], b[0]);
        PickDigits(s.u2l, s.u2h, s.d2l, s.d2h, a[1], b[1]);
        PickDigits(s.u3l, s.u3h, s.d3l, s.d3h, a[2], b[2]);
        PickDigits(s.u4l, s.u4h, s.d4l, s.d4h, a[3], b[3]);
        const int32_t m = a[0] + 10 * a[1] + 100 * a[2] + 1000 * a[3];
        const int32_t r = b[0] + 10 * b[1] + 100 * b[2] + 1000 * b[3];
        const bool fresh = std::find(expected.begin(), expected.end(), std::make_pair(m, r)) == expected.end();
        if (MeetsMode(kmOnesCarry, m, r) && m * r >= 50 && m * r <= 9000 && fresh) expected.emplace_back(m, r);
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(endState, RandomState);
}

TEST_F(GeneratorTest, OldEntriesAreNotCompared)
{
    Run(TWorksheetSettings{}, 12, 0, 0);
    ProblemTable[2] = {0, 0, "old", "old"};
    EXPECT_EQ(Run(TWorksheetSettings{}, 12, 0, 0), 1);
    EXPECT_EQ(ProblemTable[2].MultiplicandText, "old");
}

TEST_F(GeneratorTest, AlertRunsAfterTheCountIsLoweredAndBeforeTheTexts)
{
    ProblemTable[1] = {5, 5, "old1", "old1"};
    QuestionCount = 12;
    int32_t countSeen = -1;
    std::string textSeen;
    GenerateProblems(TWorksheetSettings{}, 12, 0, 0, [&] {
        countSeen = QuestionCount;
        textSeen = ProblemTable[1].MultiplicandText;
    });
    EXPECT_EQ(countSeen, 1);
    EXPECT_EQ(textSeen, "old1");
    EXPECT_EQ(ProblemTable[1].MultiplicandText, "0");
}

TEST_F(GeneratorTest, BadDigitTextLeavesEverythingAsItWas)
{
    const struct {
        std::vector<std::pair<std::string TWorksheetSettings::*, std::string>> bad;
        std::string reported;
    } cases[] = {
        {{{&TWorksheetSettings::u3h, "a"}}, "a"},
        {{{&TWorksheetSettings::u1l, "x"}, {&TWorksheetSettings::u3h, "a"}}, "x"},
        {{{&TWorksheetSettings::d1l, " "}, {&TWorksheetSettings::u2l, "b"}}, " "},
        {{{&TWorksheetSettings::d1l, "c"}, {&TWorksheetSettings::u1h, "d"}}, "d"},
        {{{&TWorksheetSettings::d4h, ""}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("reported: [" + c.reported + "]");
        ResetWorksheetGlobals();
        ProblemTable[1] = {12, 34, "12", "34"};
        RandomState = 55;
        TWorksheetSettings s = WithDigits("19", "19", "00", "00", "19", "00", "00", "00");
        for (const auto& [field, text] : c.bad) s.*field = text;
        QuestionCount = 16;
        int alertsSeen = 0;
        try {
            GenerateProblems(s, 16, 0, 1000, [&] { ++alertsSeen; });
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + c.reported + "' は整数ではありません");
        }
        EXPECT_EQ(alertsSeen, 0);
        EXPECT_EQ(QuestionCount, 16);
        EXPECT_EQ(RandomState, 55u);
        EXPECT_EQ(ProblemTable[1].Multiplicand, 12);
        EXPECT_EQ(ProblemTable[1].MultiplierText, "34");
    }
}

TEST_F(GeneratorTest, RequestedCountMustFitTheTable)
{
    EXPECT_THROW(GenerateProblems(TWorksheetSettings{}, 21, 0, 0, {}), std::out_of_range);
    EXPECT_THROW(GenerateProblems(TWorksheetSettings{}, -1, 0, 0, {}), std::out_of_range);
    EXPECT_NO_THROW(GenerateProblems(TWorksheetSettings{}, 0, 0, 0, {}));
}

TEST_F(GeneratorTest, ExtremeRangesStayDefined)
{
    // Not reachable from the window (digit boxes hold one character), but the
    // arithmetic must stay defined for any text that converts.
    TWorksheetSettings s;
    s.u1l = "-2147483648";
    s.u1h = "2147483647";
    s.d1l = "$7FFFFFFF";
    s.d1h = "-$80000000";
    s.u4l = s.u4h = "2147483647";
    RandomState = 1;
    EXPECT_NO_THROW(Run(s, 16, INT32_MIN, INT32_MAX));
}

TEST(SortPair, OrdersSigned)
{
    const struct {
        int32_t a, b, lo, hi;
    } cases[] = {{3, 7, 3, 7}, {7, 3, 3, 7}, {5, 5, 5, 5}, {-1, -5, -5, -1}, {INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX}};
    for (const auto& c : cases) {
        int32_t a = c.a, b = c.b;
        SortPair(a, b);
        EXPECT_EQ(a, c.lo);
        EXPECT_EQ(b, c.hi);
    }
}

TEST(PickDigits, TwoDrawsMultiplicandFirst)
{
    RandomState = 0;
    int32_t a = -1, b = -1;
    PickDigits("7", "2", "5", "5", a, b);
    // From the zero state: RandomInt(6) on state 1 gives 0, RandomInt(1) gives 0.
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 5);
    EXPECT_EQ(RandomState, 134775814u);
    PickDigits("0", "9", "9", "0", a, b);  // states 3698175007, 870078620
    EXPECT_EQ(a, 8);
    EXPECT_EQ(b, 2);
}

TEST(PickDigits, FirstBadTextInOrderAndNoDraw)
{
    RandomState = 9;
    int32_t a = 0, b = 0;
    try {
        PickDigits("1", "q", "r", "1", a, b);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "'q' は整数ではありません");
    }
    EXPECT_EQ(RandomState, 9u);
}

}  // namespace

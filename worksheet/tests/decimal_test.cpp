#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "worksheet/decimal.h"
#include "worksheet/decimal_operations.h"
#include "worksheet/operations.h"
#include "worksheet/random.h"
#include "worksheet/diagnosis.h"
#include "worksheet/diagnostic.h"
#include "worksheet/settings_summary.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/wrong_procedures.h"

namespace {

__extension__ typedef __int128 Wide;

Wide Ten(int places)
{
    Wide power = 1;
    while (places-- > 0) power *= 10;
    return power;
}

TEST(Decimal, TextsAndReading)
{
    const struct {
        int64_t Units;
        int32_t Places;
        const char *Written, *Short;
    } cases[] = {
        {235, 2, "2.35", "2.35"}, {8, 2, "0.08", "0.08"}, {400, 2, "4.00", "4"}, {350, 2, "3.50", "3.5"},
        {7, 0, "7", "7"},         {0, 1, "0.0", "0"},     {-25, 1, "-2.5", "-2.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecimalText(c.Units, c.Places), c.Written);
        EXPECT_EQ(ShortDecimalText(c.Units, c.Places), c.Short);
    }
    const struct {
        const char* Text;
        bool Read;
        TDecimalValue Value;
    } texts[] = {
        {"2.35", true, {235, 2}}, {"７．４", true, {74, 1}}, {"12", true, {12, 0}}, {"0.125", true, {125, 3}},
        {"1.2345", false, {}},     {"2.", false, {}},        {".5", false, {}},    {"1.2.3", false, {}},
        {"-1", false, {}},         {"", false, {}},          {"1234567890", false, {}},
    };
    for (const auto& t : texts) {
        TDecimalValue value;
        EXPECT_EQ(ReadDecimal(t.Text, value), t.Read) << t.Text;
        if (t.Read) {
            EXPECT_EQ(value, t.Value) << t.Text;
        }
    }
}

// The examples teachers give, each worked as the written way works it.
TEST(Decimal, TextbookExamples)
{
    const struct {
        TOperation Operation;
        TOperands Operands;
        const char *Answer, *Remainder;
        int32_t AnswerPlaces;
    } cases[] = {
        {TOperation::DecimalSubtraction, {3, 125, 0, 2}, "1.75", "0", 2},
        {TOperation::DecimalAddition, {235, 165, 2, 2}, "4", "0", 2},  // worked as 4.00
        {TOperation::DecimalMultiplication, {35, 10, 1, 1}, "3.5", "0", 2},
        {TOperation::DecimalMultiplication, {2, 4, 1, 1}, "0.08", "0", 2},
        {TOperation::DecimalDivision, {74, 3, 1, 1, qcOnesWithRemainder}, "24", "0.2", 0},
        {TOperation::DecimalDivision, {74, 3, 1, 0, qcTenthsWithRemainder}, "2.4", "0.2", 1},
        {TOperation::DecimalDivision, {74, 3, 1, 0, qcOnesWithRemainder}, "2", "1.4", 0},
        {TOperation::DecimalDivision, {3, 4, 0, 0, qcToTheEnd}, "0.75", "0", 2},
        {TOperation::DecimalDivision, {5, 3, 0, 0, qcHundredthsWithRemainder}, "1.66", "0.02", 2},
        {TOperation::DecimalDivision, {5, 3, 0, 0, qcRoundToTenths}, "1.7", "0", 1},
        {TOperation::DecimalDivision, {25, 7, 1, 1, qcRoundToTwoFigures}, "3.6", "0", 1},
        {TOperation::DecimalDivision, {996, 10000, 0, 0, qcRoundToTwoFigures}, "0.10", "0", 2},
        {TOperation::DecimalDivision, {7, 25, 0, 2, qcToTheEnd}, "28", "0", 0},
    };
    for (const auto& c : cases) {
        const TSheetProblem p = SolveProblem(RulesOf(c.Operation), c.Operands);
        SCOPED_TRACE(FirstText(p) + RulesOf(c.Operation).Sign + SecondText(p));
        EXPECT_EQ(AnswerText(p), c.Answer);
        EXPECT_EQ(RemainderText(p), c.Remainder);
        EXPECT_EQ(p.AnswerPlaces, c.AnswerPlaces);
    }
    // Too large for the sheet's numbers, or no divisor: no problem.
    EXPECT_FALSE(IsProblemOf(RulesOf(TOperation::DecimalMultiplication), TOperands{9999999, 9999, 3, 2}));
    EXPECT_FALSE(IsProblemOf(RulesOf(TOperation::DecimalDivision), TOperands{74, 0, 1, 1}));
    EXPECT_FALSE(IsProblemOf(RulesOf(TOperation::DecimalAddition), TOperands{1, 1, 4, 0}));
}

// Every answer of every unit and pattern, against the division or product of
// the two numbers worked here in integers of the smallest place.
TEST(Decimal, HiddenAnswersOfEveryUnitAndPattern)
{
    for (const TOperation operation : {TOperation::DecimalAddition, TOperation::DecimalSubtraction,
                                       TOperation::DecimalMultiplication, TOperation::DecimalDivision}) {
        const TOperationRules& rules = RulesOf(operation);
        for (int32_t pattern = 0; pattern < 6; ++pattern) {
            SCOPED_TRACE(std::string(rules.Name) + " " + rules.PatternLabels[static_cast<size_t>(pattern)]);
            TWorksheetSettings s;
            s.Operation = operation;
            s.Kuriagari = pattern;
            s.u1l = "0", s.u1h = "9", s.u2h = "2", s.u01h = "9", s.u001h = "9";
            s.d1h = "9", s.d01h = "9";
            if (operation == TOperation::DecimalSubtraction) s.u2l = "1", s.u2h = "3";
            if (operation == TOperation::DecimalDivision) s.d1h = "3", s.d001h = "2";
            s.AnsLow = "0", s.AnsHigh = "99999";
            TRandom random{static_cast<uint32_t>(1000 + pattern)};
            int checked = 0;
            for (int sheet = 0; checked < 200 && sheet < 40; ++sheet) {
                for (const TSheetProblem& p : DrawProblems(s, 16, 0, 99999, random)) {
                    ++checked;
                    const Wide a = p.First, b = p.Second;
                    // Everything at 10^-12.
                    const Wide x = a * Ten(12 - p.FirstPlaces), y = b * Ten(12 - p.SecondPlaces);
                    const Wide answer = Wide{p.Answer} * Ten(12 - p.AnswerPlaces);
                    const Wide remainder = Wide{p.Remainder} * Ten(12 - p.RemainderPlaces);
                    switch (operation) {
                    case TOperation::DecimalAddition: EXPECT_EQ(answer, x + y); break;
                    case TOperation::DecimalSubtraction: EXPECT_EQ(answer, x - y); break;
                    case TOperation::DecimalMultiplication:
                        EXPECT_EQ(Wide{p.Answer}, a * b);
                        EXPECT_EQ(p.AnswerPlaces, p.FirstPlaces + p.SecondPlaces);
                        break;
                    default: {
                        ASSERT_GT(y, 0);
                        if (p.Rounded) {
                            // Rounded half up at its last place (above the ones for
                            // 約340): −unit/2 < answer − x/y ≤ unit/2.
                            Wide unit = Ten(12 - p.AnswerPlaces);
                            if (p.AnswerPlaces == 0)
                                for (int32_t n = p.Answer; n >= 100; n /= 10) unit *= 10;
                            const Wide error = answer * y - x * Ten(12);  // (answer − x/y) · y
                            EXPECT_TRUE(-unit * y < 2 * error && 2 * error <= unit * y);
                        } else {
                            // x = y × quotient + remainder, 0 ≤ remainder < y × the quotient's last place.
                            EXPECT_EQ(x * Ten(12), y * answer + remainder * Ten(12));
                            EXPECT_GE(remainder, 0);
                            EXPECT_LT(remainder * Ten(12), y * Ten(12 - p.WorkedPlaces));
                            if (pattern == qcToTheEnd) {
                                EXPECT_EQ(remainder, 0);
                            }
                        }
                    }
                    }
                    EXPECT_TRUE(rules.Meets(s, {}, p));
                }
            }
            EXPECT_GE(checked, 200);
        }
    }
}

}  // namespace

namespace {

// Each wrong procedure on the example that shows it, and on a problem where
// it makes no difference.
TEST(Decimal, WrongProcedures)
{
    const struct {
        const char* Id;
        TOperation Operation;
        TOperands Operands;
        const char *Written, *Unchanged;
        TOperands Same;
    } cases[] = {
        {"points-not-aligned", TOperation::DecimalAddition, {25, 125, 1, 2}, "1.5", "15", {25, 125, 1, 1}},
        {"points-not-aligned", TOperation::DecimalSubtraction, {3, 125, 0, 2}, "", "1.25", {300, 175, 2, 2}},
        {"product-point-as-in-addition", TOperation::DecimalMultiplication, {24, 13, 1, 1}, "31.2", "7.2", {24, 3, 1, 0}},
        {"product-point-of-longer-factor", TOperation::DecimalMultiplication, {125, 4, 1, 1}, "50", "7.2", {24, 3, 1, 0}},
        {"remainder-point-moved", TOperation::DecimalDivision, {74, 3, 1, 1, qcOnesWithRemainder}, "24あまり0.02",
         "2あまり1.4", {74, 3, 1, 0, qcOnesWithRemainder}},
        {"quotient-ones-zero-left-out", TOperation::DecimalDivision, {3, 4, 0, 0, qcToTheEnd}, "75", "2.5", {5, 2, 0, 0, qcToTheEnd}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        const std::vector<TWrongProcedure>& catalogue = WrongProcedures(c.Operation);
        const auto procedure = std::find_if(catalogue.begin(), catalogue.end(),
                                            [&](const TWrongProcedure& p) { return std::string(p.Id) == c.Id; });
        ASSERT_NE(procedure, catalogue.end());
        const TOperationRules& rules = RulesOf(c.Operation);
        const std::optional<TWrittenAnswer> written = procedure->AnswerOf(SolveProblem(rules, c.Operands));
        EXPECT_EQ(written ? WrittenText(*written) : "", c.Written);
        const TSheetProblem right = SolveProblem(rules, c.Same);
        ASSERT_TRUE(procedure->AnswerOf(right));
        EXPECT_EQ(*procedure->AnswerOf(right), WrittenAnswerOf(right));
        EXPECT_EQ(WrittenText(WrittenAnswerOf(right)), c.Unchanged);
    }
}

}  // namespace

namespace {

// The history names a sheet of decimals by the shape of its numbers.
TEST(Decimal, SummaryShowsTheNumbersShapes)
{
    TWorksheetSettings s;
    s.Operation = TOperation::DecimalDivision;
    s.u1l = "1", s.u1h = "9", s.u01l = "1", s.u01h = "9", s.d01l = "2", s.d01h = "9";
    s.Kuriagari = qcOnesWithRemainder;
    s.Amari = 2;
    EXPECT_EQ(SettingsSummary(s, 12), "小数のわり算 □.□÷0.□・商は一の位まで・あまり・あまりあり・12問");
    s.Operation = TOperation::DecimalSubtraction;
    s.u2h = "9", s.u01h = s.u01l = "0", s.d001h = "9";
    s.Kuriagari = 4;
    EXPECT_EQ(SettingsSummary(s, 16), "小数のひき算 □□−0.□□・小数点以下のけた数がちがう・16問");
}

}  // namespace

namespace {

// A diagnostic sheet of each unit of decimals: every wrong procedure gets
// three problems or more wrong, a pupil following one is named, and the
// answers typed with points are read.
TEST(Decimal, DiagnosticSheets)
{
    for (const TOperation operation : {TOperation::DecimalAddition, TOperation::DecimalSubtraction,
                                       TOperation::DecimalMultiplication, TOperation::DecimalDivision}) {
        SCOPED_TRACE(RulesOf(operation).Name);
        ASSERT_TRUE(HasDiagnosticSheets(operation));
        TWorksheetSettings settings;
        settings.Operation = operation;
        TRandom random{20261208u};
        const TDiagnosticSet set = MakeDiagnosticSheets(settings, DefaultDiagnosticRanges(operation), 1, 2, random);
        ASSERT_EQ(set.Sheets.size(), 2u);
        EXPECT_TRUE(set.TooClose.empty());
        const std::vector<TSheetProblem>& problems = set.Sheets.front().Problems;
        ASSERT_EQ(problems.size(), 12u);
        const std::vector<TWrongProcedure>& catalogue = WrongProcedures(operation);
        for (size_t p = 0; p <= catalogue.size(); ++p) {
            std::vector<std::optional<TWrittenAnswer>> answers;
            int wrong = 0;
            for (const TSheetProblem& problem : problems) {
                const TWrittenAnswer answer = EveryAnswer(operation, problem)[p];
                wrong += !(answer == WrittenAnswerOf(problem));
                // Typed as the teacher would type it, point and all.
                answers.push_back(ParseWrittenAnswer(WrittenText(answer)));
                ASSERT_TRUE(answers.back()) << WrittenText(answer);
            }
            if (p > 0) {
                EXPECT_GE(wrong, kDiagnosticSeparation) << catalogue[p - 1].Id;
            }
            EXPECT_EQ(Diagnose(operation, problems, answers).Procedure, ProcedureId(operation, p));
        }
    }
    // The remainder's point read where it is written.
    EXPECT_EQ(ParseWrittenAnswer("24あまり0.02"), (TWrittenAnswer{24, 2, 0, 2}));
    EXPECT_EQ(ParseWrittenAnswer("４．００"), TWrittenAnswer(4));
    EXPECT_FALSE(ParseWrittenAnswer("2.3.4"));
}

}  // namespace

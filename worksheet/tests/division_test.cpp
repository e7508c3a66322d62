// Long division: each pattern and remainder choice accepts exactly what a
// pupil's digit-by-digit working gives, at the boundaries and over seeded
// runs, and the steps of the working are those a pupil writes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"
#include "worksheet/division.h"
#include "worksheet/random.h"
#include "worksheet/sheet_generator.h"

TEST(Division, BoundariesAreWhereAPupilPutsThem)
{
    const struct {
        int32_t Dividend, Divisor;
        std::set<int32_t> Accepted;  // patterns 0 to 5
    } cases[] = {
        {36, 36, {0, 1, 5}},        // a partial dividend equal to the divisor; 36 ÷ 40 guesses 0
        {100, 1, {0, 1, 3, 4}},
        {62, 3, {0, 1, 3, 4}},      // a trailing 0 in the quotient: 20 あまり 2
        {624, 3, {0, 1, 3, 4}},     // 208
        {156, 3, {0, 2, 4}},
        {570, 95, {0, 2, 5}},       // 95 is taken as 100: 570 ÷ 100 guesses 5, the digit is 6
        {300, 98, {0, 2, 4}},       // 98 as 100 guesses 3, right
        {135, 14, {0, 2, 4}},       // 135 ÷ 10 would guess 13: capped at 9, which is right
        {413, 59, {0, 2, 5}},
        {5, 7, {}},                 // a quotient of 0
        {7, 0, {}},                 // no divisor
    };
    for (const auto& c : cases) {
        for (int32_t pattern = 0; pattern <= 5; ++pattern) {
            SCOPED_TRACE(std::to_string(c.Dividend) + " / " + std::to_string(c.Divisor) + ", pattern " +
                         std::to_string(pattern));
            const bool expected = c.Accepted.count(pattern) != 0;
            EXPECT_EQ(MeetsDivisionPattern(pattern, 0, c.Dividend, c.Divisor), expected);
            TRandom random{3};
            const auto found = DrawProblems(FixedProblem(TOperation::Division, c.Dividend, c.Divisor, pattern), 1, 0, 9999, random);
            EXPECT_EQ(found.size(), expected ? 1u : 0u);
            EXPECT_EQ(random.State, AdvanceState(3, (expected ? 1 : 1001) * 8));
        }
    }
}

TEST(Division, StepsAreThoseOfTheWorking)
{
    // 624 ÷ 3: 6 → 2, then 2 → 0 (the digit comes straight down), then 24 → 8.
    const std::vector<TDivisionStep> steps = DivisionSteps(624, 3);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].Column, 0u);
    EXPECT_EQ(steps[1].Partial, 2);
    EXPECT_EQ(steps[1].Digit, 0);
    EXPECT_EQ(steps[2].Partial, 24);
    EXPECT_EQ(steps[2].Digit, 8);
    // 413 ÷ 59 starts over the ones: 413 ÷ 60 guesses 6, the digit is 7.
    const std::vector<TDivisionStep> late = DivisionSteps(413, 59);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].Column, 2u);
    EXPECT_EQ(late[0].Estimate, 6);
    EXPECT_EQ(late[0].Digit, 7);
    EXPECT_TRUE(DivisionSteps(5, 7).empty());
}

TEST(Division, SeededRunsMeetEveryPatternAndRemainderChoice)
{
    for (int32_t twoDigits = 0; twoDigits <= 1; ++twoDigits) {
        for (int32_t pattern = 0; pattern <= 5; ++pattern) {
            for (int32_t remainder = 0; remainder <= 2; ++remainder) {
                if (pattern == 5 && !twoDigits) continue;  // a one-digit divisor is never guessed wrong
                SCOPED_TRACE("pattern " + std::to_string(pattern) + ", remainder " + std::to_string(remainder) +
                             (twoDigits ? ", two-digit divisor" : ""));
                TWorksheetSettings s;
                s.Operation = TOperation::Division;
                s.Kuriagari = pattern;
                s.Amari = remainder;
                s.u1h = s.u2h = s.u3h = s.d1h = "9";
                s.u3l = "1";
                s.d1l = "1";
                if (twoDigits) s.d2l = "1", s.d2h = "9";
                TRandom random{77u + static_cast<uint32_t>(pattern * 3 + remainder)};
                const auto found = DrawProblems(s, 12, 1, 999, random);
                ASSERT_GE(found.size(), 4u);  // a 0 in the quotient and no remainder is rare with two digits
                for (const TSheetProblem& p : found) {
                    EXPECT_TRUE(MeetsDivisionPattern(pattern, remainder, p.First, p.Second)) << p.First << " / " << p.Second;
                    EXPECT_EQ(p.Answer * p.Second + p.Remainder, p.First);
                    EXPECT_TRUE(p.Remainder >= 0 && p.Remainder < p.Second);
                }
            }
        }
    }
}

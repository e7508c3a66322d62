// Written addition and subtraction: each pattern accepts exactly the problems
// a pupil's column-by-column working puts in it, at the boundaries and over
// seeded runs; every attempt makes eight draws.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"
#include "worksheet/random.h"
#include "worksheet/sheet_generator.h"

namespace {

bool Meets(TOperation operation, int32_t pattern, int32_t first, int32_t second)
{
    return operation == TOperation::Addition ? MeetsAdditionPattern(pattern, first, second)
                                             : MeetsSubtractionPattern(pattern, first, second);
}

}  // namespace

TEST(ColumnPatterns, BoundariesAreWhereAPupilPutsThem)
{
    const struct {
        TOperation Operation;
        int32_t First, Second;
        std::set<int32_t> Accepted;  // patterns 0 to 5
    } cases[] = {
        {TOperation::Addition, 11, 22, {0, 1}},
        {TOperation::Addition, 15, 25, {0, 2}},         // the ones make exactly 10
        {TOperation::Addition, 70, 50, {0, 3}},
        {TOperation::Addition, 55, 55, {0, 4}},         // two carries, none made by a carry
        {TOperation::Addition, 45, 55, {0, 4, 5}},      // the tens make 9, and the carry makes 10
        {TOperation::Addition, 9999, 1, {0, 4, 5}},
        {TOperation::Addition, 0, 0, {0, 1}},
        {TOperation::Subtraction, 52, 52, {0, 1}},      // a difference of 0
        {TOperation::Subtraction, 41, 27, {0, 2}},
        {TOperation::Subtraction, 415, 172, {0, 3}},
        {TOperation::Subtraction, 432, 158, {0, 4}},
        {TOperation::Subtraction, 302, 158, {0, 4, 5}},  // a 0 in the tens lends
        {TOperation::Subtraction, 1000, 1, {0, 4, 5}},
        {TOperation::Subtraction, 12, 34, {}},           // the first number is smaller
    };
    for (const auto& c : cases) {
        for (int32_t pattern = 0; pattern <= 5; ++pattern) {
            SCOPED_TRACE(std::to_string(c.First) + (c.Operation == TOperation::Addition ? " + " : " - ") +
                         std::to_string(c.Second) + ", pattern " + std::to_string(pattern));
            const bool expected = c.Accepted.count(pattern) != 0;
            EXPECT_EQ(Meets(c.Operation, pattern, c.First, c.Second), expected);
            TRandom random{1};
            const auto found = DrawProblems(FixedProblem(c.Operation, c.First, c.Second, pattern), 1, -99999, 99999, random);
            EXPECT_EQ(found.size(), expected ? 1u : 0u);
            // A candidate is drawn whole, eight draws, whatever is judged.
            EXPECT_EQ(random.State, AdvanceState(1, (expected ? 1 : 1001) * 8));
        }
    }
}

TEST(ColumnPatterns, SeededRunsMeetTheirPatternAndRange)
{
    for (const TOperation operation : {TOperation::Addition, TOperation::Subtraction}) {
        for (int32_t pattern = 0; pattern <= 5; ++pattern) {
            SCOPED_TRACE("operation " + std::to_string(static_cast<int>(operation)) + ", pattern " +
                         std::to_string(pattern));
            TWorksheetSettings s;
            s.Operation = operation;
            s.Kuriagari = pattern;
            s.u1h = s.u2h = s.u3h = s.d1h = s.d2h = s.d3h = "9";
            TRandom random{4242u + static_cast<uint32_t>(pattern)};
            const auto found = DrawProblems(s, 16, 0, 1500, random);
            ASSERT_EQ(found.size(), 16u);
            std::set<std::pair<int32_t, int32_t>> distinct;
            for (const TSheetProblem& p : found) {
                EXPECT_TRUE(Meets(operation, pattern, p.First, p.Second)) << p.First << ", " << p.Second;
                EXPECT_EQ(p.Answer, operation == TOperation::Addition ? p.First + p.Second : p.First - p.Second);
                EXPECT_TRUE(p.Answer >= 0 && p.Answer <= 1500);
                distinct.emplace(p.First, p.Second);
            }
            EXPECT_EQ(distinct.size(), 16u);
        }
    }
}

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"
#include "worksheet/random.h"

namespace {

TEST(RandomInt, SequenceFromZeroState)
{
    RandomState = 0;
    const std::vector<uint32_t> states = {1u,          134775814u,  3698175007u, 870078620u,
                                          1172187917u, 2884733762u, 1368768587u, 694906232u};
    const std::vector<int32_t> draws = {0, 0, 8, 2, 2, 6, 3, 1};
    for (size_t i = 0; i < states.size(); ++i) {
        EXPECT_EQ(RandomInt(10), draws[i]) << "draw " << i;
        EXPECT_EQ(RandomState, states[i]) << "draw " << i;
    }
}

TEST(RandomInt, OneAlwaysGivesZeroButAdvances)
{
    RandomState = 12345;
    for (int i = 0; i < 100; ++i) {
        const uint32_t before = RandomState;
        EXPECT_EQ(RandomInt(1), 0);
        EXPECT_EQ(RandomState, AdvanceState(before, 1));
    }
}

TEST(RandomInt, StaysBelowItsArgument)
{
    RandomState = 0xDEADBEEF;
    for (int32_t n : {1, 2, 7, 10, 1000, INT32_MAX}) {
        for (int i = 0; i < 1000; ++i) {
            const int32_t r = RandomInt(n);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, n);
        }
    }
}

TEST(RandomInt, HighestStateGivesTheTopValue)
{
    // Step back from 0xFFFFFFFF with the inverse of the multiplier, so that the
    // next draw lands on the highest state and must give n - 1.
    const uint32_t inverse = 3645876429u;  // 134775813 × 3645876429 ≡ 1 (mod 2^32)
    ASSERT_EQ(134775813u * inverse, 1u);
    RandomState = (0xFFFFFFFFu - 1u) * inverse;
    EXPECT_EQ(RandomInt(10), 9);
    EXPECT_EQ(RandomState, 0xFFFFFFFFu);
}

TEST(SeedRandom, ReadsTheClock)
{
    RandomState = 0;
    SeedRandom();
    const uint32_t first = RandomState;
    SeedRandom();
    EXPECT_NE(RandomState, first) << "a nanosecond clock moves between two readings";
}

}  // namespace

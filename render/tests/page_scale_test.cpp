#include <gtest/gtest.h>

#include <cmath>

#include "render/page_scale.h"

namespace {

TEST(PageScale, PrinterAt2400x3400)
{
    SetPageScale(2400, 3400, 320, 441);
    EXPECT_EQ(PageScale, 7.5f);
    const struct {
        double length;
        int32_t device;
    } cases[] = {{0.5, 4},  {2, 15},  {4, 30},   {6, 45},   {7, 52},     {10, 75},     {14, 105}, {27, 202},
                 {33, 248}, {44, 330}, {50, 375}, {64, 480}, {140, 1050}, {319, 2392}, {440, 3300}};
    for (const auto& c : cases) EXPECT_EQ(ScaleLen(c.length), c.device) << "length " << c.length;
}

TEST(PageScale, StoredSinglePrecisionDecidesTheHalves)
{
    SetPageScale(2384, 3300, 320, 441);
    EXPECT_EQ(static_cast<double>(PageScale), 7.449999809265137);
    EXPECT_EQ(ScaleLen(10), 74);  // 75 with the exact quotient
    EXPECT_EQ(ScaleLen(50), 372);
    EXPECT_EQ(ScaleLen(14), 104);
    EXPECT_EQ(ScaleLen(440), 3278);
}

TEST(PageScale, HeightQuotientWhenSmaller)
{
    SetPageScale(4800, 6600, 320, 441);
    EXPECT_EQ(static_cast<double>(PageScale), 14.965986251831055);
    EXPECT_EQ(ScaleLen(14), 210);
    EXPECT_EQ(ScaleLen(0.5), 7);
}

TEST(PageScale, PreviewIsExactlyOne)
{
    SetPageScale(320, 441, 320, 441);
    EXPECT_EQ(PageScale, 1.0f);
    for (int n = 0; n <= 440; ++n) ASSERT_EQ(ScaleLen(n), n);
    EXPECT_EQ(ScaleLen(0.5), 0);  // halves go to even
    EXPECT_EQ(ScaleLen(1.5), 2);
    EXPECT_EQ(ScaleLen(2.5), 2);
    EXPECT_EQ(ScaleLen(-2.5), -2);
}

TEST(PageScale, NonPositiveWidthMeansOne)
{
    for (const auto& [w, h] : {std::pair{0, 441}, {0, -7}, {-5, 99999}, {-2147483647 - 1, 0}}) {
        PageScale = 3.0f;
        SetPageScale(w, h, 320, 441);
        EXPECT_EQ(PageScale, 1.0f) << w << " x " << h;
    }
}

TEST(PageScale, ReferencePageDefaultsWhenNotPositive)
{
    SetPageScale(640, 882, 0, -1);
    EXPECT_EQ(PageScale, 2.0f);
}

TEST(PageScale, MinOfPrefersTheFirstWhenEqual)
{
    EXPECT_EQ(MinOf(1.0, 2.0), 1.0);
    EXPECT_EQ(MinOf(3.0, 2.0), 2.0);
    EXPECT_TRUE(std::signbit(MinOf(-0.0, 0.0)));
    EXPECT_FALSE(std::signbit(MinOf(0.0, -0.0)));
}

TEST(PageScale, HugeLengthsSaturate)
{
    SetPageScale(320, 441, 320, 441);
    EXPECT_EQ(ScaleLen(1e12), INT32_MAX);
    EXPECT_EQ(ScaleLen(-1e12), INT32_MIN);
    EXPECT_EQ(ScaleLen(NAN), INT32_MIN);
}

}  // namespace

#include "render/page_scale.h"

#include <cfenv>
#include <cmath>

float PageScale = 1.0f;

namespace {
constexpr int32_t kReferenceWidth = 320;
constexpr int32_t kReferenceHeight = 441;
}  // namespace

double MinOf(double a, double b)
{
    return a <= b ? a : b;
}

void SetPageScale(int32_t W, int32_t H, int32_t RW, int32_t RH)
{
    if (W <= 0) {
        PageScale = 1.0f;
        return;
    }
    if (RW <= 0) RW = kReferenceWidth;
    if (RH <= 0) RH = kReferenceHeight;
    const double byWidth = static_cast<double>(W) / static_cast<double>(RW);
    const double byHeight = static_cast<double>(H) / static_cast<double>(RH);
    PageScale = static_cast<float>(MinOf(byWidth, byHeight));
}

int32_t ScaleLen(double x)
{
    // The float widens exactly; a long double keeps a 64-bit significand, so
    // the product of the lengths the drawing uses is exact before rounding.
    const long double product = static_cast<long double>(PageScale) * static_cast<long double>(x);
    const long double rounded = std::nearbyint(product);  // default mode: halves to even
    if (!(rounded >= -2147483648.0L)) return INT32_MIN;   // also NaN
    if (rounded > 2147483647.0L) return INT32_MAX;
    return static_cast<int32_t>(rounded);
}

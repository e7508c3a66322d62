#include "render/page_scale.h"

#include <cmath>

#include "render/reference_page.h"

float PageScale = 1.0f;

double MinOf(double a, double b)
{
    return a <= b ? a : b;
}

float PageScaleFor(int32_t W, int32_t H, int32_t RW, int32_t RH)
{
    if (W <= 0) return 1.0f;
    if (RW <= 0) RW = kReferenceWidth;
    if (RH <= 0) RH = kReferenceHeight;
    const double byWidth = static_cast<double>(W) / static_cast<double>(RW);
    const double byHeight = static_cast<double>(H) / static_cast<double>(RH);
    return static_cast<float>(MinOf(byWidth, byHeight));
}

void SetPageScale(int32_t W, int32_t H, int32_t RW, int32_t RH)
{
    PageScale = PageScaleFor(W, H, RW, RH);
}

int32_t ScaleLenAt(float scale, double x)
{
    // The float widens exactly; a long double keeps a 64-bit significand, so
    // the product of the lengths the drawing uses is exact before rounding.
    const long double product = static_cast<long double>(scale) * static_cast<long double>(x);
    const long double rounded = std::nearbyint(product);  // default mode: halves to even
    if (!(rounded >= -2147483648.0L)) return INT32_MIN;   // also NaN
    if (rounded > 2147483647.0L) return INT32_MAX;
    return static_cast<int32_t>(rounded);
}

int32_t ScaleLen(double x)
{
    return ScaleLenAt(PageScale, x);
}

// The page scale: device units per reference unit of the 320 × 441 page.
#pragma once

#include <cstdint>

// Set by SetPageScale at the start of every page; read by ScaleLen.
extern float PageScale;

// The scale of a page W × H device units large: 1.0 when W <= 0; otherwise
// the smaller of W / RW and H / RH, each quotient rounded to a double, the
// result in single precision. A reference size that is not positive stands
// for the 320 × 441 page.
float PageScaleFor(int32_t W, int32_t H, int32_t RW, int32_t RH);

// A reference length in device units at `scale`: scale × x, formed exactly
// and rounded to the nearest integer, halves to even (clamped to 32 bits).
int32_t ScaleLenAt(float scale, double x);

// PageScale := PageScaleFor(W, H, RW, RH).
void SetPageScale(int32_t W, int32_t H, int32_t RW, int32_t RH);

// a when a <= b, else b.
double MinOf(double a, double b);

// ScaleLenAt(PageScale, x).
int32_t ScaleLen(double x);

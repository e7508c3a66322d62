// A page as the reader sees it: grey levels, 0 black to 255 white, row by
// row. Pure C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TGreyImage {
    int32_t Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;
    TGreyImage() = default;
    TGreyImage(int32_t width, int32_t height, uint8_t fill = 255)
        : Width(width), Height(height), Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}
    uint8_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
    uint8_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
    bool Empty() const { return Width <= 0 || Height <= 0; }
    // The grey level at (x, y) between pixel centres (bilinear); white
    // outside the image.
    double Sample(double x, double y) const;
};

// The image turned half a turn.
TGreyImage TurnedHalf(const TGreyImage& image);

// The paper's white, estimated around every pixel (the brightest of its
// neighbourhood, smoothed): uneven light and a grey scanner background
// taken out by dividing by it.
TGreyImage WhiteLevel(const TGreyImage& image);

// Ink: 1 where a pixel is darker than `share` of the paper's white around
// it, row by row.
std::vector<uint8_t> InkMask(const TGreyImage& image, const TGreyImage& white, double share = 0.6);

// A picture of red, green, blue and alpha bytes (a browser's canvas) as
// grey, transparent as white.
TGreyImage GreyOfRgba(const uint8_t* rgba, int32_t width, int32_t height);

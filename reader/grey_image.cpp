#include "reader/grey_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

double TGreyImage::Sample(double x, double y) const
{
    if (Empty()) return 255;
    // Pixel centres at integer + 0.5.
    const double fx = x - 0.5, fy = y - 0.5;
    const int32_t x0 = static_cast<int32_t>(std::floor(fx)), y0 = static_cast<int32_t>(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    auto at = [&](int32_t px, int32_t py) -> double {
        if (px < 0 || py < 0 || px >= Width || py >= Height) return 255;
        return At(px, py);
    };
    return (1 - ay) * ((1 - ax) * at(x0, y0) + ax * at(x0 + 1, y0)) + ay * ((1 - ax) * at(x0, y0 + 1) + ax * at(x0 + 1, y0 + 1));
}

TGreyImage TurnedHalf(const TGreyImage& image)
{
    TGreyImage turned = image;
    std::reverse(turned.Pixels.begin(), turned.Pixels.end());
    return turned;
}

TGreyImage WhiteLevel(const TGreyImage& image)
{
    // The brightest pixel of each block, the blocks a 40th of the page's
    // longer side (wider than any stroke or mark), then the brightest of
    // each block's neighbours, spread back bilinearly.
    const int32_t block = std::max<int32_t>(8, std::max(image.Width, image.Height) / 40);
    const int32_t bw = (image.Width + block - 1) / block, bh = (image.Height + block - 1) / block;
    TGreyImage peaks(bw, bh, 0);
    for (int32_t y = 0; y < image.Height; ++y) {
        const uint8_t* line = &image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(image.Width)];
        uint8_t* peak = &peaks.Pixels[static_cast<size_t>(y / block) * static_cast<size_t>(bw)];
        for (int32_t bx = 0; bx < bw; ++bx) {
            const int32_t from = bx * block, to = std::min(image.Width, from + block);
            peak[bx] = std::max(peak[bx], *std::max_element(line + from, line + to));
        }
    }
    TGreyImage spread(bw, bh, 0);
    for (int32_t by = 0; by < bh; ++by)
        for (int32_t bx = 0; bx < bw; ++bx) {
            uint8_t best = 0;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const int32_t nx = bx + dx, ny = by + dy;
                    if (nx >= 0 && ny >= 0 && nx < bw && ny < bh) best = std::max(best, peaks.At(nx, ny));
                }
            spread.At(bx, by) = std::max<uint8_t>(best, 32);
        }
    // Spread back as Sample does, each column's and each row's place among
    // the blocks worked out once (a page has millions of pixels), and each
    // row's levels between its two rows of blocks once for the whole row.
    struct TPlace {
        int32_t Block;
        double Part;
    };
    auto placesOf = [block](int32_t count) {
        std::vector<TPlace> places(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            const double f = (i + 0.5) / block - 0.5;
            const int32_t at = static_cast<int32_t>(std::floor(f));
            places[static_cast<size_t>(i)] = {at, f - at};
        }
        return places;
    };
    const std::vector<TPlace> columns = placesOf(image.Width), rows = placesOf(image.Height);
    auto level = [&](int32_t bx, int32_t by) -> double {
        return bx < 0 || by < 0 || bx >= bw || by >= bh ? 255 : spread.At(bx, by);
    };
    // A row's two rows of blocks, from block -1 to block bw.
    std::vector<double> above(static_cast<size_t>(bw) + 2), below(static_cast<size_t>(bw) + 2);
    TGreyImage white(image.Width, image.Height);
    int32_t rowsAt = INT32_MIN;
    for (int32_t y = 0; y < image.Height; ++y) {
        const TPlace row = rows[static_cast<size_t>(y)];
        if (row.Block != rowsAt) {
            rowsAt = row.Block;
            for (int32_t bx = -1; bx <= bw; ++bx) {
                above[static_cast<size_t>(bx + 1)] = level(bx, row.Block);
                below[static_cast<size_t>(bx + 1)] = level(bx, row.Block + 1);
            }
        }
        const double ay = row.Part;
        uint8_t* out = &white.Pixels[static_cast<size_t>(y) * static_cast<size_t>(image.Width)];
        for (int32_t x = 0; x < image.Width; ++x) {
            const TPlace column = columns[static_cast<size_t>(x)];
            const double ax = column.Part;
            const size_t b = static_cast<size_t>(column.Block + 1);
            const double v = (1 - ay) * ((1 - ax) * above[b] + ax * above[b + 1]) + ay * ((1 - ax) * below[b] + ax * below[b + 1]);
            out[x] = static_cast<uint8_t>(std::clamp(v, 32.0, 255.0));
        }
    }
    return white;
}

std::vector<uint8_t> InkMask(const TGreyImage& image, const TGreyImage& white, double share)
{
    // A pixel is ink below share × its white: the least grey that is not,
    // for each white, worked out once.
    int32_t least[256];
    for (int32_t w = 0; w < 256; ++w) least[w] = static_cast<int32_t>(std::ceil(share * w));
    std::vector<uint8_t> ink(image.Pixels.size());
    for (size_t i = 0; i < ink.size(); ++i) ink[i] = image.Pixels[i] < least[white.Pixels[i]] ? 1 : 0;
    return ink;
}

TGreyImage GreyOfRgba(const uint8_t* rgba, int32_t width, int32_t height)
{
    TGreyImage grey(std::max(0, width), std::max(0, height));
    for (size_t i = 0; i < grey.Pixels.size(); ++i) {
        const uint8_t* p = rgba + i * 4;
        // Luma as the scanner's grey, over white where transparent.
        const int luma = (p[0] * 11 + p[1] * 16 + p[2] * 5) / 32;
        grey.Pixels[i] = static_cast<uint8_t>((luma * p[3] + 255 * (255 - p[3])) / 255);
    }
    return grey;
}

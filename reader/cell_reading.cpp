#include "reader/cell_reading.h"

#include <algorithm>
#include <cmath>

double TCellReading::Chance(int digit) const
{
    const double written = 1 - Blank;
    if (digit < 0) return Blank + written * Odds[kNotADigit];
    return written * Odds[static_cast<size_t>(digit)];
}

int TCellReading::Likeliest() const
{
    int best = -1;
    for (int d = 0; d < 10; ++d)
        if (Chance(d) > Chance(best)) best = d;
    return best;
}

TGreyImage CellPicture(const TGreyImage& image, const THomography& pageToImage, const TCellMm& cell, int32_t side)
{
    TGreyImage picture(side, side);
    const double w = cell.Right - cell.Left, h = cell.Bottom - cell.Top;
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x) {
            const TPoint at = pageToImage.Map({cell.Left + (x + 0.5) * w / side, cell.Top + (y + 0.5) * h / side});
            picture.At(x, y) = static_cast<uint8_t>(std::lround(image.Sample(at.X, at.Y)));
        }
    return picture;
}

TCellReading ReadCellPicture(const TGreyImage& picture, const TDigitNetwork& network)
{
    const int32_t side = picture.Width;
    // The paper's white: a bright level of the cell.
    std::vector<uint8_t> sorted = picture.Pixels;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() * 9 / 10), sorted.end());
    const double white = std::max<double>(60, sorted[sorted.size() * 9 / 10]);
    std::vector<float> ink(picture.Pixels.size());
    for (size_t i = 0; i < ink.size(); ++i)
        ink[i] = static_cast<float>(std::clamp((1 - picture.Pixels[i] / white - 0.25) / 0.4, 0.0, 1.0));
    // The edges of the cell hold the printed grid: a band a twelfth wide is left out.
    const int32_t edge = std::max(1, side / 12);
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x)
            if (x < edge || y < edge || x >= side - edge || y >= side - edge) ink[static_cast<size_t>(y * side + x)] = 0;
    // Connected pieces of ink: specks and long thin lines out.
    std::vector<int32_t> label(ink.size(), -1);
    std::vector<int32_t> stack;
    int64_t kept = 0;
    for (int32_t start = 0; start < side * side; ++start) {
        if (label[static_cast<size_t>(start)] >= 0 || ink[static_cast<size_t>(start)] <= 0.3f) continue;
        std::vector<int32_t> piece;
        stack.assign(1, start);
        label[static_cast<size_t>(start)] = start;
        int32_t x0 = side, x1 = 0, y0 = side, y1 = 0;
        while (!stack.empty()) {
            const int32_t at = stack.back();
            stack.pop_back();
            piece.push_back(at);
            const int32_t x = at % side, y = at / side;
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const int32_t nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= side || ny >= side) continue;
                    const size_t n = static_cast<size_t>(ny * side + nx);
                    if (label[n] < 0 && ink[n] > 0.3f) {
                        label[n] = start;
                        stack.push_back(static_cast<int32_t>(n));
                    }
                }
        }
        const int32_t bw = x1 - x0 + 1, bh = y1 - y0 + 1;
        const bool speck = static_cast<int64_t>(piece.size()) * 250 < int64_t{side} * side && std::max(bw, bh) * 6 < side;
        const bool line = (bw * 10 < side && bh * 10 > side * 6) || (bh * 10 < side && bw * 10 > side * 6);
        if (speck || line)
            for (const int32_t at : piece) ink[static_cast<size_t>(at)] = 0;
        else
            kept += static_cast<int64_t>(piece.size());
    }
    TCellReading reading;
    // Nothing but a trace: blank, surely so the less there is.
    const double share = static_cast<double>(kept) / (double(side) * side);
    reading.Blank = 1 / (1 + std::exp((share - 0.012) / 0.003));
    if (kept == 0) return reading;
    reading.Odds = network.Classify(NormaliseDigit(ink, side, side));
    return reading;
}

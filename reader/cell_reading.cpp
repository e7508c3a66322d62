#include "reader/cell_reading.h"

#include <algorithm>
#include <cmath>

double TCellReading::Chance(int digit) const
{
    const double written = 1 - Blank;
    if (digit < 0) return Blank + (Traced ? 0 : written * Odds[kNotADigit]);
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

void ForEachPiece(const std::vector<float>& values, int32_t side, float level,
                  const std::function<void(const std::vector<int32_t>&, const TPieceBox&)>& visit)
{
    std::vector<uint8_t> seen(values.size(), 0);
    std::vector<int32_t> stack, piece;
    for (int32_t start = 0; start < side * side; ++start) {
        if (seen[static_cast<size_t>(start)] || values[static_cast<size_t>(start)] <= level) continue;
        piece.clear();
        stack.assign(1, start);
        seen[static_cast<size_t>(start)] = 1;
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
                    if (!seen[n] && values[n] > level) {
                        seen[n] = 1;
                        stack.push_back(static_cast<int32_t>(n));
                    }
                }
        }
        visit(piece, {x0, y0, x1 - x0 + 1, y1 - y0 + 1});
    }
}

TCellReading ReadCellPicture(const TGreyImage& picture, const TDigitNetwork& network)
{
    const int32_t side = picture.Width;
    // The paper's white: a bright level of the cell.
    std::vector<uint8_t> sorted = picture.Pixels;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() * 9 / 10), sorted.end());
    const double white = std::max<double>(60, sorted[sorted.size() * 9 / 10]);
    // The edges of the cell hold the printed grid: a band a twelfth wide is left out.
    const int32_t edge = std::max(1, side / 12);
    auto inside = [&](int32_t x, int32_t y) { return x >= edge && y >= edge && x < side - edge && y < side - edge; };
    // Darkness against the paper; light pencil and thin strokes, which never
    // reach the darkness of a pen, are stretched to it.
    std::vector<double> dark(picture.Pixels.size(), 0);
    std::vector<double> inner;
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x)
            if (inside(x, y)) {
                const size_t i = static_cast<size_t>(y * side + x);
                dark[i] = std::max(0.0, 1 - picture.Pixels[i] / white);
                inner.push_back(dark[i]);
            }
    double darkest = 0;
    if (!inner.empty()) {
        std::nth_element(inner.begin(), inner.begin() + static_cast<long>(inner.size() * 99 / 100), inner.end());
        darkest = inner[inner.size() * 99 / 100];
    }
    const double stretch = darkest > 0.12 && darkest < 0.6 ? 0.6 / darkest : 1;
    std::vector<float> ink(picture.Pixels.size());
    std::vector<float> faint(picture.Pixels.size());
    for (size_t i = 0; i < ink.size(); ++i) {
        ink[i] = static_cast<float>(std::clamp((dark[i] * stretch - 0.25) / 0.4, 0.0, 1.0));
        faint[i] = dark[i] > 0.1 ? 1.0f : 0.0f;
    }
    // A line is a thin piece that crosses the whole inner cell (the grid, a
    // rule): a thin upright 1, however tall, stays.
    const int32_t across = side - 2 * edge;
    auto isLine = [side, across](int32_t bw, int32_t bh) {
        return (bw * 10 < side && bh >= across - 1) || (bh * 10 < side && bw >= across - 1);
    };
    // Specks and long thin lines (the grid, a rule) out of the ink.
    int64_t kept = 0;
    ForEachPiece(ink, side, 0.3f, [&](const std::vector<int32_t>& piece, const TPieceBox& box) {
        const int32_t bw = box.Width, bh = box.Height;
        const bool speck = static_cast<int64_t>(piece.size()) * 250 < int64_t{side} * side && std::max(bw, bh) * 6 < side;
        if (speck || isLine(bw, bh))
            for (const int32_t at : piece) ink[static_cast<size_t>(at)] = 0;
        else
            kept += static_cast<int64_t>(piece.size());
    });
    // Faint strokes as large as a digit: light pencil, a thin pen.
    bool traced = false;
    ForEachPiece(faint, side, 0.5f, [&](const std::vector<int32_t>&, const TPieceBox& box) {
        traced = traced || (std::max(box.Width, box.Height) * 3 > side && !isLine(box.Width, box.Height));
    });
    TCellReading reading;
    // Nothing but a trace: blank, surely so the less there is; never surely
    // when faint strokes as large as a digit are there.
    const double share = static_cast<double>(kept) / (double(side) * side);
    reading.Blank = 1 / (1 + std::exp((share - 0.012) / 0.003));
    reading.Traced = traced;
    if (traced) reading.Blank = std::min(reading.Blank, 0.3);
    if (kept == 0) return reading;
    reading.Odds = network.Classify(NormaliseDigit(ink, side, side));
    return reading;
}

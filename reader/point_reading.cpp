#include "reader/point_reading.h"

#include <algorithm>

TCellMm PointPlace(const TCellMm& cell)
{
    const double w = cell.Right - cell.Left, h = cell.Bottom - cell.Top;
    return {cell.Right - 0.3 * w, cell.Top + 0.5 * h, cell.Right + 0.3 * w, cell.Top + 1.1 * h};
}

double ReadPoint(const TGreyImage& picture)
{
    const int32_t side = picture.Width;
    if (side <= 0 || picture.Height != side) return 0;
    std::vector<uint8_t> sorted = picture.Pixels;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() * 9 / 10), sorted.end());
    const double white = std::max<double>(60, sorted[sorted.size() * 9 / 10]);
    std::vector<float> ink(picture.Pixels.size());
    for (size_t i = 0; i < ink.size(); ++i) ink[i] = picture.Pixels[i] < white * 0.62 ? 1.0f : 0.0f;
    // Rules across the place (a division's bar, a figure's rule) out: a row
    // or a column that is mostly ink.
    auto at = [side](int32_t x, int32_t y) { return static_cast<size_t>(y * side + x); };
    std::vector<float> kept = ink;
    for (int32_t y = 0; y < side; ++y) {
        int32_t count = 0;
        for (int32_t x = 0; x < side; ++x) count += ink[at(x, y)] > 0 ? 1 : 0;
        if (count * 10 > side * 7)
            for (int32_t x = 0; x < side; ++x) kept[at(x, y)] = 0;
    }
    for (int32_t x = 0; x < side; ++x) {
        int32_t count = 0;
        for (int32_t y = 0; y < side; ++y) count += ink[at(x, y)] > 0 ? 1 : 0;
        if (count * 10 > side * 7)
            for (int32_t y = 0; y < side; ++y) kept[at(x, y)] = 0;
    }
    int32_t largest = 0;
    ForEachPiece(kept, side, 0.5f, [&](const std::vector<int32_t>& piece, const TPieceBox& box) {
        const bool edge = box.Left == 0 || box.Top == 0 || box.Left + box.Width == side || box.Top + box.Height == side;
        const int32_t size = std::max(box.Width, box.Height), least = std::min(box.Width, box.Height);
        const int32_t middle = box.Left * 2 + box.Width;  // twice its centre
        const bool dot = least * 3 >= size && static_cast<int64_t>(piece.size()) * 10 >= int64_t{box.Width} * box.Height * 4;
        if (!edge && dot && middle >= side * 2 / 5 && middle <= side * 8 / 5 && size * 2 <= side) largest = std::max(largest, size);
    });
    if (largest * 10 >= side) return 0.97;
    if (largest * 100 >= side * 6) return 0.5;
    return 0.03;
}

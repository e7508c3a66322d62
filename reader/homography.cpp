#include "reader/homography.h"

#include <cmath>
#include <utility>

TPoint THomography::Map(TPoint p) const
{
    const double w = M[6] * p.X + M[7] * p.Y + M[8];
    return {(M[0] * p.X + M[1] * p.Y + M[2]) / w, (M[3] * p.X + M[4] * p.Y + M[5]) / w};
}

std::optional<THomography> HomographyFrom(const std::array<TPoint, 4>& from, const std::array<TPoint, 4>& to)
{
    // Eight equations in h0..h7 (h8 = 1), solved by Gaussian elimination.
    double a[8][9] = {};
    for (int i = 0; i < 4; ++i) {
        const double x = from[static_cast<size_t>(i)].X, y = from[static_cast<size_t>(i)].Y;
        const double u = to[static_cast<size_t>(i)].X, v = to[static_cast<size_t>(i)].Y;
        double r1[9] = {x, y, 1, 0, 0, 0, -u * x, -u * y, u};
        double r2[9] = {0, 0, 0, x, y, 1, -v * x, -v * y, v};
        for (int j = 0; j < 9; ++j) {
            a[2 * i][j] = r1[j];
            a[2 * i + 1][j] = r2[j];
        }
    }
    for (int col = 0; col < 8; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 8; ++row)
            if (std::abs(a[row][col]) > std::abs(a[pivot][col])) pivot = row;
        if (std::abs(a[pivot][col]) < 1e-12) return std::nullopt;
        if (pivot != col)
            for (int j = 0; j < 9; ++j) std::swap(a[pivot][j], a[col][j]);
        for (int row = 0; row < 8; ++row) {
            if (row == col) continue;
            const double f = a[row][col] / a[col][col];
            for (int j = col; j < 9; ++j) a[row][j] -= f * a[col][j];
        }
    }
    THomography h;
    for (int i = 0; i < 8; ++i) h.M[static_cast<size_t>(i)] = a[i][8] / a[i][i];
    h.M[8] = 1;
    return h;
}

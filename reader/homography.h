// A plane's projective map (a scan's rotation, scale and a camera's
// perspective): page millimetres to image pixels. Pure C++.
#pragma once

#include <array>
#include <optional>

struct TPoint {
    double X = 0, Y = 0;
};

struct THomography {
    std::array<double, 9> M{1, 0, 0, 0, 1, 0, 0, 0, 1};
    TPoint Map(TPoint p) const;
};

// The map taking each of `from` to the same place of `to`; none for points
// three of which lie on a line.
std::optional<THomography> HomographyFrom(const std::array<TPoint, 4>& from, const std::array<TPoint, 4>& to);

// The papers Japanese schools print on, in millimetres (B5 and B4 are the
// JIS sizes), and the margin every sheet keeps from the paper's edges.
#pragma once

#include <string>

struct TPaperSize {
    const char* Name;
    double WidthMm, HeightMm;  // portrait
};

inline constexpr TPaperSize kPaperSizes[] = {
    {"A4", 210, 297},
    {"B5", 182, 257},
    {"B4", 257, 364},
    {"A3", 297, 420},
};

// The margin of a sheet on every side, in millimetres.
inline constexpr double kSheetMarginMm = 10;

// The paper of that name; A4 for a name it does not know.
inline const TPaperSize& PaperSizeNamed(const std::string& name)
{
    for (const TPaperSize& paper : kPaperSizes)
        if (name == paper.Name) return paper;
    return kPaperSizes[0];
}

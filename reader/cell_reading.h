// One cell of a pupil's writing read: cut from the image, cleaned of the
// printed grid, rules and specks, and classified. Pure C++.
#pragma once

#include <functional>
#include <vector>

#include "reader/digit_network.h"
#include "reader/grey_image.h"
#include "reader/homography.h"

// A cell on the page, in millimetres from the inside of its margins.
struct TCellMm {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct TCellReading {
    double Blank = 1;  // the chance that nothing is written in it
    TDigitOdds Odds{};  // what it is when something is
    // Strokes as large as a digit are there: a mark that is no digit is
    // then not taken for a blank.
    bool Traced = false;
    // The chance the cell holds `digit` (0 … 9), or nothing for -1.
    double Chance(int digit) const;
    // The likeliest: -1 for blank, else the digit (kNotADigit for a mark that is none).
    int Likeliest() const;
};

// The cell as the pupil wrote it: the part of `image` that `cell` maps to,
// `side` pixels square, grey.
TGreyImage CellPicture(const TGreyImage& image, const THomography& pageToImage, const TCellMm& cell, int32_t side);

// Reads the cell's picture: the ink away from its edges, the lines of the
// grid and the specks taken out, the rest classified.
TCellReading ReadCellPicture(const TGreyImage& picture, const TDigitNetwork& network);

// A piece's box in a square picture, in pixels.
struct TPieceBox {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};
// Visits each connected piece (eight neighbours) of the pixels of a
// `side` × `side` picture whose value is above `level`, with its pixels (as
// y × side + x) and its box.
void ForEachPiece(const std::vector<float>& values, int32_t side, float level,
                  const std::function<void(const std::vector<int32_t>&, const TPieceBox&)>& visit);

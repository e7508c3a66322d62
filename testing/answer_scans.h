// Sheets of 大きなマス filled in as pupils fill them and scanned or
// photographed, for the reader's tests and benchmark: the page drawn as the
// program prints it, answers written in its cells in a hand (a face's
// digits or handwritten digits, each turned and placed a little off), then
// the page turned, scaled, seen in perspective, lit unevenly, speckled and
// compressed.
#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "reader/grey_image.h"
#include "worksheet/sheet.h"
#include "worksheet/wrong_procedures.h"

// How the page comes back.
struct TScanStyle {
    int Dpi = 200;
    double TurnDegrees = 0;   // rotation on the glass
    double Scale = 1;         // the copier's enlargement
    bool UpsideDown = false;
    bool Camera = false;      // a tablet's photo: perspective, uneven light, blur
    double PerspectiveDegrees = 0;
    int Noise = 0;            // grey levels of speckle
    int JpegQuality = 0;      // 0: none
};

// A digit in a pupil's hand: white ink on black, any size (the writer
// scales it to the cell).
using THand = std::function<QImage(int digit, std::mt19937& random)>;

// A hand of a face's digits (Klee One, a handwriting face …), each slanted
// and thickened a little differently.
THand FaceHand(const QString& family);

// The page of `sheet` (its problem sheet) drawn at style.Dpi with
// `answers` written in the answer cells (none: left blank) and `roll` in the
// 出席番号 box (0: left blank), then put through the style.
QImage FilledScan(const TSheet& sheet, const std::vector<std::optional<TWrittenAnswer>>& answers, int roll,
                  const THand& hand, const TScanStyle& style, std::mt19937& random);

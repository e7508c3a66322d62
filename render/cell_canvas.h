// A surface of square cells over another surface, for the large-cell layout.
// The figures lay themselves out on it as on any surface (a column is
// TextWidth(" ") wide, a row Font.Height high); this surface puts every
// character in a slot of its own, its glyph centred there in the chosen
// digit face, makes underlined text a rule on the bottom edge of its cells,
// and the dotted digit grid light grey lines under black rules.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "render/canvas.h"

class TCellCanvas : public TCanvas {
public:
    // Draws onto `target` in cells `cell` device units square, digits and
    // signs in `digitFace`, Japanese text in the gothic face; `dotsPerMm`
    // sizes the lines (the rules 0.35 mm, the grid 0.15 mm).
    TCellCanvas(TCanvas& target, std::string digitFace, int32_t cell, double dotsPerMm);

    // Each character in a slot as wide as the font is high (the digits and
    // signs of a small text, below the cell's height, in slots six tenths as
    // wide): its glyph
    // centred there, a digit's ink two thirds of a full cell high, a small
    // text's four fifths of its height, whatever the face's line. Underlined
    // text gets the rule along the bottom of its slots.
    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    // The widths of the characters' slots.
    int32_t TextWidth(const std::string& text) override;
    void MoveTo(int32_t x, int32_t y) override;
    // A dotted pen (the digit grid) draws a thin light grey line; others go
    // as they are, at least as wide as a thin line.
    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

    // The share of a full cell's height that a digit's ink takes.
    static constexpr double kDigitShare = 0.66;
    // A small text's ink against its own height (a mark of half a cell is
    // two fifths of the cell high).
    static constexpr double kSmallShare = 0.8;

private:
    int32_t SlotWidth(char32_t code) const;
    // The font height of `face` at which the ink of "0" is `inkHeight`
    // high (`tallest` at most), and that ink's top and height at that size.
    struct TGlyphSize {
        int32_t Height, InkTop, InkHeight;
    };
    TGlyphSize GlyphSize(const std::string& face, int32_t inkHeight, int32_t tallest);
    void ApplyPenFor(const TPen& pen);

    TCanvas& target_;
    std::string digitFace_;
    int32_t cell_;
    int32_t ruleWidth_, gridWidth_;
    std::map<std::tuple<std::string, int32_t, int32_t>, TGlyphSize> sizes_;
};

// A drawing surface that writes SVG: the browser edition's pages, drawn by
// the same page and figure code as the desktop's. It measures text with the
// metrics of the faces the desktop draws with (web/font_metrics.inc), so
// that every figure stands where the desktop puts it. Pure C++.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "render/canvas.h"

// The metrics of one face, per em.
struct TFaceMetrics {
    const char* Face;    // the program's name for it
    const char* Family;  // its CSS family in the page
    double Cell, Ascent, UnderlinePos, UnderlineWidth;
    double Ascii[0x7F - 0x20];  // the advances of the printable ASCII characters
    struct TAdvance {
        char32_t Character;
        double Advance;
    };
    std::vector<TAdvance> Others;  // the other characters of a sheet's fixed texts
    double ZeroInkTop, ZeroInkBottom;  // the ink of "0", from the baseline
};

// The metrics of `face`; the Mincho face's for a name it does not know.
const TFaceMetrics& MetricsOf(const std::string& face);

class TSvgCanvas : public TCanvas {
public:
    // A page W × H device units large, shown `widthMm` × `heightMm` on paper
    // (or on the screen, at its own scale).
    TSvgCanvas(int32_t W, int32_t H, double widthMm, double heightMm);

    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    int32_t TextWidth(const std::string& text) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    TGlyphInk TextInk(const std::string& text) override;
    void TextOutInSlots(int32_t x, int32_t y, const std::string& text, int32_t slot) override;

    // The whole document: <svg> with its view box, the page's shapes in
    // drawing order (the lines of one pen in one path, as a printer gets
    // them; a dotted pen as a pattern of dots, never one element a dash),
    // then its text, one element a face and size, a run of glyphs each: the
    // fewer elements, the faster a browser lays out and prints a set.
    std::string Svg();

private:
    // The font's size in device units per em, its ascent, and a character's
    // integer advance at that size.
    double PixelSize() const;
    int32_t Ascent() const;
    int32_t Advance(char32_t ch) const;
    // A run of glyphs in the current font from x on, as the face sets them
    // (`slot` 0), or each in the middle of a slot that wide; baseline at
    // `baseline`.
    void Glyphs(int32_t x, int32_t baseline, const std::string& text, int32_t slot);
    void FlushLines();

    int32_t width_, height_;
    double widthMm_, heightMm_;
    std::string body_;
    // Lines held by pen: its stroke attributes, and the path.
    std::vector<std::pair<std::string, std::string>> lines_;
    // Text runs held by face and size: the attributes, and the runs.
    std::vector<std::pair<std::string, std::string>> texts_;
    bool dotted_ = false;  // the pattern of the dotted pen is used
    uint32_t page_ = 0;    // which page of the run this is: its pattern's id
    std::string DotsId() const;
    int32_t x_ = 0, y_ = 0;
};

#include "render/cell_canvas.h"

#include <algorithm>
#include <cmath>

#include "render/reference_page.h"
#include "worksheet/utf8.h"

namespace {

constexpr uint32_t kGridGrey = 0xA8A8A8;

}  // namespace

TCellCanvas::TCellCanvas(TCanvas& target, std::string digitFace, int32_t cell, double dotsPerMm)
    : target_(target), digitFace_(std::move(digitFace)), cell_(std::max<int32_t>(cell, 1)),
      ruleWidth_(std::max<int32_t>(1, static_cast<int32_t>(std::lround(0.35 * dotsPerMm)))),
      gridWidth_(std::max<int32_t>(1, static_cast<int32_t>(std::lround(0.15 * dotsPerMm))))
{
}

int32_t TCellCanvas::SlotWidth(char32_t code) const
{
    const int32_t height = std::max<int32_t>(Font.Height, 1);
    // Small digits stand close; a small kana or bracket is as wide as high.
    return height >= cell_ || code >= 0x80 ? height : std::max<int32_t>(1, height * 3 / 5);
}

int32_t TCellCanvas::TextWidth(const std::string& text)
{
    int32_t width = 0;
    ForEachCharacter(text, [&](char32_t code, std::string_view) { width += SlotWidth(code); });
    return width;
}

TCellCanvas::TGlyphSize TCellCanvas::GlyphSize(const std::string& face, int32_t inkHeight, int32_t tallest)
{
    const auto key = std::make_tuple(face, inkHeight, tallest);
    const auto known = sizes_.find(key);
    if (known != sizes_.end()) return known->second;
    // Measured once at a large size, then scaled to the ink wanted.
    constexpr int32_t kProbe = 1000;
    target_.Font.Name = face;
    target_.Font.Height = kProbe;
    const TGlyphInk probe = target_.TextInk("0");
    const int32_t probeInk = std::max<int32_t>(probe.Bottom - probe.Top, 1);
    // Sized by the ink of its digits, whatever its line: a face whose line
    // is tall for its digits (Klee One) gets the same ink as another. Only a
    // digit whose ink would be taller than its row is made smaller.
    const int32_t height = std::max<int32_t>(
        1, static_cast<int32_t>(std::lround(double(std::min(inkHeight, std::max<int32_t>(tallest, 1))) * kProbe / probeInk)));
    target_.Font.Height = height;
    const TGlyphInk ink = target_.TextInk("0");
    return sizes_[key] = {height, ink.Top, ink.Bottom - ink.Top};
}

void TCellCanvas::TextOut(int32_t x, int32_t y, const std::string& text)
{
    const bool small = Font.Height < cell_;
    const int32_t rowHeight = std::max<int32_t>(Font.Height, 1);
    const int32_t ink = static_cast<int32_t>(std::lround((small ? kSmallShare * rowHeight : kDigitShare * cell_)));
    const TFont kept = target_.Font;
    target_.Brush = Brush;
    // Runs of characters of one face, each run drawn in one go.
    int32_t width = 0;  // of the characters so far
    std::string run;
    bool runAscii = true;
    int32_t runStart = x;
    auto flush = [&] {
        if (run.empty()) return;
        const std::string& face = runAscii ? digitFace_ : std::string(kGothicFace);
        const TGlyphSize size = GlyphSize(face, runAscii ? ink : ink * 9 / 10, rowHeight);
        target_.Font.Name = face;
        target_.Font.Height = size.Height;
        target_.Font.Style = 0;
        // Down its row by the ink of a digit: every digit of a face on one
        // line, its ink in the middle of the row.
        const int32_t centred = y + (rowHeight - size.InkHeight) / 2 - size.InkTop;
        target_.TextOutInSlots(runStart, centred, run, SlotWidth(runAscii ? U'0' : U'あ'));
        run.clear();
    };
    ForEachCharacter(text, [&](char32_t code, std::string_view character) {
        const bool ascii = code < 0x80;
        if (!run.empty() && ascii != runAscii) flush();
        if (run.empty()) {
            runAscii = ascii;
            runStart = x + width;
        }
        run += character;
        width += SlotWidth(code);
    });
    flush();
    target_.Font = kept;
    if ((Font.Style & fsUnderline) && width > 0) {
        // The rule on the bottom edge of the cells.
        const TPen pen = target_.Pen;
        target_.Pen = {0, ruleWidth_, psSolid};
        target_.MoveTo(x, y + rowHeight);
        target_.LineTo(x + width, y + rowHeight);
        target_.Pen = pen;
    }
}

void TCellCanvas::ApplyPenFor(const TPen& pen)
{
    if (pen.Style == psDot)
        target_.Pen = {kGridGrey, gridWidth_, psSolid};
    else
        target_.Pen = {pen.Color, std::max(pen.Width, gridWidth_), psSolid};
}

void TCellCanvas::MoveTo(int32_t x, int32_t y)
{
    target_.MoveTo(x, y);
}

void TCellCanvas::LineTo(int32_t x, int32_t y)
{
    ApplyPenFor(Pen);
    target_.LineTo(x, y);
}

void TCellCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    ApplyPenFor(Pen);
    target_.Brush = Brush;
    if (Brush.Style != bsClear) {
        target_.Rectangle(x1, y1, x2, y2);
        return;
    }
    // An outline alone: four lines, drawn with the grid's other lines.
    target_.MoveTo(x1, y1);
    target_.LineTo(x2, y1);
    target_.LineTo(x2, y2);
    target_.LineTo(x1, y2);
    target_.LineTo(x1, y1);
}

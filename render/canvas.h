// A drawing surface in integer device units (origin top-left, y downwards)
// with a current font, pen and brush. The preview box, an image and a
// printer page each stand behind one.
#pragma once

#include <cstdint>
#include <string>

enum TFontStyle : unsigned { fsUnderline = 1u };
using TFontStyles = unsigned;  // a set of TFontStyle bits; 0 is regular

enum TPenStyle { psSolid, psDot };
enum TBrushStyle { bsSolid, bsClear };

// Height is the character cell height in device units (ascent plus descent):
// text rows drawn Height apart touch without gap or overlap.
struct TFont {
    std::string Name;
    int32_t Height = 0;
    TFontStyles Style = 0;
};

// Colours are 0xRRGGBB. A width of 0 or 1 draws one device pixel.
struct TPen {
    uint32_t Color = 0;
    int32_t Width = 1;
    TPenStyle Style = psSolid;
    bool operator==(const TPen&) const = default;
};

struct TBrush {
    uint32_t Color = 0xFFFFFF;
    TBrushStyle Style = bsSolid;
};

// Where a text's glyphs put ink, in device units from the point TextOut is
// given (the top-left corner of the first character cell).
struct TGlyphInk {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Every operation reads Font, Pen and Brush at the moment it runs. Texts are
// UTF-8.
class TCanvas {
public:
    TFont Font;
    TPen Pen;
    TBrush Brush;

    virtual ~TCanvas() = default;

    // Draws the text with the top-left corner of its first character cell at
    // (x, y). With bsClear only the glyphs (and the underline) are painted;
    // with bsSolid the cells are filled with the brush colour first. An
    // underline runs the whole text width, spaces included.
    virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;
    // The width of the text in the current font: the sum of its characters'
    // integer advances.
    virtual int32_t TextWidth(const std::string& text) = 0;
    // Sets the current position; draws nothing.
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    // A line with the pen from the current position to (x, y), the end point
    // itself left unpainted; the current position becomes (x, y).
    virtual void LineTo(int32_t x, int32_t y) = 0;
    // Fills with the brush (nothing with bsClear) and outlines with the pen
    // the rectangle x1 <= x < x2, y1 <= y < y2.
    virtual void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    // Draws each character of `text` centred by its advance in a slot
    // `slot` wide, the slots one after another from x, the tops of their
    // cells at y; a space leaves its slot empty. The same as a TextOut of
    // each character in its place, in one go where the surface can.
    virtual void TextOutInSlots(int32_t x, int32_t y, const std::string& text, int32_t slot);
    // The ink of the text in the current font, drawn at (0, 0). A surface
    // without glyph outlines gives the middle seven tenths of the cell.
    virtual TGlyphInk TextInk(const std::string& text)
    {
        return {0, Font.Height * 3 / 20, TextWidth(text), Font.Height * 17 / 20};
    }
};

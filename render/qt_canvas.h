// The drawing surface over a QPainter: the preview box, an image or a
// printer page.
#pragma once

#include <QFont>
#include <QHash>
#include <QPainterPath>
#include <QList>
#include <QPoint>
#include <QRawFont>
#include <QString>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "render/canvas.h"

class QPaintDevice;
class QPainter;

// Keeps the behaviour the drawing relies on:
// - Font.Height is the cell height (ascent plus descent) in device units; the
//   size is chosen from the face's own metrics. Text is placed by the top-left
//   corner of its first cell.
// - A canvas keeps what it resolved of every font it used, for the pages it
//   draws after; use one canvas for the pages of a document.
// - Integer advances: TextWidth is the sum of the glyphs' rounded advances
//   and TextOut places each glyph at those integer positions, so a text of n
//   half-width characters of a fixed-pitch face is n × TextWidth(" ") wide.
// - bsClear: transparent text background and no fill; bsSolid: cells and
//   rectangles filled with the brush colour.
// - An underline runs the whole text width, leading and trailing spaces too.
// - Rectangle covers x1 <= x < x2, y1 <= y < y2; LineTo leaves its end point
//   unpainted; pen width 0 or 1 is one device pixel; psDot draws single-pixel
//   dots and leaves the gaps untouched; lines and rectangles are not
//   antialiased. Text is black.
// - On a printer or a PDF, lines may be drawn later than asked, grouped by
//   pen (black on black, the order does not show): the lines of a colour
//   other than black and white (the light grid of 大きなマス) under the
//   black ones held with them, all before any fill or white line that comes
//   after them.
class TQtCanvas : public TCanvas {
public:
    // Draws with `painter`, which must be active and outlive the canvas.
    explicit TQtCanvas(QPainter& painter);
    // Measures as a canvas drawing on `device` would, without drawing: the
    // drawing operations do nothing. The device must outlive the canvas.
    explicit TQtCanvas(QPaintDevice& device);

    // From now on draws with `painter`, which paints on this canvas's device
    // and must outlive its use; the fonts resolved so far are kept. Null
    // goes back to measuring only.
    void SetPainter(QPainter* painter);
    // Draws what is held back (on a printer or a PDF, the lines of one pen
    // are drawn together, and then the texts, those of one face and size
    // drawn one after another in one run); before the painter ends a page.
    // The destructor does too.
    void FlushLines();
    ~TQtCanvas() override;

    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    int32_t TextWidth(const std::string& text) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    // The glyphs' own outlines: their tight bounds.
    TGlyphInk TextInk(const std::string& text) override;
    // One run of glyphs at their places.
    void TextOutInSlots(int32_t x, int32_t y, const std::string& text, int32_t slot) override;

private:
    // One character in the current font: the font that has its glyph (the
    // face itself or a fallback), the glyph, and its rounded advance.
    struct TCharGlyph {
        int RawFont = -1;  // index into rawFonts_; -1 for no glyph
        quint32 Index = 0;
        int32_t Advance = 0;
    };
    // A resolved font, its integer metrics and the glyphs drawn in it so far.
    struct TFontState {
        QFont Font;         // with Qt's fallback to other faces
        QRawFont Primary;   // the face itself, at the device's size: RawFonts[0]
        int32_t Ascent = 0;
        int32_t UnderlineOffset = 0;  // below the baseline
        int32_t UnderlineThickness = 1;
        QHash<char32_t, TCharGlyph> Glyphs;
        std::vector<QRawFont> RawFonts;
    };

    // Lines of one pen held back.
    struct TPendingLines {
        TPen Pen;
        QPainterPath Lines;  // a line that goes on from the last one's end joins it
        QList<QRect> Outlines;  // rectangles, as drawRect takes them
    };
    // Glyphs of one face and size drawn one after another, held back as one
    // run, at their places on the page.
    struct TPendingGlyphs {
        QRawFont Font;
        QList<quint32> Indexes;
        QList<QPointF> Positions;
    };

    const TFontState& CurrentFont();
    // The held-back lines of `pen`, started when there are none.
    TPendingLines& PendingLinesOf(const TPen& pen);
    // Draws each character of `placed` at its offset from x, baseline at
    // `baseline`, in runs by the font that has its glyph, in black.
    void DrawGlyphs(int32_t x, int32_t baseline, const std::vector<std::pair<char32_t, int32_t>>& placed);
    const TCharGlyph& GlyphOf(char32_t ch);
    void ApplyPen(const TPen& with);
    // A printer or a PDF: every line is a drawing command of its own there,
    // so black lines, whose order among themselves does not change the
    // page, are held back and drawn by pen. An image is drawn at once.
    bool HoldsBack() const;

    QPainter* painter_;  // null when measuring only
    std::vector<TPendingLines> pendingLines_;
    std::vector<TPendingGlyphs> pendingGlyphs_;
    QList<QRect> pendingRules_;  // black filled bars (underlines), held back as one path
    QPaintDevice* device_;
    QPoint position_;
    // Every font used so far, by face name and cell height: a page switches
    // between a few, again and again.
    std::map<std::pair<std::string, int32_t>, TFontState> fonts_;
    TFontState* font_ = nullptr;
    std::string fontKeyName_;
    int32_t fontKeyHeight_ = -1;
};

#include "render/qt_canvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRawFont>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <map>

#include "render/qt_fonts.h"
#include "worksheet/utf8.h"

namespace {

QColor ColorOf(uint32_t rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu));
}

// Ascent plus descent per pixel of size for a face, from its own metrics.
double CellPerPixel(const QString& family)
{
    static std::map<QString, double> known;
    const auto found = known.find(family);
    if (found != known.end()) return found->second;
    QFont probe(family);
    probe.setPixelSize(1000);
    const QFontMetricsF m(probe);
    const double ratio = m.ascent() + m.descent() > 0 ? (m.ascent() + m.descent()) / 1000.0 : 1.0;
    known.emplace(family, ratio);
    return ratio;
}

// The pixels of a one-pixel line from `from` towards `to`, `to` itself left
// out, in drawing order (Bresenham). A dotted pen keeps every other pixel.
QPolygon ThinLinePixels(QPoint from, QPoint to, bool dotted)
{
    QPolygon pixels;
    const int64_t dx = std::abs(int64_t{to.x()} - from.x()), dy = -std::abs(int64_t{to.y()} - from.y());
    const int sx = from.x() < to.x() ? 1 : -1, sy = from.y() < to.y() ? 1 : -1;
    int64_t error = dx + dy;
    pixels.reserve(static_cast<qsizetype>(std::max(dx, -dy) / (dotted ? 2 : 1) + 1));
    QPoint p = from;
    for (int64_t step = 0; p != to; ++step) {
        if (!dotted || step % 2 == 0) pixels.append(p);
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            p.ry() += sy;
        }
    }
    return pixels;
}

}  // namespace

TQtCanvas::TQtCanvas(QPainter& painter) : painter_(&painter), device_(painter.device())
{
    RegisterFontSubstitutes();
}

TQtCanvas::TQtCanvas(QPaintDevice& device) : painter_(nullptr), device_(&device)
{
    RegisterFontSubstitutes();
}

void TQtCanvas::SetPainter(QPainter* painter)
{
    if (painter_) FlushLines();
    painter_ = painter;
}

TQtCanvas::~TQtCanvas()
{
    if (painter_) FlushLines();
}

const TQtCanvas::TFontState& TQtCanvas::CurrentFont()
{
    if (font_ && Font.Height == fontKeyHeight_ && Font.Name == fontKeyName_) return *font_;
    fontKeyName_ = Font.Name;
    fontKeyHeight_ = Font.Height;
    const auto [known, added] = fonts_.try_emplace({Font.Name, Font.Height});
    font_ = &known->second;
    if (!added) return *font_;

    const QString name = InstalledFamily(Font.Name);
    const int32_t cell = std::max<int32_t>(Font.Height, 1);
    const double pixels = cell / CellPerPixel(name);
    QFont font(name);
    // Point sizes take fractions; convert through the device's resolution.
    const int dpi = device_ ? device_->logicalDpiY() : 96;
    font.setPointSizeF(pixels * 72.0 / (dpi > 0 ? dpi : 96));
    font.setKerning(false);
    // The face alone, without the fallback faces that Qt would look up
    // first: almost every character of a sheet is in it.
    QFont primary(font, device_);
    primary.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetricsF m(primary, device_);
    font_->Font = font;
    font_->Primary = QRawFont::fromFont(primary);
    if (font_->Primary.isValid()) font_->RawFonts.push_back(font_->Primary);
    font_->Ascent = static_cast<int32_t>(std::lround(m.ascent()));
    font_->UnderlineOffset = static_cast<int32_t>(std::lround(m.underlinePos()));
    font_->UnderlineThickness = std::max<int32_t>(1, static_cast<int32_t>(std::lround(m.lineWidth())));
    return *font_;
}

const TQtCanvas::TCharGlyph& TQtCanvas::GlyphOf(char32_t ch)
{
    TFontState& font = *font_;
    const auto found = font.Glyphs.constFind(ch);
    if (found != font.Glyphs.constEnd()) return *found;

    TCharGlyph glyph;
    if (font.Primary.isValid() && ch < 0x10000) {
        const QList<quint32> indexes = font.Primary.glyphIndexesForString(QString(QChar(static_cast<char16_t>(ch))));
        if (indexes.size() == 1 && indexes.front() != 0) {
            glyph.RawFont = 0;
            glyph.Index = indexes.front();
            glyph.Advance =
                static_cast<int32_t>(std::lround(font.Primary.advancesForGlyphIndexes({glyph.Index}).value(0).x()));
            return *font.Glyphs.insert(ch, glyph);
        }
    }

    // Not in the face: shaped once per character and font, with Qt's font
    // fallback.
    QTextLayout layout(QString::fromUcs4(&ch, 1), font.Font, device_);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (!runs.isEmpty() && !runs.front().glyphIndexes().isEmpty()) {
        const QRawFont raw = runs.front().rawFont();
        glyph.Index = runs.front().glyphIndexes().front();
        glyph.Advance = static_cast<int32_t>(std::lround(raw.advancesForGlyphIndexes({glyph.Index}).value(0).x()));
        const auto known = std::find(font.RawFonts.begin(), font.RawFonts.end(), raw);
        glyph.RawFont = static_cast<int>(known - font.RawFonts.begin());
        if (known == font.RawFonts.end()) font.RawFonts.push_back(raw);
    }
    return *font.Glyphs.insert(ch, glyph);
}

int32_t TQtCanvas::TextWidth(const std::string& text)
{
    CurrentFont();
    int32_t width = 0;
    ForEachCharacter(text, [&](char32_t ch, std::string_view) { width += GlyphOf(ch).Advance; });
    return width;
}

void TQtCanvas::TextOut(int32_t x, int32_t y, const std::string& text)
{
    const TFontState& state = CurrentFont();
    if (!painter_) {
        position_ = QPoint(x + TextWidth(text), y);
        return;
    }
    // The glyphs at integer advances.
    std::vector<std::pair<char32_t, int32_t>> placed;
    int32_t width = 0;
    ForEachCharacter(text, [&](char32_t ch, std::string_view) {
        // A space has no ink: only its advance counts.
        if (ch != U' ' && ch != 0x3000) placed.push_back({ch, width});
        width += GlyphOf(ch).Advance;
    });

    if (Brush.Style == bsSolid && width > 0) {
        // A filled cell covers the lines drawn before it.
        FlushLines();
        painter_->fillRect(QRect(x, y, width, std::max<int32_t>(Font.Height, 0)), ColorOf(Brush.Color));
    }
    const int32_t baseline = y + state.Ascent;
    DrawGlyphs(x, baseline, placed);
    if ((Font.Style & fsUnderline) && width > 0) {
        const QRect rule(x, baseline + state.UnderlineOffset, width, state.UnderlineThickness);
        // On a printer or a PDF the bars of a page are one path, with the lines.
        if (HoldsBack()) pendingRules_.append(rule);
        else painter_->fillRect(rule, Qt::black);
    }
    position_ = QPoint(x + width, y);
}

void TQtCanvas::DrawGlyphs(int32_t x, int32_t baseline, const std::vector<std::pair<char32_t, int32_t>>& placed)
{
    const TFontState& state = CurrentFont();
    // Grouped into runs by the font that has them.
    struct TRun {
        int RawFont;
        QList<quint32> Indexes;
        QList<QPointF> Positions;
    };
    std::vector<TRun> runs;
    for (const auto& [ch, offset] : placed) {
        const TCharGlyph& glyph = GlyphOf(ch);
        if (glyph.RawFont < 0) continue;
        if (runs.empty() || runs.back().RawFont != glyph.RawFont) runs.push_back({glyph.RawFont, {}, {}});
        runs.back().Indexes.append(glyph.Index);
        runs.back().Positions.append(QPointF(offset, 0));
    }
    if (HoldsBack()) {
        // A printer or a PDF gets the glyphs of a face and size as one run
        // (one text object, one state), with the lines.
        for (const TRun& run : runs) {
            const QRawFont& font = state.RawFonts[static_cast<size_t>(run.RawFont)];
            if (pendingGlyphs_.empty() || !(pendingGlyphs_.back().Font == font)) pendingGlyphs_.push_back({font, {}, {}});
            pendingGlyphs_.back().Indexes.append(run.Indexes);
            for (const QPointF& at : run.Positions) pendingGlyphs_.back().Positions.append(at + QPointF(x, baseline));
        }
        return;
    }
    // Text takes the pen's colour; a black pen of the lines serves as it is,
    // so a printer or a PDF is not told of a new pen for every text.
    if (painter_->pen().color() != Qt::black) painter_->setPen(Qt::black);
    for (const TRun& run : runs) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(state.RawFonts[static_cast<size_t>(run.RawFont)]);
        glyphRun.setGlyphIndexes(run.Indexes);
        glyphRun.setPositions(run.Positions);
        painter_->drawGlyphRun(QPointF(x, baseline), glyphRun);
    }
}

void TQtCanvas::MoveTo(int32_t x, int32_t y)
{
    position_ = QPoint(x, y);
}

void TQtCanvas::ApplyPen(const TPen& with)
{
    QPen pen(ColorOf(with.Color));
    // Width 0 and 1 are one device pixel (a cosmetic pen); wider pens are
    // that many device units.
    pen.setWidth(with.Width > 1 ? with.Width : 0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (with.Style == psDot) pen.setDashPattern({1.0, 1.0});
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
    painter_->setBackgroundMode(Qt::TransparentMode);
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

TQtCanvas::TPendingLines& TQtCanvas::PendingLinesOf(const TPen& pen)
{
    auto pending = std::find_if(pendingLines_.begin(), pendingLines_.end(), [&](const TPendingLines& held) { return held.Pen == pen; });
    if (pending == pendingLines_.end()) pending = pendingLines_.insert(pendingLines_.end(), {pen, {}, {}});
    return *pending;
}

bool TQtCanvas::HoldsBack() const
{
    return painter_ && painter_->paintEngine()->type() != QPaintEngine::Raster;
}

void TQtCanvas::FlushLines()
{
    // Lines of other colours (the light grid) under the black ones held with them.
    for (const bool black : {false, true})
        for (const TPendingLines& held : pendingLines_) {
            if ((held.Pen.Color == 0) != black) continue;
            ApplyPen(held.Pen);
            if (!held.Lines.isEmpty()) painter_->drawPath(held.Lines);
            if (!held.Outlines.isEmpty()) painter_->drawRects(held.Outlines);
        }
    pendingLines_.clear();
    if (!pendingRules_.isEmpty()) {
        painter_->setPen(Qt::NoPen);
        painter_->setBrush(Qt::black);
        painter_->drawRects(pendingRules_);
        painter_->setBrush(Qt::NoBrush);
        pendingRules_.clear();
    }
    // The glyphs over the lines, in black (text takes the pen's colour).
    if (!pendingGlyphs_.empty() && (painter_->pen().style() == Qt::NoPen || painter_->pen().color() != Qt::black))
        painter_->setPen(Qt::black);
    for (const TPendingGlyphs& held : pendingGlyphs_) {
        QGlyphRun run;
        run.setRawFont(held.Font);
        run.setGlyphIndexes(held.Indexes);
        run.setPositions(held.Positions);
        painter_->drawGlyphRun(QPointF(0, 0), run);
    }
    pendingGlyphs_.clear();
}

void TQtCanvas::LineTo(int32_t x, int32_t y)
{
    const QPoint to(x, y);
    if (painter_ && to != position_) {
        // On an image, thin lines are set pixel by pixel, so that the end
        // point stays unpainted whichever way the line runs. A printer gets a
        // stroked hairline: single points do not survive its way to paper.
        if (HoldsBack()) {
            // The lines of one pen go out together, in one path; a white
            // line covers the lines before it; the lines of another colour
            // (the light grid) go under the black ones.
            if (Pen.Color == 0xFFFFFF) FlushLines();
            TPendingLines& held = PendingLinesOf(Pen);
            // A line that goes on from where the last one ended continues its path.
            if (held.Lines.isEmpty() || held.Lines.currentPosition() != QPointF(position_)) held.Lines.moveTo(position_);
            held.Lines.lineTo(to);
        } else if (Pen.Width > 1) {
            ApplyPen(Pen);
            painter_->drawLine(position_, to);
        } else {
            ApplyPen(Pen);
            painter_->setPen(QPen(ColorOf(Pen.Color), 0));
            painter_->drawPoints(ThinLinePixels(position_, to, Pen.Style == psDot));
        }
    }
    position_ = to;
}

void TQtCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (!painter_ || x2 == x1 || y2 == y1) return;
    // A black outline alone on a printer or a PDF: its edges join the other
    // lines of its pen.
    if (HoldsBack() && Brush.Style != bsSolid && Pen.Color == 0) {
        PendingLinesOf(Pen).Outlines.append(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        return;
    }
    // A fill or an outline of another colour than black covers the lines before it.
    if (Brush.Style == bsSolid || Pen.Color != 0) FlushLines();
    if (Brush.Style == bsSolid) painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), ColorOf(Brush.Color));
    ApplyPen(Pen);
    // The outline runs along the outermost pixels of the covered area.
    painter_->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

TGlyphInk TQtCanvas::TextInk(const std::string& text)
{
    const TFontState& state = CurrentFont();
    QRectF bounds;
    int32_t x = 0;
    ForEachCharacter(text, [&](char32_t ch, std::string_view) {
        const TCharGlyph& glyph = GlyphOf(ch);
        if (glyph.RawFont >= 0) {
            const QRectF box = font_->RawFonts[static_cast<size_t>(glyph.RawFont)].boundingRect(glyph.Index).translated(x, state.Ascent);
            if (!box.isEmpty()) bounds = bounds.isNull() ? box : bounds.united(box);
        }
        x += glyph.Advance;
    });
    if (bounds.isNull()) return {0, state.Ascent, x, state.Ascent};
    return {static_cast<int32_t>(std::floor(bounds.left())), static_cast<int32_t>(std::floor(bounds.top())),
            static_cast<int32_t>(std::ceil(bounds.right())), static_cast<int32_t>(std::ceil(bounds.bottom()))};
}

void TQtCanvas::TextOutInSlots(int32_t x, int32_t y, const std::string& text, int32_t slot)
{
    const TFontState& state = CurrentFont();
    if (!painter_) return;
    std::vector<std::pair<char32_t, int32_t>> placed;
    int32_t at = 0;
    ForEachCharacter(text, [&](char32_t ch, std::string_view) {
        if (ch != U' ' && ch != 0x3000) placed.push_back({ch, at + (slot - GlyphOf(ch).Advance) / 2});
        at += slot;
    });
    DrawGlyphs(x, y + state.Ascent, placed);
    position_ = QPoint(x + at, y);
}

#include "app/glyphs.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

namespace {

// 16 × 16 button glyphs in 16 colours, whose light grey (192, 192, 192)
// bottom-left pixel is the background, and the 32 × 32 program icon, whose
// background is transparent in the file (it is installed for the desktop).

#include "app/glyphs/close.xpm"
#include "app/glyphs/maintenance.xpm"
#include "app/glyphs/preview.xpm"
#include "app/glyphs/printer.xpm"
#include "app/glyphs/tavelin.xpm"

QPixmap WithTransparentBackground(const char* const* xpm)
{
    QPixmap pixmap(xpm);
    const QImage image = pixmap.toImage();
    const QColor background = image.pixelColor(0, image.height() - 1);
    pixmap.setMask(pixmap.createMaskFromColor(background, Qt::MaskInColor));
    return pixmap;
}

}  // namespace

QPixmap GlyphPixmap(TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::Preview: return WithTransparentBackground(preview_xpm);
    case TGlyph::Printer: return WithTransparentBackground(printer_xpm);
    case TGlyph::Maintenance: return WithTransparentBackground(maintenance_xpm);
    case TGlyph::Close: return WithTransparentBackground(close_xpm);
    case TGlyph::None: break;
    }
    return QPixmap();
}

QIcon GlyphIcon(TGlyph glyph)
{
    if (glyph == TGlyph::None) return QIcon();
    // Qt derives the greyed look of a disabled button from the normal pixmap.
    return QIcon(GlyphPixmap(glyph));
}

QIcon ProgramIcon()
{
    return QIcon(QPixmap(tavelin_xpm));
}

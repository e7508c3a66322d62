// The button glyphs and the program icon, drawn for this program.
#pragma once

#include <QIcon>
#include <QPixmap>

enum class TGlyph { None, Preview, Printer, Maintenance, Close };

// The icon shown on a command button; the light grey background is
// transparent, and a disabled button shows it greyed. Close is the style's
// standard close glyph. Needs a QApplication.
QIcon GlyphIcon(TGlyph glyph);

// The 32 × 32 window and program icon: a red sheet with a turned-down corner
// showing 12 above ×34.
QIcon ProgramIcon();

// A drawn 16 × 16 glyph with its background made transparent; empty for
// Close and None.
QPixmap GlyphPixmap(TGlyph glyph);

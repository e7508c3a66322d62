// The button glyphs and the program icon, drawn for this program.
#pragma once

#include <QIcon>
#include <QPixmap>

enum class TGlyph { None, Preview, Printer, Maintenance, Close };

// The icon shown on a command button, drawn for this program like the
// others (the close glyph a red cross); the light grey background is
// transparent, and a disabled button shows it greyed. Needs a QApplication.
QIcon GlyphIcon(TGlyph glyph);

// The 32 × 32 window and program icon: a red sheet with a turned-down corner
// showing 12 above ×34.
QIcon ProgramIcon();

// A drawn 16 × 16 glyph with its background made transparent; empty for
// None.
QPixmap GlyphPixmap(TGlyph glyph);

// The table that lays out every control of the main window: kind, position,
// size, text, font, colour, hint, length limit, tab order and start state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/glyphs.h"
#include "worksheet/settings.h"

enum class TControlKind { Bevel, Label, Edit, DigitEdit, PaintBox, Shape, RadioGroup, Button };

struct TFontSpec {
    std::string Face;        // empty: the window's default font
    int32_t PixelHeight = 0;  // character height in pixels
    uint32_t Color = 0;       // 0xRRGGBB
    bool HasColor = false;    // false: the palette's window-text colour
};

struct TControlSpec {
    std::string Name;  // also the Qt object name
    TControlKind Kind;
    int32_t Left, Top, Width, Height;
    std::string Text{};              // caption, label text, initial edit text
    std::string Hint{};              // tooltip; empty for none
    int32_t MaxLength = 0;           // edits: 0 for no limit
    int32_t TabOrder = -1;           // -1: not in the tab order
    bool Enabled = true;
    bool Visible = true;             // false: shown only for the operation that uses it
    bool ItemsInOneRow = false;      // radio groups: items side by side
    bool DecimalPlace = false;       // in the band of the decimal places, shown for decimals only
    TFontSpec Font{};
    std::vector<std::string> Items{};  // radio groups
    TGlyph Glyph = TGlyph::None;     // buttons
};

// Every control, in creation order (the frames first, so that they lie
// beneath the controls they surround).
const std::vector<TControlSpec>& ControlSpecs();

// The title line of the window for an operation: "かけ算の筆算プリントづくり"
// and a line that says what the program does.
std::string TitleText(TOperation operation);

// The window's default font: "ＭＳ Ｐゴシック", 15 pixels high.
TFontSpec DefaultWindowFont();

// The band of the decimal places' boxes: shown for an operation with
// decimals, it pushes the controls of the left side below its top down by
// its height.
constexpr int32_t kDecimalBandTop = 262;
constexpr int32_t kDecimalBandHeight = 72;
// The left side, which the band widens: the preview stays where it is.
constexpr int32_t kDecimalBandRight = 380;

// The client area as laid out.
constexpr int32_t kClientWidth = 734;
constexpr int32_t kClientHeight = 495;

#include "recording_canvas.h"

#include "worksheet/utf8.h"

int32_t FixedWidth(const TFont& font, const std::string& text)
{
    const int32_t half = font.Height / 2 > 0 ? font.Height / 2 : 1;
    int32_t width = 0;
    ForEachCharacter(text, [&](char32_t code, std::string_view) { width += code < 0x80 ? half : 2 * half; });
    return width;
}

int32_t TRecordingCanvas::Measure(const TFont& font, const std::string& text)
{
    WidthQueries.push_back({text, font.Style});
    return FixedWidth(font, text);
}

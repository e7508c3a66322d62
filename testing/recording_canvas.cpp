#include "recording_canvas.h"

int32_t FixedWidth(const TFont& font, const std::string& text)
{
    const int32_t half = font.Height / 2 > 0 ? font.Height / 2 : 1;
    int32_t width = 0;
    for (char c : text) {
        const auto ch = static_cast<unsigned char>(c);
        if (ch < 0x80) width += half;
        else if ((ch & 0xC0) == 0xC0) width += 2 * half;  // the lead byte of a wide character
    }
    return width;
}

int32_t TRecordingCanvas::Measure(const TFont& font, const std::string& text)
{
    WidthQueries.push_back({text, font.Style});
    return FixedWidth(font, text);
}

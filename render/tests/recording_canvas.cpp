#include "recording_canvas.h"

int32_t TRecordingCanvas::Measure(const std::string& text) const
{
    int32_t width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto ch = static_cast<unsigned char>(text[i]);
        if (ch < 0x80) width += HalfWidth();
        else if ((ch & 0xC0) == 0xC0) width += 2 * HalfWidth();  // lead byte of a wide character
    }
    return width;
}

void TRecordingCanvas::TextOut(int32_t x, int32_t y, const std::string& text)
{
    Records.push_back({TRecord::TextOp, x, y, Measure(text), 0, text, Font, Pen, Brush});
}

int32_t TRecordingCanvas::TextWidth(const std::string& text)
{
    WidthQueries.push_back({text, Font.Style});
    return Measure(text);
}

void TRecordingCanvas::MoveTo(int32_t x, int32_t y)
{
    penX_ = x;
    penY_ = y;
}

void TRecordingCanvas::LineTo(int32_t x, int32_t y)
{
    Records.push_back({TRecord::LineOp, penX_, penY_, x, y, "", Font, Pen, Brush});
    penX_ = x;
    penY_ = y;
}

void TRecordingCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Records.push_back({TRecord::RectOp, x1, y1, x2, y2, "", Font, Pen, Brush});
}

std::vector<TRecord> TRecordingCanvas::OfKind(TRecord::TKind kind) const
{
    std::vector<TRecord> out;
    for (const TRecord& r : Records)
        if (r.Kind == kind) out.push_back(r);
    return out;
}

#include "web/svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "worksheet/utf8.h"

namespace {

const std::vector<TFaceMetrics>& Faces()
{
    static const std::vector<TFaceMetrics> faces = {
#include "web/font_metrics.inc"
    };
    return faces;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string Colour(uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out = text;
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out;
}

}  // namespace

const TFaceMetrics& MetricsOf(const std::string& face)
{
    for (const TFaceMetrics& metrics : Faces())
        if (face == metrics.Face) return metrics;
    return Faces().front();
}

TSvgCanvas::TSvgCanvas(int32_t W, int32_t H, double widthMm, double heightMm)
    : width_(W), height_(H), widthMm_(widthMm), heightMm_(heightMm)
{
    // Every page its own pattern: a page shown beside others, or printed
    // while they are hidden, refers to its own.
    static uint32_t pages = 0;
    page_ = ++pages;
}

std::string TSvgCanvas::DotsId() const
{
    return "tavelin-dots-" + std::to_string(page_);
}

double TSvgCanvas::PixelSize() const
{
    return std::max<int32_t>(Font.Height, 1) / MetricsOf(Font.Name).Cell;
}

int32_t TSvgCanvas::Ascent() const
{
    return static_cast<int32_t>(std::lround(MetricsOf(Font.Name).Ascent * PixelSize()));
}

int32_t TSvgCanvas::Advance(char32_t ch) const
{
    const TFaceMetrics& metrics = MetricsOf(Font.Name);
    double advance = ch >= 0x20 && ch < 0x7F ? metrics.Ascii[ch - 0x20] : 1.0;
    for (const TFaceMetrics::TAdvance& other : metrics.Others)
        if (other.Character == ch) advance = other.Advance;
    return static_cast<int32_t>(std::lround(advance * PixelSize()));
}

int32_t TSvgCanvas::TextWidth(const std::string& text)
{
    int32_t width = 0;
    ForEachCharacter(text, [&](char32_t ch, std::string_view) { width += Advance(ch); });
    return width;
}

void TSvgCanvas::Glyphs(int32_t x, int32_t baseline, const std::string& text, int32_t slot)
{
    const TFaceMetrics& metrics = MetricsOf(Font.Name);
    const std::string font = "font-family=\"" + std::string(metrics.Family) + "\" font-size=\"" + Number(PixelSize()) + "\"";
    auto held = std::find_if(texts_.begin(), texts_.end(), [&](const auto& face) { return face.first == font; });
    if (held == texts_.end()) held = texts_.insert(texts_.end(), {font, {}});
    std::string& runs = held->second;
    const std::string y = "\" y=\"" + std::to_string(baseline) + "\">";
    // Spaces split a run: each part starts where its first glyph goes and
    // is set by the face; slots place each glyph.
    std::string part, positions;
    auto flush = [&] {
        if (!part.empty()) runs += "<tspan x=\"" + positions + y + Escaped(part) + "</tspan>";
        part.clear();
        positions.clear();
    };
    int32_t at = x;
    ForEachCharacter(text, [&](char32_t ch, std::string_view bytes) {
        const int32_t advance = Advance(ch);
        if (ch == U' ' || ch == 0x3000) {
            flush();
        } else {
            if (slot > 0 || part.empty()) positions += (positions.empty() ? "" : " ") + std::to_string(slot > 0 ? at + (slot - advance) / 2 : at);
            part += bytes;
        }
        at += slot > 0 ? slot : advance;
    });
    flush();
}

void TSvgCanvas::TextOut(int32_t x, int32_t y, const std::string& text)
{
    const int32_t width = TextWidth(text);
    if (Brush.Style == bsSolid && width > 0)
        body_ += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" + std::to_string(width) +
                 "\" height=\"" + std::to_string(std::max<int32_t>(Font.Height, 0)) + "\" fill=\"" + Colour(Brush.Color) + "\"/>\n";
    Glyphs(x, y + Ascent(), text, 0);
    if ((Font.Style & fsUnderline) && width > 0) {
        const TFaceMetrics& metrics = MetricsOf(Font.Name);
        const int32_t offset = static_cast<int32_t>(std::lround(metrics.UnderlinePos * PixelSize()));
        const int32_t thickness = std::max<int32_t>(1, static_cast<int32_t>(std::lround(metrics.UnderlineWidth * PixelSize())));
        body_ += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y + Ascent() + offset) + "\" width=\"" +
                 std::to_string(width) + "\" height=\"" + std::to_string(thickness) + "\"/>\n";
    }
    x_ = x + width;
    y_ = y;
}

void TSvgCanvas::TextOutInSlots(int32_t x, int32_t y, const std::string& text, int32_t slot)
{
    Glyphs(x, y + Ascent(), text, std::max(slot, 1));
    x_ = x + static_cast<int32_t>(CharacterCount(text)) * slot;
    y_ = y;
}

TGlyphInk TSvgCanvas::TextInk(const std::string& text)
{
    const TFaceMetrics& metrics = MetricsOf(Font.Name);
    return {0, Ascent() + static_cast<int32_t>(std::floor(metrics.ZeroInkTop * PixelSize())), TextWidth(text),
            Ascent() + static_cast<int32_t>(std::ceil(metrics.ZeroInkBottom * PixelSize()))};
}

void TSvgCanvas::MoveTo(int32_t x, int32_t y)
{
    x_ = x;
    y_ = y;
}

void TSvgCanvas::LineTo(int32_t x, int32_t y)
{
    if (x != x_ || y != y_) {
        // Width 0 and 1 are the thinnest line the paper shows.
        // A dotted pen strokes with a pattern of dots: the dotted cells of
        // the desktop's sheets, one path however many dots.
        const std::string colour = Pen.Style == psDot ? "url(#" + DotsId() + ")" : Colour(Pen.Color);
        dotted_ = dotted_ || Pen.Style == psDot;
        // A white line covers the lines drawn before it.
        if (Pen.Color == 0xFFFFFF) FlushLines();
        std::string stroke = "stroke=\"" + colour + "\" stroke-width=\"" +
                             (Pen.Width > 1 ? std::to_string(Pen.Width) + "\"" : std::string("1\" vector-effect=\"non-scaling-stroke\""));
        auto held = std::find_if(lines_.begin(), lines_.end(), [&](const auto& pen) { return pen.first == stroke; });
        if (held == lines_.end()) held = lines_.insert(lines_.end(), {stroke, {}});
        held->second += "M" + std::to_string(x_) + " " + std::to_string(y_) + "L" + std::to_string(x) + " " + std::to_string(y);
    }
    x_ = x;
    y_ = y;
}

void TSvgCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1) return;
    if (Brush.Style != bsSolid) {
        // An outline alone: its edges join the other lines of its pen.
        const int32_t right = std::max(x1, x2 - 1), bottom = std::max(y1, y2 - 1);
        MoveTo(x1, y1);
        LineTo(right, y1);
        LineTo(right, bottom);
        LineTo(x1, bottom);
        LineTo(x1, y1);
        return;
    }
    FlushLines();
    body_ += "<rect x=\"" + std::to_string(x1) + "\" y=\"" + std::to_string(y1) + "\" width=\"" + std::to_string(x2 - x1) +
             "\" height=\"" + std::to_string(y2 - y1) + "\" fill=\"" + Colour(Brush.Color) + "\" stroke=\"" + Colour(Pen.Color) +
             "\" stroke-width=\"" + std::to_string(std::max(Pen.Width, 1)) + "\"/>\n";
}

void TSvgCanvas::FlushLines()
{
    // Lines of other colours (the light grid) under the black ones.
    for (const bool black : {false, true})
        for (const auto& [stroke, path] : lines_)
            if ((stroke.find("#000000") != std::string::npos) == black)
                body_ += "<path d=\"" + path + "\" fill=\"none\" " + stroke + "/>\n";
    lines_.clear();
}

std::string TSvgCanvas::Svg()
{
    FlushLines();
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(width_) + " " +
                      std::to_string(height_) + "\" width=\"" + Number(widthMm_) + "mm\" height=\"" + Number(heightMm_) + "mm\">\n";
    // Dots of 1/100 inch, as a dotted line prints.
    if (dotted_)
        svg += "<defs><pattern id=\"" + DotsId() + "\" width=\"24\" height=\"24\" patternUnits=\"userSpaceOnUse\">"
               "<rect width=\"12\" height=\"12\"/><rect x=\"12\" y=\"12\" width=\"12\" height=\"12\"/></pattern></defs>\n";
    svg += body_;
    for (const auto& [font, runs] : texts_) svg += "<text " + font + ">" + runs + "</text>\n";
    return svg + "</svg>\n";
}

// A TCanvas that records every operation with the state it ran under, with
// simple fixed metrics: an ASCII character is Font.Height / 2 wide, any
// other character twice that.
#pragma once

#include <string>
#include <vector>

#include "render/canvas.h"

struct TRecord {
    enum TKind { TextOp, LineOp, RectOp } Kind;
    int32_t X1, Y1, X2, Y2;  // Text: X1, Y1 and its width in X2
    std::string Text;
    TFont Font;
    TPen Pen;
    TBrush Brush;
};

struct TWidthQuery {
    std::string Text;
    TFontStyles Style;
};

class TRecordingCanvas : public TCanvas {
public:
    std::vector<TRecord> Records;
    std::vector<TWidthQuery> WidthQueries;

    int32_t HalfWidth() const { return Font.Height / 2 > 0 ? Font.Height / 2 : 1; }

    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    int32_t TextWidth(const std::string& text) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

    std::vector<TRecord> OfKind(TRecord::TKind kind) const;

private:
    int32_t Measure(const std::string& text) const;
    int32_t penX_ = 0, penY_ = 0;
};

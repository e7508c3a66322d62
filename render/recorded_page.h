// A page drawn now and put on a surface later: every operation is recorded
// with the state it ran under, and the whole can be replayed on another
// canvas, or dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "render/canvas.h"

struct TCanvasOp {
    enum TKind { TextOp, MoveOp, LineOp, RectOp } Kind;
    // TextOp, MoveOp: the point in X1, Y1. LineOp: from X1, Y1 to X2, Y2.
    // RectOp: the corners.
    int32_t X1, Y1, X2, Y2;
    std::string Text;
    TFont Font;
    TPen Pen;
    TBrush Brush;
};

class TRecordedPage : public TCanvas {
public:
    // Measures a text in a font, as the surface that will receive the page does.
    using TMeasure = std::function<int32_t(const TFont& font, const std::string& text)>;

    explicit TRecordedPage(TMeasure measure = {});

    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    int32_t TextWidth(const std::string& text) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

    const std::vector<TCanvasOp>& Ops() const { return ops_; }
    // The operations of one kind, in drawing order.
    std::vector<TCanvasOp> OfKind(TCanvasOp::TKind kind) const;

    // Runs every operation on `target`, each with the state it was recorded
    // under; the target is left in the state of the last one.
    void ReplayOn(TCanvas& target) const;

protected:
    // The width TextWidth answers; by default the measure given at construction.
    virtual int32_t Measure(const TFont& font, const std::string& text);

private:
    void Record(TCanvasOp::TKind kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& text = {});

    TMeasure measure_;
    std::vector<TCanvasOp> ops_;
    int32_t penX_ = 0, penY_ = 0;
};

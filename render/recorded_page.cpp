#include "render/recorded_page.h"

#include <utility>

TRecordedPage::TRecordedPage(TMeasure measure) : measure_(std::move(measure)) {}

void TRecordedPage::Record(TCanvasOp::TKind kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                           const std::string& text)
{
    ops_.push_back({kind, x1, y1, x2, y2, text, Font, Pen, Brush});
}

void TRecordedPage::TextOut(int32_t x, int32_t y, const std::string& text)
{
    Record(TCanvasOp::TextOp, x, y, 0, 0, text);
}

int32_t TRecordedPage::TextWidth(const std::string& text)
{
    return Measure(Font, text);
}

int32_t TRecordedPage::Measure(const TFont& font, const std::string& text)
{
    return measure_ ? measure_(font, text) : 0;
}

void TRecordedPage::MoveTo(int32_t x, int32_t y)
{
    Record(TCanvasOp::MoveOp, x, y, 0, 0);
    penX_ = x;
    penY_ = y;
}

void TRecordedPage::LineTo(int32_t x, int32_t y)
{
    Record(TCanvasOp::LineOp, penX_, penY_, x, y);
    penX_ = x;
    penY_ = y;
}

void TRecordedPage::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Record(TCanvasOp::RectOp, x1, y1, x2, y2);
}

std::vector<TCanvasOp> TRecordedPage::OfKind(TCanvasOp::TKind kind) const
{
    std::vector<TCanvasOp> out;
    for (const TCanvasOp& op : ops_)
        if (op.Kind == kind) out.push_back(op);
    return out;
}

void TRecordedPage::ReplayOn(TCanvas& target) const
{
    for (const TCanvasOp& op : ops_) {
        target.Font = op.Font;
        target.Pen = op.Pen;
        target.Brush = op.Brush;
        switch (op.Kind) {
        case TCanvasOp::TextOp: target.TextOut(op.X1, op.Y1, op.Text); break;
        case TCanvasOp::MoveOp: target.MoveTo(op.X1, op.Y1); break;
        case TCanvasOp::LineOp:
            target.MoveTo(op.X1, op.Y1);
            target.LineTo(op.X2, op.Y2);
            break;
        case TCanvasOp::RectOp: target.Rectangle(op.X1, op.Y1, op.X2, op.Y2); break;
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanvasRecording.h"

#include <algorithm>

namespace zk {

TCanvas& CanvasRecording::Restart(TCanvas& inner) {
    inner_ = &inner;
    startPen_ = inner.Pen();
    startPos_ = inner.PenPos();
    // clear() keeps the capacity: after the first run, recording allocates nothing but new texts.
    ops_.clear();
    texts_.clear();
    return *this;
}

void CanvasRecording::Replay(TCanvas& target, std::size_t count) const {
    target.SetPenColor(startPen_.Color);
    target.SetPenWidth(startPen_.Width);
    target.SetPenStyle(startPen_.Style);
    target.MoveTo(startPos_.X, startPos_.Y);
    const std::size_t n = std::min(count, ops_.size());
    for (std::size_t k = 0; k < n; ++k) {
        const Op& op = ops_[k];
        switch (op.What) {
        case Kind::PenColor:
            target.SetPenColor(op.Value);
            break;
        case Kind::PenWidth:
            target.SetPenWidth(op.A);
            break;
        case Kind::PenStyle:
            target.SetPenStyle(static_cast<TPenStyle>(op.Value));
            break;
        case Kind::MoveTo:
            target.MoveTo(op.A, op.B);
            break;
        case Kind::LineTo:
            target.LineTo(op.A, op.B);
            break;
        case Kind::Ellipse:
            target.Ellipse(op.A, op.B, op.C, op.D);
            break;
        case Kind::TextOut:
            target.TextOut(op.A, op.B, texts_[static_cast<std::size_t>(op.C)]);
            break;
        case Kind::SetPixel:
            target.SetPixel(op.A, op.B, op.Value);
            break;
        case Kind::FloodFill:
            target.FloodFill(op.A, op.B, op.Value, static_cast<TFillStyle>(op.C));
            break;
        case Kind::Refresh:
            target.Refresh();
            break;
        }
    }
}

void CanvasRecording::SetPenColor(TColor color) {
    if (inner_)
        inner_->SetPenColor(color);
    Add(Kind::PenColor, 0, 0, 0, 0, color);
}

void CanvasRecording::SetPenWidth(std::int32_t width) {
    if (inner_)
        inner_->SetPenWidth(width);
    Add(Kind::PenWidth, width);
}

void CanvasRecording::SetPenStyle(TPenStyle style) {
    if (inner_)
        inner_->SetPenStyle(style);
    Add(Kind::PenStyle, 0, 0, 0, 0, static_cast<std::uint32_t>(style));
}

TPen CanvasRecording::Pen() const {
    return inner_ ? inner_->Pen() : startPen_;
}

TPoint CanvasRecording::PenPos() const {
    return inner_ ? inner_->PenPos() : startPos_;
}

void CanvasRecording::MoveTo(std::int32_t x, std::int32_t y) {
    if (inner_)
        inner_->MoveTo(x, y);
    Add(Kind::MoveTo, x, y);
}

void CanvasRecording::LineTo(std::int32_t x, std::int32_t y) {
    if (inner_)
        inner_->LineTo(x, y);
    Add(Kind::LineTo, x, y);
}

void CanvasRecording::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    if (inner_)
        inner_->Ellipse(x1, y1, x2, y2);
    Add(Kind::Ellipse, x1, y1, x2, y2);
}

void CanvasRecording::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    if (inner_)
        inner_->TextOut(x, y, text);
    texts_.push_back(text);
    Add(Kind::TextOut, x, y, static_cast<std::int32_t>(texts_.size() - 1));
}

void CanvasRecording::SetPixel(std::int32_t x, std::int32_t y, TColor color) {
    if (inner_)
        inner_->SetPixel(x, y, color);
    Add(Kind::SetPixel, x, y, 0, 0, color);
}

void CanvasRecording::FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) {
    if (inner_)
        inner_->FloodFill(x, y, color, mode);
    Add(Kind::FloodFill, x, y, static_cast<std::int32_t>(mode), 0, color);
}

void CanvasRecording::Refresh() {
    if (inner_)
        inner_->Refresh();
    Add(Kind::Refresh);
}

} // namespace zk

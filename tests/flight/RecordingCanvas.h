// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas that draws nothing and keeps every operation with the pen in force, so tests can check
// the coordinates, colours and order of a tick's drawing exactly.
#include <string>
#include <vector>

#include "TCanvas.h"

namespace zk::test {

struct CanvasOp {
    enum Type { MoveTo, LineTo, Ellipse, TextOut };
    Type Kind;
    std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // LineTo: from (X1, Y1) to (X2, Y2)
    TPen Pen;
    std::string Text;
};

class RecordingCanvas : public TCanvas {
  public:
    void SetPenColor(TColor color) override { pen_.Color = color; }
    void SetPenWidth(std::int32_t width) override {
        if (width >= 0)
            pen_.Width = width;
    }
    void SetPenStyle(TPenStyle style) override { pen_.Style = style; }
    TPen Pen() const override { return pen_; }
    TPoint PenPos() const override { return pos_; }
    void MoveTo(std::int32_t x, std::int32_t y) override {
        Ops.push_back({CanvasOp::MoveTo, x, y, x, y, pen_, {}});
        pos_ = {x, y};
    }
    void LineTo(std::int32_t x, std::int32_t y) override {
        Ops.push_back({CanvasOp::LineTo, pos_.X, pos_.Y, x, y, pen_, {}});
        pos_ = {x, y};
    }
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
        Ops.push_back({CanvasOp::Ellipse, x1, y1, x2, y2, pen_, {}});
    }
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override {
        Ops.push_back({CanvasOp::TextOut, x, y, x, y, pen_, text});
    }
    void SetPixel(std::int32_t, std::int32_t, TColor) override {}
    void FloodFill(std::int32_t, std::int32_t, TColor, TFillStyle) override {}
    void Refresh() override {}

    // The operations of one kind, in drawing order.
    std::vector<CanvasOp> OfKind(CanvasOp::Type kind) const {
        std::vector<CanvasOp> result;
        for (const CanvasOp& op : Ops)
            if (op.Kind == kind)
                result.push_back(op);
        return result;
    }

    std::vector<CanvasOp> Ops;

  private:
    TPen pen_;
    TPoint pos_;
};

} // namespace zk::test

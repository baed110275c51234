// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas decorator that passes every drawing operation on to the canvas it wraps and keeps a
// compact copy of it, so that the same picture can be drawn again later onto another canvas, all
// of it or only its first operations.  The pen and pen position the wrapped canvas had when the
// recording began are kept too: a replay starts from the same drawing state.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "TCanvas.h"

namespace zk {

class CanvasRecording : public TCanvas {
  public:
    CanvasRecording() = default;

    // Forgets what was recorded and records from now on what is drawn onto inner (which must
    // outlive the recording or the next Restart).  Returns this decorator to draw through.
    // Before the first Restart the recording draws nowhere and only keeps the operations.
    TCanvas& Restart(TCanvas& inner);

    // Operations recorded since Restart.
    std::size_t Size() const { return ops_.size(); }
    // Draws the first count recorded operations (all if count exceeds Size()) onto target, after
    // giving it the starting pen and pen position.
    void Replay(TCanvas& target, std::size_t count) const;

    void SetPenColor(TColor color) override;
    void SetPenWidth(std::int32_t width) override;
    void SetPenStyle(TPenStyle style) override;
    TPen Pen() const override;
    TPoint PenPos() const override;
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override;
    void SetPixel(std::int32_t x, std::int32_t y, TColor color) override;
    void FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) override;
    void Refresh() override;

  private:
    enum class Kind : std::uint8_t {
        PenColor,
        PenWidth,
        PenStyle,
        MoveTo,
        LineTo,
        Ellipse,
        TextOut,
        SetPixel,
        FloodFill,
        Refresh
    };
    // One operation: its arguments in A..D (a TextOut keeps the index of its text in C), a colour
    // or pen style in Value.
    struct Op {
        Kind What;
        std::int32_t A, B, C, D;
        std::uint32_t Value;
    };

    void Add(Kind what, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0, std::int32_t d = 0,
             std::uint32_t value = 0) {
        ops_.push_back(Op{what, a, b, c, d, value});
    }

    TCanvas* inner_ = nullptr;
    TPen startPen_;
    TPoint startPos_;
    std::vector<Op> ops_;
    std::vector<std::string> texts_;
};

} // namespace zk

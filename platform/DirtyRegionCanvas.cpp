// SPDX-License-Identifier: GPL-3.0-or-later
#include "DirtyRegionCanvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zk {

namespace {

// Pixels a pen of this width may reach beyond the ideal line or outline on either side: half the
// width, the half pixel by which an even width is shifted, and one pixel for rounding.
std::int64_t PenReach(std::int32_t width) {
    return (std::max<std::int32_t>(width, 1) + 1) / 2 + 1;
}

} // namespace

DirtyRegionCanvas::DirtyRegionCanvas(RasterCanvas& inner)
    : inner_(inner), tilesX_((inner.Width() + kTile - 1) / kTile),
      tilesY_((inner.Height() + kTile - 1) / kTile),
      marks_(static_cast<std::size_t>(tilesX_) * static_cast<std::size_t>(tilesY_), 0) {}

void DirtyRegionCanvas::SetPenColor(TColor color) {
    inner_.SetPenColor(color);
}

void DirtyRegionCanvas::SetPenWidth(std::int32_t width) {
    inner_.SetPenWidth(width);
}

void DirtyRegionCanvas::SetPenStyle(TPenStyle style) {
    inner_.SetPenStyle(style);
}

TPen DirtyRegionCanvas::Pen() const {
    return inner_.Pen();
}

TPoint DirtyRegionCanvas::PenPos() const {
    return inner_.PenPos();
}

void DirtyRegionCanvas::MoveTo(std::int32_t x, std::int32_t y) {
    inner_.MoveTo(x, y);
}

void DirtyRegionCanvas::LineTo(std::int32_t x, std::int32_t y) {
    const TPoint from = inner_.PenPos();
    inner_.LineTo(x, y);
    Record(OpKind::Line, from.X, from.Y, x, y, inner_.Pen());
}

void DirtyRegionCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    inner_.Ellipse(x1, y1, x2, y2);
    Record(OpKind::Ellipse, x1, y1, x2, y2, inner_.Pen());
}

void DirtyRegionCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    inner_.TextOut(x, y, text);
    Record(OpKind::Text, x, y, x, y, TPen{}, &text); // drawn in the font's colour on the white brush
}

void DirtyRegionCanvas::SetPixel(std::int32_t x, std::int32_t y, TColor color) {
    inner_.SetPixel(x, y, color);
    Record(OpKind::Pixel, x, y, x, y, TPen{color, 1, TPenStyle::psSolid}); // the pen is not used
}

void DirtyRegionCanvas::FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) {
    inner_.FloodFill(x, y, color, mode);
    // A fill may reach any pixel, and what it paints depends on what it finds there.
    MarkAll();
}

void DirtyRegionCanvas::Refresh() {
    inner_.Refresh();
}

void DirtyRegionCanvas::MarkAll() {
    std::fill(marks_.begin(), marks_.end(), std::uint8_t{1});
    anyMarked_ = !marks_.empty();
    // What the passes drew before is no guide to what the surface now holds.
    comparable_ = false;
    keepBaseline_ = false;
}

void DirtyRegionCanvas::TakeDirty(std::vector<TRect>& out) {
    EndFrame();
    out.clear();
    if (!anyMarked_)
        return;
    const std::int32_t width = inner_.Width();
    const std::int32_t height = inner_.Height();
    columns_.resize(static_cast<std::size_t>(tilesX_));
    for (std::int32_t ty0 = 0; ty0 < tilesY_; ty0 += kBandTiles) {
        const std::int32_t ty1 = std::min(tilesY_, ty0 + kBandTiles);
        // A tile column of the band is taken when any of its tiles is marked.
        std::fill(columns_.begin(), columns_.end(), std::uint8_t{0});
        for (std::int32_t ty = ty0; ty < ty1; ++ty) {
            std::uint8_t* row = marks_.data() + static_cast<std::ptrdiff_t>(ty) * tilesX_;
            for (std::int32_t tx = 0; tx < tilesX_; ++tx)
                columns_[static_cast<std::size_t>(tx)] |= row[tx];
            std::fill(row, row + tilesX_, std::uint8_t{0});
        }
        for (std::int32_t tx = 0; tx < tilesX_;) {
            if (!columns_[static_cast<std::size_t>(tx)]) {
                ++tx;
                continue;
            }
            // A run of taken columns, bridging short gaps: fewer, wider rectangles repaint faster.
            const std::int32_t first = tx;
            std::int32_t last = tx;
            for (std::int32_t gap = 0; tx < tilesX_ && gap <= kBridgeTiles; ++tx) {
                if (columns_[static_cast<std::size_t>(tx)]) {
                    last = tx;
                    gap = 0;
                } else {
                    ++gap;
                }
            }
            tx = last + 1;
            out.push_back({first * kTile, ty0 * kTile, std::min(width, (last + 1) * kTile),
                           std::min(height, ty1 * kTile)});
        }
    }
    anyMarked_ = false;
}

void DirtyRegionCanvas::EndFrame() {
    EndPass();
    for (Pass& pass : passes_) {
        // A pass of the previous frame that did not run in this one may have been drawn over
        // what now shows through.
        if (!pass.Ran)
            MarkPrevious(pass, 0);
        if (keepBaseline_ && pass.Ran) {
            std::swap(pass.Previous, pass.Current);
            std::swap(pass.PreviousTexts, pass.CurrentTexts);
            pass.PreviousLength = pass.Length;
        } else {
            pass.PreviousLength = 0;
        }
        pass.Length = 0;
        pass.TextCount = 0;
        pass.Ran = false;
    }
    comparable_ = keepBaseline_;
    keepBaseline_ = true;
    skipped_ = false;
    lastPass_ = -1;
}

void DirtyRegionCanvas::BeginPass(int pass) {
    EndPass();
    if (pass < 0 || pass >= kPasses)
        return; // not a pass: drawn as outside the passes
    if (pass <= lastPass_) {
        // Out of order or twice in one frame: nothing to compare with in this frame or the next.
        comparable_ = false;
        keepBaseline_ = false;
    }
    lastPass_ = pass;
    pass_ = &passes_[pass];
    pass_->Length = 0;
    pass_->TextCount = 0;
    pass_->Ran = true;
}

void DirtyRegionCanvas::EndPass() {
    if (!pass_)
        return;
    // What the previous frame drew in this pass beyond what it drew now.
    MarkPrevious(*pass_, pass_->Length);
    pass_ = nullptr;
}

void DirtyRegionCanvas::MarkPrevious(const Pass& pass, std::size_t from) {
    for (std::size_t i = from; i < pass.PreviousLength; ++i)
        MarkOp(pass.Previous[i], pass.PreviousTexts);
}

void DirtyRegionCanvas::Record(OpKind kind, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                               std::int32_t y2, const TPen& pen, const std::string* text) {
    Op* op = &scratch_;
    Texts* texts = &scratchText_;
    std::int32_t textIndex = -1;
    if (text) {
        textIndex = 0;
        if (pass_) {
            if (pass_->TextCount == pass_->CurrentTexts.size())
                pass_->CurrentTexts.emplace_back();
            textIndex = static_cast<std::int32_t>(pass_->TextCount++);
            texts = &pass_->CurrentTexts;
        }
        (*texts)[static_cast<std::size_t>(textIndex)].assign(*text); // keeps its storage
    }
    if (pass_) {
        if (pass_->Length == pass_->Current.size())
            pass_->Current.emplace_back();
        op = &pass_->Current[pass_->Length++];
        texts = &pass_->CurrentTexts;
    }
    op->Kind = kind;
    op->X1 = x1;
    op->Y1 = y1;
    op->X2 = x2;
    op->Y2 = y2;
    op->Pen = pen;
    op->Text = textIndex;

    if (!pass_) {
        // Drawn outside the passes: the next frame cannot trust its comparison.
        comparable_ = false;
        keepBaseline_ = false;
        MarkOp(*op, *texts);
        return;
    }
    const std::size_t index = pass_->Length - 1;
    const bool hasPrevious = comparable_ && index < pass_->PreviousLength;
    if (hasPrevious) {
        const Op& before = pass_->Previous[index];
        if (before.Kind == op->Kind && before.X1 == op->X1 && before.Y1 == op->Y1 && before.X2 == op->X2 &&
            before.Y2 == op->Y2 && before.Pen.Color == op->Pen.Color && before.Pen.Width == op->Pen.Width &&
            before.Pen.Style == op->Pen.Style &&
            (!text ||
             (before.Text >= 0 && pass_->PreviousTexts[static_cast<std::size_t>(before.Text)] == *text))) {
            skipped_ = true; // the same pixels in the same colours as in the previous frame
            return;
        }
    }
    MarkOp(*op, *texts);
    // Where an earlier operation was left unmarked, the pixels the replaced one painted may now
    // show that operation's colour instead of the replaced one's.
    if (skipped_ && hasPrevious)
        MarkOp(pass_->Previous[index], pass_->PreviousTexts);
}

void DirtyRegionCanvas::MarkOp(const Op& op, const Texts& texts) {
    switch (op.Kind) {
    case OpKind::Line:
        MarkLine(op);
        break;
    case OpKind::Ellipse: {
        if (op.X1 == op.X2 || op.Y1 == op.Y2)
            return; // an empty rectangle holds no ellipse
        // The pen is centred on the outermost pixels of the rectangle, whose right column and
        // bottom row are excluded, so the outline reaches (width - 1) / 2 pixels beyond them, half
        // a pixel more for an even width: 1 for the particles' 3-pixel pen.  A clear pen draws
        // the inside alone.
        const std::int32_t width =
            op.Pen.Style == TPenStyle::psClear ? 1 : std::max<std::int32_t>(op.Pen.Width, 1);
        const std::int64_t reach = (width + (width % 2 == 0 ? 1 : 0) - 1) / 2;
        MarkBox(std::int64_t{std::min(op.X1, op.X2)} - reach, std::int64_t{std::min(op.Y1, op.Y2)} - reach,
                std::int64_t{std::max(op.X1, op.X2)} - 1 + reach,
                std::int64_t{std::max(op.Y1, op.Y2)} - 1 + reach);
        break;
    }
    case OpKind::Text: {
        const std::string& text = texts[static_cast<std::size_t>(op.Text)];
        if (text.empty())
            return;
        // The opaque box of the text's width by the line height; glyphs may overhang it a little.
        const std::int64_t height = inner_.TextHeight();
        const std::int64_t reach = height / 2 + 1;
        MarkBox(op.X1 - reach, op.Y1 - reach, op.X1 + inner_.TextWidth(text) + reach, op.Y1 + height + reach);
        break;
    }
    case OpKind::Pixel:
        MarkBox(op.X1, op.Y1, op.X1, op.Y1);
        break;
    }
}

void DirtyRegionCanvas::MarkLine(const Op& op) {
    if (op.Pen.Style == TPenStyle::psClear)
        return; // a clear pen draws nothing at any width
    const std::int64_t reach = PenReach(op.Pen.Width);
    // Cut the segment to the surface grown by the pen's reach, so that far-away parts (the
    // coordinates may lie anywhere in the 32-bit range) cost nothing.
    const double x0 = op.X1, y0 = op.Y1;
    const double dx = static_cast<double>(op.X2) - x0, dy = static_cast<double>(op.Y2) - y0;
    double t0 = 0, t1 = 1;
    const auto clip = [&](double p, double q) { // the part of the segment where p * t <= q
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    const double lo = -static_cast<double>(reach);
    const double right = static_cast<double>(inner_.Width()) + reach;
    const double bottom = static_cast<double>(inner_.Height()) + reach;
    if (!clip(-dx, x0 - lo) || !clip(dx, right - x0) || !clip(-dy, y0 - lo) || !clip(dy, bottom - y0))
        return;
    const double length = std::max(std::abs(dx), std::abs(dy)) * (t1 - t0); // pixels along the major axis
    const auto pieces = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(length / kPiece)));
    double ax = x0 + dx * t0, ay = y0 + dy * t0;
    for (std::int64_t i = 1; i <= pieces; ++i) {
        const double t = t0 + (t1 - t0) * static_cast<double>(i) / static_cast<double>(pieces);
        const double bx = x0 + dx * t, by = y0 + dy * t;
        MarkBox(static_cast<std::int64_t>(std::floor(std::min(ax, bx))) - reach,
                static_cast<std::int64_t>(std::floor(std::min(ay, by))) - reach,
                static_cast<std::int64_t>(std::ceil(std::max(ax, bx))) + reach,
                static_cast<std::int64_t>(std::ceil(std::max(ay, by))) + reach);
        ax = bx;
        ay = by;
    }
}

void DirtyRegionCanvas::MarkBox(std::int64_t left, std::int64_t top, std::int64_t right,
                                std::int64_t bottom) {
    // Inclusive pixel bounds, cut at the surface's edges.
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, inner_.Width() - 1);
    bottom = std::min<std::int64_t>(bottom, inner_.Height() - 1);
    if (left > right || top > bottom)
        return;
    const auto tx0 = static_cast<std::int32_t>(left / kTile), tx1 = static_cast<std::int32_t>(right / kTile);
    const auto ty0 = static_cast<std::int32_t>(top / kTile), ty1 = static_cast<std::int32_t>(bottom / kTile);
    for (std::int32_t ty = ty0; ty <= ty1; ++ty) {
        std::uint8_t* row = marks_.data() + static_cast<std::ptrdiff_t>(ty) * tilesX_;
        if (tx1 - tx0 < 2) {
            // A dot's box takes a tile or two: stored as they are, cheaper than a call to fill.
            row[tx0] = 1;
            row[tx1] = 1;
        } else {
            std::fill(row + tx0, row + tx1 + 1, std::uint8_t{1});
        }
    }
    anyMarked_ = true;
}

} // namespace zk

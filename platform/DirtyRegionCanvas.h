// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas decorator that passes every operation on to a raster canvas and notes where it drew,
// so that a window repaints only those parts.  Each operation's bounding box, in the surface's
// own pixels (independent of any device scale), is marked on a grid of small tiles; a long line
// is cut into short pieces, each with its own box, so that a diagonal does not mark the whole
// rectangle it spans.
//
// The window's frames draw the same passes again and again: the particles' motion tick, then the
// scene, once per frame.  Drawn as numbered passes, each operation is compared with the one at
// the same place of the same pass in the previous frame; an operation that repeats it paints the
// same pixels in the same colours, and where it is the last to touch a pixel in both frames that
// pixel shows what it showed before, so it is not marked.  What differs is marked, and with it,
// once something was left unmarked earlier in the frame, the operation it replaces, whose pixels
// may now show what lay beneath them; so is whatever the previous frame drew that this one does
// not draw again.  Drawing outside the passes, a flood fill (its result depends on what it finds)
// or passes out of order leave nothing to compare with: that frame and the next are marked in
// full as drawn.
#include <cstdint>
#include <string>
#include <vector>

#include "RasterCanvas.h"

namespace zk {

// A rectangle of pixels; its right column and bottom row are excluded.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

class DirtyRegionCanvas : public TCanvas {
  public:
    static constexpr std::int32_t kTile = 8;        // pixels, side of a tile of the grid
    static constexpr std::int32_t kPiece = 16;      // pixels along a line, for one box
    static constexpr std::int32_t kBandTiles = 1;   // rows of tiles handed over as one band
    static constexpr std::int32_t kBridgeTiles = 8; // gaps of up to this many tiles are bridged

    explicit DirtyRegionCanvas(RasterCanvas& inner);

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

    // The whole surface has changed (cleared, shown again): all of it is marked, and the next
    // repeated pass is marked in full.
    void MarkAll();
    bool HasDirty() const { return anyMarked_; }
    // Ends the frame and hands over what was marked since the last call, then unmarks it: whole
    // tiles cut at the surface's edges, one rectangle per run of marked tiles in a band of
    // kBandTiles rows of tiles (gaps of up to kBridgeTiles tiles bridged, since a few wide
    // rectangles repaint faster than many small ones), top to bottom and left to right, so no two
    // of them overlap or touch side by side.  out is overwritten.
    void TakeDirty(std::vector<TRect>& out);

    static constexpr int kPasses = 4; // numbered passes per frame
    // Brackets one pass of the frame; passes must come in increasing order of their numbers.  A
    // pass that ends early (a fault part-way) is still ended by EndPass.
    void BeginPass(int pass);
    void EndPass();

  private:
    // One drawing operation as far as its pixels depend on it, small enough that a frame's
    // thousands of them are cheap to keep and compare.
    enum class OpKind : std::uint8_t { Line, Ellipse, Text, Pixel };
    struct Op {
        OpKind Kind = OpKind::Line;
        std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // Line: from (X1, Y1) to (X2, Y2)
        TPen Pen;                                    // Pixel: Pen.Color is the pixel's colour
        std::int32_t Text = -1;                      // Text: its index among the pass's texts
    };
    using Texts = std::vector<std::string>;

    void Record(OpKind kind, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                const TPen& pen, const std::string* text = nullptr);
    // op's texts are in texts.
    void MarkOp(const Op& op, const Texts& texts);
    void MarkLine(const Op& op);
    void MarkBox(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

    RasterCanvas& inner_;
    std::int32_t tilesX_;
    std::int32_t tilesY_;
    std::vector<std::uint8_t> marks_;   // one per tile, row by row
    std::vector<std::uint8_t> columns_; // the columns of tiles a band takes
    bool anyMarked_ = false;

    // One numbered pass: its operations in this frame and in the previous one.  The vectors keep
    // their length (and their strings their storage) from frame to frame.
    struct Pass {
        std::vector<Op> Previous;
        std::vector<Op> Current;
        Texts PreviousTexts;
        Texts CurrentTexts;
        std::size_t PreviousLength = 0;
        std::size_t Length = 0;
        std::size_t TextCount = 0; // texts of this frame's run
        bool Ran = false;          // in this frame
    };
    void MarkPrevious(const Pass& pass, std::size_t from);
    void EndFrame();

    Pass passes_[kPasses];
    Pass* pass_ = nullptr;     // the running pass
    int lastPass_ = -1;        // the number of the last pass begun in this frame
    bool comparable_ = false;  // this frame's passes can be compared with the previous frame
    bool keepBaseline_ = true; // this frame may serve as the next frame's comparison
    bool skipped_ = false;     // an operation of this frame was left unmarked
    Op scratch_;               // the operation being recorded outside a pass
    Texts scratchText_{1};     // and its text
};

} // namespace zk

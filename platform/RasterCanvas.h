// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas that draws into its own 32-bit pixel buffer by exact, aliased pixel rules, so the same
// drawing gives the same pixels on every machine and can be tested pixel by pixel, headless.
//
// The rules beyond those of TCanvas:
// - Styled one-pixel pens repeat 6 on, 4 off (dash), 2 on, 2 off (dot), 6-3-2-3 (dash-dot) and
//   6-3-2-3-2-3 (dash-dot-dot) pixels, laid on the surface's grid: a pixel of a styled line is
//   inked by its column (lines nearer the horizontal) or row (nearer the vertical), whatever
//   was drawn before.  A clear pen draws nothing at any width.
// - A wider pen sweeps a disc of its width along the line: round ends, both included.  For an
//   even width the band lies half a pixel to the right of and below the ideal line.
// - Ellipse outlines are always solid; a clear pen leaves only the brush-filled ellipse.  A
//   rectangle of zero width or height holds no ellipse and draws nothing.
// - Coordinates may lie anywhere in the 32-bit range: lines, ellipses and text are cut at the
//   surface's edges before any pixel is visited, so far-away parts cost nothing.
// - Text is aliased glyphs from FreeType (one bit per pixel) of the face fontconfig offers.
// - At a device scale k > 1 the program still draws in logical pixels, and every logical pixel
//   is a k x k block of the buffer.  The figures keep their geometry and colours and are drawn
//   at device resolution: a one-pixel pen is a band k device pixels thick (measured across the
//   line's major axis) along the ideal line through the centres of the end pixels, covering the
//   start pixel's block and not the end pixel's; a wider pen w is a band w k wide; dashes and
//   dots are k times as long; ellipses are those of the scaled rectangle with the outline k
//   times as thick; glyphs are rendered at k times the font's pixel height, each at the place
//   its logical counterpart takes; a single pixel is a k x k block.  Text metrics and the pen
//   position stay logical.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TCanvas.h"

namespace zk {

class GlyphFont;

// How a device pixel lies in its 32-bit word of the buffer.  Only the storage differs: the same
// drawing gives the same colours in either layout.
enum class PixelLayout : std::uint8_t {
    Rgb32,   // 0xFFRRGGBB, the layout of QImage::Format_RGB32
    Rgba8888 // the bytes R, G, B, 255 in memory (the little-endian word 0xFFBBGGRR), as an HTML
             // canvas's ImageData holds them
};

// The font a canvas writes its text with.
struct FontSpec {
    std::string Family = "MS Sans Serif"; // asked of fontconfig; metric-compatible faces stand in
    std::int32_t PixelHeight = 11;        // character height in pixels
    bool Bold = false;
    bool Italic = false;
    TColor Color = clWindowText;
    std::string File; // a font file to use as it is instead of asking fontconfig; empty: ask
};

class RasterCanvas : public TCanvas {
public:
    // The largest device scale a canvas takes; a larger one is taken as this.
    static constexpr std::int32_t kMaxScale = 16;

    // A surface of width x height logical pixels, each scale x scale device pixels (a scale
    // below 1 is taken as 1), all white, with the default pen (black, 1, solid), the white
    // solid brush and the given font, its pixels laid out as layout says.
    RasterCanvas(std::int32_t width, std::int32_t height, const FontSpec& font = FontSpec{},
                 std::int32_t scale = 1, PixelLayout layout = PixelLayout::Rgb32);
    ~RasterCanvas() override;

    std::int32_t Width() const { return width_; }   // logical pixels
    std::int32_t Height() const { return height_; } // logical pixels
    std::int32_t Scale() const { return scale_; }   // device pixels per logical pixel
    std::int32_t DeviceWidth() const { return deviceWidth_; }
    std::int32_t DeviceHeight() const { return deviceHeight_; }
    // Row-major device pixels in the canvas's layout (0xFFRRGGBB unless made otherwise),
    // DeviceWidth() per row.
    const std::uint32_t* Bits() const { return pixels_.data(); }
    PixelLayout Layout() const { return layout_; }
    // A word of Bits() in the given layout as 0xFFRRGGBB, for the writers of image files.
    static std::uint32_t Rgb32Of(std::uint32_t word, PixelLayout layout) {
        if (layout == PixelLayout::Rgb32)
            return word;
        return (word & 0xFF00FF00u) | ((word >> 16) & 0xFFu) | ((word & 0xFFu) << 16);
    }
    // The colour of one logical pixel (the top-left device pixel of its block) as a TColor
    // (0x00BBGGRR); white outside the surface.
    TColor Pixel(std::int32_t x, std::int32_t y) const;
    // The colour of one device pixel; white outside the surface.
    TColor DevicePixel(std::int32_t dx, std::int32_t dy) const;
    // Width in pixels of a text in this canvas's font.
    std::int32_t TextWidth(const std::string& text) const;
    // Height in pixels of the box TextOut blanks (the font's line height).
    std::int32_t TextHeight() const;
    // Paints the whole surface in one colour, as a window does when the system repaints it.
    void Clear(TColor color = clWhite);

    void SetPenColor(TColor color) override;
    void SetPenWidth(std::int32_t width) override;
    void SetPenStyle(TPenStyle style) override;
    TPen Pen() const override { return pen_; }
    TPoint PenPos() const override { return penPos_; }
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override;
    void SetPixel(std::int32_t x, std::int32_t y, TColor color) override;
    void FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) override;
    void Refresh() override;

private:
    std::int32_t width_;        // logical pixels
    std::int32_t height_;       // logical pixels
    std::int32_t scale_;        // device pixels per logical pixel
    std::int32_t deviceWidth_;  // device pixels
    std::int32_t deviceHeight_; // device pixels
    PixelLayout layout_;
    std::vector<std::uint32_t> pixels_;
    TPen pen_;
    TPoint penPos_;
    FontSpec fontSpec_;
    std::unique_ptr<GlyphFont> font_;       // the logical font: metrics, and glyphs at scale 1
    std::unique_ptr<GlyphFont> deviceFont_; // glyphs at scale times the pixel height; null at 1

    std::uint32_t penPixel_;       // the pen colour as stored in the buffer
    // A run of a flood fill's row Y whose neighbours in row Y + Dy are still to be looked at.
    struct FillRun {
        std::int32_t Y;
        std::int32_t Left;
        std::int32_t Right;
        std::int32_t Dy;
    };
    std::vector<FillRun> fillStack_;        // kept between fills to avoid reallocating
    std::vector<std::uint8_t> fillVisited_; // pixels a flood fill has taken, one byte each

    // One row of an ellipse: half-spans, in doubled coordinates, of the whole figure and of its
    // inside (-1: none).
    struct EllipseRow {
        std::int64_t Outer;
        std::int64_t Inner;
    };
    struct EllipseShape {
        std::int64_t W = -1; // device pixels
        std::int64_t H = -1;
        std::int64_t PenWidth = 0; // logical pixels
        bool Outlined = false;
        // The last small ellipse's rows as runs of pixels relative to the rectangle's top left
        // device pixel, and the box they take: a dot wholly on the surface is then a few stores
        // per row.
        struct Span {
            std::int32_t Row;
            std::int32_t First;
            std::int32_t Last; // included
            bool Pen;          // in the pen's colour, else in the white of the brush
        };
        std::vector<Span> Spans;
        std::int64_t Top = 0, Bottom = 0, Left = 0, Right = 0; // included
    };
    static constexpr std::int64_t kEllipseShapeRows = 256;
    EllipseShape ellipseShape_;
    // Draws the kept shape with its rectangle's top left device pixel at (left, top).
    void DrawEllipseShape(std::int64_t left, std::int64_t top);

    void ThinLine(TPoint from, TPoint to);
    void ScaledThinLine(TPoint from, TPoint to);
    void WideLine(TPoint from, TPoint to);
    void FillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel);
    void FillColumn(std::int64_t x, std::int64_t y0, std::int64_t y1, std::uint32_t pixel);
    // Whether a device pixel lies on the surface.
    bool InSurface(std::int64_t x, std::int64_t y) const {
        return x >= 0 && y >= 0 && x < deviceWidth_ && y < deviceHeight_;
    }
};

} // namespace zk

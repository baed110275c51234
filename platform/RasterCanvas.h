#pragma once
// A canvas that draws into its own 32-bit pixel buffer by exact, aliased pixel rules, so the same
// drawing gives the same pixels on every machine and can be tested pixel by pixel, headless.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TCanvas.h"

namespace zk {

class GlyphFont;

// The font a canvas writes its text with.
struct FontSpec {
    std::string Family = "MS Sans Serif"; // asked of fontconfig; metric-compatible faces stand in
    std::int32_t PixelHeight = 11;        // character height in pixels
    bool Bold = false;
    bool Italic = false;
    TColor Color = clWindowText;
};

class RasterCanvas : public TCanvas {
public:
    // A surface of width x height pixels, all white, with the default pen (black, 1, solid), the
    // white solid brush and the given font.
    RasterCanvas(std::int32_t width, std::int32_t height, const FontSpec& font = FontSpec{});
    ~RasterCanvas() override;

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // Row-major pixels as 0xFFRRGGBB (the layout of QImage::Format_RGB32), Width() per row.
    const std::uint32_t* Bits() const { return pixels_.data(); }
    // The colour of one pixel as a TColor (0x00BBGGRR); white outside the surface.
    TColor Pixel(std::int32_t x, std::int32_t y) const;
    // Width in pixels of a text in this canvas's font.
    std::int32_t TextWidth(const std::string& text) const;
    // Height in pixels of the box TextOut blanks (the font's line height).
    std::int32_t TextHeight() const;

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
    std::int32_t width_;
    std::int32_t height_;
    std::vector<std::uint32_t> pixels_;
    TPen pen_;
    TPoint penPos_;
    FontSpec fontSpec_;
    std::unique_ptr<GlyphFont> font_;
    // (the implementation may add private members)
};

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing operations the program's logic draws with: a pen, an unchanging white brush, a font,
// lines, ellipses, opaque text, single pixels and flood fill, all on integer pixels with the origin
// at the top left and y growing downwards.  The diagram, the flight scene, the exported BMP, the
// batch tool and the tests all draw through this one interface.
#include <cstdint>
#include <string>

namespace zk {

// 0x00BBGGRR, red in the low byte; a top byte of 0x80 names a system colour.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clWindowText = 0x80000008; // text colour of windows, black here

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TFillStyle { fsSurface, fsBorder }; // FillSurface, FillBorder

struct TPen {
    TColor Color = clBlack;
    std::int32_t Width = 1; // pixels
    TPenStyle Style = TPenStyle::psSolid;
};

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // The pen; a negative width is ignored and the width stays as it was.
    virtual void SetPenColor(TColor color) = 0;
    virtual void SetPenWidth(std::int32_t width) = 0;
    virtual void SetPenStyle(TPenStyle style) = 0;
    virtual TPen Pen() const = 0;
    virtual TPoint PenPos() const = 0;

    // Pen position := (x, y); nothing is drawn.
    virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
    // A line from the pen position to (x, y), start pixel drawn and end pixel not (width 1);
    // pen position := (x, y).
    virtual void LineTo(std::int32_t x, std::int32_t y) = 0;
    // The ellipse inscribed in the rectangle of two corners in any order (right column and bottom
    // row excluded), filled with the brush and outlined with the pen.
    virtual void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;
    // Opaque text (UTF-8) with its top-left corner at (x, y); pen position := (x + width, y).
    virtual void TextOut(std::int32_t x, std::int32_t y, const std::string& text) = 0;
    virtual void SetPixel(std::int32_t x, std::int32_t y, TColor color) = 0;
    virtual void FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) = 0;
    // Releases the cached drawing objects; draws and erases nothing.
    virtual void Refresh() = 0;
};

} // namespace zk

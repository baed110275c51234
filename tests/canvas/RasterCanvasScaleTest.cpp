// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas at a device scale above 1: the same figures, the same colours, drawn finer.  The
// expected device pixels are worked out by hand in doubled device coordinates, where the centre
// of logical pixel x lies at 2 k x + k - 1 and the centre of device pixel a at 2 a.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CanvasTestSupport.h"
#include "GlyphFont.h"
#include "RasterCanvas.h"

namespace zk {
namespace {

using Device = std::set<std::pair<int, int>>; // (dx, dy)

// The device pixels of a given colour.
Device DevicePixelsOf(const RasterCanvas& c, TColor colour) {
    Device found;
    for (int y = 0; y < c.DeviceHeight(); ++y) {
        for (int x = 0; x < c.DeviceWidth(); ++x) {
            if (c.DevicePixel(x, y) == colour) {
                found.insert({x, y});
            }
        }
    }
    return found;
}

Device Rect(int x0, int y0, int x1, int y1) { // both corners included
    Device d;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            d.insert({x, y});
        }
    }
    return d;
}

Device Union(std::initializer_list<Device> parts) {
    Device d;
    for (const Device& p : parts) {
        d.insert(p.begin(), p.end());
    }
    return d;
}

TEST(RasterCanvasScale, SizesAndLogicalReads) {
    RasterCanvas c(7, 5, FontSpec{}, 3);
    EXPECT_EQ(c.Width(), 7);
    EXPECT_EQ(c.Height(), 5);
    EXPECT_EQ(c.Scale(), 3);
    EXPECT_EQ(c.DeviceWidth(), 21);
    EXPECT_EQ(c.DeviceHeight(), 15);
    // A set pixel is a k x k block, and Pixel reads the block's top-left device pixel.
    c.SetPixel(2, 1, clRed);
    EXPECT_EQ(DevicePixelsOf(c, clRed), Rect(6, 3, 8, 5));
    EXPECT_EQ(c.Pixel(2, 1), clRed);
    EXPECT_EQ(c.Pixel(3, 1), clWhite);
    EXPECT_EQ(c.Pixel(7, 0), clWhite); // outside
    EXPECT_EQ(c.DevicePixel(21, 0), clWhite);
    c.SetPixel(-1, 0, clRed);
    c.SetPixel(7, 4, clRed);
    EXPECT_EQ(DevicePixelsOf(c, clRed).size(), 9u);

    // A scale below 1 is 1; one beyond the largest is the largest.
    EXPECT_EQ(RasterCanvas(4, 4, FontSpec{}, 0).Scale(), 1);
    EXPECT_EQ(RasterCanvas(4, 4, FontSpec{}, -3).DeviceWidth(), 4);
    EXPECT_EQ(RasterCanvas(2, 2, FontSpec{}, 1000).Scale(), RasterCanvas::kMaxScale);
}

TEST(RasterCanvasScale, OnePixelPenIsABandOfKPixels) {
    // Horizontal, k = 2: logical pixels 0..4 of row 0 become device columns 0..9, rows 0 and 1;
    // the end pixel (5, 0), device columns 10 and 11, stays white.
    {
        RasterCanvas c(10, 10, FontSpec{}, 2);
        c.MoveTo(0, 0);
        c.LineTo(5, 0);
        EXPECT_EQ(DevicePixelsOf(c, clBlack), Rect(0, 0, 9, 1));
        EXPECT_EQ(c.PenPos(), (TPoint{5, 0}));
    }
    // Vertical and backwards, k = 2, (2, 4) to (2, 1): the start block (device rows 8, 9) is in,
    // the end block (rows 2, 3) out: rows 4..9.  The ideal line runs at doubled x 2*2*2+1 = 9,
    // the band covers the centres in [9 - 2, 9 + 2), device columns 4 and 5.
    {
        RasterCanvas c(10, 10, FontSpec{}, 2);
        c.MoveTo(2, 4);
        c.LineTo(2, 1);
        EXPECT_EQ(DevicePixelsOf(c, clBlack), Rect(4, 4, 5, 9));
    }
    // Diagonal, k = 2, (0, 0) to (3, 3): device columns 0..5; at column a the ideal line is at
    // doubled y 2a, so the band takes rows a - 1 and a (row -1 is off the surface).
    {
        RasterCanvas c(10, 10, FontSpec{}, 2);
        c.MoveTo(0, 0);
        c.LineTo(3, 3);
        Device expected{{0, 0}};
        for (int a = 1; a <= 5; ++a) {
            expected.insert({a, a - 1});
            expected.insert({a, a});
        }
        EXPECT_EQ(DevicePixelsOf(c, clBlack), expected);
    }
    // Shallow, k = 3, (0, 0) to (4, 1): device columns 0..11.  Doubled centres: x 2 to 26,
    // y 2 to 8, so at column a the line lies at doubled y M = 2 + (2a - 2) / 4 and the band's
    // first row is ceil((M - 3) / 2) = ceil((a - 3) / 4): 0 for a = 0..3, 1 for 4..7, 2 for 8..11.
    {
        RasterCanvas c(10, 10, FontSpec{}, 3);
        c.MoveTo(0, 0);
        c.LineTo(4, 1);
        EXPECT_EQ(DevicePixelsOf(c, clBlack), Union({Rect(0, 0, 3, 2), Rect(4, 1, 7, 3), Rect(8, 2, 11, 4)}));
    }
    // A line to the pen position draws nothing at any scale.
    {
        RasterCanvas c(10, 10, FontSpec{}, 2);
        c.MoveTo(4, 4);
        c.LineTo(4, 4);
        EXPECT_EQ(test::CountNotWhite(c), 0);
    }
}

TEST(RasterCanvasScale, StyledAndWidePensScaleWithK) {
    // Dashes of 6 on, 4 off logical pixels become 12 on, 8 off device columns, on the grid.
    {
        RasterCanvas c(30, 4, FontSpec{}, 2);
        c.SetPenStyle(TPenStyle::psDash);
        c.MoveTo(0, 1);
        c.LineTo(20, 1);
        EXPECT_EQ(DevicePixelsOf(c, clBlack), Union({Rect(0, 2, 11, 3), Rect(20, 2, 31, 3)}));
    }
    // Width 3 at k = 2, (2, 5) to (8, 5): a band 6 device pixels wide about doubled y 21, that is
    // device y 10.5: rows 8..13 (centres within 3).  The round end, a disc of radius 3 about
    // device (4.5, 10.5), reaches column 2 on rows 9..12 (3^2 - 1.5^2 > 2.5^2) but not on rows 8
    // and 13 (3^2 - 2.5^2 < 2.5^2), and column 1 on no row (3^2 - 0.5^2 < 3.5^2).
    {
        RasterCanvas c(12, 12, FontSpec{}, 2);
        c.SetPenWidth(3);
        c.MoveTo(2, 5);
        c.LineTo(8, 5);
        for (int row = 8; row <= 13; ++row) {
            EXPECT_EQ(c.DevicePixel(10, row), clBlack) << row;
        }
        EXPECT_EQ(c.DevicePixel(10, 7), clWhite);
        EXPECT_EQ(c.DevicePixel(10, 14), clWhite);
        for (int row = 9; row <= 12; ++row) {
            EXPECT_EQ(c.DevicePixel(2, row), clBlack) << row;
            EXPECT_EQ(c.DevicePixel(1, row), clWhite) << row;
        }
        EXPECT_EQ(c.DevicePixel(2, 8), clWhite);
        EXPECT_EQ(c.DevicePixel(2, 13), clWhite);
        EXPECT_EQ(c.DevicePixel(3, 8), clBlack);
        // the styles still draw solid at a width above 1
        RasterCanvas d(12, 12, FontSpec{}, 2);
        d.SetPenWidth(3);
        d.SetPenStyle(TPenStyle::psDot);
        d.MoveTo(2, 5);
        d.LineTo(8, 5);
        EXPECT_EQ(test::PixelsOf(d).size(), test::PixelsOf(c).size());
        EXPECT_EQ(DevicePixelsOf(d, clBlack), DevicePixelsOf(c, clBlack));
    }
    // A clear pen draws nothing.
    {
        RasterCanvas c(12, 12, FontSpec{}, 2);
        c.SetPenStyle(TPenStyle::psClear);
        c.MoveTo(0, 0);
        c.LineTo(10, 7);
        EXPECT_EQ(DevicePixelsOf(c, clBlack).size(), 0u);
    }
}

TEST(RasterCanvasScale, EllipseIsThatOfTheScaledRectangle) {
    // Ellipse(0, 0, 2, 2), pen 1, k = 2: the device square 0..3 x 0..3 and a two-pixel outline,
    // which leaves no inside: the pixels whose centres lie within the inscribed circle of radius
    // 2 about (1.5, 1.5): all but the four corners (at 2.12 from the centre).
    {
        RasterCanvas c(6, 6, FontSpec{}, 2);
        c.Ellipse(2, 2, 0, 0); // corners in any order
        const Device expected = Union({Rect(1, 0, 2, 0), Rect(0, 1, 3, 2), Rect(1, 3, 2, 3)});
        EXPECT_EQ(DevicePixelsOf(c, clBlack), expected);
    }
    // Ellipse(0, 0, 4, 4), pen 1, k = 2, in doubled coordinates X = 2x - 7, Y = 2y - 7 (odd):
    // the outline's outer edge is X^2 + Y^2 <= 64: rows 0 and 7 columns 2..5, rows 1 and 6
    // columns 1..6, rows 2..5 columns 0..7.  The inner ellipse X^2 + Y^2 <= 36, less the pixels
    // without all four neighbours in it, leaves the inside rows 2..5 x columns 2..5, the 2 x 2
    // hole of the scale-1 ring (rows and columns 1..2) scaled by 2.  The brush paints it white.
    {
        RasterCanvas c(6, 6, FontSpec{}, 2);
        c.Clear(clBlue);
        c.SetPenColor(clRed);
        c.Ellipse(0, 0, 4, 4);
        const Device outline =
            Union({Rect(2, 0, 5, 0), Rect(1, 1, 6, 1), Rect(0, 2, 7, 5), Rect(1, 6, 6, 6), Rect(2, 7, 5, 7)});
        const Device inside = Rect(2, 2, 5, 5);
        Device ring;
        for (const auto& p : outline) {
            if (!inside.count(p)) {
                ring.insert(p);
            }
        }
        EXPECT_EQ(DevicePixelsOf(c, clRed), ring);
        EXPECT_EQ(DevicePixelsOf(c, clWhite), inside);

        // The same figure at scale 1: 8 outline pixels (rows 0 and 3 columns 1..2, rows 1 and 2
        // columns 0 and 3) around the 2 x 2 hole.
        RasterCanvas one(6, 6);
        one.Clear(clBlue);
        one.SetPenColor(clRed);
        one.Ellipse(0, 0, 4, 4);
        EXPECT_EQ(DevicePixelsOf(one, clWhite), Rect(1, 1, 2, 2));
        EXPECT_EQ(DevicePixelsOf(one, clRed).size(), 8u);
    }
    // An empty rectangle draws nothing.
    {
        RasterCanvas c(6, 6, FontSpec{}, 3);
        c.Ellipse(2, 1, 2, 5);
        EXPECT_EQ(DevicePixelsOf(c, clBlack).size(), 0u);
    }
}

TEST(RasterCanvasScale, TextKeepsItsLogicalBoxAndPenPosition) {
    FontSpec font;
    RasterCanvas one(60, 30, font);
    RasterCanvas two(60, 30, font, 2);
    for (RasterCanvas* c : {&one, &two}) {
        c->Clear(clBlue);
        c->TextOut(3, 2, "V1 Аб");
    }
    ASSERT_GT(one.TextWidth("V1 Аб"), 0);
    EXPECT_EQ(two.TextWidth("V1 Аб"), one.TextWidth("V1 Аб"));
    EXPECT_EQ(two.TextHeight(), one.TextHeight());
    EXPECT_EQ(two.PenPos(), one.PenPos());
    EXPECT_EQ(two.PenPos(), (TPoint{3 + one.TextWidth("V1 Аб"), 2}));

    // The opaque box is the logical box scaled: device columns 6 .. 2 (3 + w) - 1, rows
    // 4 .. 2 (2 + h) - 1 hold white or ink, and nothing blue; the pixels around it stay blue.
    const int w = one.TextWidth("V1 Аб");
    const int h = one.TextHeight();
    int ink = 0;
    for (int y = 0; y < two.DeviceHeight(); ++y) {
        for (int x = 0; x < two.DeviceWidth(); ++x) {
            const bool inBox = x >= 6 && x < 2 * (3 + w) && y >= 4 && y < 2 * (2 + h);
            const TColor p = two.DevicePixel(x, y);
            if (inBox) {
                EXPECT_NE(p, clBlue) << x << "," << y;
                ink += p == clBlack ? 1 : 0;
            } else if (p != clBlue) {
                // glyphs may reach past the box as at scale 1, but only in ink
                EXPECT_EQ(p, clBlack) << x << "," << y;
            }
        }
    }
    // Glyphs at twice the pixel height carry about four times the ink of the small ones; the
    // stems are thinner relative to their size at the larger size, so allow 2x to 6x.
    const int inkOne = test::CountColour(one, clBlack);
    ASSERT_GT(inkOne, 0);
    EXPECT_GE(ink, 2 * inkOne);
    EXPECT_LE(ink, 6 * inkOne);

    // The first letter is the glyph FreeType renders at 22 pixels, with its origin at the
    // logical pen position scaled: device x 6, baseline 2 (2 + ascent).
    GlyphFont big(font.Family, 2 * font.PixelHeight, font.Bold, font.Italic);
    GlyphFont small(font.Family, font.PixelHeight, font.Bold, font.Italic);
    const GlyphFont::Glyph& v = big.GlyphOf(U'V');
    const int left = 6 + v.Left;
    const int top = 2 * (2 + small.Ascent()) - v.Top;
    int checked = 0;
    for (int r = 0; r < v.Rows; ++r) {
        for (int col = 0; col < v.Width; ++col) {
            if (v.Mask[static_cast<std::size_t>(r * v.Width + col)] != 0) {
                EXPECT_EQ(two.DevicePixel(left + col, top + r), clBlack) << col << "," << r;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 10);

    // Finer than doubled pixels: some aligned 2 x 2 block holds both ink and white.
    int mixed = 0;
    for (int y = 4; y + 1 < 2 * (2 + h); y += 2) {
        for (int x = 6; x + 1 < 2 * (3 + w); x += 2) {
            const TColor a = two.DevicePixel(x, y);
            if (two.DevicePixel(x + 1, y) != a || two.DevicePixel(x, y + 1) != a ||
                two.DevicePixel(x + 1, y + 1) != a) {
                ++mixed;
            }
        }
    }
    EXPECT_GT(mixed, 5);
}

TEST(RasterCanvasScale, FloodFillRunsOnDevicePixels) {
    // A clMedGray frame (2, 2) - (8, 2) - (8, 8) - (2, 8) - (2, 2) at k = 2 on a blue surface:
    // top edge device columns 4..15 rows 4, 5; right edge columns 16, 17 rows 4..15; bottom
    // edge rows 16, 17 columns 6..17; left edge columns 4, 5 rows 6..17.  The inside is
    // device 6..15 x 6..15, 100 pixels, which the fill from (5, 5) turns white.
    RasterCanvas c(12, 12, FontSpec{}, 2);
    c.Clear(clBlue);
    c.SetPenColor(clMedGray);
    c.MoveTo(2, 2);
    c.LineTo(8, 2);
    c.LineTo(8, 8);
    c.LineTo(2, 8);
    c.LineTo(2, 2);
    const Device frame =
        Union({Rect(4, 4, 15, 5), Rect(16, 4, 17, 15), Rect(6, 16, 17, 17), Rect(4, 6, 5, 17)});
    EXPECT_EQ(DevicePixelsOf(c, clMedGray), frame);
    c.FloodFill(5, 5, clMedGray, TFillStyle::fsBorder);
    EXPECT_EQ(DevicePixelsOf(c, clWhite), Rect(6, 6, 15, 15));
    EXPECT_EQ(DevicePixelsOf(c, clMedGray), frame);

    // The surface mode paints the region of the seed's colour: the blue outside.
    c.FloodFill(0, 0, clBlue, TFillStyle::fsSurface);
    EXPECT_EQ(DevicePixelsOf(c, clBlue).size(), 0u);

    // The clearing fill of the diagram reaches every device pixel.
    RasterCanvas d(20, 20, FontSpec{}, 3);
    d.Clear(clBlue);
    d.SetPenColor(clRed);
    d.MoveTo(0, 10);
    d.LineTo(19, 10);
    d.FloodFill(10, 5, clMedGray, TFillStyle::fsBorder);
    EXPECT_EQ(DevicePixelsOf(d, clWhite).size(), static_cast<std::size_t>(60 * 60));
}

TEST(RasterCanvasScale, DrawingTheSameFigureInWhiteErasesIt) {
    // The flight window hides a figure by drawing it again in white: the same device pixels
    // must be hit, at every scale, whatever the pen.
    for (const int k : {2, 3, 4}) {
        RasterCanvas c(80, 60, FontSpec{}, k);
        test::Lcg random(static_cast<std::uint32_t>(17 + k));
        for (int round = 0; round < 200; ++round) {
            const int kind = random.Next(0, 2);
            const int width = random.Next(0, 4);
            const auto style = static_cast<TPenStyle>(random.Next(0, 4));
            const int x0 = random.Next(-20, 100);
            const int y0 = random.Next(-20, 80);
            const int x1 = random.Next(-20, 100);
            const int y1 = random.Next(-20, 80);
            for (const TColor colour : {clBlack, clWhite}) {
                c.SetPenColor(colour);
                c.SetPenWidth(width);
                c.SetPenStyle(style);
                if (kind == 0) {
                    c.MoveTo(x0, y0);
                    c.LineTo(x1, y1);
                } else if (kind == 1) {
                    c.Ellipse(x0, y0, x0 + (x1 & 7), y0 + (y1 & 7));
                } else {
                    c.SetPixel(x0, y0, colour);
                }
            }
            ASSERT_EQ(DevicePixelsOf(c, clBlack).size(), 0u) << "k " << k << " round " << round;
        }
    }
}

TEST(RasterCanvasScale, FarCoordinatesAreCutAtTheEdges) {
    // Lines and ellipses far outside the surface cost nothing and touch only what is inside.
    RasterCanvas c(50, 40, FontSpec{}, 4);
    c.MoveTo(-2000000000, 20);
    c.LineTo(2000000000, 20);
    EXPECT_EQ(DevicePixelsOf(c, clBlack), Rect(0, 80, 199, 83));
    c.SetPenWidth(2);
    c.MoveTo(25, -2000000000);
    c.LineTo(25, 2000000000);
    EXPECT_EQ(c.DevicePixel(100, 0), clBlack);
    EXPECT_EQ(c.DevicePixel(100, 159), clBlack);
    c.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000); // only its white inside shows
    EXPECT_EQ(DevicePixelsOf(c, clWhite).size(), static_cast<std::size_t>(200 * 160));
}

} // namespace
} // namespace zk

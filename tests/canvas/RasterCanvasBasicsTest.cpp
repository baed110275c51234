// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CanvasTestSupport.h"

namespace zk {
namespace {

TEST(RasterCanvasBasics, NewCanvasIsWhiteWithDefaultPen) {
    RasterCanvas c(20, 10);
    EXPECT_EQ(c.Width(), 20);
    EXPECT_EQ(c.Height(), 10);
    EXPECT_EQ(test::CountColour(c, clWhite), 200);
    EXPECT_EQ(c.Bits()[0], 0xFFFFFFFFu);
    const TPen pen = c.Pen();
    EXPECT_EQ(pen.Color, clBlack);
    EXPECT_EQ(pen.Width, 1);
    EXPECT_EQ(pen.Style, TPenStyle::psSolid);
    EXPECT_EQ(c.PenPos(), (TPoint{0, 0}));
}

TEST(RasterCanvasBasics, NegativeSizeGivesEmptySurface) {
    RasterCanvas c(-5, 7);
    EXPECT_EQ(c.Width(), 0);
    c.MoveTo(0, 0);
    c.LineTo(10, 10);
    c.Ellipse(0, 0, 4, 4);
    c.FloodFill(0, 0, clMedGray, TFillStyle::fsBorder);
    c.TextOut(0, 0, "V1");
    EXPECT_EQ(c.Pixel(0, 0), clWhite);
}

TEST(RasterCanvasBasics, ColoursAreStoredAsRgb32AndReadAsTColor) {
    RasterCanvas c(4, 4);
    c.SetPixel(0, 0, clRed);
    c.SetPixel(1, 0, clBlue);
    c.SetPixel(2, 0, clGreen);
    c.SetPixel(3, 0, clMedGray);
    EXPECT_EQ(c.Bits()[0], 0xFFFF0000u);
    EXPECT_EQ(c.Bits()[1], 0xFF0000FFu);
    EXPECT_EQ(c.Bits()[2], 0xFF008000u);
    EXPECT_EQ(c.Bits()[3], 0xFFA0A0A4u);
    EXPECT_EQ(c.Pixel(0, 0), clRed);
    EXPECT_EQ(c.Pixel(1, 0), clBlue);
    EXPECT_EQ(c.Pixel(2, 0), clGreen);
    EXPECT_EQ(c.Pixel(3, 0), clMedGray);
}

TEST(RasterCanvasBasics, TheCanvasByteOrderStoresRgbaBytesAndReadsTheSameColours) {
    RasterCanvas c(4, 1, FontSpec{}, 1, PixelLayout::Rgba8888);
    const TColor colours[] = {clRed, clBlue, clGreen, clMedGray};
    for (int x = 0; x < 4; ++x)
        c.SetPixel(x, 0, colours[x]);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.Bits());
    for (int x = 0; x < 4; ++x) {
        const TColor colour = colours[x];
        EXPECT_EQ(bytes[4 * x], colour & 0xFF) << x;
        EXPECT_EQ(bytes[4 * x + 1], (colour >> 8) & 0xFF) << x;
        EXPECT_EQ(bytes[4 * x + 2], (colour >> 16) & 0xFF) << x;
        EXPECT_EQ(bytes[4 * x + 3], 0xFF) << x;
        EXPECT_EQ(c.Pixel(x, 0), colour) << x;
    }
}

// Every drawing operation gives the same colours in both layouts: lines of every pen, ellipses,
// text, single pixels, both kinds of flood fill and system colours, at scales 1 and 3.
TEST(RasterCanvasBasics, BothLayoutsGiveTheSamePicture) {
    const auto draw = [](RasterCanvas& c) {
        c.Clear(0x80000005); // the window background, a system colour
        c.SetPenColor(clRed);
        c.SetPenWidth(3);
        c.MoveTo(2, 2);
        c.LineTo(50, 30);
        c.SetPenWidth(1);
        c.SetPenStyle(TPenStyle::psDashDot);
        c.SetPenColor(clBlue);
        c.LineTo(5, 38);
        c.SetPenStyle(TPenStyle::psSolid);
        c.SetPenColor(clGreen);
        c.Ellipse(10, 10, 30, 24);
        c.SetPenColor(clBlack);
        c.MoveTo(0, 20);
        c.LineTo(60, 20);
        c.FloodFill(20, 5, clBlack, TFillStyle::fsBorder);
        c.FloodFill(20, 17, clGreen, TFillStyle::fsSurface);
        c.SetPixel(58, 38, clMedGray);
        c.TextOut(32, 24, "V1 = 680");
    };
    for (const std::int32_t scale : {1, 3}) {
        RasterCanvas rgb32(60, 40, FontSpec{}, scale);
        RasterCanvas rgba(60, 40, FontSpec{}, scale, PixelLayout::Rgba8888);
        draw(rgb32);
        draw(rgba);
        int differing = 0;
        for (std::int32_t y = 0; y < rgb32.DeviceHeight(); ++y)
            for (std::int32_t x = 0; x < rgb32.DeviceWidth(); ++x)
                differing += rgb32.DevicePixel(x, y) != rgba.DevicePixel(x, y);
        EXPECT_EQ(differing, 0) << "scale " << scale;
        EXPECT_GT(test::CountNotWhite(rgba), 100) << "scale " << scale;
    }
}

TEST(RasterCanvasBasics, SetPixelOutsideIsIgnoredAndPixelOutsideReadsWhite) {
    RasterCanvas c(4, 4);
    for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {INT32_MIN, INT32_MAX}}) {
        c.SetPixel(x, y, clBlack);
        EXPECT_EQ(c.Pixel(x, y), clWhite);
    }
    EXPECT_EQ(test::CountNotWhite(c), 0);
}

TEST(RasterCanvasBasics, WindowTextColourDrawsBlack) {
    RasterCanvas c(10, 3);
    c.SetPenColor(clWindowText);
    EXPECT_EQ(c.Pen().Color, clWindowText); // the pen keeps the system colour itself
    c.MoveTo(0, 1);
    c.LineTo(10, 1);
    c.SetPixel(0, 0, clWindowText);
    EXPECT_EQ(test::CountColour(c, clBlack), 11);
}

TEST(RasterCanvasBasics, PenStateIsKeptAndNegativeWidthIgnored) {
    RasterCanvas c(10, 10);
    c.SetPenColor(clRed);
    c.SetPenWidth(3);
    c.SetPenStyle(TPenStyle::psDot);
    c.SetPenWidth(-2);
    c.MoveTo(1, 1);
    c.LineTo(8, 8);
    c.Refresh();
    const TPen pen = c.Pen();
    EXPECT_EQ(pen.Color, clRed);
    EXPECT_EQ(pen.Width, 3);
    EXPECT_EQ(pen.Style, TPenStyle::psDot);
    EXPECT_EQ(c.PenPos(), (TPoint{8, 8}));
}

TEST(RasterCanvasBasics, RefreshChangesNoPixel) {
    RasterCanvas c(30, 30);
    c.MoveTo(0, 0);
    c.LineTo(29, 17);
    const auto before = test::PixelsOf(c);
    c.Refresh();
    EXPECT_EQ(test::PixelsOf(c), before);
}

TEST(RasterCanvasBasics, ClearPaintsEverything) {
    RasterCanvas c(7, 5);
    c.Clear(clBlue);
    EXPECT_EQ(test::CountColour(c, clBlue), 35);
    c.Clear();
    EXPECT_EQ(test::CountColour(c, clWhite), 35);
}

} // namespace
} // namespace zk

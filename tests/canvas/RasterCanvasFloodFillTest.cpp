// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CanvasTestSupport.h"

namespace zk {
namespace {

using test::CountColour;
using test::CountNotWhite;

// A picture like the diagram: lines of every colour the program draws, and text.
void DrawDiagramLikePicture(RasterCanvas& c) {
    c.MoveTo(50, 220);
    c.LineTo(600, 220);
    c.MoveTo(200, 440);
    c.LineTo(200, 10);
    c.SetPenColor(clGreen);
    c.MoveTo(323, 220);
    c.LineTo(460, 166);
    c.LineTo(530, 220);
    c.SetPenColor(clBlue);
    c.SetPenWidth(3);
    c.MoveTo(200, 220);
    c.LineTo(530, 340);
    c.SetPenColor(clRed);
    c.SetPenWidth(2);
    c.MoveTo(200, 220);
    c.LineTo(600, -306);
    c.TextOut(405, 164, "20 град");
    // A closed box around the seed in another colour must not stop the fill.
    c.SetPenColor(clBlack);
    c.SetPenWidth(1);
    c.MoveTo(90, 90);
    c.LineTo(110, 90);
    c.LineTo(110, 110);
    c.LineTo(90, 110);
    c.LineTo(90, 90);
}

TEST(FloodFill, BorderFillWithoutBorderColourClearsTheWholePicture) {
    RasterCanvas c(609, 449);
    DrawDiagramLikePicture(c);
    ASSERT_GT(CountNotWhite(c), 1000);
    c.FloodFill(100, 100, clMedGray, TFillStyle::fsBorder);
    EXPECT_EQ(CountNotWhite(c), 0);
    // Again on an already white picture: nothing to do, and it ends.
    c.FloodFill(100, 100, clMedGray, TFillStyle::fsBorder);
    EXPECT_EQ(CountNotWhite(c), 0);
}

TEST(FloodFill, BorderFillStopsAtAClosedFrame) {
    RasterCanvas c(609, 449);
    DrawDiagramLikePicture(c);
    // A grey frame around (100, 100), drawn with a thin pen as a slanted closed polygon so that it
    // is only 8-connected in places; the fill must not slip through its diagonal steps.
    c.SetPenColor(clMedGray);
    c.SetPenWidth(1);
    c.MoveTo(60, 70);
    c.LineTo(150, 55);
    c.LineTo(170, 140);
    c.LineTo(70, 160);
    c.LineTo(60, 70);
    const int grey = CountColour(c, clMedGray);
    const int outsideInk = CountNotWhite(c) - grey - [&] {
        int n = 0;
        for (int y = 90; y <= 110; ++y) {
            for (int x = 90; x <= 110; ++x) {
                n += c.Pixel(x, y) != clWhite ? 1 : 0;
            }
        }
        return n;
    }();
    c.FloodFill(100, 100, clMedGray, TFillStyle::fsBorder);
    EXPECT_EQ(CountColour(c, clMedGray), grey);
    for (int y = 90; y <= 110; ++y) {
        for (int x = 90; x <= 110; ++x) {
            EXPECT_EQ(c.Pixel(x, y), clWhite) << x << ", " << y;
        }
    }
    EXPECT_EQ(CountNotWhite(c) - grey, outsideInk); // the axes and the rest outside stay
    EXPECT_EQ(c.Pixel(300, 220), clBlack);
}

TEST(FloodFill, SeedOnBorderColourPaintsNothing) {
    RasterCanvas c(50, 50);
    c.Clear(clMedGray);
    c.SetPixel(10, 10, clBlack);
    c.FloodFill(5, 5, clMedGray, TFillStyle::fsBorder);
    EXPECT_EQ(CountColour(c, clMedGray), 50 * 50 - 1);
}

TEST(FloodFill, SurfaceFillPaintsTheConnectedRegionOfTheColour) {
    RasterCanvas c(60, 40);
    c.Clear(clGreen);
    // A red wall splits the green surface in two.
    c.SetPenColor(clRed);
    c.MoveTo(30, 0);
    c.LineTo(30, 40);
    c.FloodFill(10, 10, clGreen, TFillStyle::fsSurface);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            const TColor expected = x < 30 ? clWhite : x == 30 ? clRed : clGreen;
            ASSERT_EQ(c.Pixel(x, y), expected) << x << ", " << y;
        }
    }
}

TEST(FloodFill, SurfaceFillFromAnotherColourPaintsNothing) {
    RasterCanvas c(30, 30);
    c.Clear(clBlue);
    c.FloodFill(3, 3, clGreen, TFillStyle::fsSurface);
    EXPECT_EQ(CountColour(c, clBlue), 900);
}

TEST(FloodFill, SurfaceFillOfTheBrushColourEnds) {
    RasterCanvas c(609, 449);
    c.SetPenColor(clBlack);
    c.MoveTo(0, 100);
    c.LineTo(609, 100);
    c.FloodFill(10, 10, clWhite, TFillStyle::fsSurface);
    EXPECT_EQ(CountColour(c, clBlack), 609);
}

TEST(FloodFill, SerpentineRegionIsFilledToItsEnd) {
    // Walls from alternating sides make one winding corridor: the fill has to run down, turn,
    // run up, and so on, reaching back into rows it has already passed.
    RasterCanvas c(41, 41);
    c.Clear(clGreen);
    c.SetPenColor(clMedGray);
    for (int x = 4; x < 40; x += 4) {
        const bool fromTop = (x / 4) % 2 == 0;
        c.MoveTo(x, fromTop ? 0 : 40);
        c.LineTo(x, fromTop ? 37 : 3);
    }
    const int walls = CountColour(c, clMedGray);
    c.FloodFill(1, 1, clMedGray, TFillStyle::fsBorder);
    EXPECT_EQ(CountColour(c, clGreen), 0);
    EXPECT_EQ(CountColour(c, clWhite), 41 * 41 - walls);
    EXPECT_EQ(c.Pixel(39, 39), clWhite);
}

TEST(FloodFill, SeedOutsideTheSurfacePaintsNothing) {
    RasterCanvas c(20, 20);
    c.Clear(clGreen);
    for (const auto& [x, y] : {std::pair{-1, 5}, {5, -1}, {20, 5}, {5, 20}, {INT32_MIN, INT32_MAX}}) {
        c.FloodFill(x, y, clMedGray, TFillStyle::fsBorder);
        c.FloodFill(x, y, clGreen, TFillStyle::fsSurface);
    }
    EXPECT_EQ(CountColour(c, clGreen), 400);
}

TEST(FloodFill, SystemColourIsComparedUnchanged) {
    // clWindowText is not looked up: it matches no pixel, not even the black ones.
    RasterCanvas c(30, 30);
    c.SetPenColor(clBlack);
    c.MoveTo(0, 15);
    c.LineTo(30, 15);
    c.FloodFill(5, 5, clWindowText, TFillStyle::fsBorder);
    EXPECT_EQ(CountNotWhite(c), 0);
    c.Clear(clBlack);
    c.FloodFill(5, 5, clWindowText, TFillStyle::fsSurface);
    EXPECT_EQ(CountColour(c, clBlack), 900);
}

} // namespace
} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "CanvasTestSupport.h"

namespace zk {
namespace {

using test::CountColour;
using test::CountNotWhite;
using test::PixelsOf;

TEST(ThinLine, DrawsStartPixelButNotEndPixel) {
    RasterCanvas c(20, 20);
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    for (int x = 0; x <= 4; ++x) {
        EXPECT_EQ(c.Pixel(x, 0), clBlack) << "x = " << x;
    }
    EXPECT_EQ(c.Pixel(5, 0), clWhite);
    EXPECT_EQ(CountNotWhite(c), 5);
    EXPECT_EQ(c.PenPos(), (TPoint{5, 0}));
}

TEST(ThinLine, LineToPenPositionDrawsNothing) {
    RasterCanvas c(20, 20);
    c.MoveTo(10, 10);
    c.LineTo(10, 10);
    EXPECT_EQ(CountNotWhite(c), 0);
    c.SetPenWidth(3);
    c.LineTo(10, 10);
    EXPECT_EQ(CountNotWhite(c), 0);
}

// In every direction a one-pixel line sets one pixel per step of its longer axis, starts at the
// start point, stops short of the end point, stays within half a pixel of the ideal line and
// moves between neighbouring pixels.
TEST(ThinLine, EveryDirectionIsContinuousAndFaithful) {
    const TPoint from{30, 30};
    const TPoint targets[] = {{50, 30}, {10, 30}, {30, 50}, {30, 10}, {50, 50}, {10, 10}, {50, 10}, {10, 50},
                              {55, 37}, {5, 23},  {37, 55}, {23, 5},  {59, 31}, {31, 1},  {1, 58},  {48, 41}};
    for (const TPoint to : targets) {
        RasterCanvas c(60, 60);
        c.MoveTo(from.X, from.Y);
        c.LineTo(to.X, to.Y);
        const int dx = to.X - from.X;
        const int dy = to.Y - from.Y;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        SCOPED_TRACE(testing::Message() << "to (" << to.X << ", " << to.Y << ")");
        EXPECT_EQ(CountNotWhite(c), steps);
        EXPECT_EQ(c.Pixel(from.X, from.Y), clBlack);
        EXPECT_EQ(c.Pixel(to.X, to.Y), clWhite);
        // Walk the drawn pixels from the start: each has exactly one successor among its
        // neighbours that is one step further along the major axis.
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        for (int t = 0; t < steps; ++t) {
            int hits = 0;
            for (int m = -60; m <= 60; ++m) {
                const int x = xMajor ? from.X + (dx > 0 ? t : -t) : m;
                const int y = xMajor ? m : from.Y + (dy > 0 ? t : -t);
                if (c.Pixel(x, y) != clBlack) {
                    continue;
                }
                ++hits;
                // Distance along the minor axis from the ideal line, at most half a pixel.
                const double ideal = xMajor ? from.Y + static_cast<double>(dy) * (x - from.X) / dx
                                            : from.X + static_cast<double>(dx) * (y - from.Y) / dy;
                EXPECT_LE(std::fabs((xMajor ? y : x) - ideal), 0.5) << "step " << t;
            }
            EXPECT_EQ(hits, 1) << "step " << t;
        }
    }
}

TEST(ThinLine, ClosedFigureHasEveryCornerOnce) {
    RasterCanvas c(20, 20);
    c.MoveTo(2, 2);
    c.LineTo(12, 2);
    c.LineTo(12, 9);
    c.LineTo(2, 9);
    c.LineTo(2, 2);
    EXPECT_EQ(CountNotWhite(c), 2 * 10 + 2 * 7);
    for (const auto& [x, y] : {std::pair{2, 2}, {12, 2}, {12, 9}, {2, 9}}) {
        EXPECT_EQ(c.Pixel(x, y), clBlack);
    }
}

TEST(ThinLine, PlainOverwriteOfEarlierColours) {
    RasterCanvas c(10, 3);
    c.SetPenColor(clRed);
    c.MoveTo(0, 1);
    c.LineTo(10, 1);
    c.SetPenColor(clGreen);
    c.MoveTo(3, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(CountColour(c, clGreen), 3);
    EXPECT_EQ(CountColour(c, clRed), 7);
}

TEST(ThinLine, WidthZeroDrawsLikeWidthOne) {
    RasterCanvas one(40, 40);
    RasterCanvas zero(40, 40);
    zero.SetPenWidth(0);
    for (RasterCanvas* c : {&one, &zero}) {
        c->MoveTo(3, 4);
        c->LineTo(35, 21);
    }
    EXPECT_EQ(PixelsOf(zero), PixelsOf(one));
}

TEST(StyledLine, DashAndDotLeaveGapsAndClearDrawsNothing) {
    for (const TPenStyle style :
         {TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot, TPenStyle::psDashDotDot}) {
        RasterCanvas c(120, 5);
        c.SetPenStyle(style);
        c.MoveTo(0, 2);
        c.LineTo(100, 2);
        const int inked = CountNotWhite(c);
        EXPECT_GT(inked, 20) << static_cast<int>(style);
        EXPECT_LT(inked, 90) << static_cast<int>(style);
        EXPECT_EQ(c.Pixel(0, 2), clBlack); // patterns start with ink
    }
    RasterCanvas c(120, 5);
    c.SetPenStyle(TPenStyle::psClear);
    c.MoveTo(0, 2);
    c.LineTo(100, 2);
    c.SetPenWidth(4);
    c.LineTo(0, 2);
    EXPECT_EQ(CountNotWhite(c), 0);
    EXPECT_EQ(c.PenPos(), (TPoint{0, 2}));
}

TEST(StyledLine, DashedAndDottedLinesDifferFromEachOther) {
    RasterCanvas dash(60, 3);
    RasterCanvas dot(60, 3);
    dash.SetPenStyle(TPenStyle::psDash);
    dot.SetPenStyle(TPenStyle::psDot);
    for (RasterCanvas* c : {&dash, &dot}) {
        c->MoveTo(0, 1);
        c->LineTo(60, 1);
    }
    EXPECT_NE(PixelsOf(dash), PixelsOf(dot));
}

TEST(StyledLine, WidePenDrawsSolidWhateverItsStyle) {
    RasterCanvas solid(80, 80);
    solid.SetPenWidth(3);
    solid.MoveTo(5, 7);
    solid.LineTo(70, 60);
    for (const TPenStyle style : {TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot}) {
        RasterCanvas c(80, 80);
        c.SetPenWidth(3);
        c.SetPenStyle(style);
        c.MoveTo(5, 7);
        c.LineTo(70, 60);
        EXPECT_EQ(PixelsOf(c), PixelsOf(solid)) << static_cast<int>(style);
    }
}

// A polyline of many short segments keeps its pattern running, so it looks dashed like one long
// line, however short the segments are.
TEST(StyledLine, PatternRunsOnAcrossSegments) {
    RasterCanvas whole(100, 3);
    RasterCanvas pieces(100, 3);
    whole.SetPenStyle(TPenStyle::psDash);
    whole.MoveTo(0, 1);
    whole.LineTo(90, 1);
    pieces.SetPenStyle(TPenStyle::psDash);
    pieces.MoveTo(0, 1);
    for (int x = 1; x <= 90; ++x) {
        pieces.SetPenStyle(TPenStyle::psDash); // as the diagram sets it for every sample
        pieces.LineTo(x, 1);
    }
    EXPECT_EQ(PixelsOf(pieces), PixelsOf(whole));
}

TEST(StyledLine, RedrawnFigureInWhiteErasesIt) {
    RasterCanvas c(200, 200);
    c.SetPenStyle(TPenStyle::psDot);
    for (const TColor colour : {clMedGray, clWhite}) {
        c.SetPenColor(colour);
        c.MoveTo(100, 150);
        c.LineTo(190, 3);
        c.LineTo(120, 60);
        c.MoveTo(150, 150);
        c.LineTo(10, 140);
        if (colour == clMedGray) {
            EXPECT_GT(CountNotWhite(c), 50);
        }
    }
    EXPECT_EQ(CountNotWhite(c), 0);
}

TEST(WideLine, BandIsPenWidthAcrossAndCentred) {
    {
        RasterCanvas c(40, 40);
        c.SetPenWidth(3);
        c.MoveTo(5, 20);
        c.LineTo(30, 20);
        for (int y = 15; y <= 25; ++y) {
            EXPECT_EQ(c.Pixel(15, y) == clBlack, y >= 19 && y <= 21) << "y = " << y;
        }
    }
    {
        RasterCanvas c(40, 40);
        c.SetPenWidth(5);
        c.MoveTo(20, 3);
        c.LineTo(20, 35);
        for (int x = 15; x <= 25; ++x) {
            EXPECT_EQ(c.Pixel(x, 18) == clBlack, x >= 18 && x <= 22) << "x = " << x;
        }
    }
    {
        RasterCanvas c(40, 40);
        c.SetPenWidth(2);
        c.MoveTo(5, 20);
        c.LineTo(30, 20);
        int across = 0;
        for (int y = 15; y <= 25; ++y) {
            across += c.Pixel(15, y) == clBlack ? 1 : 0;
        }
        EXPECT_EQ(across, 2);
        EXPECT_TRUE(c.Pixel(15, 20) == clBlack);
    }
}

TEST(WideLine, DiagonalBandHasPenWidthMeasuredAcrossTheLine) {
    RasterCanvas c(100, 100);
    c.SetPenWidth(4);
    c.MoveTo(10, 10);
    c.LineTo(90, 90);
    // Along the perpendicular through (50, 50) the inked pixels span about the pen's width.
    int inked = 0;
    for (int k = -10; k <= 10; ++k) {
        inked += c.Pixel(50 + k, 50 - k) == clBlack ? 1 : 0;
    }
    // The pixels (50 + k, 50 - k) lie sqrt(2) apart along the perpendicular.
    EXPECT_GE(inked * std::sqrt(2.0), 4.0 - std::sqrt(2.0));
    EXPECT_LE(inked * std::sqrt(2.0), 4.0 + std::sqrt(2.0));
    for (int k = -10; k <= 10; ++k) {
        if (c.Pixel(50 + k, 50 - k) == clBlack) {
            EXPECT_LE(std::abs(k) * std::sqrt(2.0), 2.0 + 1.0) << k;
        }
    }
}

TEST(WideLine, ChordsOfAnArcJoinWithoutNotches) {
    // Two chords meeting at an angle: the outer corner is rounded, so the joint pixel's
    // neighbourhood is inked all round.
    RasterCanvas c(60, 60);
    c.SetPenWidth(3);
    c.MoveTo(10, 40);
    c.LineTo(30, 40);
    c.LineTo(30, 10);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            EXPECT_EQ(c.Pixel(30 + dx, 40 + dy), clBlack) << dx << ", " << dy;
        }
    }
}

// The particle window erases by drawing the same figure again in white: whatever the width,
// direction or position, nothing may be left over.
TEST(WideLine, RedrawnInWhiteLeavesNothing) {
    test::Lcg random(7);
    RasterCanvas c(120, 90);
    for (int round = 0; round < 300; ++round) {
        const int width = random.Next(1, 7);
        const int x0 = random.Next(-30, 150);
        const int y0 = random.Next(-30, 120);
        const int x1 = random.Next(-30, 150);
        const int y1 = random.Next(-30, 120);
        c.SetPenWidth(width);
        c.SetPenColor(clBlack);
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);
        c.SetPenColor(clWhite);
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);
        ASSERT_EQ(CountNotWhite(c), 0)
            << "width " << width << " (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
    }
}

TEST(WideLine, HugePenCoversTheSurface) {
    RasterCanvas c(50, 40);
    c.SetPenWidth(1000000);
    c.MoveTo(25, 20);
    c.LineTo(26, 20);
    EXPECT_EQ(CountColour(c, clBlack), 50 * 40);
}

// Clipping must not change which pixels a line sets: the part of a line that falls on a small
// surface is the same as the corresponding part of the line drawn on a large surface.
TEST(LineClipping, VisiblePartMatchesUnclippedLine) {
    test::Lcg random(11);
    for (int round = 0; round < 200; ++round) {
        const int width = round % 3 == 0 ? random.Next(2, 5) : 1;
        const TPenStyle style = round % 4 == 1 ? TPenStyle::psDash : TPenStyle::psSolid;
        const int x0 = random.Next(0, 299);
        const int y0 = random.Next(0, 299);
        const int x1 = random.Next(0, 299);
        const int y1 = random.Next(0, 299);
        // Dashes are laid on the surface's grid: shift by whole periods of the pattern.
        const int ox = random.Next(4, 20) * 10;
        const int oy = random.Next(4, 20) * 10;
        RasterCanvas big(300, 300);
        RasterCanvas window(60, 50); // shows big's pixels from (ox, oy) on
        for (RasterCanvas* c : {&big, &window}) {
            const int sx = c == &big ? 0 : ox;
            const int sy = c == &big ? 0 : oy;
            c->SetPenWidth(width);
            c->SetPenStyle(style);
            c->MoveTo(x0 - sx, y0 - sy);
            c->LineTo(x1 - sx, y1 - sy);
        }
        for (int y = 0; y < window.Height(); ++y) {
            for (int x = 0; x < window.Width(); ++x) {
                ASSERT_EQ(window.Pixel(x, y), big.Pixel(x + ox, y + oy))
                    << "line (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ") width " << width
                    << " at window pixel (" << x << ", " << y << ")";
            }
        }
    }
}

TEST(LineClipping, FarEndpointsDrawOnlyTheVisibleRun) {
    // A shock line of the diagram that leaves the picture far above it.
    RasterCanvas c(609, 449);
    c.MoveTo(200, 220);
    c.LineTo(600, -300000);
    EXPECT_EQ(CountNotWhite(c), 221); // one pixel on each row from 220 up to 0
    for (int y = 0; y <= 220; ++y) {
        const double ideal = 200.0 + 400.0 * (220 - y) / 300220.0;
        int inRow = 0;
        for (int x = 195; x <= 205; ++x) {
            if (c.Pixel(x, y) == clBlack) {
                ++inRow;
                EXPECT_LE(std::fabs(x - ideal), 0.5) << "row " << y;
            }
        }
        EXPECT_EQ(inRow, 1) << "row " << y;
    }
}

TEST(LineClipping, ExtremeCoordinatesAreSafe) {
    {
        RasterCanvas c(50, 40);
        c.MoveTo(-1000000000, -1000000000);
        c.LineTo(1000000000, 1000000000);
        EXPECT_EQ(CountNotWhite(c), 40);
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(c.Pixel(i, i), clBlack) << i;
        }
    }
    {
        RasterCanvas c(50, 40);
        c.MoveTo(INT32_MIN, INT32_MIN);
        c.LineTo(INT32_MAX, INT32_MAX);
        EXPECT_EQ(CountNotWhite(c), 40);
        EXPECT_EQ(c.Pixel(0, 0), clBlack);
        EXPECT_EQ(c.Pixel(39, 39), clBlack);
    }
    {
        RasterCanvas c(50, 40);
        c.SetPenWidth(3);
        c.MoveTo(-1000000000, 5);
        c.LineTo(1000000000, 5);
        EXPECT_EQ(CountNotWhite(c), 3 * 50);
        EXPECT_EQ(c.Pixel(0, 4), clBlack);
        EXPECT_EQ(c.Pixel(49, 6), clBlack);
    }
    {
        // Entirely outside: nothing, in every direction and width.
        RasterCanvas c(50, 40);
        for (const int width : {1, 2, 9}) {
            c.SetPenWidth(width);
            c.MoveTo(-100, -100);
            c.LineTo(-20, 1000000000);
            c.MoveTo(60, 50);
            c.LineTo(INT32_MAX, 45);
            c.MoveTo(-5, 60);
            c.LineTo(100, 45);
        }
        EXPECT_EQ(CountNotWhite(c), 0);
    }
}

TEST(LineClipping, StartOutsideEndInsideDrawsUpToTheEnd) {
    RasterCanvas c(20, 10);
    c.MoveTo(-1000, 5);
    c.LineTo(10, 5);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(c.Pixel(x, 5) == clBlack, x < 10) << x;
    }
}

} // namespace
} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <queue>

#include "CanvasTestSupport.h"

namespace zk {
namespace {

using test::CountColour;
using test::CountNotWhite;
using test::PixelsOf;

TEST(Ellipse, CornersInAnyOrderDrawTheSame) {
    RasterCanvas reference(30, 30);
    reference.Ellipse(5, 8, 7, 10);
    EXPECT_GT(CountNotWhite(reference), 0);
    const int corners[][4] = {{5, 10, 7, 8}, {7, 8, 5, 10}, {7, 10, 5, 8}};
    for (const auto& k : corners) {
        RasterCanvas c(30, 30);
        c.Ellipse(k[0], k[1], k[2], k[3]);
        EXPECT_EQ(PixelsOf(c), PixelsOf(reference)) << k[0] << ' ' << k[1] << ' ' << k[2] << ' ' << k[3];
    }
    for (const int width : {1, 3, 4}) {
        RasterCanvas a(60, 60);
        RasterCanvas b(60, 60);
        a.SetPenWidth(width);
        b.SetPenWidth(width);
        a.Ellipse(10, 12, 41, 50);
        b.Ellipse(41, 50, 10, 12);
        EXPECT_EQ(PixelsOf(a), PixelsOf(b)) << "width " << width;
    }
}

// The particle window's dot: a 2 x 2 rectangle with a 3-pixel pen gives a round dot four pixels
// across, the 4 x 4 square without its corners, all in the pen colour.
TEST(Ellipse, ParticleDotIsRoundAndFourPixelsAcross) {
    RasterCanvas c(20, 20);
    c.SetPenWidth(3);
    c.Ellipse(8, 8, 10, 10);
    EXPECT_EQ(CountColour(c, clBlack), 12);
    for (int y = 7; y <= 10; ++y) {
        for (int x = 7; x <= 10; ++x) {
            const bool corner = (x == 7 || x == 10) && (y == 7 || y == 10);
            EXPECT_EQ(c.Pixel(x, y), corner ? clWhite : clBlack) << x << ", " << y;
        }
    }
}

TEST(Ellipse, DotsDrawnThenErasedLeaveTheSurfaceWhite) {
    test::Lcg random(3);
    RasterCanvas c(80, 60);
    c.SetPenWidth(3);
    struct Dot {
        int X;
        int Y;
    };
    std::vector<Dot> dots;
    for (int i = 0; i < 400; ++i) {
        dots.push_back({random.Next(-3, 82), random.Next(-3, 62)});
    }
    // Many dots on top of each other, then all erased in white in another order.
    c.SetPenColor(clBlack);
    for (const Dot& d : dots) {
        c.Ellipse(d.X, d.Y, d.X + 2, d.Y + 2);
    }
    EXPECT_GT(CountNotWhite(c), 1000);
    c.SetPenColor(clWhite);
    for (auto it = dots.rbegin(); it != dots.rend(); ++it) {
        c.Ellipse(it->X, it->Y, it->X + 2, it->Y + 2);
    }
    EXPECT_EQ(CountNotWhite(c), 0);

    // Moving dots as the particle window moves them: erase at the old place, draw at the new.
    c.SetPenColor(clBlack);
    for (const Dot& d : dots) {
        c.Ellipse(d.X, d.Y, d.X + 2, d.Y + 2);
    }
    for (Dot& d : dots) {
        c.SetPenColor(clWhite);
        c.Ellipse(d.X, d.Y, d.X + 2, d.Y + 2);
        d.X += 1;
        c.SetPenColor(clBlack);
        c.Ellipse(d.X, d.Y, d.X + 2, d.Y + 2);
    }
    c.SetPenColor(clWhite);
    for (const Dot& d : dots) {
        c.Ellipse(d.X, d.Y, d.X + 2, d.Y + 2);
    }
    EXPECT_EQ(CountNotWhite(c), 0);
}

// A small ellipse of the size last drawn reuses that ellipse's runs of pixels; placed anywhere, on
// the surface, across its edges or over colours already there, it must paint exactly what the
// same ellipse paints on a canvas that never drew one before.
TEST(Ellipse, RepeatedSmallEllipseMatchesAFreshOneEverywhere) {
    struct Case {
        int Width;     // logical pen width
        TPenStyle Style;
        int W, H;      // logical rectangle
        int Scale;
    };
    const Case cases[] = {{3, TPenStyle::psSolid, 2, 2, 1}, {1, TPenStyle::psSolid, 7, 5, 1},
                          {4, TPenStyle::psSolid, 6, 9, 1}, {2, TPenStyle::psClear, 5, 5, 1},
                          {3, TPenStyle::psSolid, 2, 2, 2}, {1, TPenStyle::psSolid, 9, 4, 3}};
    const int places[][2] = {{10, 10}, {0, 0}, {-2, 5}, {5, -2}, {37, 20}, {20, 38}, {38, 38}, {-8, -8}};
    for (const Case& c : cases) {
        RasterCanvas repeated(40, 40, FontSpec{}, c.Scale);
        repeated.SetPenWidth(c.Width);
        repeated.SetPenStyle(c.Style);
        repeated.SetPenColor(clRed);
        repeated.Ellipse(15, 15, 15 + c.W, 15 + c.H); // leaves its shape behind
        for (const auto& at : places) {
            for (const TColor colour : {clBlack, clBlue}) {
                RasterCanvas fresh(40, 40, FontSpec{}, c.Scale);
                fresh.SetPenWidth(c.Width);
                fresh.SetPenStyle(c.Style);
                fresh.SetPenColor(colour);
                fresh.Clear(clGreen);
                fresh.Ellipse(at[0], at[1], at[0] + c.W, at[1] + c.H);

                repeated.Clear(clGreen);
                repeated.SetPenColor(colour);
                repeated.Ellipse(at[0] + c.W, at[1], at[0], at[1] + c.H); // corners in another order
                bool same = true;
                for (int y = 0; y < repeated.DeviceHeight() && same; ++y)
                    for (int x = 0; x < repeated.DeviceWidth() && same; ++x)
                        same = repeated.DevicePixel(x, y) == fresh.DevicePixel(x, y);
                EXPECT_TRUE(same) << "pen " << c.Width << " rectangle " << c.W << " x " << c.H << " scale "
                                  << c.Scale << " at " << at[0] << ", " << at[1];
            }
        }
        EXPECT_GT(CountNotWhite(repeated), 0);
    }
}

TEST(Ellipse, WidthOneOutlineStaysInsideTheRectangleAndTouchesEverySide) {
    RasterCanvas c(100, 100);
    c.Ellipse(10, 20, 61, 45); // covers columns 10..60 and rows 20..44
    int left = 100, right = -1, top = 100, bottom = -1;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (c.Pixel(x, y) == clBlack) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_EQ(left, 10);
    EXPECT_EQ(right, 60);
    EXPECT_EQ(top, 20);
    EXPECT_EQ(bottom, 44);
}

// Whether the white pixels around (cx, cy) are enclosed: a walk through 4-neighbouring white
// pixels from there never reaches the edge of the surface.
bool Enclosed(const RasterCanvas& c, int cx, int cy) {
    std::vector<bool> seen(static_cast<std::size_t>(c.Width() * c.Height()), false);
    std::queue<std::pair<int, int>> todo;
    todo.push({cx, cy});
    while (!todo.empty()) {
        const auto [x, y] = todo.front();
        todo.pop();
        if (x < 0 || y < 0 || x >= c.Width() || y >= c.Height()) {
            return false;
        }
        const std::size_t i = static_cast<std::size_t>(y * c.Width() + x);
        if (seen[i] || c.Pixel(x, y) != clWhite) {
            continue;
        }
        seen[i] = true;
        todo.push({x + 1, y});
        todo.push({x - 1, y});
        todo.push({x, y + 1});
        todo.push({x, y - 1});
    }
    return true;
}

TEST(Ellipse, OutlineIsClosedAndInteriorTakesTheBrush) {
    const int rectangles[][4] = {{10, 10, 90, 30}, {10, 10, 30, 90}, {5, 5, 95, 95},
                                 {40, 10, 46, 90}, {10, 47, 90, 53}, {20, 20, 27, 26}};
    for (const int width : {1, 2, 3, 5}) {
        for (const auto& r : rectangles) {
            RasterCanvas c(100, 100);
            c.Clear(clGreen);
            c.SetPenColor(clRed);
            c.SetPenWidth(width);
            c.Ellipse(r[0], r[1], r[2], r[3]);
            const int cx = (r[0] + r[2]) / 2;
            const int cy = (r[1] + r[3]) / 2;
            SCOPED_TRACE(testing::Message() << "width " << width << " rectangle " << r[0] << ' ' << r[1]
                                            << ' ' << r[2] << ' ' << r[3]);
            EXPECT_EQ(c.Pixel(0, 0), clGreen); // outside stays
            if (c.Pixel(cx, cy) == clWhite) {
                EXPECT_TRUE(Enclosed(c, cx, cy));
            } else {
                EXPECT_EQ(c.Pixel(cx, cy), clRed); // too narrow for an inside
            }
            EXPECT_EQ(CountColour(c, clGreen) + CountColour(c, clRed) + CountColour(c, clWhite), 100 * 100);
        }
    }
}

TEST(Ellipse, WidePenIsCentredOnTheOutline) {
    // Columns 100..140, so the outline crosses the middle row at columns 100 and 140.
    RasterCanvas c(250, 250);
    c.SetPenWidth(5);
    c.Ellipse(100, 100, 141, 141);
    for (int x = 90; x <= 150; ++x) {
        const bool pen = (x >= 98 && x <= 102) || (x >= 138 && x <= 142);
        EXPECT_EQ(c.Pixel(x, 120), pen ? clBlack : clWhite) << x;
        EXPECT_EQ(c.Pixel(120, x), pen ? clBlack : clWhite) << x;
    }
}

// The ends of the axes are flat, never a lone pixel sticking out of the outline or into the
// interior, whatever the pen width and the parity of the rectangle's sides.
TEST(Ellipse, NoLonePixelsAtTheEndsOfTheAxes) {
    for (const int width : {1, 2, 3, 4, 5, 6}) {
        for (const auto& [w, h] : {std::pair{40, 20}, {41, 21}, {40, 21}, {41, 20}, {30, 30}, {31, 31}}) {
            RasterCanvas c(100, 100);
            c.SetPenWidth(width);
            c.Ellipse(20, 30, 20 + w, 30 + h);
            SCOPED_TRACE(testing::Message() << "width " << width << ", " << w << " x " << h);
            // Each row and column of black pixels: count the black runs it has and their lengths.
            const auto scan = [&](bool rows) {
                for (int i = 0; i < 100; ++i) {
                    int runs = 0;
                    int shortest = 1000;
                    int run = 0;
                    for (int j = 0; j <= 100; ++j) {
                        const bool ink = j < 100 && (rows ? c.Pixel(j, i) : c.Pixel(i, j)) == clBlack;
                        if (ink) {
                            ++run;
                        } else if (run > 0) {
                            ++runs;
                            shortest = std::min(shortest, run);
                            run = 0;
                        }
                    }
                    // A row crossing the outline near an end of an axis is one long run; near
                    // the middle, two runs of about the pen's width.
                    if (runs == 1) {
                        EXPECT_GE(shortest, 3) << (rows ? "row " : "column ") << i;
                    }
                }
            };
            scan(true);
            scan(false);
        }
    }
}

TEST(Ellipse, ClearPenFillsWithoutOutline) {
    RasterCanvas c(40, 40);
    c.Clear(clBlue);
    c.SetPenStyle(TPenStyle::psClear);
    c.Ellipse(10, 10, 30, 30);
    EXPECT_EQ(CountColour(c, clBlack), 0);
    EXPECT_EQ(c.Pixel(20, 20), clWhite);
    EXPECT_EQ(c.Pixel(10, 20), clWhite); // the filled ellipse reaches the rectangle's sides
    EXPECT_EQ(c.Pixel(9, 20), clBlue);
    EXPECT_EQ(c.Pixel(10, 10), clBlue);
}

TEST(Ellipse, EmptyRectangleDrawsNothing) {
    RasterCanvas c(20, 20);
    c.SetPenWidth(3);
    c.Ellipse(5, 5, 5, 12);
    c.Ellipse(5, 5, 12, 5);
    EXPECT_EQ(CountNotWhite(c), 0);
}

TEST(Ellipse, FarAndHugeRectanglesAreClippedQuickly) {
    {
        // The surface lies wholly inside a huge ellipse: all interior.
        RasterCanvas c(60, 40);
        c.Clear(clBlue);
        c.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
        EXPECT_EQ(CountColour(c, clWhite), 60 * 40);
    }
    {
        // Only the flat top of a very wide ellipse crosses the surface.
        RasterCanvas c(60, 40);
        c.Ellipse(-1000000000, 0, 1000000000, 100);
        EXPECT_EQ(c.Pixel(30, 0), clBlack);
        EXPECT_EQ(c.Pixel(30, 20), clWhite);
    }
    {
        RasterCanvas c(60, 40);
        c.SetPenWidth(3);
        c.Ellipse(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
        c.Ellipse(INT32_MAX, INT32_MAX, INT32_MAX - 2, INT32_MAX - 2);
        c.Ellipse(-500, -500, -498, -498);
        EXPECT_EQ(CountNotWhite(c), 0);
    }
}

} // namespace
} // namespace zk

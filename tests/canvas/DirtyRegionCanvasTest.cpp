// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas that notes where it drew: its marks must cover every pixel an operation changes
// (else the window would show a stale picture), a frame that repeats the previous one must mark
// nothing, and the rectangles it hands over must form a region as it stands.  The screen is
// modelled as a copy of the surface that is brought up to date only inside the marked parts.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "CanvasTestSupport.h"
#include "DirtyRegionCanvas.h"
#include "RasterCanvas.h"

namespace zk {
namespace {

using test::Lcg;

// What the window shows: the surface as it was copied at the last repaints.
class Screen {
  public:
    explicit Screen(const RasterCanvas& surface)
        : surface_(surface), pixels_(static_cast<std::size_t>(surface.Width() * surface.Height()), clWhite) {}

    void Repaint(const std::vector<TRect>& rects) {
        for (const TRect& r : rects)
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x)
                    At(x, y) = surface_.Pixel(x, y);
    }
    // Pixels where the screen differs from the surface.
    int Stale() const {
        int n = 0;
        for (int y = 0; y < surface_.Height(); ++y)
            for (int x = 0; x < surface_.Width(); ++x)
                n += pixels_[static_cast<std::size_t>(y * surface_.Width() + x)] != surface_.Pixel(x, y);
        return n;
    }

  private:
    TColor& At(int x, int y) { return pixels_[static_cast<std::size_t>(y * surface_.Width() + x)]; }
    const RasterCanvas& surface_;
    std::vector<TColor> pixels_;
};

long long Area(const std::vector<TRect>& rects) {
    long long area = 0;
    for (const TRect& r : rects)
        area += static_cast<long long>(r.Right - r.Left) * (r.Bottom - r.Top);
    return area;
}

bool Covers(const std::vector<TRect>& rects, int x, int y) {
    for (const TRect& r : rects)
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return true;
    return false;
}

const TColor kColours[] = {clBlack, clWhite, clRed, clBlue, clGreen, clMedGray};
const TPenStyle kStyles[] = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psClear};

// One operation of every kind the canvas knows, with pens of every width the program uses and
// coordinates partly off the surface.
void RandomOperation(TCanvas& canvas, Lcg& rng, int width, int height) {
    canvas.SetPenColor(kColours[rng.Next(0, 5)]);
    canvas.SetPenWidth(rng.Next(0, 6));
    canvas.SetPenStyle(kStyles[rng.Next(0, 3)]);
    const auto x = [&] { return rng.Next(-20, width + 20); };
    const auto y = [&] { return rng.Next(-20, height + 20); };
    switch (rng.Next(0, 6)) {
    case 0:
    case 1:
        canvas.MoveTo(x(), y());
        canvas.LineTo(x(), y());
        break;
    case 2:
        canvas.LineTo(rng.Next(0, 1) ? INT32_MAX : INT32_MIN, y()); // far away, cut at the edge
        break;
    case 3: {
        const int left = x(), top = y();
        canvas.Ellipse(left, top, left + rng.Next(-30, 30), top + rng.Next(-30, 30));
        break;
    }
    case 4:
        canvas.TextOut(x(), y(), rng.Next(0, 1) ? "fi= 53 град" : "20 град");
        break;
    case 5:
        canvas.SetPixel(x(), y(), kColours[rng.Next(0, 5)]);
        break;
    default:
        canvas.LineTo(x(), y());
        break;
    }
}

TEST(DirtyRegionCanvas, MarksCoverEveryPixelAnOperationChanges) {
    RasterCanvas surface(150, 110);
    DirtyRegionCanvas canvas(surface);
    Lcg rng(11);
    std::vector<TRect> rects;
    for (int op = 0; op < 600; ++op) {
        const std::vector<std::uint32_t> before = test::PixelsOf(surface);
        RandomOperation(canvas, rng, surface.Width(), surface.Height());
        canvas.TakeDirty(rects);
        const std::vector<std::uint32_t> after = test::PixelsOf(surface);
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                const auto i = static_cast<std::size_t>(y * surface.Width() + x);
                if (before[i] != after[i]) {
                    ASSERT_TRUE(Covers(rects, x, y))
                        << "operation " << op << " changed (" << x << ", " << y << ")";
                }
            }
        }
    }
}

// The marks of an ellipse follow its outline closely, so every pen width and size is tried at
// every place within a tile: one pixel of the outline or inside left out would show.
TEST(DirtyRegionCanvas, AnEllipseIsMarkedWhereverItFallsOnTheTiles) {
    for (const int scale : {1, 2}) {
        for (const TPenStyle style : {TPenStyle::psSolid, TPenStyle::psClear}) {
            for (int width = 0; width <= 6; ++width) {
                for (const int size : {1, 2, 3, 7}) {
                    for (int at = 16; at < 16 + DirtyRegionCanvas::kTile; ++at) {
                        RasterCanvas surface(48, 48, FontSpec{}, scale);
                        surface.Clear(clGreen); // the white inside changes pixels too
                        const auto devicePixels = [&] {
                            std::vector<TColor> pixels;
                            for (int y = 0; y < surface.DeviceHeight(); ++y)
                                for (int x = 0; x < surface.DeviceWidth(); ++x)
                                    pixels.push_back(surface.DevicePixel(x, y));
                            return pixels;
                        };
                        const std::vector<TColor> before = devicePixels();
                        DirtyRegionCanvas canvas(surface);
                        std::vector<TRect> rects;
                        canvas.TakeDirty(rects);
                        canvas.SetPenWidth(width);
                        canvas.SetPenStyle(style);
                        canvas.Ellipse(at, at + 1, at + size, at + 1 + size);
                        canvas.TakeDirty(rects);
                        const std::vector<TColor> after = devicePixels();
                        int changed = 0;
                        for (int y = 0; y < surface.DeviceHeight(); ++y) {
                            for (int x = 0; x < surface.DeviceWidth(); ++x) {
                                const auto i = static_cast<std::size_t>(y * surface.DeviceWidth() + x);
                                if (before[i] == after[i])
                                    continue;
                                ++changed;
                                // The marks are in the surface's own pixels, k x k device pixels each.
                                ASSERT_TRUE(Covers(rects, x / scale, y / scale))
                                    << "scale " << scale << " width " << width << " size " << size << " at "
                                    << at << ": device (" << x << ", " << y << ")";
                            }
                        }
                        EXPECT_GT(changed, 0);
                    }
                }
            }
        }
    }
}

TEST(DirtyRegionCanvas, DrawsExactlyWhatTheSurfaceDraws) {
    RasterCanvas direct(150, 110);
    RasterCanvas decorated(150, 110);
    DirtyRegionCanvas canvas(decorated);
    Lcg a(5), b(5);
    for (int op = 0; op < 300; ++op) {
        RandomOperation(direct, a, 150, 110);
        RandomOperation(canvas, b, 150, 110);
        ASSERT_EQ(canvas.PenPos(), direct.PenPos());
    }
    canvas.FloodFill(75, 55, clRed, TFillStyle::fsBorder);
    direct.FloodFill(75, 55, clRed, TFillStyle::fsBorder);
    EXPECT_EQ(test::PixelsOf(decorated), test::PixelsOf(direct));
}

// A frame as the flight window draws it: particles that move (or stand), then a scene that
// changes now and then, each as a pass.
struct FrameScript {
    std::vector<int> DotX, DotY;
    bool Moving = true;
    TColor ShockColour = clRed;
    int MouseRow = 100;
    int Hatching = 10;
    int TextX = 200; // the text's opaque box lies over the axis
};

void DrawFrame(DirtyRegionCanvas& canvas, FrameScript& s, Lcg& rng, bool motion = true, bool scene = true) {
    if (motion) {
        canvas.BeginPass(0);
        canvas.SetPenWidth(3);
        for (std::size_t i = 0; i < s.DotX.size(); ++i) {
            if (s.Moving) {
                canvas.SetPenColor(clWhite);
                canvas.Ellipse(s.DotX[i], s.DotY[i], s.DotX[i] + 2, s.DotY[i] + 2);
                s.DotX[i] = (s.DotX[i] + rng.Next(1, 6)) % 300;
                s.DotY[i] = (s.DotY[i] + rng.Next(-1, 1) + 200) % 200;
            }
            canvas.SetPenColor(clBlack);
            canvas.Ellipse(s.DotX[i], s.DotY[i], s.DotX[i] + 2, s.DotY[i] + 2);
        }
        canvas.EndPass();
    }
    if (scene) {
        canvas.BeginPass(1);
        canvas.SetPenStyle(TPenStyle::psDot);
        canvas.SetPenWidth(1);
        canvas.SetPenColor(clMedGray);
        canvas.MoveTo(100, 100);
        canvas.LineTo(290, s.MouseRow);
        canvas.SetPenStyle(TPenStyle::psSolid);
        canvas.SetPenColor(clBlack);
        canvas.MoveTo(100, 100);
        canvas.LineTo(290, 100);
        canvas.SetPenWidth(2);
        for (int i = 0; i < s.Hatching; ++i) {
            canvas.MoveTo(110 + 15 * i, 130);
            canvas.LineTo(114 + 15 * i, 122);
        }
        canvas.SetPenWidth(1);
        canvas.SetPenColor(s.ShockColour);
        canvas.MoveTo(98, 100);
        canvas.LineTo(290, 10);
        canvas.LineTo(290, 190);
        canvas.LineTo(98, 100);
        canvas.TextOut(200, 40, "fi= 53 град");
        canvas.TextOut(s.TextX, 95, "20 град");
        canvas.EndPass();
    }
}

TEST(DirtyRegionCanvas, TheScreenIsNeverStaleAndARepeatedFrameMarksNothing) {
    RasterCanvas surface(300, 200);
    DirtyRegionCanvas canvas(surface);
    Screen screen(surface);
    Lcg rng(3);
    FrameScript script;
    for (int i = 0; i < 60; ++i) {
        script.DotX.push_back(rng.Next(0, 299));
        script.DotY.push_back(rng.Next(0, 199));
    }
    std::vector<TRect> rects;
    int quietFrames = 0;
    int checkedQuiet = 0;
    for (int frame = 0; frame < 400; ++frame) {
        // Now and then something changes besides the particles, as the user or the window does.
        const int event = rng.Next(0, 19);
        if (rng.Next(0, 9) == 0)
            script.Moving = !script.Moving; // the speed bar to 0 and back
        if (event == 2)
            script.ShockColour = script.ShockColour == clRed ? clWhite : clRed; // the shock box
        if (event == 3)
            script.MouseRow = rng.Next(0, 199);
        if (event == 4)
            script.Hatching = rng.Next(0, 12);
        if (event == 10)
            script.TextX = rng.Next(100, 250);
        bool quiet = !script.Moving && (event < 2 || event > 10);
        if (event == 5) {
            DrawFrame(canvas, script, rng, true, false); // the scene's timer did not tick
            quiet = false;
        } else if (event == 6) {
            DrawFrame(canvas, script, rng, false, true); // nor the motion's
            quiet = false;
        } else if (event == 7) {
            surface.Clear(); // shown again: the surface starts white
            canvas.MarkAll();
            DrawFrame(canvas, script, rng);
        } else if (event == 8) {
            DrawFrame(canvas, script, rng);
            canvas.SetPenColor(clGreen); // drawn outside the passes
            canvas.MoveTo(rng.Next(0, 299), rng.Next(0, 199));
            canvas.LineTo(rng.Next(0, 299), rng.Next(0, 199));
        } else if (event == 9) {
            DrawFrame(canvas, script, rng);
            DrawFrame(canvas, script, rng); // twice between two repaints
        } else {
            DrawFrame(canvas, script, rng);
        }
        canvas.TakeDirty(rects);
        screen.Repaint(rects);
        ASSERT_EQ(screen.Stale(), 0) << "frame " << frame << ", event " << event;
        // A frame that repeats the previous one exactly (particles standing, nothing else new)
        // needs no repaint, once the previous frame was itself an ordinary one.
        if (quiet && quietFrames > 0) {
            EXPECT_TRUE(rects.empty()) << "frame " << frame;
            ++checkedQuiet;
        }
        quietFrames = quiet ? quietFrames + 1 : 0;
    }
    EXPECT_GT(checkedQuiet, 20) << "frames that repeated the previous one";
}

TEST(DirtyRegionCanvas, AChangedSceneMarksOnlyWhatChanged) {
    RasterCanvas surface(591, 498);
    DirtyRegionCanvas canvas(surface);
    Screen screen(surface);
    Lcg rng(1);
    FrameScript script;
    script.MouseRow = 60;
    std::vector<TRect> rects;
    DrawFrame(canvas, script, rng);
    canvas.TakeDirty(rects);
    screen.Repaint(rects);
    EXPECT_TRUE(Covers(rects, 200, 55)) << "the first frame marks the whole scene";
    DrawFrame(canvas, script, rng);
    canvas.TakeDirty(rects);
    EXPECT_TRUE(rects.empty());

    // The mouse line moves: its new place is marked, the rest of the scene is not.
    script.MouseRow = 20;
    DrawFrame(canvas, script, rng);
    canvas.TakeDirty(rects);
    screen.Repaint(rects);
    EXPECT_EQ(screen.Stale(), 0);
    EXPECT_TRUE(Covers(rects, 280, 21)) << "the new mouse line";
    EXPECT_FALSE(Covers(rects, 200, 40)) << "the shock text";
    EXPECT_FALSE(Covers(rects, 150, 126)) << "the hatching";
    EXPECT_LT(Area(rects), 591 * 498 / 10);
}

TEST(DirtyRegionCanvas, ALongDiagonalMarksABandNotItsBoundingBox) {
    RasterCanvas surface(591, 498);
    DirtyRegionCanvas canvas(surface);
    std::vector<TRect> rects;
    canvas.SetPenWidth(3);
    canvas.MoveTo(0, 0);
    canvas.LineTo(500, 490);
    canvas.TakeDirty(rects);
    EXPECT_TRUE(Covers(rects, 250, 245));
    EXPECT_FALSE(Covers(rects, 400, 100));
    EXPECT_LT(Area(rects), 500 * 490 / 8);
}

TEST(DirtyRegionCanvas, RectanglesFormARegionAsTheyStand) {
    // Sorted top to bottom and left to right; those of one top have one height and neither
    // overlap nor touch side by side; rows do not overlap; all within the surface.
    RasterCanvas surface(203, 97); // not a whole number of tiles
    DirtyRegionCanvas canvas(surface);
    Lcg rng(8);
    std::vector<TRect> rects;
    for (int round = 0; round < 50; ++round) {
        for (int op = 0; op < 8; ++op)
            RandomOperation(canvas, rng, surface.Width(), surface.Height());
        canvas.TakeDirty(rects);
        for (std::size_t i = 0; i < rects.size(); ++i) {
            const TRect& r = rects[i];
            ASSERT_LT(r.Left, r.Right);
            ASSERT_LT(r.Top, r.Bottom);
            ASSERT_GE(r.Left, 0);
            ASSERT_GE(r.Top, 0);
            ASSERT_LE(r.Right, surface.Width());
            ASSERT_LE(r.Bottom, surface.Height());
            if (i == 0)
                continue;
            const TRect& p = rects[i - 1];
            if (p.Top == r.Top) {
                ASSERT_EQ(p.Bottom, r.Bottom);
                ASSERT_LT(p.Right, r.Left) << "overlapping or touching side by side";
            } else {
                ASSERT_LE(p.Bottom, r.Top);
            }
        }
    }
    canvas.TakeDirty(rects);
    EXPECT_TRUE(rects.empty()) << "handed over once";
    canvas.MarkAll();
    canvas.TakeDirty(rects);
    EXPECT_EQ(Area(rects), 203 * 97);
}

} // namespace
} // namespace zk

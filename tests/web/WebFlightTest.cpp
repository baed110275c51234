// SPDX-License-Identifier: GPL-3.0-or-later
// The page's flight view: after every frame the RGBA picture it hands over equals its surface
// pixel for pixel (what the ticks changed and was not handed over would stay wrong on the page),
// the changed rectangles lie on the surface, and the view drives the flight model as the desktop
// window does.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "FlightFlows.h"
#include "FlightModel.h"
#include "Numbers.h"
#include "RasterCanvas.h"
#include "WebFlight.h"

namespace zk {
namespace {

// The page's canvas: it takes the whole picture once, then after every frame only the changed
// rectangles, as the page puts them.
class PagePicture {
  public:
    void Take(const WebFlight& flight) {
        const auto rgba = flight.Rgba();
        if (width_ != flight.DeviceWidth() || bytes_.size() != rgba.size()) {
            // A new canvas (the first frame, another scale) starts blank, as the page sizes it.
            width_ = flight.DeviceWidth();
            bytes_.assign(rgba.size(), 0);
        }
        const std::vector<std::int32_t>& r = flight.Changed();
        for (std::size_t i = 0; i + 3 < r.size(); i += 4)
            for (std::int32_t y = r[i + 1]; y < r[i + 1] + r[i + 3]; ++y)
                for (std::int32_t x = r[i]; x < r[i] + r[i + 2]; ++x)
                    for (int b = 0; b < 4; ++b) {
                        const std::size_t at = (std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 4 + b;
                        if (at < rgba.size())
                            bytes_[at] = rgba[at];
                    }
    }

    // The device pixels where the page's canvas shows another colour than the surface holds.
    int DifferingPixels(const WebFlight& flight) const {
        const RasterCanvas& canvas = flight.Canvas();
        EXPECT_EQ(bytes_.size(), std::size_t(canvas.DeviceWidth()) * std::size_t(canvas.DeviceHeight()) * 4);
        int differing = 0;
        for (std::int32_t y = 0; y < canvas.DeviceHeight(); ++y)
            for (std::int32_t x = 0; x < canvas.DeviceWidth(); ++x) {
                const std::size_t at = (std::size_t(y) * std::size_t(canvas.DeviceWidth()) + std::size_t(x)) * 4;
                if (at + 3 >= bytes_.size())
                    return differing + 1;
                const TColor c = canvas.DevicePixel(x, y); // 0x00BBGGRR
                if (bytes_[at] != (c & 0xFF) || bytes_[at + 1] != ((c >> 8) & 0xFF) ||
                    bytes_[at + 2] != ((c >> 16) & 0xFF) || bytes_[at + 3] != 0xFF)
                    ++differing;
            }
        return differing;
    }

  private:
    std::int32_t width_ = 0;
    std::vector<std::uint8_t> bytes_;
};

void ExpectChangedOnSurface(const WebFlight& flight) {
    const std::vector<std::int32_t>& r = flight.Changed();
    ASSERT_EQ(r.size() % 4, 0u);
    for (std::size_t i = 0; i < r.size(); i += 4) {
        EXPECT_GE(r[i], 0);
        EXPECT_GE(r[i + 1], 0);
        EXPECT_GT(r[i + 2], 0);
        EXPECT_GT(r[i + 3], 0);
        EXPECT_LE(r[i] + r[i + 2], flight.DeviceWidth());
        EXPECT_LE(r[i + 1] + r[i + 3], flight.DeviceHeight());
    }
}

struct FrameCase {
    const char* What;
    bool Detached;
    std::int32_t Scale;
    std::int32_t Particles;
    bool Shock;
    bool Streamlines;
};

class WebFlightFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(WebFlightFrames, HandedOverPictureEqualsTheSurfaceAfterEveryFrame) {
    const FrameCase& c = GetParam();
    RandomSeed = 0;
    WebFlight flight(c.Scale);
    flight.SetParticleCount(c.Particles);
    flight.Controls().ShockChecked = c.Shock;
    flight.Controls().StreamlinesChecked = c.Streamlines;
    flight.Activate(c.Detached ? test::DetachedFlow() : test::AttachedFlow());
    PagePicture page;
    for (int frame = 0; frame < 160; ++frame) {
        // The pointer, the boxes and the speed change as a student changes them.
        if (frame % 7 == 3)
            flight.MouseMove(210 + 3 * frame, 40 + 2 * frame);
        if (frame == 50)
            flight.Controls().ShockChecked = !flight.Controls().ShockChecked;
        if (frame == 80)
            flight.SetScrollPosition(0);
        if (frame == 90)
            flight.SetScrollPosition(100);
        if (frame == 120)
            flight.MouseMove(100, 100); // left of the tip: the line is wiped out
        ASSERT_EQ(flight.Frame(), "") << c.What << ", frame " << frame;
        ExpectChangedOnSurface(flight);
        page.Take(flight);
        ASSERT_EQ(page.DifferingPixels(flight), 0) << c.What << ", frame " << frame;
    }
    // Activated again (an Apply while open): white, then drawn again, still handed over whole.
    flight.Activate(test::AttachedFlow());
    flight.Frame();
    page.Take(flight);
    EXPECT_EQ(page.DifferingPixels(flight), 0) << c.What << ", after a new activation";
    flight.SetScale(c.Scale == 1 ? 2 : 1);
    flight.Frame();
    page.Take(flight);
    EXPECT_EQ(page.DifferingPixels(flight), 0) << c.What << ", after a new scale";
}

INSTANTIATE_TEST_SUITE_P(Cases, WebFlightFrames,
                         ::testing::Values(FrameCase{"attached, 100 particles", false, 1, 100, false, false},
                                           FrameCase{"attached, 500, shock and streamlines", false, 1, 500, true, true},
                                           FrameCase{"detached, 500, shock", true, 1, 500, true, true},
                                           FrameCase{"attached at scale 2", false, 2, 200, true, false},
                                           FrameCase{"detached at scale 3", true, 3, 50, true, true}));

// The view's particles after n frames are the model's after n motion ticks on a plain surface,
// as the desktop window and the batch tool run it: the scene ticks between do not touch them.
TEST(WebFlight, ParticlesAreTheModelsAfterTheSameTicks) {
    for (const bool detached : {false, true}) {
        const FlowState flow = detached ? test::DetachedFlow() : test::AttachedFlow();
        // One after the other: both draw their start points and respawns from the one generator.
        RandomSeed = 0;
        WebFlight flight(1);
        flight.SetParticleCount(300);
        flight.Activate(flow);
        for (int tick = 0; tick < 250; ++tick)
            flight.Frame();
        const std::uint32_t seedAfterView = RandomSeed;
        RandomSeed = 0;
        FlightModel model;
        model.FlightSpeed = 5.0;
        model.SetParticleCount(300);
        model.TakeSnapshot(flow);
        model.StartParticles();
        RasterCanvas surface(FlightModel::kClientWidth, FlightModel::kClientHeight, FlightModel::WindowFont());
        for (int tick = 0; tick < 250; ++tick)
            model.MotionTick(surface, WebFlight::kScrollInitial);
        EXPECT_EQ(RandomSeed, seedAfterView) << "the same draws from the generator";
        EXPECT_EQ(flight.Ticks(), 250);
        for (int i = 0; i < 300; ++i) {
            const Particle& a = flight.Model().Particles[i];
            const Particle& b = model.Particles[i];
            ASSERT_TRUE(a.x == b.x && a.y == b.y && a.vx == b.vx && a.vy == b.vy)
                << (detached ? "detached" : "attached") << ", particle " << i;
        }
    }
}

// The view keeps its surface in the canvas's byte order; the picture is still the one the desktop
// window's surface shows after the same ticks, colour for colour.
TEST(WebFlight, PictureIsTheDesktopSurfacesAfterTheSameTicks) {
    struct PictureCase {
        const char* What;
        bool Detached;
        std::int32_t Scale;
    };
    for (const PictureCase c : {PictureCase{"attached", false, 1}, PictureCase{"detached", true, 1},
                                PictureCase{"attached at scale 2", false, 2}}) {
        const FlowState flow = c.Detached ? test::DetachedFlow() : test::AttachedFlow();
        RandomSeed = 0;
        WebFlight flight(c.Scale);
        flight.SetParticleCount(200);
        flight.Controls() = SceneControls{true, true, true};
        flight.MouseMove(400, 120);
        flight.Activate(flow);
        for (int frame = 0; frame < 90; ++frame)
            ASSERT_EQ(flight.Frame(), "") << c.What;

        RandomSeed = 0;
        FlightModel model;
        model.FlightSpeed = 5.0;
        model.SetParticleCount(200);
        model.MouseMove(400, 120);
        model.TakeSnapshot(flow);
        RasterCanvas surface(FlightModel::kClientWidth, FlightModel::kClientHeight, FlightModel::WindowFont(),
                             c.Scale);
        ASSERT_EQ(surface.Layout(), PixelLayout::Rgb32);
        model.StartParticles();
        SceneControls controls{true, true, true};
        for (int frame = 0; frame < 90; ++frame) {
            model.MotionTick(surface, WebFlight::kScrollInitial);
            model.SceneTick(surface, controls);
        }
        int differing = 0;
        int inked = 0;
        for (std::int32_t y = 0; y < surface.DeviceHeight(); ++y)
            for (std::int32_t x = 0; x < surface.DeviceWidth(); ++x) {
                differing += flight.Canvas().DevicePixel(x, y) != surface.DevicePixel(x, y);
                inked += surface.DevicePixel(x, y) != clWhite;
            }
        EXPECT_EQ(differing, 0) << c.What;
        EXPECT_GT(inked, 1000) << c.What << ": the picture holds particles, the wedge and the shock";
    }
}

TEST(WebFlight, ActivationStartsEveryParticleLeftOfThePictureAndCountsTicksAfresh) {
    WebFlight flight(1);
    flight.SetParticleCount(120);
    flight.Activate(test::AttachedFlow());
    for (int i = 0; i < 5; ++i)
        flight.Frame();
    EXPECT_EQ(flight.Ticks(), 5);
    flight.Activate(test::AttachedFlow());
    EXPECT_TRUE(flight.Running());
    EXPECT_EQ(flight.Ticks(), 0);
    for (int i = 0; i < 120; ++i) {
        const Particle& p = flight.Model().Particles[i];
        EXPECT_TRUE(p.x >= -600 && p.x < 0 && p.y >= 0 && p.y < 250 && p.vx == 680 && p.vy == 0) << i;
    }
    flight.Close();
    EXPECT_FALSE(flight.Running());
}

TEST(WebFlight, ParticleCountAndSpeedBarAreBroughtIntoTheirRanges) {
    struct Count {
        std::int32_t Asked, Used;
    };
    for (const Count c : {Count{-5, 10}, Count{9, 10}, Count{10, 10}, Count{37, 37}, Count{500, 500}, Count{501, 500}}) {
        WebFlight flight(1);
        flight.SetParticleCount(c.Asked);
        EXPECT_EQ(flight.ParticleCount(), c.Used) << c.Asked;
    }
    struct Position {
        std::int32_t Asked, Used;
        double Speed;
    };
    WebFlight flight(1);
    EXPECT_EQ(flight.ScrollPosition(), 50);
    EXPECT_EQ(flight.FlightSpeed(), 5.0);
    for (const Position p : {Position{0, 0, 0.0}, Position{-3, 0, 0.0}, Position{1, 1, 0.1}, Position{73, 73, 7.3},
                             Position{100, 100, 10.0}, Position{250, 100, 10.0}}) {
        flight.SetScrollPosition(p.Asked);
        EXPECT_EQ(flight.ScrollPosition(), p.Used) << p.Asked;
        EXPECT_DOUBLE_EQ(flight.FlightSpeed(), p.Speed) << p.Asked;
    }
}

TEST(WebFlight, ADetachedSceneUnchecksAndDisablesTheStreamlinesAndAnAttachedOneEnablesThem) {
    WebFlight flight(1);
    flight.SetParticleCount(10);
    flight.Controls().StreamlinesChecked = true;
    flight.Activate(test::DetachedFlow());
    flight.Frame();
    EXPECT_FALSE(flight.Controls().StreamlinesChecked);
    EXPECT_FALSE(flight.Controls().StreamlinesEnabled);
    flight.Activate(test::AttachedFlow());
    flight.Frame();
    EXPECT_FALSE(flight.Controls().StreamlinesChecked);
    EXPECT_TRUE(flight.Controls().StreamlinesEnabled);
}

} // namespace
} // namespace zk

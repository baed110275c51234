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

// The number of device pixels where the handed-over RGBA differs from the surface.
int DifferingPixels(const WebFlight& flight) {
    const RasterCanvas& canvas = flight.Canvas();
    const std::vector<std::uint8_t>& rgba = flight.Rgba();
    const std::size_t n = std::size_t(canvas.DeviceWidth()) * std::size_t(canvas.DeviceHeight());
    EXPECT_EQ(rgba.size(), n * 4);
    int differing = 0;
    for (std::size_t i = 0; i < n && i * 4 + 3 < rgba.size(); ++i) {
        const std::uint32_t p = canvas.Bits()[i];
        if (rgba[i * 4] != ((p >> 16) & 0xFF) || rgba[i * 4 + 1] != ((p >> 8) & 0xFF) || rgba[i * 4 + 2] != (p & 0xFF) ||
            rgba[i * 4 + 3] != 0xFF)
            ++differing;
    }
    return differing;
}

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
        ASSERT_EQ(DifferingPixels(flight), 0) << c.What << ", frame " << frame;
    }
    // Activated again (an Apply while open): white, then drawn again, still handed over whole.
    flight.Activate(test::AttachedFlow());
    flight.Frame();
    EXPECT_EQ(DifferingPixels(flight), 0) << c.What << ", after a new activation";
    flight.SetScale(c.Scale == 1 ? 2 : 1);
    flight.Frame();
    EXPECT_EQ(DifferingPixels(flight), 0) << c.What << ", after a new scale";
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

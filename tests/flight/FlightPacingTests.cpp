// SPDX-License-Identifier: GPL-3.0-or-later
// The flight window at the display's pace, with a clock stepped by hand: both timers tick once
// per frame, Timer1 then Timer2, so a particle crosses the window in about two seconds; each
// frame asks for one repaint of only what its ticks changed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QScrollBar>
#include <cmath>

#include "FlightFlows.h"
#include "FlightHost.h"
#include "ManualFrameClock.h"
#include "Numbers.h"
#include "RasterCanvas.h"
#include "Unit3.h"

namespace {

class NoHost : public zk::FlightHost {
  public:
    void SetWedgeField(int) override {}
    void ClickApply() override {}
    void ClickGraphics() override {}
};

long long Area(const QRegion& region) {
    long long area = 0;
    for (const QRect& r : region)
        area += static_cast<long long>(r.width()) * r.height();
    return area;
}

class FlightPacing : public ::testing::Test {
  protected:
    zk::FlowState flow = zk::test::AttachedFlow();
    NoHost host;
    ManualFrameClock clock;
    TForm3 form{flow, host, nullptr, &clock};

    void Open(int count = 10) {
        zk::RandomSeed = 0; // particle 0 starts at x = -600, y = 7
        form.SetParticleCount(count);
        form.FormActivate();
    }
    // n frames 16 ms apart, about 60 a second.
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            clock.Step();
    }
};

TEST_F(FlightPacing, AParticleCrossesTheWindowInAboutTwoSeconds) {
    Open();
    Frames(119);
    EXPECT_EQ(form.Model().Particles[0].x, -5) << "one motion tick per frame, however short the interval";
    EXPECT_EQ(form.Canvas().Pixel(1, 242), zk::clWhite);
    Frames(1); // 120 frames: 1.92 s
    EXPECT_EQ(form.Model().Particles[0].x, 0);
    EXPECT_EQ(form.Canvas().Pixel(1, 242), zk::clBlack);
    Frames(40); // 5 pixels a frame, still short of the shock
    EXPECT_EQ(form.Model().Particles[0].x, 200);
}

TEST_F(FlightPacing, BothTimersTickInEachFrameMotionFirst) {
    form.CheckBox1->setChecked(true); // the shock in red
    Open();
    // A particle standing on the shock line: its dot is drawn by the motion tick and the
    // scene's red shock line is drawn over it in the same frame.
    form.ScrollBar1->setValue(0);
    const double y = std::round(std::tan(0.92027) * (300 - 198)); // pixels above the axis
    form.Model().Particles[0] = zk::Particle{300, y, 460, 166};
    Frames(1);
    // The dot's own pixels, as a dot drawn alone covers them.
    zk::RasterCanvas dot(591, 498);
    dot.SetPenWidth(3);
    dot.Ellipse(300, 250 - static_cast<int>(y), 302, 250 - static_cast<int>(y) - 2);
    int red = 0, covered = 0;
    for (int py = 0; py < 498; ++py)
        for (int px = 0; px < 591; ++px)
            if (dot.Pixel(px, py) == zk::clBlack) {
                ++covered;
                red += form.Canvas().Pixel(px, py) == zk::clRed;
            }
    ASSERT_GT(covered, 0);
    EXPECT_GT(red, 0) << "the scene tick comes after the motion tick, in the same frame";

    // Closing stops both at once: the next frames draw nothing.
    form.FormClose();
    EXPECT_FALSE(clock.Running());
    const zk::Particle before = form.Model().Particles[1];
    form.ScrollBar1->setValue(50);
    Frames(3);
    EXPECT_EQ(form.Model().Particles[1].x, before.x);
}

TEST_F(FlightPacing, EachFrameRepaintsOnlyWhatItsTicksChanged) {
    Open();
    Frames(1);
    EXPECT_EQ(form.FramesShown(), 1);
    EXPECT_TRUE(form.LastFrameRegion().contains(QPoint(400, 250))) << "the first frame draws the whole scene";

    Frames(130); // particle 0 has come in from the left
    const int shown = form.FramesShown();
    Frames(1);
    EXPECT_EQ(form.FramesShown(), shown + 1) << "one repaint per frame";
    const QRegion& region = form.LastFrameRegion();
    const zk::Particle& p = form.Model().Particles[0];
    ASSERT_GT(p.x, 0);
    EXPECT_TRUE(region.contains(QPoint(static_cast<int>(p.x) + 1, 250 - static_cast<int>(p.y) - 1)));
    EXPECT_TRUE(region.contains(QPoint(static_cast<int>(p.x) + 1, 250 + static_cast<int>(p.y) + 1)));
    EXPECT_FALSE(region.contains(QPoint(560, 250))) << "the axis, drawn again the same, is not repainted";
    EXPECT_LT(Area(region), 591LL * 498 / 8) << "ten particles are not the whole window";
    EXPECT_FALSE(region.intersects(form.CheckBox1->geometry())) << "beneath an opaque control";
}

TEST_F(FlightPacing, DotsBeneathTheSpeedBarCostNoRepaintOfIt) {
    Open();
    Frames(1);
    // A particle whose lower image runs beneath the speed bar (rows 464 to 480).
    form.Model().Particles[0] = zk::Particle{200, 216, 680, 0};
    Frames(1);
    const QRegion& region = form.LastFrameRegion();
    EXPECT_TRUE(region.contains(QPoint(206, 250 - 217))) << "the upper image, moved";
    EXPECT_EQ(form.Canvas().Pixel(206, 250 + 217), zk::clBlack) << "the lower image is drawn on the surface";
    EXPECT_FALSE(region.intersects(form.ScrollBar1->geometry())) << "but the opaque bar over it is not repainted";
}

TEST_F(FlightPacing, StandingParticlesAndAnUnchangedSceneCostNoRepaint) {
    Open();
    Frames(150);
    form.ScrollBar1->setValue(0);
    Frames(2); // the first frame at 0 draws the dots differently from the moving frames before
    const int shown = form.FramesShown();
    Frames(10);
    EXPECT_EQ(form.FramesShown(), shown);
    EXPECT_TRUE(form.LastFrameRegion().isEmpty());

    // Checking the shock box shows the shock at the next frame, and only there.
    form.CheckBox1->setChecked(true);
    Frames(1);
    EXPECT_EQ(form.FramesShown(), shown + 1);
    const double tanPhi = std::tan(0.92027);
    EXPECT_TRUE(form.LastFrameRegion().contains(QPoint(300, 250 - static_cast<int>(tanPhi * 102))));
    EXPECT_FALSE(form.LastFrameRegion().contains(QPoint(300, 250))) << "the axis";

    // Moving again: the particles are repainted where they go.
    form.ScrollBar1->setValue(50);
    Frames(1);
    EXPECT_EQ(form.FramesShown(), shown + 2);
}

TEST_F(FlightPacing, ShownAgainTheWholeSceneIsRepainted) {
    Open();
    Frames(5);
    form.show(); // the surface starts white: the next frame must repaint all it draws
    Frames(1);
    EXPECT_TRUE(form.LastFrameRegion().contains(QPoint(400, 250)));
    EXPECT_EQ(form.Canvas().Pixel(400, 250), zk::clBlack);
    form.hide();
}

} // namespace

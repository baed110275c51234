// SPDX-License-Identifier: GPL-3.0-or-later
// The particles of the flight window: start points, the motion tick, turning at the attached and
// the detached shock, respawning, and the two mirrored dots per particle.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "FlightFlows.h"
#include "FlightModel.h"
#include "Numbers.h"
#include "RasterCanvas.h"
#include "RecordingCanvas.h"

namespace zk {
namespace {

using test::AttachedFlow;
using test::CanvasOp;
using test::DetachedFlow;
using test::RecordingCanvas;

// The dots' quick rounding must give the window's rounding of the extended value for every
// double, and the far corner v + 2 rounded in extended precision must be the near one plus 2.
TEST(DotPixel, RoundsAsTheExtendedRuleDoes) {
    const auto pixel = [](Extended v) { return Round32(std::clamp<Extended>(v, -1.0e9L, 1.0e9L)); };
    std::vector<double> values = {0.0, -0.0, 1e-300, -1e-300, 1e-20, 2.5, 3.5, -2.5, -3.5, 0.5, -0.5,
                                  1.5 - 0x1p-52, 0.5 - 0x1p-54, 99999999.5, -99999999.5, 1.0e8 - 1,
                                  4503599627370495.5, 1.0e8, 1.0e9, -1.0e9, 3.0e9};
    for (int n = -1300; n <= 1300; ++n) {
        const double half = n + 0.5;
        values.insert(values.end(), {half, std::nextafter(half, 1e9), std::nextafter(half, -1e9), n * 0.37,
                                     n / 3.0});
    }
    for (const double v : values) {
        EXPECT_EQ(DotPixel(v), pixel(v)) << std::hexfloat << v;
        if (std::fabs(v) < 1.0e8) {
            EXPECT_EQ(DotPixel(v) + 2, pixel(Extended(v) + 2)) << std::hexfloat << v;
        }
    }
}

constexpr int kWidth = 591;  // pixels, the flight window's client area
constexpr int kHeight = 498; // pixels

FlightModel ModelFor(const FlowState& flow, int count = 10, double speed = 5.0) {
    FlightModel model;
    model.SetParticleCount(count);
    model.TakeSnapshot(flow);
    model.FlightSpeed = speed;
    return model;
}

// The value the next Random(n) will give, without using it up.
std::int32_t PeekRandom(std::int32_t n) {
    const std::uint32_t seed = RandomSeed;
    const std::int32_t value = Random(n);
    RandomSeed = seed;
    return value;
}

// Moves every particle but the first out of the way, far left of the window.
void ParkOthers(FlightModel& model) {
    for (int i = 1; i < model.ParticleCount(); ++i)
        model.Particles[i] = Particle{-1.0e6, 100, 0, 0};
}

int NonWhitePixels(const RasterCanvas& canvas) {
    int count = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            count += canvas.Pixel(x, y) != clWhite;
    return count;
}

TEST(FlightParticles, StartPointsComeFromTheSharedGenerator) {
    // The first six values of a fresh generator for 600, 250, 600, 250, 600, 250 are
    // 0, 7, 516, 50, 163, 167, so x = Random(600) - 600 starts at -600, -84, -437.
    RandomSeed = 0;
    FlightModel model = ModelFor(AttachedFlow());
    model.StartParticles();
    EXPECT_EQ(model.Particles[0].x, -600);
    EXPECT_EQ(model.Particles[0].y, 7);
    EXPECT_EQ(model.Particles[1].x, -84);
    EXPECT_EQ(model.Particles[1].y, 50);
    EXPECT_EQ(model.Particles[2].x, -437);
    EXPECT_EQ(model.Particles[2].y, 167);
    for (int i = 0; i < model.ParticleCount(); ++i) {
        const Particle& p = model.Particles[i];
        EXPECT_GE(p.x, -600);
        EXPECT_LE(p.x, -1) << "every particle starts invisible, left of the window";
        EXPECT_GE(p.y, 0);
        EXPECT_LT(p.y, 250);
        EXPECT_EQ(p.y, std::floor(p.y));
        EXPECT_EQ(p.vx, 680);
        EXPECT_EQ(p.vy, 0);
    }
    // Exactly two draws per particle: the generator goes on where the table left it.
    std::uint32_t seed = 0;
    for (int call = 0; call < 2 * model.ParticleCount(); ++call)
        seed = seed * 134775813u + 1u;
    EXPECT_EQ(RandomSeed, seed);
}

TEST(FlightParticles, ParticleCountIsKeptWithinTheTable) {
    const struct {
        int Asked;
        int Used;
    } cases[] = {{INT_MIN, 10}, {-5, 10},   {0, 10},    {9, 10},       {10, 10},
                 {100, 100},    {500, 500}, {501, 500}, {INT_MAX, 500}};
    for (const auto& c : cases) {
        FlightModel model;
        model.SetParticleCount(c.Asked);
        EXPECT_EQ(model.ParticleCount(), c.Used) << c.Asked;
    }
}

TEST(FlightParticles, OnlyTheFirstParticleCountRecordsMove) {
    FlightModel model = ModelFor(AttachedFlow(), 10);
    const Particle sentinel{-1234.5, 77, 1, 2};
    model.Particles.fill(sentinel);
    model.StartParticles();
    RecordingCanvas canvas;
    for (int tick = 0; tick < 200; ++tick)
        model.MotionTick(canvas, 50);
    for (int i = 0; i < 10; ++i)
        EXPECT_NE(model.Particles[i].x, sentinel.x) << i;
    for (int i = 10; i < kParticleSlots; ++i) {
        const Particle& p = model.Particles[i];
        ASSERT_TRUE(p.x == sentinel.x && p.y == sentinel.y && p.vx == sentinel.vx && p.vy == sentinel.vy)
            << i;
    }
}

TEST(FlightParticles, SpeedFollowsTheScrollBar) {
    FlightModel model;
    const struct {
        int Position;
        double Speed; // pixels per tick
    } cases[] = {{0, 0.0}, {1, 0.1}, {37, 3.7}, {50, 5.0}, {100, 10.0}};
    for (const auto& c : cases) {
        model.SetSpeedFromScrollBar(c.Position, 100);
        EXPECT_NEAR(model.FlightSpeed, c.Speed, 1e-15) << c.Position;
    }
    model.SetSpeedFromScrollBar(50, 100);
    EXPECT_EQ(model.FlightSpeed, 5.0) << "the initial position gives the initial speed exactly";
}

TEST(FlightMotion, FreeStreamParticleAdvancesExactlyTheSpeedPerTick) {
    for (const double speed : {5.0, 0.5, 10.0}) {
        FlightModel model = ModelFor(AttachedFlow(), 10, speed);
        model.Particles[0] = Particle{-600, 100, 680, 0}; // stays ahead of the shock
        ParkOthers(model);
        RecordingCanvas canvas;
        for (int tick = 1; tick <= 60; ++tick) {
            model.MotionTick(canvas, 50);
            ASSERT_EQ(model.Particles[0].x, -600 + tick * speed) << speed << " tick " << tick;
            ASSERT_EQ(model.Particles[0].y, 100);
        }
    }
}

TEST(FlightMotion, ParticleFromTheFarLeftAppearsAfter120Ticks) {
    RandomSeed = 0;
    FlightModel model = ModelFor(AttachedFlow());
    model.StartParticles(); // particle 0 at x = -600, y = 7
    ParkOthers(model);
    RasterCanvas canvas(kWidth, kHeight);
    for (int tick = 0; tick < 119; ++tick)
        model.MotionTick(canvas, 50);
    EXPECT_EQ(model.Particles[0].x, -5);
    EXPECT_EQ(NonWhitePixels(canvas), 0) << "nothing left of the window is drawn";
    model.MotionTick(canvas, 50);
    EXPECT_EQ(model.Particles[0].x, 0);
    EXPECT_GT(NonWhitePixels(canvas), 0);
    // The dot above the axis at rows 241..242 and its mirror at rows 257..258.
    EXPECT_EQ(canvas.Pixel(1, 242), clBlack);
    EXPECT_EQ(canvas.Pixel(1, 257), clBlack);
}

TEST(FlightMotion, TickErasesInWhiteThenDrawsInBlackWithTheWidePen) {
    FlightModel model = ModelFor(AttachedFlow());
    model.Particles[0] = Particle{100, 50, 680, 0};
    ParkOthers(model);
    RecordingCanvas canvas;
    model.MotionTick(canvas, 50);
    const auto dots = canvas.OfKind(CanvasOp::Ellipse);
    ASSERT_EQ(dots.size(), 4u);
    const struct {
        int X1, Y1, X2, Y2;
        TColor Color;
    } expected[] = {
        {100, 200, 102, 198, clWhite},
        {100, 300, 102, 302, clWhite}, // old place, above and below
        {105, 200, 107, 198, clBlack},
        {105, 300, 107, 302, clBlack}, // five pixels on
    };
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(dots[k].X1, expected[k].X1) << k;
        EXPECT_EQ(dots[k].Y1, expected[k].Y1) << k;
        EXPECT_EQ(dots[k].X2, expected[k].X2) << k;
        EXPECT_EQ(dots[k].Y2, expected[k].Y2) << k;
        EXPECT_EQ(dots[k].Pen.Color, expected[k].Color) << k;
        EXPECT_EQ(dots[k].Pen.Width, 3) << k;
    }
}

TEST(FlightMotion, PositionsRoundToEvenBeforeDrawing) {
    // x = 100.5 rounds to 100, x + 2 = 102.5 to 102; y = 2.5 rounds to 2, y + 2 = 4.5 to 4.
    FlightModel model = ModelFor(AttachedFlow());
    model.Particles[0] = Particle{100.5, 2.5, 680, 0};
    ParkOthers(model);
    RecordingCanvas canvas;
    model.MotionTick(canvas, 0);
    const auto dots = canvas.OfKind(CanvasOp::Ellipse);
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0].X1, 100);
    EXPECT_EQ(dots[0].X2, 102);
    EXPECT_EQ(dots[0].Y1, 248);
    EXPECT_EQ(dots[0].Y2, 246);
    EXPECT_EQ(dots[1].Y1, 252);
    EXPECT_EQ(dots[1].Y2, 254);
}

TEST(FlightMotion, ScrollBarAtZeroStandsStillAndRedrawsInBlack) {
    FlightModel model = ModelFor(AttachedFlow());
    ParkOthers(model);
    model.Particles[0] = Particle{100, 50, 680, 0};
    model.Particles[1] = Particle{-50, 60, 680, 0};
    RecordingCanvas canvas;
    for (int tick = 0; tick < 3; ++tick)
        model.MotionTick(canvas, 0);
    EXPECT_EQ(model.Particles[0].x, 100);
    EXPECT_EQ(model.Particles[0].y, 50);
    EXPECT_EQ(model.Particles[1].x, -50);
    for (const CanvasOp& op : canvas.OfKind(CanvasOp::Ellipse)) {
        EXPECT_EQ(op.Pen.Color, clBlack) << "nothing is erased";
        EXPECT_EQ(op.X1, 100) << "only the visible particle is drawn";
    }
    // The motion goes on from the same place.
    model.MotionTick(canvas, 50);
    EXPECT_EQ(model.Particles[0].x, 105);
    EXPECT_EQ(model.Particles[1].x, -45);
}

TEST(FlightMotion, RespawnOnlyBeyondTheRightEdgeOrTheTop) {
    RecordingCanvas canvas;
    // Column 600 and height 250 are still inside; one step beyond, the particle starts again at
    // the left edge with a new height from the generator.
    const struct {
        Particle Start;
        double Speed;
    } cases[] = {
        {{595, 240, 680, 0}, 5}, // reaches x = 600, then 605, above the shock line
        {{-50, 245, 0, 680}, 5}, // rises to y = 250, then 255
    };
    for (const auto& c : cases) {
        FlightModel model = ModelFor(AttachedFlow(), 10, c.Speed);
        model.Snapshot.FlightShockAngle = 0.5; // y = 0.546 (x - 197): below both particles
        model.Particles[0] = c.Start;
        ParkOthers(model);
        model.MotionTick(canvas, 50);
        const Particle onEdge = model.Particles[0];
        EXPECT_TRUE(onEdge.x == 600 || onEdge.y == 250);
        EXPECT_EQ(onEdge.vx, c.Start.vx) << "still on its way";
        const std::int32_t height = PeekRandom(250);
        model.MotionTick(canvas, 50);
        const Particle& again = model.Particles[0];
        EXPECT_EQ(again.x, 0) << "back at the left edge, visible at once";
        EXPECT_EQ(again.y, height);
        EXPECT_EQ(again.vx, 680);
        EXPECT_EQ(again.vy, 0);
    }
}

TEST(FlightMotion, AttachedParticleTurnsWhereTheShockTestFirstHoldsAndKeepsV2) {
    // With a shock angle of 45 degrees the shock is y = x - 197.  A particle 10.5 pixels high
    // reaches it at x = 207.5: at x = 207 it is still upstream, at x = 208 it has crossed.
    FlowState flow = AttachedFlow();
    flow.ShockAngle = static_cast<double>(Pi / 4);
    FlightModel model = ModelFor(flow, 10, 1.0);
    model.Particles[0] = Particle{190, 10.5, 680, 0};
    model.Particles[1] = Particle{190, 200, 680, 0}; // far above the shock in this stretch
    for (int i = 2; i < 10; ++i)
        model.Particles[i] = Particle{-1.0e6, 100, 0, 0};
    RecordingCanvas canvas;
    for (int tick = 0; tick < 17; ++tick)
        model.MotionTick(canvas, 50);
    ASSERT_EQ(model.Particles[0].x, 207);
    EXPECT_EQ(model.Particles[0].vx, 680);
    EXPECT_EQ(model.Particles[0].vy, 0);
    model.MotionTick(canvas, 50);
    ASSERT_EQ(model.Particles[0].x, 208);
    EXPECT_EQ(model.Particles[0].vx, 460);
    EXPECT_EQ(model.Particles[0].vy, 166);
    EXPECT_EQ(model.Particles[1].vy, 0) << "a particle above the shock flies on";
    // Once turned, the particle is never tested again: it keeps C's velocity, parallel to the
    // wedge, and moves 460/680 and 166/680 pixels per tick.
    for (int tick = 0; tick < 20; ++tick)
        model.MotionTick(canvas, 50);
    EXPECT_EQ(model.Particles[0].vx, 460);
    EXPECT_EQ(model.Particles[0].vy, 166);
    EXPECT_NEAR(model.Particles[0].x, 208 + 20 * 460.0 / 680, 1e-9);
    EXPECT_NEAR(model.Particles[0].y, 10.5 + 20 * 166.0 / 680, 1e-9);
}

TEST(FlightMotion, ParticleLandingExactlyOnTheShockLineTurnsInThatTick) {
    // The attached shock meets the axis at x = 197, three pixels before the tip, whatever its
    // angle: a particle on the axis (start height 0 is one of the generator's heights) that
    // lands exactly on x = 197 is on the line, tan(phi) (197 - 197) = 0 >= 0, and turns at once.
    // One just above the axis at the same column is above the line and flies on.
    const struct {
        double StartX, Y; // pixels
        bool Turns;
    } cases[] = {
        {192, 0, true},       // lands on x = 197 in one tick of 5 pixels
        {191.5, 0, false},    // 196.5: still before the line's foot
        {192, 1e-300, false}, // above the line by the least amount
        {193, 0, true},       // 198: beyond the foot, below the line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.StartX);
        SCOPED_TRACE(c.Y);
        FlightModel model = ModelFor(AttachedFlow());
        model.Particles[0] = Particle{c.StartX, c.Y, 680, 0};
        ParkOthers(model);
        RecordingCanvas canvas;
        model.MotionTick(canvas, 50);
        EXPECT_EQ(model.Particles[0].x, c.StartX + 5);
        EXPECT_EQ(model.Particles[0].vx, c.Turns ? 460 : 680);
        EXPECT_EQ(model.Particles[0].vy, c.Turns ? 166 : 0);
    }
}

// Velocities behind the detached shock of the 30-degree case: |V2| = sqrt(382^2 + 160^2), the
// speed reduced by K = 1 - 21/200 and turned by the wedge angle.
constexpr double kBehindVx = 321.0081916010867; // m/s, |V2| cos 30 K
constexpr double kBehindVy = 185.3341658329624; // m/s, |V2| sin 30 K
constexpr double kTolerance = 1e-9;             // m/s

TEST(FlightMotion, DetachedRulesByRegion) {
    // The particles stand (speed 0) so each is tested at the point given.  Chord from the vertex
    // (179, 0) to the arc end (183, 12): y = 3 (x - 200) + 63.  Straight part through the arc end
    // at tan(0.98075) = 1.4934.
    const struct {
        double X, Y;
        double Vx, Vy; // expected
        const char* Region;
    } cases[] = {
        {190, 6, kBehindVx, kBehindVy * 0.25, "behind the arc upstream of the tip: turned by (y/EY)^2"},
        {183, 12, kBehindVx, kBehindVy, "on the chord, at the arc's end"},
        {205, 6, kBehindVx, kBehindVy, "from the tip on: parallel to the wedge"},
        {215, 50, kBehindVx, kBehindVy, "behind the straight part"},
        {175, 50, 680, 0, "ahead of the straight part"},
        {150, 6, 680, 0, "ahead of the arc"},
    };
    for (const auto& c : cases) {
        FlightModel model = ModelFor(DetachedFlow(), 10, 0.0);
        model.Particles[0] = Particle{c.X, c.Y, 680, 0};
        ParkOthers(model);
        RecordingCanvas canvas;
        model.MotionTick(canvas, 50);
        EXPECT_NEAR(model.Particles[0].vx, c.Vx, kTolerance) << c.Region;
        EXPECT_NEAR(model.Particles[0].vy, c.Vy, kTolerance) << c.Region;
    }
}

TEST(FlightMotion, DetachedVelocityIsSetAgainEveryTick) {
    FlightModel model = ModelFor(DetachedFlow(), 10, 0.0);
    model.Particles[0] = Particle{205, 6, 1, 1};
    ParkOthers(model);
    RecordingCanvas canvas;
    model.MotionTick(canvas, 50);
    EXPECT_NEAR(model.Particles[0].vx, kBehindVx, kTolerance);
    model.Particles[0].vx = 1;
    model.MotionTick(canvas, 50);
    EXPECT_NEAR(model.Particles[0].vx, kBehindVx, kTolerance);
}

TEST(FlightMotion, ArcEndThatMeetsTheRadiusMovesOnePixelOnce) {
    FlowState flow = DetachedFlow();
    flow.DetachedRadius = 5;
    flow.DetachedEndX = 5;
    FlightModel model = ModelFor(flow);
    RecordingCanvas canvas;
    model.MotionTick(canvas, 0);
    EXPECT_EQ(model.Snapshot.FlightDetachedEndX, 5) << "a standing tick tests no shock";
    for (int tick = 0; tick < 3; ++tick)
        model.MotionTick(canvas, 50);
    EXPECT_EQ(model.Snapshot.FlightDetachedEndX, 6);
    model.TakeSnapshot(flow);
    EXPECT_EQ(model.Snapshot.FlightDetachedEndX, 5) << "until the next activation";
}

TEST(FlightMotion, DegenerateSnapshotsNeitherFaultNorMove) {
    // No free-stream velocity: no scale for the motion, the particles stand.
    FlowState still = AttachedFlow();
    still.V1 = 0;
    FlightModel model = ModelFor(still);
    model.Particles[0] = Particle{100, 50, 0, 0};
    ParkOthers(model);
    RecordingCanvas canvas;
    EXPECT_NO_THROW(model.MotionTick(canvas, 50));
    EXPECT_EQ(model.Particles[0].x, 100);
    EXPECT_EQ(model.Particles[0].y, 50);

    // An arc that ends on the axis: the curved-shock rule has no region, the tip rule still acts.
    FlowState flat = DetachedFlow();
    flat.DetachedEndY = 0;
    FlightModel detached = ModelFor(flat, 10, 0.0);
    detached.Particles[0] = Particle{205, 0, 680, 0};
    detached.Particles[1] = Particle{190, 0, 680, 0};
    for (int i = 2; i < 10; ++i)
        detached.Particles[i] = Particle{-1.0e6, 100, 0, 0};
    EXPECT_NO_THROW(detached.MotionTick(canvas, 50));
    EXPECT_NEAR(detached.Particles[0].vx, kBehindVx, kTolerance);
    EXPECT_EQ(detached.Particles[1].vx, 680);
}

TEST(FlightMotion, DotBelowTheAxisMirrorsTheDotAbove) {
    RandomSeed = 0;
    FlightModel model = ModelFor(AttachedFlow(), 200);
    model.StartParticles();
    RecordingCanvas log;
    RasterCanvas canvas(kWidth, kHeight);
    for (int tick = 0; tick < 150; ++tick)
        model.MotionTick(canvas, 50);
    model.MotionTick(log, 50);

    // Every upper rectangle has its lower twin with rows reflected about the axis.
    const auto dots = log.OfKind(CanvasOp::Ellipse);
    ASSERT_GT(dots.size(), 100u);
    for (std::size_t k = 0; k + 1 < dots.size(); k += 2) {
        EXPECT_EQ(dots[k + 1].X1, dots[k].X1);
        EXPECT_EQ(dots[k + 1].X2, dots[k].X2);
        EXPECT_EQ(dots[k + 1].Y1, 500 - dots[k].Y1);
        EXPECT_EQ(dots[k + 1].Y2, 500 - dots[k].Y2);
    }
    // On the surface the picture below the axis is the picture above it, row 249 - k against
    // row 250 + k (rows 0 and 1 mirror rows beyond the bottom edge).
    EXPECT_GT(NonWhitePixels(canvas), 500);
    for (int y = 2; y < 250; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(canvas.Pixel(x, y), canvas.Pixel(x, 499 - y)) << x << "," << y;
}

} // namespace
} // namespace zk

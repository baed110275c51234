// SPDX-License-Identifier: GPL-3.0-or-later
// The flight window's two 5 ms ticks on its 591 x 498 surface: a motion tick with the full table
// of 500 particles in flight past the shock, and a scene tick, attached and detached.
#include <benchmark/benchmark.h>

#include <vector>

#include "DirtyRegionCanvas.h"
#include "FlightModel.h"
#include "FlowState.h"
#include "Numbers.h"
#include "RasterCanvas.h"
#include "WebFlight.h"

namespace {

// c1 = 340 m/s, gamma = 1.4, V1 = 680 m/s with a 20-degree (attached) or 30-degree (detached) wedge.
zk::FlowState Flow(bool detached) {
    zk::FlowState flow;
    flow.V1 = 680;
    flow.WedgeAngle = static_cast<double>((detached ? 30 : 20) * zk::Pi / 180);
    flow.ShockAngle = detached ? 0.98075 : 0.92027;
    flow.PointCx = detached ? 382 : 460;
    flow.PointCy = detached ? 160 : 166;
    flow.ShockDetached = detached;
    flow.DetachedRadius = 21;
    flow.DetachedEndX = 17;
    flow.DetachedEndY = 12;
    return flow;
}

void MotionTick(benchmark::State& state) {
    // the default font is the window's; the second argument is the device scale
    zk::RasterCanvas canvas(591, 498, zk::FontSpec{}, static_cast<std::int32_t>(state.range(1)));
    zk::FlightModel model;
    model.SetParticleCount(zk::kParticleSlots);
    model.TakeSnapshot(Flow(state.range(0) != 0));
    model.FlightSpeed = 5.0;
    model.StartParticles();
    for (int tick = 0; tick < 400; ++tick) // spread the particles over the whole window
        model.MotionTick(canvas, 50);
    for (auto _ : state)
        model.MotionTick(canvas, 50);
}
BENCHMARK(MotionTick)
    ->ArgsProduct({{0, 1}, {1, 2}})
    ->ArgNames({"detached", "scale"})
    ->Unit(benchmark::kMicrosecond);

void SceneTick(benchmark::State& state) {
    // the default font is the window's; the second argument is the device scale
    zk::RasterCanvas canvas(591, 498, zk::FontSpec{}, static_cast<std::int32_t>(state.range(1)));
    zk::FlightModel model;
    model.TakeSnapshot(Flow(state.range(0) != 0));
    model.MouseAngle = 0.5;
    model.MouseInField = true;
    zk::SceneControls controls{true, true, true};
    for (auto _ : state) {
        controls.StreamlinesChecked = true;
        model.SceneTick(canvas, controls);
    }
}
BENCHMARK(SceneTick)
    ->ArgsProduct({{0, 1}, {1, 2}})
    ->ArgNames({"detached", "scale"})
    ->Unit(benchmark::kMicrosecond);

// The window's frame as far as the surface goes: the motion tick and the scene tick drawn as
// passes through the dirty-region decorator, then the changed parts handed over.  The counters
// say how many rectangles a frame repaints and how much of the surface they cover.
void Frame(benchmark::State& state) {
    zk::RasterCanvas canvas(591, 498, zk::FontSpec{}, 1);
    zk::DirtyRegionCanvas drawn(canvas);
    zk::FlightModel model;
    model.SetParticleCount(static_cast<std::int32_t>(state.range(0)));
    model.TakeSnapshot(Flow(false));
    model.FlightSpeed = 5.0;
    model.StartParticles();
    zk::SceneControls controls{true, false, true};
    std::vector<zk::TRect> dirty;
    const auto frame = [&] {
        drawn.BeginPass(0);
        model.MotionTick(drawn, 50);
        drawn.BeginPass(1);
        model.SceneTick(drawn, controls);
        drawn.EndPass();
        drawn.TakeDirty(dirty);
    };
    for (int tick = 0; tick < 400; ++tick) // spread the particles over the whole window
        frame();
    double rects = 0, area = 0;
    for (auto _ : state) {
        frame();
        rects += static_cast<double>(dirty.size());
        for (const zk::TRect& r : dirty)
            area += static_cast<double>(r.Right - r.Left) * (r.Bottom - r.Top);
    }
    state.counters["rects"] = benchmark::Counter(rects, benchmark::Counter::kAvgIterations);
    state.counters["area%"] = benchmark::Counter(100 * area / (591.0 * 498.0), benchmark::Counter::kAvgIterations);
}
BENCHMARK(Frame)->Arg(100)->Arg(500)->ArgName("particles")->Unit(benchmark::kMicrosecond);

// The web page's frame: the same two passes, then the changed parts converted into the RGBA
// bytes the canvas takes.  The page runs one per animation frame, 60 a second.
void WebFrame(benchmark::State& state) {
    zk::WebFlight flight(static_cast<std::int32_t>(state.range(1)));
    flight.SetParticleCount(static_cast<std::int32_t>(state.range(0)));
    flight.Controls() = zk::SceneControls{true, false, true};
    flight.Activate(Flow(false));
    for (int tick = 0; tick < 400; ++tick) // spread the particles over the whole window
        flight.Frame();
    double rects = 0;
    for (auto _ : state) {
        flight.Frame();
        rects += static_cast<double>(flight.Changed().size() / 4);
    }
    state.counters["rects"] = benchmark::Counter(rects, benchmark::Counter::kAvgIterations);
}
BENCHMARK(WebFrame)
    ->ArgsProduct({{100, 500}, {1, 2}})
    ->ArgNames({"particles", "scale"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

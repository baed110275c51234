// SPDX-License-Identifier: GPL-3.0-or-later
// The flight window's two 5 ms ticks on its 591 x 498 surface: a motion tick with the full table
// of 500 particles in flight past the shock, and a scene tick, attached and detached.
#include <benchmark/benchmark.h>

#include "FlightModel.h"
#include "FlowState.h"
#include "Numbers.h"
#include "RasterCanvas.h"

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

} // namespace

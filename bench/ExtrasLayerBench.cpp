// SPDX-License-Identifier: GPL-3.0-or-later
// What the layer of extra constructions adds to a run of Apply: the exact landmarks alone, and
// the layer drawn over the finished picture at the screen's scale and at the PNG's.
#include <benchmark/benchmark.h>

#include "ExtrasLayer.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"

using namespace zk;

namespace {

void Landmarks(benchmark::State& bench) {
    for (auto _ : bench)
        benchmark::DoNotOptimize(HodographLandmarksFor(680, 340, 1.4, 20 * 0.017453292519943295));
}

void DrawLayer(benchmark::State& bench) {
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, static_cast<int>(bench.range(0)));
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    PolarDiagram diagram(picture, state);
    Apply(state, {20, 680, '.'}, diagram);
    for (auto _ : bench) {
        ExtrasLayer::Draw(picture, state, ',');
        benchmark::DoNotOptimize(picture.Bits());
    }
}

} // namespace

BENCHMARK(Landmarks)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawLayer)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// SPDX-License-Identifier: GPL-3.0-or-later
// Apply as the user waits for it: solve and draw into the 609 x 449 picture, the fast way and the
// literal way, and the diagram's drawing alone.
#include <benchmark/benchmark.h>

#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"

using namespace zk;

namespace {

template <bool Literal>
void ApplyAndDraw(benchmark::State& bench, int chi, int v1) {
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    PolarDiagram diagram(picture, state);
    for (auto _ : bench) {
        if (Literal)
            ApplyLiteral(state, {chi, v1, '.'}, diagram);
        else
            Apply(state, {chi, v1, '.'}, diagram);
        benchmark::DoNotOptimize(picture.Bits());
    }
}

void Fast(benchmark::State& bench) { ApplyAndDraw<false>(bench, static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1))); }
void Literal(benchmark::State& bench) { ApplyAndDraw<true>(bench, static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1))); }

// The slowest wedge angle at V1 = 1 000 000 for the fast Apply, measured over 0..180 degrees.
void FastWorstAngle(benchmark::State& bench) {
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    PolarDiagram diagram(picture, state);
    for (auto _ : bench) {
        for (int chi = 0; chi <= 180; ++chi)
            Apply(state, {chi, 1000000, '.'}, diagram);
    }
    bench.counters["per_angle_ms"] =
        benchmark::Counter(181, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The diagram's drawing with the solution already known: replays one run's reports.
class Replay : public ApplyListener {
public:
    struct Sample {
        int s;
        std::int32_t i;
        Extended p;
    };
    std::vector<Sample> samples;
    std::int32_t pointAx = 0;
    Extended bc = 0;
    void PolarPassBegin(int, std::int32_t ax) override { pointAx = ax; }
    void PolarSample(int s, std::int32_t i, Extended p) override { samples.push_back({s, i, p}); }
    void ConstructionLine(Extended b) override { bc = b; }
};

void DiagramOnly(benchmark::State& bench) {
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    Replay replay;
    Apply(state, {20, 680, '.'}, replay);
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    PolarDiagram diagram(picture, state);
    for (auto _ : bench) {
        diagram.ClearAndDrawAxes();
        for (int s : {+1, -1}) {
            diagram.PolarPassBegin(s, replay.pointAx);
            for (const auto& sample : replay.samples)
                if (sample.s == s)
                    diagram.PolarSample(s, sample.i, sample.p);
            diagram.PolarPassEnd(s);
        }
        diagram.Wedge();
        diagram.ShockPen();
        diagram.MarkC();
        diagram.ConstructionLine(replay.bc);
        diagram.ShockConstruction(replay.bc);
        diagram.FixedLabels(replay.pointAx);
        benchmark::DoNotOptimize(picture.Bits());
    }
}

} // namespace

BENCHMARK(Fast)->Args({20, 680})->Args({20, 1000000})->Args({45, 1000000})->Args({90, 1000000})->Args({142, 1000000})->Args({64, 1000000})->Unit(benchmark::kMillisecond);
BENCHMARK(Literal)->Args({20, 680})->Args({20, 1000000})->Args({45, 1000000})->Args({90, 1000000})->Args({142, 1000000})->Args({64, 1000000})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FastWorstAngle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DiagramOnly)->Unit(benchmark::kMicrosecond);

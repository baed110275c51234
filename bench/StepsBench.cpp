// SPDX-License-Identifier: GPL-3.0-or-later
// Apply as the main window runs it, with its drawing recorded step by step for the window
// "Построение по шагам", beside the plain Apply; the drawing of one step's picture from the
// record, and of a step as the window shows it, with its marks and caption.
#include <benchmark/benchmark.h>

#include "ConstructionCaptions.h"
#include "ConstructionRecord.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"
#include "StepRecordingDiagram.h"
#include "StepView.h"

using namespace zk;

namespace {

void RecordedApply(benchmark::State& bench) {
    const int chi = static_cast<int>(bench.range(0)), v1 = static_cast<int>(bench.range(1));
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    ConstructionRecord record;
    for (auto _ : bench) {
        StepRecordingDiagram diagram(record, picture, state);
        Apply(state, {chi, v1, '.'}, diagram);
        benchmark::DoNotOptimize(picture.Bits());
    }
    bench.counters["ops"] = static_cast<double>(record.Steps().back().Ops);
}

void PlainApply(benchmark::State& bench) {
    const int chi = static_cast<int>(bench.range(0)), v1 = static_cast<int>(bench.range(1));
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    for (auto _ : bench) {
        PolarDiagram diagram(picture, state);
        Apply(state, {chi, v1, '.'}, diagram);
        benchmark::DoNotOptimize(picture.Bits());
    }
}

// The steps of one run in air (c1 = 340 m/s) at the wedge chi and the speed v1, recorded.
ConstructionRecord RecordRun(int chi, int v1) {
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    ConstructionRecord record;
    {
        StepRecordingDiagram diagram(record, picture, state);
        Apply(state, {chi, v1, '.'}, diagram);
    }
    return record;
}

// The last step's picture drawn from the record onto a fresh canvas, as the window shows it.
void StepPicture(benchmark::State& bench) {
    const int chi = static_cast<int>(bench.range(0)), v1 = static_cast<int>(bench.range(1));
    const ConstructionRecord record = RecordRun(chi, v1);
    for (auto _ : bench) {
        RasterCanvas fresh(PolarDiagram::kWidth, PolarDiagram::kHeight);
        record.DrawStep(record.Steps().size() - 1, fresh);
        benchmark::DoNotOptimize(fresh.Bits());
    }
}

// The step of the shock lines as the window shows it: the picture, the band behind the step's
// new pixels, and the caption, which looks whether the step changed the picture.
void MarkedStep(benchmark::State& bench) {
    const int chi = static_cast<int>(bench.range(0)), v1 = static_cast<int>(bench.range(1));
    const ConstructionRecord record = RecordRun(chi, v1);
    for (auto _ : bench) {
        RasterCanvas fresh(PolarDiagram::kWidth, PolarDiagram::kHeight);
        DrawStepView(record, 7, fresh);
        benchmark::DoNotOptimize(fresh.Bits());
        benchmark::DoNotOptimize(StepCaption(record, 7, ','));
    }
}

} // namespace

BENCHMARK(PlainApply)
    ->Args({20, 680})
    ->Args({20, 1000000})
    ->Args({64, 1000000})
    ->Args({142, 1000000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RecordedApply)
    ->Args({20, 680})
    ->Args({20, 1000000})
    ->Args({64, 1000000})
    ->Args({142, 1000000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StepPicture)->Args({20, 680})->Args({142, 1000000})->Unit(benchmark::kMillisecond);
BENCHMARK(MarkedStep)->Args({20, 680})->Args({20, 1000000})->Unit(benchmark::kMillisecond);

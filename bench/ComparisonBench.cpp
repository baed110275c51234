// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison window's refresh after an Apply: the exact theory and the search for the largest
// wedge the construction still attaches a shock to, which tries up to 90 wedges on the polar.
// Target: the first refresh after V1 or the gas changed within 10 ms at any V1.
#include <benchmark/benchmark.h>

#include "LargestWedgeCache.h"
#include "ShockComparison.h"
#include "Solver.h"

using namespace zk;

namespace {

FlowState Solved(double soundSpeed, double gamma, int chi, int v1) {
    FlowState state;
    state.SoundSpeed = soundSpeed;
    state.Gamma = gamma;
    ApplyListener quiet;
    Apply(state, {chi, v1, '.'}, quiet);
    return state;
}

// range(0): V1 in m/s; range(1): c1 in m/s (a small c1 puts the limit high, so the search is short).
void Refresh(benchmark::State& bench) {
    const FlowState state =
        Solved(static_cast<double>(bench.range(1)), 1.4, 20, static_cast<int>(bench.range(0)));
    for (auto _ : bench)
        benchmark::DoNotOptimize(CompareWithExactTheory(state));
}

// As the comparison window refreshes while the wedge angle changes: the largest attached wedge of
// this gas and V1 comes from the cache.
void RefreshCached(benchmark::State& bench) {
    const FlowState state =
        Solved(static_cast<double>(bench.range(1)), 1.4, 20, static_cast<int>(bench.range(0)));
    LargestWedgeCache cache;
    CompareWithExactTheory(state, cache);
    for (auto _ : bench)
        benchmark::DoNotOptimize(CompareWithExactTheory(state, cache));
}

void ExactOnly(benchmark::State& bench) {
    for (auto _ : bench)
        benchmark::DoNotOptimize(ExactValuesFor(680, 340, 1.4, 0.3490658503988659));
}

} // namespace

// The longest searches: a slow stream whose limit lies at a few degrees, and V1 = 1e6.
BENCHMARK(Refresh)
    ->Args({680, 340})
    ->Args({400, 340})
    ->Args({1000000, 340})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RefreshCached)->Args({680, 340})->Args({1000000, 340})->Unit(benchmark::kMicrosecond);
BENCHMARK(ExactOnly)->Unit(benchmark::kMicrosecond);

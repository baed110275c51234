// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison window's refresh after an Apply, as the student drags the wedge angle on a chart:
// the comparison with the exact theory (the largest attached wedge taken from the cache), the table,
// the θ–β chart of the current M1, and the drawing of the chart family and the pressure polar.  Every
// wedge angle from 0 to 180 degrees in turn; the counter worst_ms is the slowest single refresh.
// Target: at most 5 ms per refresh, worst case.  Runs headless (offscreen) like the GUI tests.
//
// The time taken is the thread's processor time, not the wall clock: on an idle machine the two
// agree, and on a busy one (a build running beside) the wall clock measures the other programs.
#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>

#include "ChartView.h"
#include "Comparison.h"
#include "ErrorBox.h"
#include "LargestWedgeCache.h"
#include "ShockComparison.h"
#include "Startup.h"
#include "TSpinEdit.h"
#include "ThetaBetaChart.h"
#include "Unit1.h"

namespace {

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One refresh: the window's own work and the painting of its two new charts.
double TimedRefresh(qreal devicePixelRatio) {
    const double start = ThreadSeconds();
    Comparison->Refresh();
    benchmark::DoNotOptimize(Comparison->Chart1->Chart()->Render(devicePixelRatio));
    benchmark::DoNotOptimize(Comparison->Chart2->Chart()->Render(devicePixelRatio));
    return ThreadSeconds() - start;
}

void Solve(int chi, int v1) {
    Main->SpinEdit1->SetValue(chi);
    Main->SpinEdit2->SetValue(v1);
    Main->Button2Click(); // the comparison window is hidden: Apply alone
}

// range(0): V1 in m/s; range(1): device pixel ratio of the charts (1 or 2).
void RefreshEveryWedge(benchmark::State& state) {
    const int v1 = static_cast<int>(state.range(0));
    const qreal ratio = static_cast<qreal>(state.range(1));
    // One untimed pass over the angles first, as a student's first drag: the largest attached wedge
    // is searched for this gas and V1, the charts' backgrounds are drawn at this density, and the
    // glyphs of the marks' numbers are rendered into the font cache.
    for (int warm = 0; warm <= 180; ++warm) {
        Solve(warm, v1);
        TimedRefresh(ratio);
    }
    double worst = 0;
    int worstChi = 0;
    int chi = 0;
    for (auto _ : state) {
        Solve(chi, v1);
        const double seconds = TimedRefresh(ratio);
        state.SetIterationTime(seconds);
        if (seconds > worst) {
            worst = seconds;
            worstChi = chi;
        }
        chi = (chi + 1) % 181;
    }
    state.counters["worst_ms"] = worst * 1e3;
    state.counters["worst_chi"] = worstChi;
}

// The first refresh after V1 changed: the largest attached wedge is searched again.
void RefreshNewVelocity(benchmark::State& state) {
    const int v1 = static_cast<int>(state.range(0));
    double worst = 0;
    int k = 0;
    for (auto _ : state) {
        Solve(20, v1 + (k++ % 2)); // 1 m/s apart: a new key every time
        const double seconds = TimedRefresh(1);
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
    }
    state.counters["worst_ms"] = worst * 1e3;
}

// Where a refresh's time goes, at the start-up case.
void RefreshPart(benchmark::State& state) {
    Solve(20, 680);
    Comparison->Refresh();
    zk::LargestWedgeCache cache;
    zk::CompareWithExactTheory(Flow, cache);
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            benchmark::DoNotOptimize(zk::CompareWithExactTheory(Flow, cache));
            break;
        case 1:
            benchmark::DoNotOptimize(Comparison->Chart1->Chart()->Render(1));
            break;
        case 2:
            benchmark::DoNotOptimize(Comparison->Chart2->Chart()->Render(1));
            break;
        case 3:
            benchmark::DoNotOptimize(ThetaBetaChart(zk::CompareWithExactTheory(Flow, cache), 20).Draw());
            break;
        default:
            Comparison->Refresh();
        }
    }
}

// The search for the construction's largest attached wedge alone, for a new V1 each time:
// range(1) 0 tries the wedges on one polar as the window does, 1 runs Apply for every wedge.
void LargestWedgeSearch(benchmark::State& state) {
    const int v1 = static_cast<int>(state.range(0));
    zk::FlowState gas;
    gas.SoundSpeed = 340;
    gas.Gamma = 1.4;
    int k = 0;
    for (auto _ : state) {
        const int velocity = v1 + (k++ % 2);
        benchmark::DoNotOptimize(state.range(1) == 0 ? zk::LargestAttachedWedge(gas, velocity)
                                                     : zk::LargestAttachedWedgeByApply(gas, velocity));
    }
}

} // namespace

BENCHMARK(LargestWedgeSearch)
    ->Args({680, 0})
    ->Args({680, 1})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Args({999999, 0})
    ->Args({999999, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RefreshPart)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(RefreshEveryWedge)
    ->Args({680, 1})
    ->Args({1000000, 1})
    ->Args({680, 2})
    ->Args({1000000, 2})
    ->Iterations(181 * 3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RefreshNewVelocity)
    ->Arg(680)
    ->Arg(999999)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform warns at every raise of a window; that is no news here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication application(argc, argv);
    zk::InitialiseApplication(application);
    zk::CreateWindows();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zk::DestroyWindows();
    return 0;
}

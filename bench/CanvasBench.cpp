// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas operations whose cost the program feels: the polar sweep's long polyline of tiny
// segments, the clearing flood fill of the 609 x 449 picture, the particle dots of a motion tick,
// a label, and lines that leave the picture far outside.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "RasterCanvas.h"

namespace {

// One branch of the polar at V1 = 1 000 000 m/s: about 850 000 samples squeezed into a few
// hundred pixels, so that nearly every segment has length zero or one.
struct Sample {
    std::int32_t X;
    std::int32_t Y;
};

std::vector<Sample> PolarLikeSamples() {
    std::vector<Sample> samples;
    const int n = 850000;
    samples.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        samples.push_back({static_cast<std::int32_t>(std::lround(323 + 230 * t)),
                           static_cast<std::int32_t>(std::lround(150 * std::sqrt(t * (1 - t))))});
    }
    return samples;
}

void PolarSweep(benchmark::State& state) {
    zk::RasterCanvas picture(609, 449, zk::FontSpec{}, static_cast<std::int32_t>(state.range(0)));
    zk::TCanvas& canvas = picture;
    const std::vector<Sample> samples = PolarLikeSamples();
    const std::size_t dashedFrom = samples.size() * 95 / 100;
    for (auto _ : state) {
        for (const int s : {1, -1}) { // lower and upper branch
            canvas.MoveTo(323, 220);
            for (std::size_t i = 0; i < samples.size(); ++i) {
                canvas.SetPenColor(zk::clGreen);
                canvas.SetPenStyle(i > dashedFrom ? zk::TPenStyle::psDash : zk::TPenStyle::psSolid);
                canvas.LineTo(samples[i].X, 220 + s * samples[i].Y);
            }
        }
        benchmark::DoNotOptimize(picture.Bits());
    }
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<std::int64_t>(samples.size()));
}
BENCHMARK(PolarSweep)->Arg(1)->Arg(2)->ArgName("scale")->Unit(benchmark::kMillisecond);

void ClearingFloodFill(benchmark::State& state) {
    zk::RasterCanvas picture(609, 449);
    for (auto _ : state) {
        state.PauseTiming();
        picture.MoveTo(50, 220);
        picture.LineTo(600, 220);
        picture.MoveTo(200, 440);
        picture.LineTo(200, 10);
        picture.TextOut(405, 164, "20 град");
        state.ResumeTiming();
        picture.FloodFill(100, 100, zk::clMedGray, zk::TFillStyle::fsBorder);
    }
}
BENCHMARK(ClearingFloodFill)->Unit(benchmark::kMicrosecond);

// 500 particles, each erased and drawn again as an upper and a lower dot.
void ParticleDots(benchmark::State& state) {
    zk::RasterCanvas window(591, 498, zk::FontSpec{}, static_cast<std::int32_t>(state.range(0)));
    window.SetPenWidth(3);
    int step = 0;
    for (auto _ : state) {
        for (int i = 0; i < 500; ++i) {
            const int x = (i * 37 + step) % 600 - 5;
            const int y = (i * 53) % 250;
            window.SetPenColor(zk::clWhite);
            window.Ellipse(x, 250 - y, x + 2, 248 - y);
            window.Ellipse(x, y + 250, x + 2, y + 252);
            window.SetPenColor(zk::clBlack);
            window.Ellipse(x + 1, 250 - y, x + 3, 248 - y);
            window.Ellipse(x + 1, y + 250, x + 3, y + 252);
        }
        ++step;
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(ParticleDots)->Arg(1)->Arg(2)->ArgName("scale")->Unit(benchmark::kMicrosecond);

void Label(benchmark::State& state) {
    zk::RasterCanvas window(591, 498);
    for (auto _ : state) {
        window.TextOut(292, 152, "fi= 53 град");
    }
}
BENCHMARK(Label);

// The shock lines of a steep shock leave the picture hundreds of thousands of pixels away.
void FarLines(benchmark::State& state) {
    zk::RasterCanvas picture(609, 449);
    picture.SetPenWidth(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        picture.MoveTo(200, 220);
        picture.LineTo(600, -300000);
        picture.MoveTo(200, 220);
        picture.LineTo(600, 300440);
    }
}
BENCHMARK(FarLines)->Arg(1)->Arg(2)->ArgName("width")->Unit(benchmark::kMicrosecond);

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartBindings.h"

#include <cmath>
#include <map>
#include <tuple>

namespace zk {

namespace {

// The canvas's own text measure, asked once per text and font.
class CanvasTextMetrics : public ChartTextMetrics {
  public:
    explicit CanvasTextMetrics(emscripten::val measure) : measure_(std::move(measure)) {}
    int Advance(const std::string& utf8, int pixelHeight, bool bold) const override {
        return Whole(Measured(utf8, pixelHeight, bold)["advance"], EstimatedTextMetrics().Advance(utf8, pixelHeight, bold));
    }
    int Ascent(int pixelHeight, bool bold) const override {
        return Whole(Measured("0", pixelHeight, bold)["ascent"], EstimatedTextMetrics().Ascent(pixelHeight, bold));
    }
    int Height(int pixelHeight, bool bold) const override {
        return Whole(Measured("0", pixelHeight, bold)["height"], EstimatedTextMetrics().Height(pixelHeight, bold));
    }

  private:
    emscripten::val Measured(const std::string& text, int pixelHeight, bool bold) const {
        return measure_(text, pixelHeight, bold);
    }
    // A measure that gives no number falls back to the estimate: the chart never gets NaN.
    static int Whole(emscripten::val v, int fallback) {
        if (!v.isNumber())
            return fallback;
        const double d = v.as<double>();
        return std::isfinite(d) && d >= 0 && d < 1e5 ? static_cast<int>(d) : fallback;
    }
    emscripten::val measure_;
};

} // namespace

std::string PageCharts::Scenes(const FlowState& state, const ComparedCase& compared, const std::string& separator,
                               emscripten::val measure) {
    if (measure.isUndefined() || measure.isNull())
        return ComparisonChartsJson(cases_, state, compared, EstimatedTextMetrics(), separator, &json_);
    return ComparisonChartsJson(cases_, state, compared, CanvasTextMetrics(measure), separator, &json_);
}

} // namespace zk

#include <emscripten/bind.h>

EMSCRIPTEN_BINDINGS(zorkventa_charts) {
    // The whole degree a pick on a chart asks for, as the desktop's charts take it.
    emscripten::function("wedgeAngleFor", &zk::WedgeAngleFor);
}

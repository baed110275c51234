// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The comparison view's three charts for the page: their scenes after each Apply, computed as the
// desktop's comparison window computes them (the family kept per γ) from the comparison the
// view's table shows, as JSON for the page's canvas painter.
#include <emscripten/val.h>
#include <string>

#include "ShockCharts.h"
#include "ShockComparison.h"

namespace zk {

class PageCharts {
  public:
    // The scenes of the state the last Apply left, compared as given.  measure: a function
    // (text, pixelHeight, bold) → {advance, ascent, height} of the canvas's font, or undefined for
    // the estimated metrics every front end can reproduce.
    std::string Scenes(const FlowState& state, const ComparedCase& compared, const std::string& separator,
                       emscripten::val measure);

  private:
    ChartCaseMaker cases_;
    ChartJsonCache json_;
};

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the comparison charts' scenes of cases as JSON, laid out with the estimated text metrics,
// for comparing what the web page paints with what the native library builds.
//   zk-chart-scenes c1 gamma v1 chi [c1 gamma v1 chi ...]  → {"c1 gamma v1 chi": [scenes], ...}
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "ApplyListener.h"
#include "ChartScene.h"
#include "LargestWedgeCache.h"
#include "ShockCharts.h"
#include "Solver.h"

int main(int argc, char** argv) {
    if (argc < 5 || (argc - 1) % 4 != 0) {
        std::fprintf(stderr, "usage: zk-chart-scenes c1 gamma v1 chi [c1 gamma v1 chi ...]\n");
        return 2;
    }
    std::cout << "{";
    for (int i = 1; i + 3 < argc; i += 4) {
        char* end = nullptr;
        zk::FlowState state;
        state.SoundSpeed = std::strtod(argv[i], &end);
        state.Gamma = std::strtod(argv[i + 1], &end);
        const int v1 = std::atoi(argv[i + 2]);
        const int chi = std::atoi(argv[i + 3]);
        bool faulted = false;
        try {
            zk::ApplyListener quiet;
            zk::Apply(state, zk::ApplyInputs{chi, v1, '.'}, quiet);
        } catch (const std::exception&) {
            faulted = true;
        }
        zk::ChartCaseMaker cases;
        zk::LargestWedgeCache wedges;
        std::cout << (i > 1 ? ",\n" : "") << "\"" << argv[i] << " " << argv[i + 1] << " " << argv[i + 2] << " "
                  << argv[i + 3] << "\": "
                  << zk::ComparisonChartsJson(cases, wedges, state, faulted, zk::EstimatedTextMetrics(), ".");
    }
    std::cout << "}\n";
    return 0;
}

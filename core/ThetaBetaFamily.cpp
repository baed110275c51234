// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThetaBetaFamily.h"

#include <cmath>
#include <limits>

namespace zk {

namespace {

constexpr double kHalfPi = 1.5707963267948966;

// Points of the two lines across the curves.  The parameter is 1/M1, in even steps from 1 (the
// sonic stream, where both lines start at the normal shock of no strength) to 0 (the limit).
constexpr int kLineSamples = 120;

} // namespace

ThetaBetaFamily::ThetaBetaFamily(double gamma) : gamma_(gamma) {
    curves_.reserve(kMachNumbers.size() + 1);
    for (double mach : kMachNumbers)
        curves_.emplace_back(mach, gamma);
    curves_.emplace_back(std::numeric_limits<double>::infinity(), gamma);

    maxima_.reserve(kLineSamples + 1);
    sonic_.reserve(kLineSamples + 1);
    maxima_.push_back({0, kHalfPi, 1});
    sonic_.push_back({0, kHalfPi, 1});
    for (int k = 1; k < kLineSamples; ++k) {
        // Denser near M1 = 1, where θmax rises steeply from 0.
        const double s = 1 - std::pow(static_cast<double>(k) / kLineSamples, 1.5);
        const ExactShockTheory t = ExactTheory(1 / s, gamma);
        maxima_.push_back({t.ThetaMax, t.BetaAtThetaMax, 0});
        sonic_.push_back({t.SonicTheta, t.SonicBeta, 0});
    }
    const ExactShockTheory limit = curves_.back().Theory();
    maxima_.push_back({limit.ThetaMax, limit.BetaAtThetaMax, 0});
    sonic_.push_back({limit.SonicTheta, limit.SonicBeta, 0});
}

} // namespace zk

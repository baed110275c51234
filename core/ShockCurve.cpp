// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShockCurve.h"

#include <algorithm>
#include <cmath>

namespace zk {

namespace {

constexpr double kHalfPi = 1.5707963267948966;

} // namespace

ShockCurve::ShockCurve(double mach, double gamma, int samples)
    : theory_(std::isinf(mach) && mach > 0 ? HypersonicTheory(gamma) : ExactTheory(mach, gamma)) {
    const int n = std::max(samples, 2);
    const double mu = theory_.MachAngle;
    const double top = theory_.BetaAtThetaMax;
    weak_.reserve(static_cast<std::size_t>(n));
    strong_.reserve(static_cast<std::size_t>(n));
    // Even steps in β: near the ends θ(β) is smooth, so they give an even spacing along the curve.
    for (int i = 0; i < n; ++i)
        weak_.push_back(At(i == n - 1 ? top : mu + (top - mu) * i / (n - 1)));
    for (int i = 0; i < n; ++i)
        strong_.push_back(At(i == n - 1 ? kHalfPi : top + (kHalfPi - top) * i / (n - 1)));
    // Both branches meet exactly at the maximum and end exactly on the θ axis.
    weak_.front().Theta = 0;
    weak_.back().Theta = strong_.front().Theta = theory_.ThetaMax;
    strong_.back().Theta = 0;
}

bool ShockCurve::IsLimit() const {
    return std::isinf(theory_.M1);
}

ShockPoint ShockCurve::At(double beta) const {
    ShockPoint p;
    p.Beta = beta;
    if (IsLimit()) {
        p.Theta = HypersonicDeflection(theory_.Gamma, beta);
        p.PressureRatio = 0;
        return p;
    }
    const ShockSolution s = ShockForAngle(theory_.M1, theory_.Gamma, beta);
    p.Theta = s.Theta;
    p.PressureRatio = s.PressureRatio;
    return p;
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#include "HodographLandmarks.h"

#include <cmath>

namespace zk {

HodographPoint PolarPointForShockAngle(double v1, double mach, double gamma, double beta) {
    const ShockSolution s = ShockForAngle(mach, gamma, beta);
    // The tangential component V1 cos β passes the shock; the normal one V1 sin β is slowed by
    // ρ1/ρ2.  So the velocity loses Δ = V1 sin β (1 − ρ1/ρ2) along the shock's normal
    // (sin β, −cos β), and the line from B to the point is perpendicular to the shock.
    const long double b = beta;
    const long double loss = static_cast<long double>(v1) * std::sin(b) * (1 - static_cast<long double>(s.InverseDensityRatio));
    return {static_cast<double>(v1 - loss * std::sin(b)), static_cast<double>(loss * std::cos(b))};
}

HodographLandmarks HodographLandmarksFor(double v1, double c1, double gamma, double wedge) {
    HodographLandmarks out;
    out.V1 = v1;
    out.Wedge = wedge;
    if (!(c1 > 0)) {
        out.Problem = kLandmarksNoSoundSpeed;
        return out;
    }
    if (!(gamma > 1)) {
        out.Problem = kLandmarksGamma;
        return out;
    }
    if (!(v1 > c1) || !std::isfinite(v1) || !std::isfinite(wedge)) {
        out.Problem = kLandmarksSubsonic;
        return out;
    }
    out.M1 = v1 / c1;
    try {
        const ExactShockTheory theory = ExactTheory(out.M1, gamma);
        out.ThetaMax = theory.ThetaMax;
        out.Tangent = PolarPointForShockAngle(v1, out.M1, gamma, theory.BetaAtThetaMax);
        out.Sonic = PolarPointForShockAngle(v1, out.M1, gamma, theory.SonicBeta);
        // The energy equation: c1²/(γ − 1) + V1²/2 = a*² (γ + 1) / (2 (γ − 1)).
        const long double g = gamma, c = c1, v = v1;
        out.SonicRadius = static_cast<double>(std::sqrt(((g - 1) * v * v + 2 * c * c) / (g + 1)));
        if (wedge > 0) {
            out.WeakShock = zk::WeakShock(out.M1, gamma, wedge);
            out.StrongShock = zk::StrongShock(out.M1, gamma, wedge);
            if (out.WeakShock)
                out.Weak = PolarPointForShockAngle(v1, out.M1, gamma, out.WeakShock->Beta);
            if (out.StrongShock)
                out.Strong = PolarPointForShockAngle(v1, out.M1, gamma, out.StrongShock->Beta);
        }
    } catch (const AppError& e) {
        // Only a free stream too fast for double reaches here (the ratios overflow).
        const std::string problem = e.what();
        out = HodographLandmarks{};
        out.V1 = v1;
        out.Wedge = wedge;
        out.Problem = problem;
    }
    return out;
}

} // namespace zk

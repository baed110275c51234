// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One free stream's attached shocks sampled along the shock angle, from the Mach wave over the
// maximum deflection to the normal shock: the curve of the θ–β chart and, with the pressure ratio
// of every point, the pressure–deflection polar.  Angles in radians.
#include <vector>

#include "ExactShock.h"

namespace zk {

// One attached shock of the curve.
struct ShockPoint {
    double Theta = 0;         // radians, flow deflection
    double Beta = 0;          // radians, shock angle
    double PressureRatio = 1; // p2/p1; 0 on the curve of the limit M1 → ∞, where it is unbounded
};

class ShockCurve {
  public:
    // The curve of M1 = mach and γ = gamma, with `samples` points on each branch (at least 2).  An
    // infinite mach gives the limit M1 → ∞.  Raises AppError as ExactTheory does.
    ShockCurve(double mach, double gamma, int samples = 96);

    double Mach() const { return theory_.M1; }
    bool IsLimit() const;
    const ExactShockTheory& Theory() const { return theory_; }

    // From the Mach wave (θ = 0, β = μ, p2/p1 = 1) up to the maximum deflection, both included.
    const std::vector<ShockPoint>& Weak() const { return weak_; }
    // From the maximum deflection down to the normal shock (θ = 0, β = 90°), both included.
    const std::vector<ShockPoint>& Strong() const { return strong_; }
    // The point of maximum deflection, where the two branches meet.
    const ShockPoint& Maximum() const { return weak_.back(); }

  private:
    ShockPoint At(double beta) const;

    ExactShockTheory theory_;
    std::vector<ShockPoint> weak_, strong_;
};

} // namespace zk

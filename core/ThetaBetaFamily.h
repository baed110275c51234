// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The θ–β–M chart of one gas, as the published charts draw it: the curves of a fixed set of
// free-stream Mach numbers and of the limit M1 → ∞, the line through their maxima (which divides
// the weak shocks from the strong ones) and the sonic line, where the flow behind the shock is just
// sonic.  Angles in radians.
#include <array>
#include <vector>

#include "ShockCurve.h"

namespace zk {

class ThetaBetaFamily {
  public:
    // The Mach numbers of the chart's curves; the limit M1 → ∞ follows them.
    static constexpr std::array<double, 8> kMachNumbers = {1.2, 1.5, 2.0, 2.5, 3.0, 4.0, 6.0, 10.0};

    // The family of γ = gamma.  Raises AppError when the gas admits no oblique shock (γ ≤ 1).
    explicit ThetaBetaFamily(double gamma);

    double Gamma() const { return gamma_; }
    // The curves in the order of kMachNumbers, then the limit M1 → ∞.
    const std::vector<ShockCurve>& Curves() const { return curves_; }
    // The maximum deflection of every M1, from M1 = 1 (θ = 0, β = 90°) to M1 → ∞.
    const std::vector<ShockPoint>& MaximumDeflectionLine() const { return maxima_; }
    // The sonic point (M2 = 1) of every M1, over the same range.
    const std::vector<ShockPoint>& SonicLine() const { return sonic_; }
    // The largest deflection on the chart: that of the limit, arcsin(1/γ).
    double ThetaLimit() const { return curves_.back().Theory().ThetaMax; }

  private:
    double gamma_;
    std::vector<ShockCurve> curves_;
    std::vector<ShockPoint> maxima_, sonic_;
};

} // namespace zk

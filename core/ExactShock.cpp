// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExactShock.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zk {

namespace {

using Real = long double; // the relations are evaluated in extended precision, handed out as double

constexpr Real kHalfPi = 1.5707963267948966192313216916397514L;

// Angles handed back in double may sit a rounding error outside the range they came from (the Mach
// angle, the maximum deflection); within this slack they count as the limit itself.  Radians.
constexpr Real kAngleSlack = 1e-12L;

// A free stream that admits an oblique shock: M1 > 1 and γ > 1.
struct Gas {
    Real M;     // free-stream Mach number
    Real Gamma; // ratio of specific heats
};

Gas CheckedGas(double mach, double gamma) {
    if (!std::isfinite(mach) || !std::isfinite(gamma))
        throw AppError(kExactNotFinite);
    if (mach <= 1)
        throw AppError(kExactSubsonic);
    if (gamma <= 1)
        throw AppError(kExactGamma);
    return {mach, gamma};
}

Real MachAngle(const Gas& gas) {
    return std::asin(1 / gas.M);
}

// The deflection θ(β): tan θ = 2 cot β (M² sin²β − 1) / (M² (γ + cos 2β) + 2).  Written with atan2 so
// that β = π/2 (cot β = 0) needs no special case; the denominator is positive for every γ > 1.
Real Deflection(const Gas& gas, Real beta) {
    const Real s = std::sin(beta);
    const Real c = std::cos(beta);
    const Real m2 = gas.M * gas.M;
    const Real numerator = 2 * c * (m2 * s * s - 1);
    const Real denominator = s * (m2 * (gas.Gamma + 1 - 2 * s * s) + 2);
    // At the ends of the range the flow is not turned; rounding must not make it turn the other way.
    return std::max(std::atan2(numerator, denominator), Real(0));
}

// The shock angle of maximum deflection, in closed form:
// sin²β = [(γ+1)M² − 4 + sqrt((γ+1)((γ+1)M⁴ + 8(γ−1)M² + 16))] / (4γM²).
Real BetaAtMaximumDeflection(const Gas& gas) {
    const Real g = gas.Gamma;
    const Real m2 = gas.M * gas.M;
    const Real root = std::sqrt((g + 1) * ((g + 1) * m2 * m2 + 8 * (g - 1) * m2 + 16));
    const Real sin2 = std::clamp(((g + 1) * m2 - 4 + root) / (4 * g * m2), Real(0), Real(1));
    return std::clamp(std::asin(std::sqrt(sin2)), MachAngle(gas), kHalfPi);
}

// The flow behind the shock of angle beta, in extended precision.  The normal component of the
// Mach number obeys the normal-shock relations; the tangential velocity passes the shock unchanged.
struct State {
    Real M2, Pressure, Density, InverseDensity, Temperature, Speed, TotalPressure;
};

State StateBehind(const Gas& gas, Real beta) {
    const Real g = gas.Gamma;
    const Real s = std::sin(beta);
    const Real c = std::cos(beta);
    // Normal Mach number squared ahead of the shock; at the Mach angle it is 1 up to rounding, and a
    // value below 1 would be an expansion shock, which the second law forbids.
    const Real mn2 = std::max(gas.M * gas.M * s * s, Real(1));
    const Real x = mn2 - 1; // the shock strength: 0 for a Mach wave

    State st{};
    st.Pressure = 1 + 2 * g / (g + 1) * x;
    st.InverseDensity = ((g - 1) * mn2 + 2) / ((g + 1) * mn2);
    st.Density = (g + 1) * mn2 / ((g - 1) * mn2 + 2);
    st.Temperature = st.Pressure * st.InverseDensity;
    // Mass conservation slows the normal component by rho1/rho2; the tangential one is kept.
    st.Speed = std::sqrt(c * c + s * s * st.InverseDensity * st.InverseDensity);
    // M2 = V2/a2 = M1 (V2/V1) / sqrt(T2/T1); this needs no deflection angle, so no rounding of it.
    st.M2 = gas.M * st.Speed / std::sqrt(st.Temperature);
    // Total-pressure ratio, taken through its logarithm so that neither power overflows:
    // ln(p02/p01) = [γ ln(rho2/rho1) − ln((2γMn² − (γ−1))/(γ+1))] / (γ−1).  The log1p forms keep
    // the weak-shock end accurate, where the entropy rise is of third order in the strength.
    const Real logDensity = std::log1p(2 * x / ((g + 1) + (g - 1) * x));
    const Real logPressureFactor = std::log1p(2 * g * x / (g + 1));
    const Real logTotal = (g * logDensity - logPressureFactor) / (g - 1);
    // Entropy cannot fall across a shock; a value above 1 could only be a rounding error.
    st.TotalPressure = std::min(std::exp(logTotal), Real(1));
    return st;
}

// An enormous M1 can carry p2/p1 or T2/T1 past the range of double.
double ToDouble(Real v) {
    if (!(std::abs(v) <= static_cast<Real>(std::numeric_limits<double>::max())))
        throw AppError(kExactOutOfRange);
    return static_cast<double>(v);
}

ShockSolution Solution(const Gas& gas, Real beta) {
    const State st = StateBehind(gas, beta);
    ShockSolution out;
    out.Beta = ToDouble(beta);
    out.Theta = ToDouble(Deflection(gas, beta));
    out.M2 = ToDouble(st.M2);
    out.PressureRatio = ToDouble(st.Pressure);
    out.DensityRatio = ToDouble(st.Density);
    out.InverseDensityRatio = ToDouble(st.InverseDensity);
    out.TemperatureRatio = ToDouble(st.Temperature);
    out.SpeedRatio = ToDouble(st.Speed);
    out.TotalPressureRatio = ToDouble(st.TotalPressure);
    return out;
}

// The root of an increasing function f on [lo, hi] with f(lo) < 0 <= f(hi), by bisection.  Slow but
// sure: the maximum-deflection end is a double root of θ(β) − θ, where faster methods stall.
template <class F> Real Bisect(F f, Real lo, Real hi) {
    for (int i = 0; i < 200; ++i) {
        const Real mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi)
            break; // the interval is down to adjacent extended numbers
        if (f(mid) < 0)
            lo = mid;
        else
            hi = mid;
    }
    return std::abs(f(lo)) < std::abs(f(hi)) ? lo : hi;
}

// The shock angle of one branch for the deflection theta; nothing beyond the maximum deflection.
std::optional<Real> ShockAngleFor(const Gas& gas, double theta, ShockBranch branch) {
    if (!std::isfinite(theta))
        throw AppError(kExactNotFinite);
    if (theta < 0)
        throw AppError(kExactNegativeDeflection);
    const Real t = theta;
    const Real mu = MachAngle(gas);
    const Real betaMax = BetaAtMaximumDeflection(gas);
    const Real thetaMax = Deflection(gas, betaMax);
    if (t > thetaMax + kAngleSlack)
        return std::nullopt;
    // The two branches meet.  The maximum as handed out in double counts as the maximum itself: near
    // it β moves with the square root of θ, so its rounding would otherwise split β by ~1e-9 rad.
    if (t >= thetaMax || theta == static_cast<double>(thetaMax))
        return betaMax;
    if (t == 0)
        return branch == ShockBranch::Weak ? mu : kHalfPi; // the Mach wave and the normal shock
    if (branch == ShockBranch::Weak)
        return Bisect([&](Real b) { return Deflection(gas, b) - t; }, mu, betaMax);
    return Bisect([&](Real b) { return t - Deflection(gas, b); }, betaMax, kHalfPi);
}

// beta checked against [μ, π/2] and pulled onto the range when it lies within the slack.
Real CheckedShockAngle(const Gas& gas, double beta) {
    if (!std::isfinite(beta))
        throw AppError(kExactNotFinite);
    const Real mu = MachAngle(gas);
    const Real b = beta;
    if (b < mu - kAngleSlack || b > kHalfPi + kAngleSlack)
        throw AppError(kExactShockAngleRange);
    return std::clamp(b, mu, kHalfPi);
}

std::optional<ShockSolution> Branch(double mach, double gamma, double theta, ShockBranch branch) {
    const Gas gas = CheckedGas(mach, gamma);
    const std::optional<Real> beta = ShockAngleFor(gas, theta, branch);
    if (!beta)
        return std::nullopt;
    return Solution(gas, *beta);
}

} // namespace

ExactShockTheory ExactTheory(double mach, double gamma) {
    const Gas gas = CheckedGas(mach, gamma);
    const Real mu = MachAngle(gas);
    const Real betaMax = BetaAtMaximumDeflection(gas);
    // M2 falls steadily from M1 at the Mach angle to the normal-shock value below 1 at π/2: the speed
    // behind drops and the temperature rises as the shock steepens.  So M2 = 1 exactly once.
    const Real sonicBeta = Bisect([&](Real b) { return 1 - StateBehind(gas, b).M2; }, mu, kHalfPi);

    ExactShockTheory out;
    out.M1 = mach;
    out.Gamma = gamma;
    out.MachAngle = static_cast<double>(mu);
    out.ThetaMax = static_cast<double>(Deflection(gas, betaMax));
    out.BetaAtThetaMax = static_cast<double>(betaMax);
    out.SonicTheta = static_cast<double>(Deflection(gas, sonicBeta));
    out.SonicBeta = static_cast<double>(sonicBeta);
    return out;
}

std::optional<ShockSolution> WeakShock(double mach, double gamma, double theta) {
    return Branch(mach, gamma, theta, ShockBranch::Weak);
}

std::optional<ShockSolution> StrongShock(double mach, double gamma, double theta) {
    return Branch(mach, gamma, theta, ShockBranch::Strong);
}

ShockSolution AttachedShock(double mach, double gamma, double theta, ShockBranch branch) {
    const std::optional<ShockSolution> solution = Branch(mach, gamma, theta, branch);
    if (!solution)
        throw AppError(kExactNoAttachedShock);
    return *solution;
}

ShockSolution ShockForAngle(double mach, double gamma, double beta) {
    const Gas gas = CheckedGas(mach, gamma);
    return Solution(gas, CheckedShockAngle(gas, beta));
}

double DeflectionForShockAngle(double mach, double gamma, double beta) {
    const Gas gas = CheckedGas(mach, gamma);
    return static_cast<double>(Deflection(gas, CheckedShockAngle(gas, beta)));
}

ExactShockTheory HypersonicTheory(double gamma) {
    if (!std::isfinite(gamma))
        throw AppError(kExactNotFinite);
    if (gamma <= 1)
        throw AppError(kExactGamma);
    const Real g = gamma;
    const Real betaMax = std::asin(std::sqrt((g + 1) / (2 * g)));
    ExactShockTheory out;
    out.M1 = std::numeric_limits<double>::infinity();
    out.Gamma = gamma;
    out.MachAngle = 0;
    out.ThetaMax = static_cast<double>(std::asin(1 / g));
    out.BetaAtThetaMax = static_cast<double>(betaMax);
    // M2² = [(γ+1)² cot²β + (γ−1)²] / (2γ(γ−1)) in the limit: 1 where cot²β = (γ−1)/(γ+1), which is
    // the same angle as the maximum's.
    out.SonicTheta = out.ThetaMax;
    out.SonicBeta = out.BetaAtThetaMax;
    return out;
}

double HypersonicDeflection(double gamma, double beta) {
    if (!std::isfinite(gamma) || !std::isfinite(beta))
        throw AppError(kExactNotFinite);
    if (gamma <= 1)
        throw AppError(kExactGamma);
    if (beta < -kAngleSlack || beta > kHalfPi + kAngleSlack)
        throw AppError(kExactShockAngleRange);
    const Real b = std::clamp(static_cast<Real>(beta), Real(0), kHalfPi);
    return static_cast<double>(std::max(std::atan2(std::sin(2 * b), gamma + std::cos(2 * b)), Real(0)));
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShockComparison.h"

#include <cmath>
#include <exception>

#include "ApplyListener.h"
#include "LargestWedgeCache.h"
#include "Numbers.h"
#include "PolarSweep.h"
#include "Solver.h"

namespace zk {

ConstructionValues ConstructionValuesOf(const FlowState& state) {
    ConstructionValues out;
    // Apply computes the ratios only when a non-zero wedge cut the polar; the detached
    // approximation leaves C at a reduced wedge, which is not a solution for this one.
    if (state.WedgeAngle == 0 || state.PointCx == 0 || state.ShockDetached)
        return out;
    const Extended gamma = state.Gamma;
    const Extended v1 = state.V1;
    const Extended phi = state.ShockAngle;
    const Extended m = Div(v1, static_cast<Extended>(state.SoundSpeed));
    // The normal component of the free stream, M1 sin φ, fixes the jump as for a normal shock.
    const Extended normalMach = Sin(phi) * m;
    const Extended pressure = 1 + Div(2 * gamma, gamma + 1) * (normalMach * normalMach - 1);
    const Extended density = Div((gamma - 1) * pressure + (gamma + 1), (gamma + 1) * pressure + (gamma - 1));
    const Extended cx = state.PointCx, cy = state.PointCy;
    out.Attached = true;
    out.ShockAngle = state.ShockAngle;
    out.PressureRatio = static_cast<double>(Checked(pressure));
    out.InverseDensityRatio = static_cast<double>(Checked(density));
    out.SpeedRatio = static_cast<double>(Div(Sqrt(cx * cx + cy * cy), v1));
    out.TemperatureRatio = static_cast<double>(Checked(pressure * density));
    return out;
}

ExactValues ExactValuesFor(double velocity, double soundSpeed, double gamma, double theta) {
    ExactValues out;
    out.Theta = theta;
    if (soundSpeed == 0) {
        out.Problem = kExactNoSoundSpeed;
        return out;
    }
    out.M1 = velocity / soundSpeed;
    try {
        out.Theory = ExactTheory(out.M1, gamma);
        out.Weak = WeakShock(out.M1, gamma, theta);
        out.Strong = StrongShock(out.M1, gamma, theta);
    } catch (const AppError& e) {
        out.Problem = e.what();
        out.Weak.reset();
        out.Strong.reset();
    }
    return out;
}

bool ConstructionAttaches(const FlowState& gas, std::int32_t wedgeDegrees, std::int32_t velocity) {
    FlowState trial = gas;
    ApplyListener quiet; // nothing drawn, no labels
    Apply(trial, ApplyInputs{wedgeDegrees, velocity, '.'}, quiet);
    return ConstructionValuesOf(trial).Attached;
}

std::optional<std::int32_t> LargestAttachedWedgeByApply(const FlowState& gas, std::int32_t velocity,
                                                        std::int32_t fromDegrees) {
    // At most 90 runs of Apply, each up to a millisecond or two.
    for (std::int32_t degrees = fromDegrees; degrees >= 1; --degrees)
        if (ConstructionAttaches(gas, degrees, velocity))
            return degrees;
    return std::nullopt;
}

namespace {

// The wedges below `below` degrees tried from the top as Apply would try them, but on one polar:
// the polar of a gas and free stream is the same for every wedge, and only the ray's test of its
// samples changes.  Steps 3, 4 and 6 of Apply without drawing; whether a wedge attaches is
// whether its ray takes a sample other than Vx = 0 for C.
std::optional<std::int32_t> LargestAttachedOnOnePolar(const FlowState& gas, std::int32_t velocity,
                                                      std::int32_t below) {
    FlowState state = gas;
    state.V1 = velocity;
    state.ScaleY = static_cast<double>(Div(330, state.V1));
    state.ScaleX = static_cast<double>(Div(330, state.V1));
    state.PointCx = 0;
    PolarSweep sweep(state, true);
    const std::int32_t pointAx = sweep.PointAx();
    const Extended v1 = state.V1;
    const auto sweepEnd = static_cast<std::int32_t>(
        Round(v1 + Div(100, Div(v1, static_cast<Extended>(state.SoundSpeed)))));
    for (std::int32_t degrees = below - 1; degrees >= 1; --degrees) {
        // The wedge's slope exactly as Apply takes it, through the angle stored in radians.
        const Extended chi = static_cast<double>(static_cast<Extended>(degrees) * Pi / 180);
        const std::optional<std::int32_t> c = sweep.PointC(pointAx, sweepEnd, Div(Sin(chi), Cos(chi)));
        if (c && *c != 0)
            return degrees;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::int32_t> LargestAttachedWedge(const FlowState& gas, std::int32_t velocity) {
    // The first wedge is run as the search by Apply runs it, so a gas that makes Apply fault
    // raises here just the same.
    constexpr std::int32_t kTop = 90;
    if (ConstructionAttaches(gas, kTop, velocity))
        return kTop;
    std::optional<std::int32_t> found;
    try {
        found = LargestAttachedOnOnePolar(gas, velocity, kTop);
    } catch (const AppError&) {
        // A gas whose polar faults somewhere: Apply wedge by wedge says where, as it always did.
        return LargestAttachedWedgeByApply(gas, velocity, kTop - 1);
    }
    // The wedge found is run in full: its C must stand, and what Apply raises for it comes out.
    if (found && !ConstructionAttaches(gas, *found, velocity))
        return LargestAttachedWedgeByApply(gas, velocity, kTop - 1);
    return found;
}

std::optional<double> ComparisonRow::Difference() const {
    if (!Construction || !Weak)
        return std::nullopt;
    return *Construction - *Weak;
}

std::optional<double> ComparisonRow::RelativeDifference() const {
    const std::optional<double> difference = Difference();
    if (!difference || *Weak == 0)
        return std::nullopt;
    return *difference / *Weak * 100;
}

std::string ComparisonNumberText(double value, int decimals, char decimalSeparator) {
    if (!std::isfinite(value))
        return "-";
    // Rounding to 4 decimals scales by 10^4 into a 64-bit integer; far below that limit, 15
    // significant digits are all the text can show anyway.
    const double rounded =
        std::abs(value) < 1e12 ? RoundDecimals(value, static_cast<std::int8_t>(-decimals)) : value;
    return NumberText(rounded, decimalSeparator);
}

namespace {

std::optional<double> Degrees(std::optional<double> radians) {
    if (!radians)
        return std::nullopt;
    return DegreesFromRadians(*radians);
}

template <class Member> std::optional<double> Field(const std::optional<ShockSolution>& s, Member member) {
    if (!s)
        return std::nullopt;
    return (*s).*member;
}

} // namespace

ShockComparison CompareWithExactTheory(const FlowState& state) {
    LargestWedgeCache once;
    return CompareWithExactTheory(state, once);
}

ComparedCase CompareCase(const FlowState& state, bool lastApplyFaulted, LargestWedgeCache& cache) {
    ComparedCase out;
    out.ApplyFaulted = lastApplyFaulted;
    if (lastApplyFaulted)
        return out;
    try {
        out.Comparison = CompareWithExactTheory(state, cache);
    } catch (const std::exception& e) {
        out.Failure = e.what();
    } catch (...) {
        // A failure without a message: the view says only that comparing failed.
    }
    return out;
}

ShockComparison CompareWithExactTheory(const FlowState& state, LargestWedgeCache& cache) {
    ShockComparison out;
    try {
        out.Construction = ConstructionValuesOf(state);
        out.LargestAttached = cache.Find(state, state.V1);
    } catch (const AppError& e) {
        out.Construction = {};
        out.LargestAttached.reset();
        out.ConstructionProblem = e.what();
    }
    out.Exact = ExactValuesFor(state.V1, state.SoundSpeed, state.Gamma, state.WedgeAngle);

    const ConstructionValues& c = out.Construction;
    const auto built = [&](double value) { return c.Attached ? std::optional<double>(value) : std::nullopt; };
    const ExactValues& e = out.Exact;

    const auto row = [&](ComparedQuantity q, bool degrees, std::optional<double> construction,
                         double ShockSolution::*member) {
        ComparisonRow r;
        r.Quantity = q;
        r.InDegrees = degrees;
        r.Construction = construction;
        r.Weak = Field(e.Weak, member);
        r.Strong = Field(e.Strong, member);
        if (degrees) {
            r.Weak = Degrees(r.Weak);
            r.Strong = Degrees(r.Strong);
        }
        out.Rows.push_back(r);
    };
    row(ComparedQuantity::ShockAngle, true, built(DegreesFromRadians(c.ShockAngle)), &ShockSolution::Beta);
    row(ComparedQuantity::PressureRatio, false, built(c.PressureRatio), &ShockSolution::PressureRatio);
    row(ComparedQuantity::InverseDensityRatio, false, built(c.InverseDensityRatio),
        &ShockSolution::InverseDensityRatio);
    row(ComparedQuantity::SpeedRatio, false, built(c.SpeedRatio), &ShockSolution::SpeedRatio);
    row(ComparedQuantity::TemperatureRatio, false, built(c.TemperatureRatio),
        &ShockSolution::TemperatureRatio);
    row(ComparedQuantity::MachBehind, false, std::nullopt, &ShockSolution::M2);
    row(ComparedQuantity::TotalPressureRatio, false, std::nullopt, &ShockSolution::TotalPressureRatio);

    ComparisonRow largest;
    largest.Quantity = ComparedQuantity::LargestWedge;
    largest.InDegrees = true;
    if (out.LargestAttached)
        largest.Construction = *out.LargestAttached;
    if (e.Answered()) {
        largest.Weak = DegreesFromRadians(e.Theory.ThetaMax);
        largest.Strong = largest.Weak;
    }
    out.Rows.push_back(largest);
    return out;
}

} // namespace zk

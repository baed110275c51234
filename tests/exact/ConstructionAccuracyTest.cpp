// SPDX-License-Identifier: GPL-3.0-or-later
// How close the graphical construction comes to exact oblique-shock theory, over a grid of free
// streams and wedges, with a bound that follows from the construction's own tolerance of one
// diagram pixel.
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "ApplyListener.h"
#include "ExactShock.h"
#include "Numbers.h"
#include "ShockComparison.h"
#include "Solver.h"

namespace {

class Silent : public zk::ApplyListener {
  public:
    void SetCaption(zk::ResultItem, const std::string&) override {}
    void SetVisible(zk::ResultItem, bool) override {}
};

zk::FlowState Gas(double gamma) {
    zk::FlowState state;
    state.SoundSpeed = 340; // m/s
    state.Gamma = gamma;
    return state;
}

// The velocity behind an exact oblique shock of angle beta, as a point of the hodograph plane:
// the tangential component V1 cos β is kept, the normal one V1 sin β is divided by the density
// ratio, so (u, v) = V1 (cos²β + sin²β/ρ, sin β cos β (1 − 1/ρ)).  These points make up the polar.
struct PolarPoint {
    double U, V; // m/s
};
PolarPoint PolarAt(double v1, double mach, double gamma, double beta) {
    const double rho = zk::ShockForAngle(mach, gamma, beta).DensityRatio;
    const double s = std::sin(beta), c = std::cos(beta);
    return {v1 * (c * c + s * s / rho), v1 * s * c * (1 - 1 / rho)};
}

// The shock angle the construction derives from a point C at abscissa u on the wedge ray: the
// line from B = (V1, 0) through (u, u tan χ) is perpendicular to the shock, so
// tan φ = (V1 − u) / (u tan χ).
double AngleFromRayPoint(double v1, double tanChi, double u) {
    return std::atan((v1 - u) / (u * tanChi));
}

// The largest error the construction may make, derived from its geometry.
//
// The construction samples the polar at every whole Vx = i and keeps as C the last sample whose
// ordinate lies within one pixel of the wedge ray: |p(i) − i tan χ| · 330/V1 < 1, a vertical band
// of δ = V1/330 m/s about the ray.  Going from the weak crossing u* towards B the polar falls
// and the ray rises, so the gap v − u tan χ falls steadily; the band ends on that side at u_hi,
// where the gap is −δ, and no sample beyond u_hi passes.  The last passing sample is therefore
// the last whole number below u_hi, u_hi − 1 < C < u_hi, unless the band (which begins on the
// other side of u*, where the gap is +δ, at u_lo) is narrower than one m/s; then u_lo < C < u_hi.
// φ comes from C on the ray and falls steadily with the abscissa, while β_weak is the same
// formula at u*; so |φ − β_weak| is at most the larger of |φ(u) − β_weak| at the two ends of
// [max(u_lo, u_hi − 1), u_hi].  Where the band takes in the whole stretch between the weak and the
// strong crossing (near the maximum deflection), u_lo does not exist and u_hi − 1 stands.
struct Bound {
    double Radians = 0;
    double BandLow = 0, BandHigh = 0; // m/s, the abscissae C may take
};
Bound ErrorBound(int v1, double mach, double gamma, double chi, double betaWeak) {
    const double delta = v1 / 330.0; // m/s, one pixel of the diagram
    const double tanChi = std::tan(chi);
    const auto gap = [&](double beta) {
        const PolarPoint p = PolarAt(v1, mach, gamma, beta);
        return p.V - p.U * tanChi;
    };
    // Bisection for gap(beta) = target between a and b, gap(a) - target and gap(b) - target of
    // opposite signs.
    const auto solve = [&](double a, double b, double target) {
        for (int k = 0; k < 80; ++k) {
            const double m = (a + b) / 2;
            ((gap(m) - target > 0) == (gap(a) - target > 0) ? a : b) = m;
        }
        return (a + b) / 2;
    };
    const double machAngle = std::asin(1 / mach);
    // Towards B (smaller shock angles) the gap falls to −V1 tan χ at the Mach angle, below −δ for
    // every wedge of the grid.
    const double betaHigh = solve(machAngle, betaWeak, -delta);
    const double uHigh = PolarAt(v1, mach, gamma, betaHigh).U;
    // Away from B the gap rises; it reaches +δ unless the strong crossing comes first.
    double uLow = uHigh - 1;
    const double thetaMaxBeta = zk::ExactTheory(mach, gamma).BetaAtThetaMax;
    double previous = betaWeak;
    for (int k = 1; k <= 400; ++k) {
        const double beta = betaWeak + (thetaMaxBeta + 0.2 - betaWeak) * k / 400;
        if (beta >= zk::HalfPi)
            break;
        if (gap(beta) >= delta) {
            uLow = std::max(uLow, PolarAt(v1, mach, gamma, solve(previous, beta, delta)).U);
            break;
        }
        previous = beta;
    }
    Bound b;
    b.BandLow = uLow;
    b.BandHigh = uHigh;
    b.Radians = std::max(std::abs(AngleFromRayPoint(v1, tanChi, uLow) - betaWeak),
                         std::abs(AngleFromRayPoint(v1, tanChi, uHigh) - betaWeak));
    return b;
}

} // namespace

// Spot checks of the exact weak shock that the grid relies on, γ = 1.4, against NACA Report 1135
// ("Equations, tables, and charts for compressible flow", Ames Research Staff, 1953), oblique-shock
// charts: M1 = 2, θ = 10° gives β = 39.31°; M1 = 2, θ = 20°: 53.42°; M1 = 3, θ = 20°: 37.76°;
// M1 = 5, θ = 20°: 29.80°; M1 = 1.5, θ = 10°: 56.68°.  Tolerance: half the last digit, 0.005°.
TEST(ConstructionAccuracy, ExactWeakShockMatchesThePublishedCharts) {
    const struct {
        double Mach, ThetaDegrees, BetaDegrees;
    } rows[] = {{2, 10, 39.31}, {2, 20, 53.42}, {3, 20, 37.76}, {5, 20, 29.80}, {1.5, 10, 56.68}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "M1 " << row.Mach << " theta " << row.ThetaDegrees);
        const auto weak = zk::WeakShock(row.Mach, 1.4, zk::RadiansFromDegrees(row.ThetaDegrees));
        ASSERT_TRUE(weak);
        EXPECT_NEAR(zk::DegreesFromRadians(weak->Beta), row.BetaDegrees, 0.005);
    }
}

// Over M1 from 1.2 to 10 (c1 = 340 m/s, V1 = M1 c1 exactly), several γ and every whole wedge angle
// from 1° to the largest the construction attaches at (and the exact theory too), the
// construction's shock angle lies within the bound that one pixel of tolerance allows.  The
// bound is the derivation above; 1e-9 rad covers the difference between the program's extended
// arithmetic and this test's doubles.  The worst case is printed for the README.
TEST(ConstructionAccuracy, ShockAngleWithinWhatOnePixelAllowsOverTheGrid) {
    struct Worst {
        double Error = 0; // radians
        double Mach = 0, Gamma = 0;
        int Chi = 0;
        double Bound = 0;
    } worst, worstBelowTheLimit;
    int cases = 0;
    for (double gamma : {1.1, 1.3, 1.4, 1.67}) {
        for (int v1 : {408, 510, 680, 1020, 1700, 3400}) { // M1 = 1.2, 1.5, 2, 3, 5, 10
            const double mach = v1 / 340.0;
            const std::optional<std::int32_t> largest = zk::LargestAttachedWedge(Gas(gamma), v1);
            ASSERT_TRUE(largest) << "M1 " << mach << " gamma " << gamma;
            const double thetaMax = zk::ExactTheory(mach, gamma).ThetaMax;
            for (int chi = 1; chi <= *largest; ++chi) {
                zk::FlowState state = Gas(gamma);
                Silent silent;
                zk::Apply(state, zk::ApplyInputs{chi, v1, '.'}, silent);
                const std::optional<zk::ShockSolution> exact = zk::WeakShock(mach, gamma, state.WedgeAngle);
                if (!exact || state.ShockDetached)
                    continue; // beyond the exact maximum deflection: nothing to compare with
                SCOPED_TRACE(testing::Message() << "M1 " << mach << " gamma " << gamma << " chi " << chi);
                const Bound bound = ErrorBound(v1, mach, gamma, state.WedgeAngle, exact->Beta);
                EXPECT_GE(state.PointCx, bound.BandLow - 1e-6) << "C lies in the pixel band";
                EXPECT_LT(state.PointCx, bound.BandHigh + 1e-6);
                const double error = std::abs(state.ShockAngle - exact->Beta);
                EXPECT_LE(error, bound.Radians + 1e-9) << "phi " << zk::DegreesFromRadians(state.ShockAngle)
                                                       << " beta " << zk::DegreesFromRadians(exact->Beta)
                                                       << " bound " << zk::DegreesFromRadians(bound.Radians);
                ++cases;
                if (error > worst.Error)
                    worst = {error, mach, gamma, chi, bound.Radians};
                if (chi >= 5 && state.WedgeAngle < thetaMax - zk::RadiansFromDegrees(2) &&
                    error > worstBelowTheLimit.Error)
                    worstBelowTheLimit = {error, mach, gamma, chi, bound.Radians};
            }
        }
    }
    EXPECT_GT(cases, 300);
    std::printf(
        "construction against exact theory: %d cases; worst |phi - beta_weak| = %.3f deg (bound %.3f) at "
        "M1 = %g, gamma = %g, chi = %d; from 5 deg to 2 deg below the maximum deflection: %.3f deg (bound "
        "%.3f) at M1 = %g, gamma = %g, chi = %d\n",
        cases, zk::DegreesFromRadians(worst.Error), zk::DegreesFromRadians(worst.Bound), worst.Mach,
        worst.Gamma, worst.Chi, zk::DegreesFromRadians(worstBelowTheLimit.Error),
        zk::DegreesFromRadians(worstBelowTheLimit.Bound), worstBelowTheLimit.Mach, worstBelowTheLimit.Gamma,
        worstBelowTheLimit.Chi);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The exact theory's landmarks on the hodograph: the tangent of largest deflection, the weak and
// strong points on the wedge ray and the sonic circle, against published values and against the
// shock polar's own equation.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "HodographLandmarks.h"

namespace {

using zk::DegreesFromRadians;
using zk::HodographLandmarksFor;
using zk::HodographPoint;
using zk::RadiansFromDegrees;

// The polar v² = (V1 − u)² (u − a*²/V1) / (2V1/(γ+1) − u + a*²/V1) (Busemann's strophoid, in the form
// the construction samples it): how far a point is off it, relative to V1².
double OffPolar(const HodographPoint& p, double v1, double c1, double gamma) {
    const long double u = p.Vx, v = p.Vy, V = v1;
    const long double a2 = ((gamma - 1) * V * V + 2.0L * c1 * c1) / (gamma + 1);
    const long double rhs = (V - u) * (V - u) * (u - a2 / V) / (2 * V / (gamma + 1) - u + a2 / V);
    return static_cast<double>((v * v - rhs) / (V * V));
}

double Direction(const HodographPoint& p) { return std::atan2(p.Vy, p.Vx); }

// The shock is perpendicular to the line from B to the point behind it.
double ShockAngleOf(const HodographPoint& p, double v1) { return std::atan2(v1 - p.Vx, p.Vy); }

// θmax of the free stream.  γ = 1.4: NACA Report 1135 (Ames Research Staff, 1953), the maximum
// deflection of its oblique-shock chart, to 0.01°.  Other γ: worked out independently by
// maximising θ(β) of the θ–β–M relation numerically at 30 digits, rounded to 0.01°.  Tolerance
// half a unit of the last digit.
TEST(HodographLandmarks, ThetaMaxMatchesPublishedValues) {
    struct Row {
        double Gamma, M1, ThetaMaxDegrees;
    };
    const std::vector<Row> rows = {
        {1.4, 1.5, 12.11}, {1.4, 2.0, 22.97}, {1.4, 2.5, 29.80}, {1.4, 3.0, 34.07},
        {1.4, 4.0, 38.77}, {1.4, 5.0, 41.12}, {1.4, 10.0, 44.43}, {5.0 / 3.0, 2.0, 19.34},
        {5.0 / 3.0, 5.0, 33.54}, {1.3, 2.0, 24.73}, {1.3, 3.0, 37.07}, {1.2, 4.0, 46.90},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "gamma = " << row.Gamma << ", M1 = " << row.M1);
        const double c1 = 340;
        const zk::HodographLandmarks l = HodographLandmarksFor(row.M1 * c1, c1, row.Gamma, 0);
        ASSERT_TRUE(l.Answered()) << l.Problem;
        EXPECT_NEAR(DegreesFromRadians(l.ThetaMax), row.ThetaMaxDegrees, 0.005);
        // The tangent point lies on the polar, seen from O at θmax, and no point of the polar near
        // it is seen at a larger angle.
        EXPECT_NEAR(Direction(l.Tangent), l.ThetaMax, 1e-9);
        EXPECT_NEAR(OffPolar(l.Tangent, l.V1, c1, row.Gamma), 0, 1e-12);
        const double betaMax = zk::ExactTheory(row.M1, row.Gamma).BetaAtThetaMax;
        for (double db : {-1e-3, 1e-3})
            EXPECT_LT(Direction(zk::PolarPointForShockAngle(l.V1, row.M1, row.Gamma, betaMax + db)), l.ThetaMax);
    }
}

// a* from the energy equation, worked by hand: c1 = 340, V1 = 680, γ = 1.4 gives
// a*² = (0.4·680² + 2·340²)/2.4 = 173 400; γ = 5/3, V1 = 1000 gives (2/3·10⁶ + 231 200)·3/8 = 336 700.
// The normal shock's point A obeys Prandtl's relation V1·V2 = a*², and the sonic point of the
// polar (M2 = 1) lies on the circle |V| = a*.
TEST(HodographLandmarks, SonicCircleHasTheCriticalSpeed) {
    struct Row {
        double C1, V1, Gamma, SonicRadiusSquared;
    };
    const std::vector<Row> rows = {{340, 680, 1.4, 173400}, {340, 1000, 5.0 / 3.0, 336700}, {300, 3000, 1.4, 1575000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "V1 = " << row.V1 << ", gamma = " << row.Gamma);
        const zk::HodographLandmarks l = HodographLandmarksFor(row.V1, row.C1, row.Gamma, 0);
        ASSERT_TRUE(l.Answered());
        EXPECT_NEAR(l.SonicRadius, std::sqrt(row.SonicRadiusSquared), 1e-9 * row.V1);
        const double m1 = row.V1 / row.C1;
        const HodographPoint a = zk::PolarPointForShockAngle(row.V1, m1, row.Gamma, std::acos(0.0));
        EXPECT_NEAR(a.Vx * row.V1, row.SonicRadiusSquared, 1e-9 * row.SonicRadiusSquared);
        EXPECT_NEAR(std::hypot(l.Sonic.Vx, l.Sonic.Vy), l.SonicRadius, 1e-9 * row.V1);
        EXPECT_NEAR(OffPolar(l.Sonic, row.V1, row.C1, row.Gamma), 0, 1e-12);
        // The sonic point lies a little on the weak side of the tangent point: the flow behind the
        // shock of largest deflection is already (just) subsonic.
        EXPECT_LT(Direction(l.Sonic), l.ThetaMax);
        EXPECT_GT(l.Sonic.Vx, l.Tangent.Vx);
        EXPECT_LT(std::hypot(l.Tangent.Vx, l.Tangent.Vy), l.SonicRadius);
    }
}

// The points where the wedge ray cuts the polar turn the flow through χ, and the line from B to
// each is perpendicular to the weak or strong shock.  γ = 1.4; β to 0.01°: M1 = 2, 20° from NACA
// Report 1135, the other rows worked out independently from the θ–β–M relation at 30 digits.
TEST(HodographLandmarks, WedgeRayPointsAreTheWeakAndStrongShocks) {
    struct Row {
        double M1, WedgeDegrees, WeakBetaDegrees, StrongBetaDegrees;
    };
    const std::vector<Row> rows = {{2.0, 20, 53.42, 74.27}, {2.0, 10, 39.31, 83.70}, {3.0, 20, 37.76, 82.15}};
    const double c1 = 340, gamma = 1.4;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "M1 = " << row.M1 << ", chi = " << row.WedgeDegrees);
        const double v1 = row.M1 * c1, chi = RadiansFromDegrees(row.WedgeDegrees);
        const zk::HodographLandmarks l = HodographLandmarksFor(v1, c1, gamma, chi);
        ASSERT_TRUE(l.Attached());
        ASSERT_TRUE(l.Strong && l.WeakShock && l.StrongShock);
        for (const HodographPoint& p : {*l.Weak, *l.Strong}) {
            EXPECT_NEAR(Direction(p), chi, 1e-9);
            EXPECT_NEAR(OffPolar(p, v1, c1, gamma), 0, 1e-12);
        }
        EXPECT_NEAR(ShockAngleOf(*l.Weak, v1), l.WeakShock->Beta, 1e-9);
        EXPECT_NEAR(ShockAngleOf(*l.Strong, v1), l.StrongShock->Beta, 1e-9);
        EXPECT_NEAR(DegreesFromRadians(l.WeakShock->Beta), row.WeakBetaDegrees, 0.005);
        EXPECT_NEAR(DegreesFromRadians(l.StrongShock->Beta), row.StrongBetaDegrees, 0.005);
        // The weak point is the one nearer B, the faster flow.
        EXPECT_GT(l.Weak->Vx, l.Strong->Vx);
    }
}

TEST(HodographLandmarks, NoPointsWhereTheRayMissesThePolarOrThereIsNoShock) {
    struct Row {
        const char* Name;
        double V1, C1, Gamma, WedgeDegrees;
        const char* Problem; // nullptr: answered
    };
    const std::vector<Row> rows = {
        {"beyond theta max", 680, 340, 1.4, 30, nullptr},
        {"no wedge", 680, 340, 1.4, 0, nullptr},
        {"wedge of 180 degrees", 680, 340, 1.4, 180, nullptr},
        {"sound speed zero", 680, 0, 1.4, 20, zk::kLandmarksNoSoundSpeed},
        {"sound speed negative", 680, -15, 1.4, 20, zk::kLandmarksNoSoundSpeed},
        {"gamma one", 680, 340, 1.0, 20, zk::kLandmarksGamma},
        {"gamma zero", 680, 340, 0.0, 20, zk::kLandmarksGamma},
        {"sonic stream", 340, 340, 1.4, 20, zk::kLandmarksSubsonic},
        {"subsonic stream", 365, 400, 1.4, 20, zk::kLandmarksSubsonic},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const zk::HodographLandmarks l = HodographLandmarksFor(row.V1, row.C1, row.Gamma, RadiansFromDegrees(row.WedgeDegrees));
        EXPECT_FALSE(l.Weak);
        EXPECT_FALSE(l.Strong);
        EXPECT_FALSE(l.Attached());
        if (row.Problem) {
            EXPECT_EQ(l.Problem, row.Problem);
        } else {
            EXPECT_TRUE(l.Answered()) << l.Problem;
            EXPECT_NEAR(DegreesFromRadians(l.ThetaMax), 22.97, 0.005);
        }
    }
}

} // namespace

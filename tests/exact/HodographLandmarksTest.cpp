// SPDX-License-Identifier: GPL-3.0-or-later
// The exact theory's landmarks on the hodograph against published values and the polar's equation.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "HodographLandmarks.h"

namespace {

using zk::DegreesFromRadians;
using zk::HodographPoint;
using zk::RadiansFromDegrees;

// How far a point is off the polar v² = (V1 − u)² (u − a*²/V1) / (2V1/(γ+1) − u + a*²/V1), over V1².
double OffPolar(const HodographPoint& p, double v1, double c1, double g) {
    const long double u = p.Vx, v = p.Vy, V = v1, a2 = ((g - 1) * V * V + 2.0L * c1 * c1) / (g + 1);
    return static_cast<double>((v * v - (V - u) * (V - u) * (u - a2 / V) / (2 * V / (g + 1) - u + a2 / V)) / (V * V));
}

double Direction(const HodographPoint& p) { return std::atan2(p.Vy, p.Vx); }

// θmax: γ = 1.4 from NACA Report 1135 (Ames Research Staff, 1953); other γ worked out independently
// by maximising θ(β) at 30 digits.  a*² by hand from the energy equation, ((γ−1)V1² + 2c1²)/(γ+1):
// 173 400 m²/s² at V1 = 2c1, γ = 1.4.  Tolerance half a unit of the last published digit.
TEST(HodographLandmarks, TangentAndSonicCircleMatchPublishedValues) {
    struct Row {
        double Gamma, M1, ThetaMaxDegrees, SonicRadiusSquared; // c1 = 340 m/s
    };
    const std::vector<Row> rows = {{1.4, 1.5, 12.11, 335240 / 2.4}, {1.4, 2.0, 22.97, 173400},
                                   {1.4, 3.0, 34.07, 647360 / 2.4},  {1.4, 10.0, 44.43, 2023000},
                                   {5.0 / 3.0, 2.0, 19.34, 202300},  {1.3, 3.0, 37.07, 543320 / 2.3},
                                   {1.2, 4.0, 46.90, 601120 / 2.2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "gamma = " << row.Gamma << ", M1 = " << row.M1);
        const zk::HodographLandmarks l = zk::HodographLandmarksFor(row.M1 * 340, 340, row.Gamma, 0);
        ASSERT_TRUE(l.Answered()) << l.Problem;
        EXPECT_NEAR(DegreesFromRadians(l.ThetaMax), row.ThetaMaxDegrees, 0.005);
        EXPECT_NEAR(Direction(l.Tangent), l.ThetaMax, 1e-9);
        EXPECT_NEAR(l.SonicRadius, std::sqrt(row.SonicRadiusSquared), 1e-9 * l.V1);
        // Both points lie on the polar, the sonic one on the circle |V| = a*, just on the weak
        // side of the tangent point (the flow behind the largest deflection is already subsonic).
        EXPECT_NEAR(OffPolar(l.Tangent, l.V1, 340, row.Gamma), 0, 1e-12);
        EXPECT_NEAR(OffPolar(l.Sonic, l.V1, 340, row.Gamma), 0, 1e-12);
        EXPECT_NEAR(std::hypot(l.Sonic.Vx, l.Sonic.Vy), l.SonicRadius, 1e-9 * l.V1);
        EXPECT_LT(std::hypot(l.Tangent.Vx, l.Tangent.Vy), l.SonicRadius);
        // Prandtl's relation for the normal shock, the point A: V1·V2 = a*².
        EXPECT_NEAR(zk::PolarPointForShockAngle(l.V1, row.M1, row.Gamma, std::acos(0.0)).Vx * l.V1,
                    row.SonicRadiusSquared, 1e-9 * row.SonicRadiusSquared);
    }
}

// The wedge ray's points turn the flow through χ, and the line from B to each is perpendicular to
// the weak or strong shock.  γ = 1.4; β to 0.01°: M1 = 2, 20° from NACA Report 1135, the other
// rows worked out independently from the θ–β–M relation at 30 digits.  No points where the ray
// misses the polar or no wedge is drawn, and only a reason where there is no oblique shock.
TEST(HodographLandmarks, WedgeRayPointsAreTheWeakAndStrongShocks) {
    struct Row {
        double V1, C1, Gamma, WedgeDegrees, WeakBeta, StrongBeta; // degrees; 0: no point
        const char* Problem;
    };
    const std::vector<Row> rows = {
        {680, 340, 1.4, 20, 53.42, 74.27, ""},  {680, 340, 1.4, 10, 39.31, 83.70, ""},
        {1020, 340, 1.4, 20, 37.76, 82.15, ""}, {680, 340, 1.4, 30, 0, 0, ""},
        {680, 340, 1.4, 0, 0, 0, ""},           {680, 340, 1.4, 180, 0, 0, ""},
        {680, 0, 1.4, 20, 0, 0, zk::kLandmarksNoSoundSpeed}, {680, -15, 1.4, 20, 0, 0, zk::kLandmarksNoSoundSpeed},
        {680, 340, 1.0, 20, 0, 0, zk::kLandmarksGamma},      {340, 340, 1.4, 20, 0, 0, zk::kLandmarksSubsonic},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "V1 = " << row.V1 << ", c1 = " << row.C1 << ", chi = " << row.WedgeDegrees);
        const double chi = RadiansFromDegrees(row.WedgeDegrees);
        const zk::HodographLandmarks l = zk::HodographLandmarksFor(row.V1, row.C1, row.Gamma, chi);
        EXPECT_EQ(l.Problem, row.Problem);
        ASSERT_EQ(l.Attached(), row.WeakBeta > 0);
        ASSERT_EQ(l.Strong.has_value(), row.WeakBeta > 0);
        if (!l.Attached())
            continue;
        for (const auto& [p, beta] : {std::pair{*l.Weak, row.WeakBeta}, std::pair{*l.Strong, row.StrongBeta}}) {
            EXPECT_NEAR(Direction(p), chi, 1e-9);
            EXPECT_NEAR(OffPolar(p, row.V1, row.C1, row.Gamma), 0, 1e-12);
            EXPECT_NEAR(DegreesFromRadians(std::atan2(row.V1 - p.Vx, p.Vy)), beta, 0.005);
        }
        EXPECT_NEAR(std::atan2(row.V1 - l.Weak->Vx, l.Weak->Vy), l.WeakShock->Beta, 1e-9);
        EXPECT_NEAR(std::atan2(row.V1 - l.Strong->Vx, l.Strong->Vy), l.StrongShock->Beta, 1e-9);
    }
}

} // namespace

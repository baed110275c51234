// SPDX-License-Identifier: GPL-3.0-or-later
// The θ–β–M chart family and the shock curves it is drawn from: their landmarks against published
// tables, the limit M1 → ∞ in closed form, and the pressure–deflection polar's ends.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ShockCurve.h"
#include "ThetaBetaFamily.h"

namespace {

using zk::DegreesFromRadians;
using zk::RadiansFromDegrees;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Maximum deflection, γ = 1.4, from the table "maximum values of oblique shock" in G. Bar-Meir,
// Fundamentals of Compressible Fluid Mechanics (to 4 decimals), and the shock angle and M2 at the
// maximum from the detachment table of the fluidspad oblique-shock calculator (to 1 and 3
// decimals).  NACA Report 1135 gives θmax = 22.97° at β = 64.67° for M1 = 2 (the existing
// comparison tests use it); every source agrees with it.  Tolerance: half a unit of the last digit.
// (Bar-Meir's shock angles and M2 at the maximum stray in their third and fourth decimals from
// every other source and from the closed form of the maximum, so only his θmax is used.)
struct PublishedMaximum {
    double Mach;
    double ThetaMaxDegrees; // 4 decimals
    double BetaDegrees;     // 1 decimal; negative: not tabulated
    double M2AtMaximum;     // 3 decimals; negative: not tabulated
};

TEST(ThetaBetaFamilyPublished, MaximumDeflectionOfEveryCurve) {
    const PublishedMaximum rows[] = {
        {1.2, 3.9442, -1, -1},       {1.5, 12.1127, 66.6, 0.921}, {2.0, 22.9735, 64.7, 0.924},
        {3.0, 34.0734, 65.2, 0.954}, {4.0, 38.7739, 66.1, 0.972}, {6.0, 42.4398, -1, -1},
        {10.0, 44.4290, -1, -1},
    };
    const zk::ThetaBetaFamily family(1.4);
    for (const PublishedMaximum& row : rows) {
        SCOPED_TRACE(testing::Message() << "M1 = " << row.Mach);
        const zk::ShockCurve* curve = nullptr;
        for (const zk::ShockCurve& c : family.Curves())
            if (c.Mach() == row.Mach)
                curve = &c;
        ASSERT_NE(curve, nullptr) << "the chart has a curve for every published Mach number";
        EXPECT_NEAR(DegreesFromRadians(curve->Theory().ThetaMax), row.ThetaMaxDegrees, 5e-5);
        EXPECT_NEAR(DegreesFromRadians(curve->Maximum().Theta), row.ThetaMaxDegrees, 5e-5);
        if (row.BetaDegrees > 0) {
            EXPECT_NEAR(DegreesFromRadians(curve->Maximum().Beta), row.BetaDegrees, 0.05);
            const zk::ShockSolution top = zk::ShockForAngle(row.Mach, 1.4, curve->Maximum().Beta);
            EXPECT_NEAR(top.M2, row.M2AtMaximum, 5e-4);
        }
    }
    // NACA Report 1135, M1 = 2: θmax = 22.97° at β = 64.67°.
    EXPECT_NEAR(DegreesFromRadians(family.Curves()[2].Theory().ThetaMax), 22.97, 0.005);
    EXPECT_NEAR(DegreesFromRadians(family.Curves()[2].Theory().BetaAtThetaMax), 64.67, 0.005);
}

TEST(ThetaBetaFamilyPublished, SonicPointLiesWhereTheTablesSeeM2PassOne) {
    // Oblique-shock tables for γ = 7/5 (University of Sydney, weak solution, M2 and p2/p1 to 3
    // decimals): the last tabulated whole degree still supersonic behind and the first one subsonic
    // bracket the sonic deflection.  M1 = 1.25: 4° gives M2 = 1.072, 5° gives 0.999 and p2/p1 = 1.366.
    // M1 = 1.2: 3° gives M2 = 1.056 and θmax = 3.94° (above) ends the curve subsonic.  M1 = 1.3: 6°
    // gives M2 = 1.027.
    const auto at5 = zk::WeakShock(1.25, 1.4, RadiansFromDegrees(5));
    ASSERT_TRUE(at5.has_value());
    EXPECT_NEAR(at5->M2, 0.999, 5e-4);
    EXPECT_NEAR(at5->PressureRatio, 1.366, 5e-4);
    EXPECT_NEAR(zk::WeakShock(1.25, 1.4, RadiansFromDegrees(4))->M2, 1.072, 5e-4);
    EXPECT_NEAR(zk::WeakShock(1.2, 1.4, RadiansFromDegrees(3))->M2, 1.056, 5e-4);
    EXPECT_NEAR(zk::WeakShock(1.3, 1.4, RadiansFromDegrees(6))->M2, 1.027, 5e-4);
    const struct {
        double Mach, Below, Above; // degrees
    } brackets[] = {{1.2, 3.0, 3.9442}, {1.25, 4.0, 5.0}, {1.3, 6.0, 6.6621}};
    for (const auto& b : brackets) {
        SCOPED_TRACE(b.Mach);
        const double sonic = DegreesFromRadians(zk::ExactTheory(b.Mach, 1.4).SonicTheta);
        EXPECT_GT(sonic, b.Below);
        EXPECT_LT(sonic, b.Above);
    }

    // On every curve of the chart the sonic point is where M2 = 1, on the weak branch just before
    // the maximum.
    const zk::ThetaBetaFamily family(1.4);
    for (const zk::ShockCurve& curve : family.Curves()) {
        if (curve.IsLimit())
            continue;
        SCOPED_TRACE(testing::Message() << "M1 = " << curve.Mach());
        const zk::ExactShockTheory& th = curve.Theory();
        EXPECT_NEAR(zk::ShockForAngle(curve.Mach(), 1.4, th.SonicBeta).M2, 1.0, 1e-12);
        EXPECT_LT(th.SonicBeta, th.BetaAtThetaMax);
        EXPECT_LT(th.SonicTheta, th.ThetaMax);
        EXPECT_NEAR(DegreesFromRadians(zk::DeflectionForShockAngle(curve.Mach(), 1.4, th.SonicBeta)),
                    DegreesFromRadians(th.SonicTheta), 1e-9);
    }
}

TEST(ThetaBetaFamilyLimit, HypersonicCurveInClosedForm) {
    // M1 → ∞: θmax = arcsin(1/γ), 45.58° for air (the end of NACA Report 1135's maximum-deflection
    // chart), at sin²β = (γ + 1)/(2γ), where the flow behind is also just sonic.
    for (double gamma : {1.1, 1.4, 5.0 / 3.0, 3.0}) {
        SCOPED_TRACE(gamma);
        const zk::ExactShockTheory t = zk::HypersonicTheory(gamma);
        EXPECT_TRUE(std::isinf(t.M1));
        EXPECT_DOUBLE_EQ(t.MachAngle, 0);
        EXPECT_NEAR(t.ThetaMax, std::asin(1 / gamma), 1e-15);
        EXPECT_NEAR(std::pow(std::sin(t.BetaAtThetaMax), 2), (gamma + 1) / (2 * gamma), 1e-15);
        EXPECT_NEAR(zk::HypersonicDeflection(gamma, t.BetaAtThetaMax), t.ThetaMax, 1e-15);
        EXPECT_DOUBLE_EQ(t.SonicBeta, t.BetaAtThetaMax);
        // A very large finite M1 lands on the limit.
        const zk::ExactShockTheory far = zk::ExactTheory(1e7, gamma);
        EXPECT_NEAR(far.ThetaMax, t.ThetaMax, 1e-9);
        EXPECT_NEAR(far.SonicBeta, t.SonicBeta, 1e-6);
        EXPECT_NEAR(zk::DeflectionForShockAngle(1e7, gamma, 1.0), zk::HypersonicDeflection(gamma, 1.0), 1e-9);
    }
    EXPECT_NEAR(DegreesFromRadians(zk::HypersonicTheory(1.4).ThetaMax), 45.58, 0.005);
    EXPECT_THROW(zk::HypersonicTheory(1.0), zk::AppError);
    EXPECT_THROW(zk::HypersonicDeflection(1.4, 2.0), zk::AppError);
    EXPECT_THROW(zk::HypersonicDeflection(std::nan(""), 1.0), zk::AppError);
}

TEST(ThetaBetaFamilyShape, CurvesAndLinesRunAsTheChartDrawsThem) {
    for (double gamma : {1.1, 1.4, 5.0 / 3.0, 10.0}) {
        SCOPED_TRACE(gamma);
        const zk::ThetaBetaFamily family(gamma);
        ASSERT_EQ(family.Curves().size(), zk::ThetaBetaFamily::kMachNumbers.size() + 1);
        EXPECT_TRUE(family.Curves().back().IsLimit());
        double previousMax = 0;
        for (const zk::ShockCurve& curve : family.Curves()) {
            const double thetaMax = curve.Theory().ThetaMax;
            EXPECT_GT(thetaMax, previousMax) << "a faster stream can be turned further";
            previousMax = thetaMax;
            EXPECT_LE(thetaMax, family.ThetaLimit() + 1e-15);
            // Weak branch from the Mach wave up to the maximum, strong one on to the normal shock.
            EXPECT_EQ(curve.Weak().front().Theta, 0);
            EXPECT_EQ(curve.Weak().front().Beta, curve.Theory().MachAngle);
            EXPECT_EQ(curve.Strong().back().Theta, 0);
            EXPECT_EQ(curve.Strong().back().Beta, 1.5707963267948966);
            EXPECT_EQ(curve.Weak().back().Beta, curve.Strong().front().Beta);
            for (const auto* branch : {&curve.Weak(), &curve.Strong()})
                for (std::size_t i = 1; i < branch->size(); ++i) {
                    EXPECT_GT((*branch)[i].Beta, (*branch)[i - 1].Beta);
                    EXPECT_LE((*branch)[i].Theta, thetaMax + 1e-15);
                }
        }
        // Both lines run from the normal shock of a sonic stream to the limit curve's maximum.
        for (const auto* line : {&family.MaximumDeflectionLine(), &family.SonicLine()}) {
            EXPECT_EQ(line->front().Theta, 0);
            EXPECT_EQ(line->front().Beta, 1.5707963267948966);
            EXPECT_NEAR(line->back().Theta, family.ThetaLimit(), 1e-15);
            for (std::size_t i = 1; i < line->size(); ++i)
                EXPECT_GT((*line)[i].Theta, (*line)[i - 1].Theta);
        }
        // The sonic line lies on the weak side of the maximum line, at a smaller deflection.
        for (std::size_t i = 1; i + 1 < family.SonicLine().size(); ++i) {
            EXPECT_LT(family.SonicLine()[i].Theta, family.MaximumDeflectionLine()[i].Theta);
            EXPECT_LT(family.SonicLine()[i].Beta, family.MaximumDeflectionLine()[i].Beta);
        }
    }
}

TEST(ThetaBetaFamilyShape, GasWithoutObliqueShocksIsRefused) {
    EXPECT_THROW(zk::ThetaBetaFamily(1.0), zk::AppError);
    EXPECT_THROW(zk::ThetaBetaFamily(0.0), zk::AppError);
    EXPECT_THROW(zk::ThetaBetaFamily(std::nan("")), zk::AppError);
    EXPECT_THROW(zk::ShockCurve(1.0, 1.4), zk::AppError);
    EXPECT_THROW(zk::ShockCurve(0.5, 1.4), zk::AppError);
}

TEST(PressureDeflectionPolar, EndsAtTheMachWaveAndTheNormalShock) {
    // Normal-shock table (NACA Report 1135), M1 = 2: p2/p1 = 4.5000; M1 = 3: 10.333.
    const struct { double Mach, NormalPressure, Tolerance; } rows[] = {{2.0, 4.5, 5e-5}, {3.0, 10.333, 5e-4}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Mach);
        const zk::ShockCurve polar(row.Mach, 1.4);
        EXPECT_EQ(polar.Weak().front().Theta, 0);
        EXPECT_NEAR(polar.Weak().front().PressureRatio, 1.0, 1e-12) << "a wave of no strength";
        EXPECT_EQ(polar.Strong().back().Theta, 0);
        EXPECT_NEAR(polar.Strong().back().PressureRatio, row.NormalPressure, row.Tolerance);
        // The pressure rises all the way from the Mach wave over θmax to the normal shock.
        double previous = 0;
        for (const auto* branch : {&polar.Weak(), &polar.Strong()})
            for (const zk::ShockPoint& p : *branch) {
                EXPECT_GE(p.PressureRatio, previous);
                previous = p.PressureRatio;
            }
    }
}

TEST(PressureDeflectionPolar, PassesThroughTheTabulatedShocks) {
    // NACA Report 1135, M1 = 2, θ = 20°: weak p2/p1 = 2.8429, strong 4.1570.  The polar's points are
    // samples; between two of them the pressure at 20° lies on the chord within the curve's sag,
    // which for 96 samples per branch is far below the table's last digit on the weak branch.
    const zk::ShockCurve polar(2.0, 1.4);
    const double theta = RadiansFromDegrees(20);
    const auto interpolate = [&](const std::vector<zk::ShockPoint>& branch) {
        for (std::size_t i = 1; i < branch.size(); ++i) {
            const zk::ShockPoint& a = branch[i - 1];
            const zk::ShockPoint& b = branch[i];
            if ((a.Theta - theta) * (b.Theta - theta) <= 0 && a.Theta != b.Theta)
                return a.PressureRatio +
                       (b.PressureRatio - a.PressureRatio) * (theta - a.Theta) / (b.Theta - a.Theta);
        }
        return std::nan("");
    };
    EXPECT_NEAR(interpolate(polar.Weak()), 2.8429, 2e-3);
    EXPECT_NEAR(interpolate(polar.Strong()), 4.1570, 2e-3);
    // The exact points the chart marks come from the solver itself, to the table's digit.
    EXPECT_NEAR(zk::WeakShock(2.0, 1.4, theta)->PressureRatio, 2.8429, 5e-5);
    EXPECT_NEAR(zk::StrongShock(2.0, 1.4, theta)->PressureRatio, 4.1570, 5e-5);

    // The limit curve has no finite pressure: its points carry 0.
    const zk::ShockCurve limit(kInfinity, 1.4);
    EXPECT_EQ(limit.Weak()[10].PressureRatio, 0);
}

} // namespace

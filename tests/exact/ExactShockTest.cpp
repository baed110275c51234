// SPDX-License-Identifier: GPL-3.0-or-later
// The exact oblique-shock relations against published tables and against the conservation laws
// every shock must satisfy.
#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "ExactShock.h"

namespace {

using zk::AppError;
using zk::DegreesFromRadians;
using zk::RadiansFromDegrees;

constexpr double kHalfPi = 1.5707963267948966;

// The free streams the property tests sweep: from barely supersonic to hypersonic, and from a
// heavy molecule's γ to beyond a monatomic gas.
const std::vector<double> kMachs = {1.05, 1.2, 1.5, 2.0, 3.0, 5.0, 10.0, 20.0};
const std::vector<double> kGammas = {1.1, 1.2, 1.3, 1.4, 5.0 / 3.0, 2.0};

template <class Body> void ForEachGas(Body body) {
    for (double gamma : kGammas)
        for (double mach : kMachs) {
            SCOPED_TRACE(testing::Message() << "M1 = " << mach << ", gamma = " << gamma);
            body(mach, gamma);
        }
}

// ---------------------------------------------------------------------------------------------
// Published values.  NACA Report 1135, "Equations, tables, and charts for compressible flow"
// (Ames Research Staff, 1953): the oblique-shock charts and the normal-shock table, γ = 1.4.
// The tables give angles to 0.01° and ratios to 4 decimals (p02/p01 of the normal shock to 5); the
// tolerance is half a unit of the last published digit, so a value that would print differently
// from the table fails.

struct PublishedShock {
    const char* Name;
    double ThetaDegrees;
    zk::ShockBranch Branch;
    double BetaDegrees;
    // Ratios; a negative value means the table row does not give it.
    double M2, PressureRatio, DensityRatio, TemperatureRatio, TotalPressureRatio;
};

TEST(ExactShockPublished, MachTwoMatchesTheTables) {
    const double gamma = 1.4, mach = 2.0;
    const std::vector<PublishedShock> rows = {
        {"weak, 20 deg", 20, zk::ShockBranch::Weak, 53.42, 1.2102, 2.8429, 2.0420, 1.3922, 0.8929},
        {"strong, 20 deg", 20, zk::ShockBranch::Strong, 74.27, 0.7278, 4.1570, -1, -1, -1},
        {"weak, 10 deg", 10, zk::ShockBranch::Weak, 39.31, 1.6405, 1.7066, -1, -1, -1},
    };
    for (const PublishedShock& row : rows) {
        SCOPED_TRACE(row.Name);
        const zk::ShockSolution s =
            zk::AttachedShock(mach, gamma, RadiansFromDegrees(row.ThetaDegrees), row.Branch);
        EXPECT_NEAR(DegreesFromRadians(s.Beta), row.BetaDegrees, 0.005);
        EXPECT_NEAR(DegreesFromRadians(s.Theta), row.ThetaDegrees, 1e-9);
        EXPECT_NEAR(s.M2, row.M2, 5e-5);
        EXPECT_NEAR(s.PressureRatio, row.PressureRatio, 5e-5);
        if (row.DensityRatio > 0) {
            EXPECT_NEAR(s.DensityRatio, row.DensityRatio, 5e-5);
            EXPECT_NEAR(s.InverseDensityRatio, 1 / row.DensityRatio, 5e-5);
        }
        if (row.TemperatureRatio > 0) {
            EXPECT_NEAR(s.TemperatureRatio, row.TemperatureRatio, 5e-5);
        }
        if (row.TotalPressureRatio > 0) {
            EXPECT_NEAR(s.TotalPressureRatio, row.TotalPressureRatio, 5e-5);
        }
    }
}

TEST(ExactShockPublished, MachTwoLandmarks) {
    const zk::ExactShockTheory t = zk::ExactTheory(2.0, 1.4);
    EXPECT_DOUBLE_EQ(t.M1, 2.0);
    EXPECT_DOUBLE_EQ(t.Gamma, 1.4);
    EXPECT_NEAR(DegreesFromRadians(t.MachAngle), 30.0, 1e-12);
    EXPECT_NEAR(DegreesFromRadians(t.ThetaMax), 22.97, 0.005);
    EXPECT_NEAR(DegreesFromRadians(t.BetaAtThetaMax), 64.67, 0.005);
    // The sonic point lies just below the maximum deflection, on the weak branch.
    EXPECT_LT(t.SonicBeta, t.BetaAtThetaMax);
    EXPECT_GT(t.SonicBeta, RadiansFromDegrees(60));
    EXPECT_LT(t.SonicTheta, t.ThetaMax);
    EXPECT_GT(t.SonicTheta, t.ThetaMax - RadiansFromDegrees(0.5));
}

TEST(ExactShockPublished, NormalShockAtMachTwo) {
    // Normal-shock table, M1 = 2.00: M2 = 0.57735, p2/p1 = 4.5000, rho2/rho1 = 2.6667,
    // T2/T1 = 1.6875, p02/p01 = 0.72087.
    const auto s = zk::StrongShock(2.0, 1.4, 0.0);
    ASSERT_TRUE(s.has_value());
    EXPECT_DOUBLE_EQ(s->Beta, kHalfPi);
    EXPECT_NEAR(s->M2, 0.57735, 5e-6);
    EXPECT_NEAR(s->PressureRatio, 4.5, 5e-5);
    EXPECT_NEAR(s->DensityRatio, 2.6667, 5e-5);
    EXPECT_NEAR(s->TemperatureRatio, 1.6875, 5e-5);
    EXPECT_NEAR(s->TotalPressureRatio, 0.72087, 5e-6);
}

TEST(ExactShockPublished, HypersonicLimits) {
    // As M1 grows the density ratio of a normal shock tends to (γ+1)/(γ−1) = 6 for air, and the
    // maximum deflection to 45.58° (the M1 = ∞ end of the maximum-deflection chart).
    const auto normal = zk::ShockForAngle(1e6, 1.4, kHalfPi);
    EXPECT_NEAR(normal.DensityRatio, 6.0, 1e-9);
    EXPECT_NEAR(DegreesFromRadians(zk::ExactTheory(1e6, 1.4).ThetaMax), 45.58, 0.005);
}

// ---------------------------------------------------------------------------------------------
// Properties over a range of gases and Mach numbers.

TEST(ExactShockProperties, WeakBelowStrongMeetingAtMaximumDeflection) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        ASSERT_GT(t.ThetaMax, 0);
        ASSERT_GT(t.BetaAtThetaMax, t.MachAngle);
        ASSERT_LT(t.BetaAtThetaMax, kHalfPi);
        for (double fraction : {0.01, 0.1, 0.3, 0.5, 0.7, 0.9, 0.99, 0.9999}) {
            const double theta = fraction * t.ThetaMax;
            const auto weak = zk::WeakShock(mach, gamma, theta);
            const auto strong = zk::StrongShock(mach, gamma, theta);
            ASSERT_TRUE(weak && strong) << "fraction " << fraction;
            EXPECT_GT(weak->Beta, t.MachAngle);
            EXPECT_LT(weak->Beta, t.BetaAtThetaMax);
            EXPECT_GT(strong->Beta, t.BetaAtThetaMax);
            EXPECT_LT(strong->Beta, kHalfPi);
            EXPECT_NEAR(weak->Theta, theta, 1e-12);
            EXPECT_NEAR(strong->Theta, theta, 1e-12);
            // The strong shock is the stronger one in every respect.
            EXPECT_GT(strong->PressureRatio, weak->PressureRatio);
            EXPECT_LT(strong->M2, weak->M2);
            EXPECT_LT(strong->M2, 1.0);
            EXPECT_LT(strong->TotalPressureRatio, weak->TotalPressureRatio);
        }
        // At the maximum deflection both branches give the same shock.
        const auto weak = zk::WeakShock(mach, gamma, t.ThetaMax);
        const auto strong = zk::StrongShock(mach, gamma, t.ThetaMax);
        ASSERT_TRUE(weak && strong);
        EXPECT_DOUBLE_EQ(weak->Beta, t.BetaAtThetaMax);
        EXPECT_DOUBLE_EQ(strong->Beta, t.BetaAtThetaMax);
        EXPECT_NEAR(weak->Theta, t.ThetaMax, 1e-15);
    });
}

TEST(ExactShockProperties, NoAttachedShockBeyondMaximumDeflection) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        for (double theta : {t.ThetaMax + 1e-9, t.ThetaMax * 1.01, t.ThetaMax + 0.1, kHalfPi, 10.0}) {
            EXPECT_FALSE(zk::WeakShock(mach, gamma, theta).has_value()) << theta;
            EXPECT_FALSE(zk::StrongShock(mach, gamma, theta).has_value()) << theta;
        }
    });
}

TEST(ExactShockProperties, MaximumDeflectionIsTheLargest) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        const int n = 400;
        for (int i = 0; i <= n; ++i) {
            const double beta = t.MachAngle + (kHalfPi - t.MachAngle) * i / n;
            EXPECT_LE(zk::DeflectionForShockAngle(mach, gamma, beta), t.ThetaMax + 1e-15) << beta;
        }
        const double h = 1e-4;
        EXPECT_LT(zk::DeflectionForShockAngle(mach, gamma, t.BetaAtThetaMax - h), t.ThetaMax);
        EXPECT_LT(zk::DeflectionForShockAngle(mach, gamma, t.BetaAtThetaMax + h), t.ThetaMax);
    });
}

TEST(ExactShockProperties, MachWaveAtTheMachAngle) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        EXPECT_NEAR(std::sin(t.MachAngle), 1 / mach, 1e-15);
        const auto wave = zk::WeakShock(mach, gamma, 0.0);
        ASSERT_TRUE(wave.has_value());
        EXPECT_DOUBLE_EQ(wave->Beta, t.MachAngle);
        const zk::ShockSolution s = zk::ShockForAngle(mach, gamma, t.MachAngle);
        EXPECT_NEAR(s.Theta, 0, 1e-15);
        EXPECT_NEAR(s.M2, mach, 1e-12 * mach);
        EXPECT_NEAR(s.PressureRatio, 1, 1e-14);
        EXPECT_NEAR(s.DensityRatio, 1, 1e-14);
        EXPECT_NEAR(s.TemperatureRatio, 1, 1e-14);
        EXPECT_NEAR(s.SpeedRatio, 1, 1e-14);
        EXPECT_NEAR(s.TotalPressureRatio, 1, 1e-14);
    });
}

TEST(ExactShockProperties, NormalShockAtNinetyDegrees) {
    ForEachGas([](double mach, double gamma) {
        const double m2 = mach * mach;
        const auto s = zk::StrongShock(mach, gamma, 0.0);
        ASSERT_TRUE(s.has_value());
        EXPECT_DOUBLE_EQ(s->Beta, kHalfPi);
        EXPECT_NEAR(s->Theta, 0, 1e-15);
        EXPECT_NEAR(s->M2, std::sqrt(((gamma - 1) * m2 + 2) / (2 * gamma * m2 - (gamma - 1))), 1e-12);
        EXPECT_NEAR(s->PressureRatio, (2 * gamma * m2 - (gamma - 1)) / (gamma + 1), 1e-12 * m2);
        EXPECT_NEAR(s->DensityRatio, (gamma + 1) * m2 / ((gamma - 1) * m2 + 2), 1e-12);
        // Behind a normal shock the velocity falls in the inverse proportion of the density.
        EXPECT_NEAR(s->SpeedRatio, s->InverseDensityRatio, 1e-12);
        // The same shock asked for by its angle.
        const zk::ShockSolution byAngle = zk::ShockForAngle(mach, gamma, kHalfPi);
        EXPECT_NEAR(byAngle.M2, s->M2, 1e-14);
    });
}

// The jump conditions, checked in a form the code does not use: the geometry of the turned flow.
TEST(ExactShockProperties, ConservationAcrossEveryShock) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        const int n = 50;
        for (int i = 0; i <= n; ++i) {
            const double beta = t.MachAngle + (kHalfPi - t.MachAngle) * i / n;
            const zk::ShockSolution s = zk::ShockForAngle(mach, gamma, beta);
            const double turned = beta - s.Theta; // angle of the shock to the flow behind it
            // Tangential velocity is unchanged: V2 cos(β − θ) = V1 cos β.
            EXPECT_NEAR(s.SpeedRatio * std::cos(turned), std::cos(beta), 1e-12);
            // Mass: rho2 V2 sin(β − θ) = rho1 V1 sin β.
            EXPECT_NEAR(s.DensityRatio * s.SpeedRatio * std::sin(turned), std::sin(beta), 1e-12);
            // Momentum normal to the shock: p + rho Vn² is the same on both sides (in units of p1,
            // with rho1 V1² / p1 = γ M1²).
            const double vn1 = std::sin(beta), vn2 = s.SpeedRatio * std::sin(turned);
            const double momentum1 = 1 + gamma * mach * mach * vn1 * vn1;
            const double momentum2 = s.PressureRatio + gamma * mach * mach * s.DensityRatio * vn2 * vn2;
            EXPECT_NEAR(momentum2 / momentum1, 1, 1e-12);
            // Energy: the total temperature is unchanged.
            EXPECT_NEAR(s.TemperatureRatio * (1 + (gamma - 1) / 2 * s.M2 * s.M2),
                        1 + (gamma - 1) / 2 * mach * mach, 1e-10 * mach * mach);
            // Total pressure from the static pressures and the Mach numbers on both sides:
            // p0 = p (1 + (γ−1)/2 M²)^(γ/(γ−1)).
            const double stagnation =
                std::pow((1 + (gamma - 1) / 2 * s.M2 * s.M2) / (1 + (gamma - 1) / 2 * mach * mach),
                         gamma / (gamma - 1));
            EXPECT_NEAR(s.TotalPressureRatio, s.PressureRatio * stagnation, 1e-10);
            // The static temperature jump from the normal Mach number alone, the normal-shock
            // relation (a route the code does not take: it forms p2/p1 · rho1/rho2):
            // T2/T1 = (2γ Mn1² − (γ−1)) ((γ−1) Mn1² + 2) / ((γ+1)² Mn1²).
            const double mn1Squared = mach * mach * std::sin(beta) * std::sin(beta);
            const double temperature = (2 * gamma * mn1Squared - (gamma - 1)) *
                                       ((gamma - 1) * mn1Squared + 2) /
                                       ((gamma + 1) * (gamma + 1) * mn1Squared);
            EXPECT_NEAR(s.TemperatureRatio, temperature, 1e-12 * temperature);
            EXPECT_NEAR(s.DensityRatio * s.InverseDensityRatio, 1, 1e-15);
            // The textbook route to M2 through the normal component behind the shock.
            const double mn1 = mach * std::sin(beta);
            const double mn2 =
                std::sqrt(((gamma - 1) * mn1 * mn1 + 2) / (2 * gamma * mn1 * mn1 - (gamma - 1)));
            if (std::sin(turned) > 1e-3) {
                EXPECT_NEAR(s.M2, mn2 / std::sin(turned), 1e-9 * mach);
            }
        }
    });
}

TEST(ExactShockProperties, StrongerShocksLoseMoreTotalPressure) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        zk::ShockSolution previous = zk::ShockForAngle(mach, gamma, t.MachAngle);
        const int n = 200;
        for (int i = 1; i <= n; ++i) {
            const double beta = t.MachAngle + (kHalfPi - t.MachAngle) * i / n;
            const zk::ShockSolution s = zk::ShockForAngle(mach, gamma, beta);
            EXPECT_LE(s.TotalPressureRatio, 1.0);
            EXPECT_GT(s.TotalPressureRatio, 0.0);
            EXPECT_LE(s.TotalPressureRatio, previous.TotalPressureRatio);
            EXPECT_GT(s.PressureRatio, previous.PressureRatio);
            EXPECT_GT(s.TemperatureRatio, previous.TemperatureRatio);
            EXPECT_LT(s.M2, previous.M2);
            EXPECT_LT(s.SpeedRatio, previous.SpeedRatio);
            previous = s;
        }
    });
}

TEST(ExactShockProperties, SonicPointDividesSupersonicFromSubsonic) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        EXPECT_GT(t.SonicBeta, t.MachAngle);
        EXPECT_LT(t.SonicBeta, t.BetaAtThetaMax);
        EXPECT_LT(t.SonicTheta, t.ThetaMax);
        EXPECT_NEAR(zk::ShockForAngle(mach, gamma, t.SonicBeta).M2, 1.0, 1e-12);
        EXPECT_NEAR(zk::DeflectionForShockAngle(mach, gamma, t.SonicBeta), t.SonicTheta, 1e-15);
        // A weak shock stays supersonic behind until the sonic deflection and is subsonic after it.
        const double gap = t.ThetaMax - t.SonicTheta;
        EXPECT_GT(zk::WeakShock(mach, gamma, t.SonicTheta - gap / 2)->M2, 1.0);
        EXPECT_LT(zk::WeakShock(mach, gamma, t.SonicTheta + gap / 2)->M2, 1.0);
        EXPECT_NEAR(zk::WeakShock(mach, gamma, t.SonicTheta)->Beta, t.SonicBeta, 1e-9);
    });
}

TEST(ExactShockProperties, DeflectionRoundTripsThroughTheSolver) {
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        // Away from the maximum, where θ(β) is flat and β follows θ only to the square root of the
        // rounding error.
        for (double f : {0.02, 0.2, 0.5, 0.8, 0.95}) {
            const double weakBeta = t.MachAngle + f * (t.BetaAtThetaMax - t.MachAngle);
            const double strongBeta = t.BetaAtThetaMax + f * (kHalfPi - t.BetaAtThetaMax);
            const double weakTheta = zk::DeflectionForShockAngle(mach, gamma, weakBeta);
            const double strongTheta = zk::DeflectionForShockAngle(mach, gamma, strongBeta);
            EXPECT_NEAR(zk::WeakShock(mach, gamma, weakTheta)->Beta, weakBeta, 1e-9) << f;
            EXPECT_NEAR(zk::StrongShock(mach, gamma, strongTheta)->Beta, strongBeta, 1e-9) << f;
        }
    });
}

TEST(ExactShockProperties, ExtremeStreamsGiveFiniteResults) {
    // Barely supersonic: the Mach angle, the maximum deflection and 90° crowd together.
    for (double mach : {1.0 + 1e-9, 1.0 + 1e-6, 1e3, 1e6}) {
        SCOPED_TRACE(mach);
        const zk::ExactShockTheory t = zk::ExactTheory(mach, 1.4);
        EXPECT_GE(t.ThetaMax, 0);
        EXPECT_GE(t.BetaAtThetaMax, t.MachAngle);
        EXPECT_LE(t.BetaAtThetaMax, kHalfPi);
        EXPECT_GE(t.SonicBeta, t.MachAngle);
        EXPECT_LE(t.SonicBeta, t.BetaAtThetaMax);
        for (auto branch : {zk::ShockBranch::Weak, zk::ShockBranch::Strong}) {
            const zk::ShockSolution s = zk::AttachedShock(mach, 1.4, t.ThetaMax / 2, branch);
            for (double v : {s.Beta, s.Theta, s.M2, s.PressureRatio, s.DensityRatio, s.TemperatureRatio,
                             s.SpeedRatio, s.TotalPressureRatio})
                EXPECT_TRUE(std::isfinite(v));
            EXPECT_LE(s.TotalPressureRatio, 1.0);
        }
    }
    // γ close to 1 makes the total-pressure exponents γ/(γ−1) huge; the ratio must stay sane.
    const auto nearIsothermal = zk::StrongShock(3.0, 1.0 + 1e-9, 0.0);
    ASSERT_TRUE(nearIsothermal.has_value());
    EXPECT_GT(nearIsothermal->TotalPressureRatio, 0.0);
    EXPECT_LE(nearIsothermal->TotalPressureRatio, 1.0);
}

// ---------------------------------------------------------------------------------------------
// Errors: each bad input raises its own message and never yields a NaN.

struct BadCall {
    const char* Name;
    std::function<void()> Call;
    const char* Message;
};

TEST(ExactShockErrors, BadInputRaisesItsMessage) {
    const double nan = std::nan("");
    const double inf = INFINITY;
    const double mu2 = zk::ExactTheory(2.0, 1.4).MachAngle;
    const std::vector<BadCall> calls = {
        {"sonic stream", [] { zk::ExactTheory(1.0, 1.4); }, zk::kExactSubsonic},
        {"subsonic stream", [] { zk::WeakShock(0.5, 1.4, 0.1); }, zk::kExactSubsonic},
        {"negative Mach", [] { zk::ShockForAngle(-2.0, 1.4, 1.0); }, zk::kExactSubsonic},
        {"NaN Mach", [=] { zk::ExactTheory(nan, 1.4); }, zk::kExactNotFinite},
        {"infinite Mach", [=] { zk::StrongShock(inf, 1.4, 0.1); }, zk::kExactNotFinite},
        {"gamma of 1", [] { zk::ExactTheory(2.0, 1.0); }, zk::kExactGamma},
        {"gamma below 1", [] { zk::DeflectionForShockAngle(2.0, 0.9, 1.0); }, zk::kExactGamma},
        {"NaN gamma", [=] { zk::WeakShock(2.0, nan, 0.1); }, zk::kExactNotFinite},
        {"negative deflection", [] { zk::WeakShock(2.0, 1.4, -1e-6); }, zk::kExactNegativeDeflection},
        {"negative deflection, strong", [] { zk::StrongShock(2.0, 1.4, -0.5); },
         zk::kExactNegativeDeflection},
        {"NaN deflection", [=] { zk::StrongShock(2.0, 1.4, nan); }, zk::kExactNotFinite},
        {"infinite deflection", [=] { zk::WeakShock(2.0, 1.4, inf); }, zk::kExactNotFinite},
        {"detached, weak", [] { zk::AttachedShock(2.0, 1.4, RadiansFromDegrees(23), zk::ShockBranch::Weak); },
         zk::kExactNoAttachedShock},
        {"detached, strong",
         [] { zk::AttachedShock(2.0, 1.4, RadiansFromDegrees(30), zk::ShockBranch::Strong); },
         zk::kExactNoAttachedShock},
        {"shock angle below Mach angle", [=] { zk::ShockForAngle(2.0, 1.4, mu2 - 1e-6); },
         zk::kExactShockAngleRange},
        {"shock angle above 90 deg", [] { zk::ShockForAngle(2.0, 1.4, kHalfPi + 1e-6); },
         zk::kExactShockAngleRange},
        {"negative shock angle", [] { zk::DeflectionForShockAngle(2.0, 1.4, -1.0); },
         zk::kExactShockAngleRange},
        {"NaN shock angle", [=] { zk::DeflectionForShockAngle(2.0, 1.4, nan); }, zk::kExactNotFinite},
        {"past the range of double", [] { zk::ShockForAngle(1e200, 1.4, kHalfPi); }, zk::kExactOutOfRange},
    };
    for (const BadCall& c : calls) {
        SCOPED_TRACE(c.Name);
        try {
            c.Call();
            ADD_FAILURE() << "no error raised";
        } catch (const AppError& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
    }
}

TEST(ExactShockErrors, DetachmentIsNotAnErrorForTheOptionalForms) {
    // Just past the maximum there is no attached shock, just below there are two.
    const zk::ExactShockTheory t = zk::ExactTheory(2.0, 1.4);
    EXPECT_FALSE(zk::WeakShock(2.0, 1.4, RadiansFromDegrees(23)).has_value());
    EXPECT_FALSE(zk::StrongShock(2.0, 1.4, RadiansFromDegrees(23)).has_value());
    EXPECT_TRUE(zk::WeakShock(2.0, 1.4, RadiansFromDegrees(22.97)).has_value());
    EXPECT_TRUE(zk::StrongShock(2.0, 1.4, t.ThetaMax).has_value());
}

TEST(ExactShockErrors, AnglesHandedBackAreAcceptedAtTheirLimits) {
    // The Mach angle and 90° as stored in double may round just outside the exact range.
    ForEachGas([](double mach, double gamma) {
        const zk::ExactShockTheory t = zk::ExactTheory(mach, gamma);
        EXPECT_NO_THROW(zk::ShockForAngle(mach, gamma, t.MachAngle));
        EXPECT_NO_THROW(zk::ShockForAngle(mach, gamma, std::nextafter(t.MachAngle, 0.0)));
        EXPECT_NO_THROW(zk::ShockForAngle(mach, gamma, std::nextafter(kHalfPi, 2.0)));
        EXPECT_NO_THROW(zk::AttachedShock(mach, gamma, t.ThetaMax, zk::ShockBranch::Strong));
        EXPECT_NO_THROW(
            zk::AttachedShock(mach, gamma, std::nextafter(t.ThetaMax, 2.0), zk::ShockBranch::Weak));
    });
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exact oblique-shock relations of a perfect gas, the textbook answer against which the polar
// construction can be checked: the θ–β–M relation solved for the weak and the strong shock, the
// maximum deflection, the sonic point and the state behind the shock.  All angles are in radians;
// the ratios are downstream over upstream (index 2 behind the shock, 1 ahead of it).
//
// Invalid input raises AppError with a message for the user; no function returns a NaN.
#include <optional>

#include "Errors.h"

namespace zk {

// Messages of the errors the exact relations raise.
inline constexpr const char* kExactNotFinite =
    "Число Маха, показатель адиабаты и углы должны быть конечными числами";
inline constexpr const char* kExactSubsonic =
    "Поток дозвуковой или звуковой (M1 ≤ 1): косой скачок уплотнения невозможен";
inline constexpr const char* kExactGamma = "Показатель адиабаты γ должен быть больше 1";
inline constexpr const char* kExactNegativeDeflection = "Угол поворота потока не может быть отрицательным";
inline constexpr const char* kExactNoAttachedShock =
    "Угол поворота потока больше предельного: присоединённого скачка нет, скачок отсоединяется";
inline constexpr const char* kExactShockAngleRange = "Угол скачка должен лежать между углом Маха и 90°";
inline constexpr const char* kExactOutOfRange =
    "Параметры за скачком выходят за пределы представимых чисел: число Маха слишком велико";

// The two attached shocks that turn the flow through the same angle.
enum class ShockBranch { Weak, Strong };

// The flow behind an oblique shock of angle Beta.
struct ShockSolution {
    double Beta = 0;                // radians, shock angle to the free stream
    double Theta = 0;               // radians, flow deflection (wedge half-angle)
    double M2 = 0;                  // Mach number behind the shock
    double PressureRatio = 0;       // p2/p1
    double DensityRatio = 0;        // rho2/rho1
    double InverseDensityRatio = 0; // rho1/rho2
    double TemperatureRatio = 0;    // T2/T1
    double SpeedRatio = 0;          // V2/V1, ratio of the velocity magnitudes
    double TotalPressureRatio = 0;  // p02/p01, never above 1: the loss of total pressure
};

// The landmarks of the θ–β–M relation for one free stream.
struct ExactShockTheory {
    double M1 = 0;             // free-stream Mach number
    double Gamma = 0;          // ratio of specific heats
    double MachAngle = 0;      // radians, asin(1/M1): the weakest wave, no deflection
    double ThetaMax = 0;       // radians, largest deflection an attached shock can make
    double BetaAtThetaMax = 0; // radians, shock angle at ThetaMax: boundary of weak and strong
    double SonicTheta = 0;     // radians, deflection at which M2 = 1
    double SonicBeta = 0;      // radians, shock angle at which M2 = 1 (just below BetaAtThetaMax)
};

// The Mach angle, the maximum deflection and the sonic point for M1 = mach and γ = gamma.
ExactShockTheory ExactTheory(double mach, double gamma);

// The weak (smaller β, usually supersonic behind) and the strong (larger β, subsonic behind) shock
// turning the flow through theta; nothing when theta exceeds the maximum deflection.  theta = 0
// gives the Mach wave (weak) and the normal shock (strong).
std::optional<ShockSolution> WeakShock(double mach, double gamma, double theta);
std::optional<ShockSolution> StrongShock(double mach, double gamma, double theta);

// As WeakShock or StrongShock, but a deflection beyond the maximum raises kExactNoAttachedShock.
ShockSolution AttachedShock(double mach, double gamma, double theta, ShockBranch branch);

// The flow behind a shock of any angle beta from the Mach angle to π/2.
ShockSolution ShockForAngle(double mach, double gamma, double beta);

// The deflection θ(β) of the θ–β–M relation, for beta from the Mach angle to π/2.
double DeflectionForShockAngle(double mach, double gamma, double beta);

// The limit M1 → ∞ of the θ–β–M relation, where tan θ = sin 2β / (γ + cos 2β): the curve every
// family of charts ends with.  Its Mach angle is 0, its maximum deflection arcsin(1/γ) at
// sin²β = (γ + 1)/(2γ), and there the flow behind is just sonic, so the sonic point and the maximum
// coincide.  M1 of the result is +∞.
ExactShockTheory HypersonicTheory(double gamma);
// The deflection θ(β) of the limit, for beta from 0 to π/2.
double HypersonicDeflection(double gamma, double beta);

// Degree helpers for the tables students read.
inline double RadiansFromDegrees(double degrees) {
    return degrees * 0.017453292519943295769;
}
inline double DegreesFromRadians(double radians) {
    return radians * 57.295779513082320877;
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the exact theory puts its landmarks on the hodograph of the polar diagram: the tangent
// from O to the polar (the largest deflection θmax of this free stream), the weak and the strong
// shock on the wedge ray, and the sonic circle |V| = a* with its crossing of the polar.  Velocities
// in m/s with the free stream along +Vx; the upper branch (flow turned towards +Vy) is given, the
// lower one is its mirror image.
#include <optional>
#include <string>

#include "ExactShock.h"

namespace zk {

// A velocity behind the shock, m/s.
struct HodographPoint {
    double Vx = 0;
    double Vy = 0;
};

// The free stream gives no oblique shock: these explain why, for the student.
inline constexpr const char* kLandmarksNoSoundSpeed = "c1 ≤ 0: скорость звука должна быть больше нуля";
inline constexpr const char* kLandmarksGamma = "γ ≤ 1: показатель адиабаты должен быть больше 1";
inline constexpr const char* kLandmarksSubsonic = "V1 ≤ c1: поток не сверхзвуковой, косого скачка нет";

struct HodographLandmarks {
    std::string Problem; // why there are no landmarks (c1 <= 0, gamma <= 1, V1 <= c1); empty if there are
    double V1 = 0;       // m/s, free-stream speed, the point B
    double M1 = 0;       // V1 / c1
    double Wedge = 0;    // radians, the wedge half-angle the points are found for
    double ThetaMax = 0; // radians, the tangent's angle to the Vx axis
    HodographPoint Tangent;   // where the tangent from O touches the upper branch
    double SonicRadius = 0;   // m/s, a*: sqrt(((γ − 1) V1² + 2 c1²) / (γ + 1))
    HodographPoint Sonic;     // the upper branch crosses |V| = a* here: M2 = 1 behind the shock
    // The upper wedge ray's crossings with the polar; none when the wedge is beyond θmax or not
    // positive (no ray drawn).
    std::optional<HodographPoint> Weak;
    std::optional<HodographPoint> Strong;
    std::optional<ShockSolution> WeakShock; // the shocks that give them
    std::optional<ShockSolution> StrongShock;

    bool Answered() const { return Problem.empty(); }
    // The exact theory has an attached shock for this wedge (it turns the flow by at most θmax).
    bool Attached() const { return Answered() && Weak.has_value(); }
};

// The velocity behind the oblique shock of angle beta (radians, Mach angle to π/2) for the free
// stream v1 (m/s) of Mach number mach: the point of the polar's upper branch for that shock.
HodographPoint PolarPointForShockAngle(double v1, double mach, double gamma, double beta);

// The landmarks for the free stream v1 (m/s) in a gas of speed of sound c1 (m/s) and γ, with the
// wedge half-angle wedge (radians).  Never raises: a free stream without oblique shocks gives
// only Problem.
HodographLandmarks HodographLandmarksFor(double v1, double c1, double gamma, double wedge);

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The graphical construction set beside the exact oblique-shock theory: what the last Apply found
// (shock angle and the four ratios of the result labels), the exact weak and strong shock for the
// same free stream and wedge, and the largest wedge angle for which the construction still finds an
// attached shock at this V1.  Angles in the comparison rows are in degrees, as students read them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ExactShock.h"
#include "FlowState.h"

namespace zk {

// Message when the speed of sound is zero, so that no Mach number exists.
inline constexpr const char* kExactNoSoundSpeed = "Скорость звука c1 равна нулю: число Маха не определено";

// The construction's results as the main window shows them.
struct ConstructionValues {
    bool Attached = false;          // a non-zero wedge cut the polar at C: an attached shock
    double ShockAngle = 0;          // radians, φ from the line through B and C
    double PressureRatio = 0;       // P2/P1, normal-shock form with the normal Mach number M1 sin φ
    double InverseDensityRatio = 0; // rho1/rho2
    double SpeedRatio = 0;          // v2/v1 = |OC| / V1
    double TemperatureRatio = 0;    // T2/T1 = P2/P1 · rho1/rho2
};

// The values of the result labels for the solution held in the flow state, computed as Apply
// computes them (so they round to the same label texts).  Not attached: only Attached = false.
// Raises FloatError where Apply itself would have failed.
ConstructionValues ConstructionValuesOf(const FlowState& state);

// The exact theory for the free stream V1 / c1 and the deflection theta (radians).
struct ExactValues {
    std::string Problem;     // why the theory has no answer (M1 <= 1, gamma <= 1, c1 = 0); empty if it has
    double M1 = 0;           // free-stream Mach number
    double Theta = 0;        // radians, the wedge half-angle taken as the deflection
    ExactShockTheory Theory; // Mach angle, maximum deflection, sonic point
    std::optional<ShockSolution> Weak; // nothing beyond the maximum deflection
    std::optional<ShockSolution> Strong;
    bool Answered() const { return Problem.empty(); }
};

ExactValues ExactValuesFor(double velocity, double soundSpeed, double gamma, double theta);

// Whether Apply, run on a copy of the gas in `gas` with this wedge (whole degrees) and velocity (m/s),
// finds an attached shock.  Raises what Apply raises.
bool ConstructionAttaches(const FlowState& gas, std::int32_t wedgeDegrees, std::int32_t velocity);

// The largest whole wedge angle in 1..90 degrees at which the construction still finds an attached
// shock for this velocity and the gas in `gas`; nothing when it finds none.  Found by trying the
// wedges from 90 degrees down: below the limit the construction can miss single small wedges, where
// the polar runs within a pixel or two of the axis, so attachment is not monotone and bisection
// could stop in such a gap.  The wedges are tried on one polar, with Apply's own tests of its
// samples but without drawing or the detached search; Apply itself runs only for 90 degrees and the
// wedge found.  Raises what Apply raises.
std::optional<std::int32_t> LargestAttachedWedge(const FlowState& gas, std::int32_t velocity);

// The same search by a full run of Apply for every wedge from fromDegrees down: the reference the
// search on one polar is proven against.
std::optional<std::int32_t> LargestAttachedWedgeByApply(const FlowState& gas, std::int32_t velocity,
                                                        std::int32_t fromDegrees = 90);

// The quantities the comparison window lists, in its order.
enum class ComparedQuantity {
    ShockAngle,          // degrees: φ of the construction, β of the exact shocks
    PressureRatio,       // P2/P1
    InverseDensityRatio, // rho1/rho2
    SpeedRatio,          // v2/v1
    TemperatureRatio,    // T2/T1
    MachBehind,          // M2; exact only
    TotalPressureRatio,  // p02/p01; exact only
    LargestWedge,        // degrees: the construction's largest attached wedge against θmax
};

// One line of the comparison; an absent value is shown as a dash.
struct ComparisonRow {
    ComparedQuantity Quantity = ComparedQuantity::ShockAngle;
    bool InDegrees = false;
    std::optional<double> Construction;
    std::optional<double> Weak;   // for LargestWedge: θmax, where weak and strong meet
    std::optional<double> Strong; // for LargestWedge: θmax as well
    // Construction minus the exact weak shock, which is the one the construction finds.
    std::optional<double> Difference() const;
    // The difference in percent of the exact value; nothing when that is 0.
    std::optional<double> RelativeDifference() const;
};

// Everything the comparison shows for the solution in the flow state.
struct ShockComparison {
    ConstructionValues Construction;
    std::string ConstructionProblem;             // the fault that stopped the construction's values
    std::optional<std::int32_t> LargestAttached; // whole degrees
    ExactValues Exact;
    std::vector<ComparisonRow> Rows;
    // The wedge angle lies beyond the maximum deflection: no attached shock exists.
    bool BeyondMaximumDeflection() const { return Exact.Answered() && !Exact.Weak; }
    // The construction's shock angle lies below the Mach angle, where no shock can stand: its
    // one-pixel resolution has taken C too near B, as happens at the smallest wedges.  What it
    // shows then is no compression shock (P2/P1 below 1).
    bool ConstructionBelowMachAngle() const {
        return Construction.Attached && Exact.Answered() && Construction.ShockAngle > 0 &&
               Construction.ShockAngle < Exact.Theory.MachAngle;
    }
};

// A compared value rounded to `decimals` places (2 for degrees and percentages, 4 for ratios) and
// written as the result labels are, without trailing zeros.  Values too large for the rounding to
// matter (a hypersonic pressure ratio) keep their 15 significant digits.
std::string ComparisonNumberText(double value, int decimals, char decimalSeparator);

class LargestWedgeCache;

// Compares the solution the last Apply left in the flow state with the exact theory.  Never raises:
// faults of either side are kept as their messages.  With a cache, the largest attached wedge is
// searched only when the gas or V1 changed since the cache's last search.
ShockComparison CompareWithExactTheory(const FlowState& state);
ShockComparison CompareWithExactTheory(const FlowState& state, LargestWedgeCache& cache);

// The comparison as the comparison view takes it after an Apply: there is none when a fault ended
// that Apply, or when comparing itself raised (its message is kept).  The table and the charts of
// one view share it, so the largest attached wedge is searched once for both.
struct ComparedCase {
    std::optional<ShockComparison> Comparison;
    bool ApplyFaulted = false;
    std::string Failure; // the message of the comparison that raised
};
ComparedCase CompareCase(const FlowState& state, bool lastApplyFaulted, LargestWedgeCache& cache);

} // namespace zk

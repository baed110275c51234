// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three charts of the comparison view as scenes: the θ–β chart of the current free stream,
// the θ–β–M chart family of the gas and the pressure–deflection polar.  Drawn without
// antialiasing, like the program's other pictures.
#include <memory>
#include <optional>
#include <string>

#include "ChartScene.h"
#include "ShockComparison.h"
#include "ShockCurve.h"
#include "ThetaBetaFamily.h"

namespace zk {

// Colours shared by the charts.
constexpr ChartColor kChartWeakColor = 0xff0000c0;         // weak shocks
constexpr ChartColor kChartStrongColor = 0xff008000;       // strong shocks
constexpr ChartColor kChartConstructionColor = 0xffff0000; // the construction, red as on the diagram
constexpr ChartColor kChartWedgeColor = 0xff808080;        // the wedge angle's vertical line
constexpr ChartColor kChartFamilyColor = 0xff606060;       // the curves of the family's Mach numbers
constexpr ChartColor kChartMaximumColor = 0xff000000;      // the line of maximum deflection, dashed
constexpr ChartColor kChartSonicColor = 0xffd07000;        // the sonic line, dash-dotted

// What the family chart and the pressure polar show of the current case.
struct ChartCase {
    std::shared_ptr<const ThetaBetaFamily> Family; // nothing when the gas admits no oblique shock
    std::shared_ptr<const ShockCurve> Current;     // nothing when the free stream has no shocks
    std::string FamilyProblem;                     // why there is no family, a sentence
    std::string CurrentProblem;                    // why there is no current curve, a sentence
    ShockComparison Comparison;                    // the exact shocks and the construction
    double WedgeDegrees = 0;                       // the current wedge half-angle
};

// The sizes of the charts, logical pixels.
constexpr int kThetaBetaWidth = 608, kThetaBetaHeight = 270;
constexpr int kFamilyWidth = 520, kFamilyHeight = 360;
constexpr int kPressureWidth = 520, kPressureHeight = 262;

// How the numbers are written: the separator in force instead of ".".
std::string ChartNumberText(double value, int decimals, const std::string& separator);
// A pressure ratio for the axis and the labels: `digits` decimals, or from 10⁵ on a mantissa
// with `digits` − 1 decimals times a power of ten ("1,01·10⁷").
std::string ChartPressureText(double value, int digits, const std::string& separator);
// The smallest of 1, 2, 5 times a power of ten that splits `span` into at most `marks` parts.
double ChartNiceStep(double span, int marks);

// The θ–β chart of the exact relation for the current free stream: the weak and the strong branch
// meeting at θmax, the band where no shock stays attached, the wedge, the exact shocks and φ.
// With no exact answer, the axes and a sentence.
ChartScene ThetaBetaScene(const ShockComparison& comparison, double wedgeDegrees,
                          const ChartTextMetrics& metrics, const std::string& separator);
// The θ–β–M family of the gas with the current M1's curve in bold and the marks of the case.
ChartScene FamilyScene(const ChartCase& chartCase, const ChartTextMetrics& metrics,
                       const std::string& separator);
// The pressure–deflection polar of the current free stream with the marks of the case.
ChartScene PressureScene(const ChartCase& chartCase, const ChartTextMetrics& metrics,
                         const std::string& separator);

// The pressure axis of the polar of a case: its foot, top and the spacing of its marks.
struct PressureAxis {
    double Floor = 1, Limit = 2, Step = 0.1;
};
PressureAxis PressureAxisFor(const ChartCase& chartCase);

// Makes the charts' case after each Apply as the comparison view does: the family is the gas's
// own and made again only for a new γ (a γ without oblique shocks is told once, not tried at every
// refresh), the current curve only for a new M1 or γ.
class ChartCaseMaker {
  public:
    // comparison: the comparison with the exact theory, or nothing when there is none (then
    // problem says why, a sentence); gamma: the gas's γ.
    ChartCase Make(const ShockComparison* comparison, double gamma, double wedgeDegrees,
                   const std::string& problem);

  private:
    std::optional<double> familyGamma_;
    std::shared_ptr<const ThetaBetaFamily> family_;
    std::string familyProblem_;
    std::shared_ptr<const ShockCurve> current_;
};

class LargestWedgeCache;
struct ComparedCase;
struct FlowState;

// The three scenes of the comparison view after an Apply, as a JSON array (θ–β, family, pressure
// polar), computed as the desktop's comparison window does: the comparison with the exact theory
// of the state the last Apply left, or, when that Apply was ended by a fault, only the sentence
// that says so.
std::string ComparisonChartsJson(ChartCaseMaker& cases, LargestWedgeCache& wedges, const FlowState& state,
                                 bool lastApplyFaulted, const ChartTextMetrics& metrics,
                                 const std::string& separator);
// The same from a comparison already made of state (the one the view's table shows), written
// through json when given, so that a background drawn before is not written again.
std::string ComparisonChartsJson(ChartCaseMaker& cases, const FlowState& state, const ComparedCase& compared,
                                 const ChartTextMetrics& metrics, const std::string& separator,
                                 ChartJsonCache* json = nullptr);

// A message of the exact relations as a sentence (they carry no full stop of their own), and as
// one that continues another (its first letter in lower case, Cyrillic or Latin).
std::string ChartSentence(const std::string& message);
std::string ChartContinuing(const std::string& message);

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layer "Дополнительные построения" over the polar diagram: what exact theory adds to the
// construction on the same hodograph.  The tangents from O to both branches of the polar at the
// largest deflection θmax of this free stream, the exact weak point Cт and the strong point C′
// where the upper wedge ray cuts the polar, the sonic circle |V| = a* with its crossings of the
// polar, and a one-line verdict on whether the shock is attached.  Drawn on any canvas in the
// diagram's pixels, in colours the diagram itself never uses, so both editions draw it alike.
#include <cstddef>
#include <string>

#include "FlowState.h"
#include "HodographLandmarks.h"
#include "TCanvas.h"

namespace zk {

class ExtrasLayer {
  public:
    // The layer's pieces in the order they are drawn.
    enum class Part {
        Tangent,     // the dashed tangents, their points and the label of θmax
        WedgePoints, // the exact weak and strong points on the wedge ray
        SonicCircle, // the circle |V| = a*, its label and the sonic points
        Verdict,     // the line on attachment in the picture's lower part
    };
    static constexpr std::size_t kParts = 4;

    // The colours: none of them is black, green, blue, red or the clearing fill's grey.
    static constexpr TColor kTangentColor = 0x800080; // purple
    static constexpr TColor kPointColor = 0x004B96;   // brown
    static constexpr TColor kSonicColor = 0x808000;   // teal

    // The landmarks for the solution Apply left in state: its gas, V1 and wedge.
    static HodographLandmarks LandmarksOf(const FlowState& state);

    // The verdict line, e.g. "χ = 20° < θmax(M1) = 22,97°: скачок присоединён", with the given
    // decimal separator; the reason when the free stream has no oblique shock at all.
    static std::string VerdictText(const HodographLandmarks& landmarks, char decimalSeparator);
    // "θmax = 22,97°".
    static std::string ThetaMaxText(double thetaMax, char decimalSeparator);

    // What the step-by-step view says about each piece, for the solution in state: a title of a
    // few words and a caption with the case's numbers (UTF-8).
    static std::string StepTitle(Part part);
    static std::string StepCaption(Part part, const FlowState& state, char decimalSeparator);

    // Draws the first `parts` pieces of the layer over the diagram on canvas (609 x 449 pixels)
    // for the solution in state, which must have been written by a run of Apply that ended.  The
    // pen, its position and everything the next run of Apply depends on are left as they were.
    static void Draw(TCanvas& canvas, const FlowState& state, char decimalSeparator,
                     std::size_t parts = kParts);
};

} // namespace zk

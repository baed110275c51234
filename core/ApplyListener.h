// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What Apply reports while it runs, in the order it happens: the drawing of the polar diagram
// between the numbered steps of the construction and the result labels.  A fault raised by the
// solver (or by a listener) ends the run; whatever the listener did before stays done.
#include <cstdint>
#include <string>

#include "Numbers.h"

namespace zk {

// The result labels and formula pictures of the main window that Apply writes or shows.
enum class ResultItem {
    Label1,  // rho1/rho2
    Label2,  // P2/P1
    Label3,  // chi max, degrees
    Label6,  // Mach number
    Label8,  // v2/v1
    Label11, // T2/T1
    Label12, // c1
    Label13, // gamma
    Image2,  // formula V2/V1 = rho1/rho2 =
    Image3,  // formula P2/P1 =
    Image4,  // formula v2/v1 =
    Image5,  // formula T2/T1 =
};

class ApplyListener {
public:
    virtual ~ApplyListener() = default;

    // Result labels and their formula pictures.
    virtual void SetCaption(ResultItem /*label*/, const std::string& /*text*/) {}
    virtual void SetVisible(ResultItem /*item*/, bool /*visible*/) {}

    // Step 2: clear the picture and draw the axes.
    virtual void ClearAndDrawAxes() {}
    // Step 6: pass s = +1 (lower branch), then s = -1 (upper branch); one call per sample of the
    // sweep with its polar ordinate p (m/s).
    virtual void PolarPassBegin(int /*s*/, std::int32_t /*pointAx*/) {}
    virtual void PolarSample(int /*s*/, std::int32_t /*i*/, Extended /*p*/) {}
    virtual void PolarPassEnd(int /*s*/) {}
    // Step 7: the wedge rays, their hatching and the arc of chi (only for a non-zero wedge).
    virtual void Wedge() {}
    // Step 8: the pen width for the shock construction.
    virtual void ShockPen() {}
    // Step 9: the marker pixel of C, the line from B to the Vy axis once BcInterceptY is known,
    // and the shock lines, letters and arc of phi once ShockAngle is stored.
    virtual void MarkC() {}
    virtual void ConstructionLine(Extended /*bcInterceptY*/) {}
    virtual void ShockConstruction(Extended /*bcInterceptY*/) {}
    // Step 10: the fixed letters and the V1 arrow.
    virtual void FixedLabels(std::int32_t /*pointAx*/) {}
    // Step 12: the wedge angle u (radians) to which the detached search had to turn the wedge
    // back before the polar was cut, and the shock angle the construction gives there (radians),
    // before it is corrected towards the real wedge.
    virtual void ReducedWedge(Extended /*u*/, Extended /*shockAngleAtU*/) {}
    // Step 12: the detached shock, drawn from the flow state once its arc end is known.
    virtual void DetachedShock() {}
    // Step 13: the main window shows the new picture and labels.
    virtual void Repaint() {}
};

} // namespace zk

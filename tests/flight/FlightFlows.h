// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Flow states the flight window is tested with: the two worked solutions for c1 = 340 m/s,
// gamma = 1.4 and V1 = 680 m/s, as the solver leaves them.
#include "FlowState.h"
#include "Numbers.h"

namespace zk::test {

// Wedge 20 degrees: attached shock, C = (460, 166), shock angle 52.73 degrees.
inline FlowState AttachedFlow() {
    FlowState flow;
    flow.SoundSpeed = 340;
    flow.Gamma = 1.4;
    flow.V1 = 680;
    flow.ScaleX = flow.ScaleY = 330.0 / 680;
    flow.WedgeAngle = static_cast<double>(20 * Pi / 180);
    flow.ShockAngle = 0.92027;
    flow.PointCx = 460;
    flow.PointCy = 166;
    return flow;
}

// Wedge 30 degrees: detached shock, C found at 23 degrees = (382, 160), corrected shock angle
// 56.19 degrees, stand-off radius 21 pixels, arc end 17 pixels before the tip and 12 above the axis.
inline FlowState DetachedFlow() {
    FlowState flow = AttachedFlow();
    flow.WedgeAngle = static_cast<double>(30 * Pi / 180);
    flow.ShockAngle = 0.98075;
    flow.PointCx = 382;
    flow.PointCy = 160;
    flow.ShockDetached = true;
    flow.DetachedRadius = 21;
    flow.DetachedEndX = 17;
    flow.DetachedEndY = 12;
    return flow;
}

} // namespace zk::test

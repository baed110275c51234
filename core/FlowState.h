// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program-wide flow state through which the windows share the gas, the two inputs of a
// solution and the solution itself.  Plain fields, read and written directly.
#include <cstdint>

namespace zk {

struct FlowState {
    double SoundSpeed = 0;        // m/s, free-stream speed of sound c1
    double Gamma = 0;             // ratio of specific heats
    double ScaleX = 0;            // pixels per m/s of the polar diagram, 330 / V1
    double ScaleY = 0;            // pixels per m/s, same value as ScaleX
    double WedgeAngle = 0;        // radians, wedge half-angle
    double ShockAngle = 0;        // radians, shock angle; 0 until a solution sets it
    std::int32_t PointCx = 0;     // m/s, Vx of point C; 0 = no intersection found
    std::int32_t PointCy = 0;     // m/s, Vy of point C
    std::int32_t V1 = 0;          // m/s, free-stream velocity
    std::int32_t DetachedEndX = 0;   // pixels, detached shock: horizontal offset of the arc's end
    std::int32_t DetachedEndY = 0;   // pixels, detached shock: height of the arc's end
    std::int32_t DetachedRadius = 0; // pixels, detached shock: radius of the arc (stand-off)
    bool ShockDetached = false;      // no attached shock; the detached approximation was drawn
};

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flight window's physics and picture without the window: the snapshot of the flow state, the
// particle table and its motion past the attached or detached shock, the static scene (wedge,
// shock, streamlines, angle marks, mouse line) and the wedge angle under the mouse.  Everything is
// drawn on a TCanvas, so the window, the tests and the benchmark share the same code.
//
// Flow coordinates: x is the window column, y the height above the axis (row 250), growing
// upwards.  The wedge tip is the flow point (200, 0), the window point (200, 250).  Every flow
// point is shown twice, above the axis and mirrored below it.
#include <array>
#include <cstdint>
#include <string>

#include "FlowState.h"
#include "RasterCanvas.h"
#include "TCanvas.h"

namespace zk {

// The flight window's own copy of the flow state, taken at every activation.
struct FlightSnapshot {
    double FlightV2x = 0;                  // m/s, downstream velocity (point C), x component
    double FlightV2y = 0;                  // m/s, downstream velocity, y component
    double FlightV1 = 0;                   // m/s, free-stream velocity
    double FlightWedgeAngle = 0;           // radians, wedge half-angle
    double FlightShockAngle = 0;           // radians, shock angle
    bool FlightShockDetached = false;      // the shock stands detached and curved
    std::int32_t FlightDetachedRadius = 0; // pixels, stand-off radius of the curved shock
    std::int32_t FlightDetachedEndX = 0;   // pixels, horizontal offset of the arc's end from the tip
    std::int32_t FlightDetachedEndY = 0;   // pixels, height of the arc's end
};

// One gas particle in flow coordinates.
struct Particle {
    double x = 0;  // pixels, window column
    double y = 0;  // pixels, height above the axis
    double vx = 0; // m/s
    double vy = 0; // m/s
};

inline constexpr std::int32_t kParticleSlots = 500;
inline constexpr std::int32_t kMinParticleCount = 10;
using ParticleTable = std::array<Particle, kParticleSlots>;

// The column or height of a dot's corner: v rounded to whole pixels, ties to even, as the
// window's rounding of the extended value does, only quicker for the thousands of dots a tick.
std::int32_t DotPixel(double v);

// The window's cursor as the mouse handlers leave it.
enum class TCursor { crDefault = 0, crCross = -3 };

// The two check boxes as the scene reads them; a detached scene unchecks and disables the
// streamline box, an attached one enables it again.
struct SceneControls {
    bool ShockChecked = false;       // "Ударная волна"
    bool StreamlinesChecked = false; // "Линии тока"
    bool StreamlinesEnabled = true;
};

class FlightModel {
  public:
    static constexpr std::int32_t kTipX = 200;   // pixels, column of the wedge tip
    static constexpr std::int32_t kAxisY = 250;  // pixels, row of the axis
    static constexpr std::int32_t kRightX = 600; // pixels, where the scene's lines end
    static constexpr TColor kMouseLineColor = 0xA4A0A0;
    static constexpr std::int32_t kClientWidth = 591;  // pixels, the window's client area
    static constexpr std::int32_t kClientHeight = 498; // pixels

    // The window's font, "MS Sans Serif" 11 pixels high, in which the angle texts are written.
    static FontSpec WindowFont();

    // Copies the flow state into the snapshot.
    void TakeSnapshot(const FlowState& flow);
    // Puts the first ParticleCount particles at their start points left of the window, from the
    // program's random generator.
    void StartParticles();

    // The number of particles in use, brought into 10..500 so the table is never overrun.
    void SetParticleCount(std::int32_t count);
    std::int32_t ParticleCount() const { return particleCount_; }

    // FlightSpeed from the speed scroll bar: 10 / max * position pixels per tick at V1.
    void SetSpeedFromScrollBar(std::int32_t position, std::int32_t max);

    // One motion tick: erase each particle in white, advance it, turn it at the shock, bring it
    // back at the left edge when it has left the window, and draw it in black.  A scroll bar at 0
    // stands the particles still and only draws them again.
    void MotionTick(TCanvas& canvas, std::int32_t scrollPosition);

    // One scene tick: the mouse line, the wedge, the streamlines and the shock, each hidden
    // element drawn in white.
    void SceneTick(TCanvas& canvas, SceneControls& controls);

    // The pointer moved to client point (X, Y): angle, panel text, cursor and pick field.
    void MouseMove(std::int32_t X, std::int32_t Y);
    // A button was released at (X, Y).  Returns true when this picks a wedge angle; the snapshot's
    // wedge angle is then the picked angle and degrees the whole degrees for the main window.
    bool PickWedgeAngle(std::int32_t X, std::int32_t Y, std::int32_t& degrees);

    TCursor Cursor() const { return cursor_; }
    const std::string& PanelCaption() const { return panelCaption_; }

    // The flight window's shared variables, read and written by the window and its ticks.
    FlightSnapshot Snapshot;
    ParticleTable Particles{};
    double FlightSpeed = 0;    // pixels per tick for a particle moving at FlightV1
    double MouseAngle = 0;     // radians, pointer seen from the tip, positive above the axis
    double PrevMouseAngle = 0; // radians, the mouse line the previous scene tick drew
    bool MouseInField = false; // the pointer lies in the pick field
    double ArcParam = 0;       // radians, running parameter of the detached shock's arc

  private:
    void DrawParticle(TCanvas& canvas, const Particle& p) const;
    void AngleArc(TCanvas& canvas, std::int32_t radius, double angle) const;
    void MouseLine(TCanvas& canvas, double angle) const;
    void DrawWedge(TCanvas& canvas) const;
    void DrawStreamlines(TCanvas& canvas, const SceneControls& controls) const;
    void DrawDetachedBranch(TCanvas& canvas, int side);

    std::int32_t particleCount_ = 0;
    TCursor cursor_ = TCursor::crDefault;
    std::string panelCaption_;
};

} // namespace zk

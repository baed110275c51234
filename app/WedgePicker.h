// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Picks the wedge angle from a chart as the flight window picks it from its scene: the angle goes
// into the main window's wedge field and Apply runs by the button, so the diagram, the result
// labels and every open view follow.  A drag asks for a new angle with every mouse move; those are
// gathered so that Apply runs at most once per display frame, with the latest angle.
#include <QObject>
#include <functional>
#include <optional>

#include "TTimer.h"

namespace zk {
class FlightHost;
class FrameClock;
class TSpinEdit;
} // namespace zk

class WedgePicker : public QObject {
    Q_OBJECT
  public:
    static constexpr int kFrameMilliseconds = 16; // one frame of a 60 Hz display

    // host: the main window's wedge field setter and button; field: that wedge field, whose limits
    // bound every pick.  Both must outlive the picker.  The frames come from clock (the display's
    // when none is given).
    WedgePicker(zk::FlightHost& host, const zk::TSpinEdit& field, QObject* parent = nullptr,
                zk::FrameClock* clock = nullptr);

    // The whole degree nearest to thetaDegrees, clamped to [0, axisLimit] and the field's limits.
    int AngleFor(double thetaDegrees, double axisLimitDegrees) const;

    // A press picks at once; moves while the button is held are gathered; the release applies what
    // is still waiting.  An angle equal to the field's value is applied only by the press.
    void Press(int degrees);
    void Move(int degrees);
    void Release(int degrees);
    // The arrow keys: one degree up or down from the field's value, at once; nothing at a limit.
    void Step(int degrees);

    // Applies the angle that waits, if any and if it differs from the field's value (the frame's
    // timer runs this; tests call it directly).
    void Flush();
    bool Pending() const { return pending_.has_value(); }

    // Run after every Apply the picker started, also one that a fault ended.
    std::function<void()> AfterApply;

  private:
    void ApplyAngle(int degrees);
    int Clamped(int degrees) const;

    zk::FlightHost& host_;
    const zk::TSpinEdit& field_;
    std::optional<int> pending_;
    zk::TTimer frame_;
};

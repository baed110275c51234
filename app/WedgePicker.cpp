// SPDX-License-Identifier: GPL-3.0-or-later
#include "WedgePicker.h"

#include <algorithm>
#include <cmath>

#include "ChartScene.h"
#include "ErrorBox.h"
#include "FlightHost.h"
#include "TSpinEdit.h"

WedgePicker::WedgePicker(zk::FlightHost& host, const zk::TSpinEdit& field, QObject* parent,
                         zk::FrameClock* clock)
    : QObject(parent), host_(host), field_(field), frame_(nullptr, clock) {
    // Started by a move, ticking in the next frame, where Flush stops it again.
    frame_.setInterval(kFrameMilliseconds);
    connect(&frame_, &zk::TTimer::timeout, this, zk::Guarded([this] { Flush(); }));
}

int WedgePicker::Clamped(int degrees) const {
    // As the field itself: equal limits mean no limits.
    const int low = field_.MinValue(), high = field_.MaxValue();
    return low < high ? std::clamp(degrees, low, high) : degrees;
}

int WedgePicker::AngleFor(double thetaDegrees, double axisLimitDegrees) const {
    return zk::WedgeAngleFor(thetaDegrees, axisLimitDegrees, field_.MinValue(), field_.MaxValue());
}

void WedgePicker::Press(int degrees) {
    frame_.stop();
    pending_.reset();
    ApplyAngle(Clamped(degrees));
}

void WedgePicker::Move(int degrees) {
    pending_ = Clamped(degrees);
    if (!frame_.isActive())
        frame_.start();
}

void WedgePicker::Release(int degrees) {
    pending_ = Clamped(degrees);
    Flush();
}

void WedgePicker::Step(int degrees) {
    // At a limit of the field the key changes nothing, and nothing is run again.
    const int value = field_.Value();
    const int target = Clamped(value + degrees);
    if (target != value)
        Press(target);
}

void WedgePicker::Flush() {
    frame_.stop();
    if (!pending_)
        return;
    const int degrees = *pending_;
    pending_.reset();
    if (degrees != field_.Value())
        ApplyAngle(degrees);
}

void WedgePicker::ApplyAngle(int degrees) {
    struct After {
        const std::function<void()>& then;
        ~After() {
            if (then)
                then();
        }
    } after{AfterApply};
    host_.SetWedgeField(degrees);
    host_.ClickApply();
}

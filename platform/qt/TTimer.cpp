// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTimer.h"

#include "FrameClock.h"

namespace zk {

TTimer::TTimer(QObject* parent, FrameClock* clock)
    : QObject(parent), clock_(clock ? *clock : FrameClock::Display()) {
    clock_.Add(this);
}

TTimer::~TTimer() {
    SetEnabled(false);
    clock_.Remove(this);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled) {
        ++id_;
        // The first tick comes one interval after enabling, at the first frame from then on; a
        // timer enabled by a tick of this frame never ticks in the same frame.
        due_ = clock_.NowMs() + interval_;
        enabledInFrame_ = clock_.InFrame() ? clock_.frame_ : -1;
    }
    clock_.TimerEnabled(enabled);
}

void TTimer::FrameTick(std::int64_t now, std::int64_t frame) {
    if (!enabled_ || frame == enabledInFrame_ || now < due_)
        return;
    // Whatever fell due since the last tick is merged into this one.
    due_ = now + interval_;
    emit timeout();
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameClock.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

#include "TTimer.h"

namespace zk {

namespace {

// The display's frames, from one precise system timer of a frame's period that runs only while
// a timer of the program is enabled, so an idle program is never woken.
class DisplayFrameClock : public FrameClock {
  public:
    DisplayFrameClock() {
        elapsed_.start();
        frames_.setInterval(kFramePeriod);
        frames_.setTimerType(Qt::PreciseTimer);
        connect(&frames_, &QTimer::timeout, this, [this] { RunFrame(); });
    }

    std::int64_t NowMs() const override { return elapsed_.elapsed(); }

  protected:
    void SetRunning(bool running) override {
        if (running)
            frames_.start();
        else
            frames_.stop();
    }

  private:
    QElapsedTimer elapsed_;
    QTimer frames_;
};

} // namespace

FrameClock::~FrameClock() = default;

FrameClock& FrameClock::Display() {
    // Never destroyed: windows and their timers may outlive the application object at exit.
    static FrameClock* const display = new DisplayFrameClock;
    return *display;
}

void FrameClock::RunFrame() {
    if (inFrame_)
        return;
    inFrame_ = true;
    ++frame_;
    const std::int64_t now = NowMs();
    // Timers made during the frame are appended and wait for their first due time; timers that
    // go during the frame leave a null behind, removed when the frame is over.
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        if (TTimer* timer = timers_[i])
            timer->FrameTick(now, frame_);
    }
    timers_.erase(std::remove(timers_.begin(), timers_.end(), nullptr), timers_.end());
    inFrame_ = false;
    emit FrameEnded();
}

void FrameClock::Add(TTimer* timer) {
    timers_.push_back(timer);
}

void FrameClock::Remove(TTimer* timer) {
    const auto it = std::find(timers_.begin(), timers_.end(), timer);
    if (it == timers_.end())
        return;
    if (inFrame_)
        *it = nullptr;
    else
        timers_.erase(it);
}

void FrameClock::TimerEnabled(bool enabled) {
    const bool wasRunning = Running();
    enabledTimers_ += enabled ? 1 : -1;
    if (Running() != wasRunning)
        SetRunning(Running());
}

} // namespace zk

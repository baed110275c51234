// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pace at which the window system hands out timer ticks: once per display frame, about 60
// times a second, however short the interval a timer asks for (the system's timer resolution is
// the frame).  In each frame every enabled timer that has come due ticks once, in the order the
// timers were made, and then the frame's end is announced, so that a window repaints once per
// frame whatever its timers drew.  Frames run only while some timer is enabled.
//
// The display's clock is Display(); tests derive their own and step it by hand.
#include <QObject>
#include <cstdint>
#include <vector>

namespace zk {

class TTimer;

class FrameClock : public QObject {
    Q_OBJECT
  public:
    static constexpr int kFramePeriod = 16; // ms, about 60 frames a second

    ~FrameClock() override;

    // Milliseconds on a monotonic clock.
    virtual std::int64_t NowMs() const = 0;

    // One frame: each enabled timer that is due ticks once, then FrameEnded is emitted.  A frame
    // that comes while one is still running (a tick's error box runs its own event loop) is
    // merged into the running one: it does nothing.
    void RunFrame();
    bool InFrame() const { return inFrame_; }
    // Whether frames are wanted: some timer of this clock is enabled.
    bool Running() const { return enabledTimers_ > 0; }

    // The clock of the display, made on first use; it lives as long as the application.
    static FrameClock& Display();

  signals:
    // The frame's ticks are done: what they drew can be shown.
    void FrameEnded();

  protected:
    FrameClock() = default;
    // Starts the frames when the first timer is enabled and stops them when the last one is
    // disabled.
    virtual void SetRunning(bool running) = 0;

  private:
    friend class TTimer;
    void Add(TTimer* timer);
    void Remove(TTimer* timer);
    void TimerEnabled(bool enabled);

    std::vector<TTimer*> timers_; // in the order they were made; null where one went mid-frame
    int enabledTimers_ = 0;
    bool inFrame_ = false;
    std::int64_t frame_ = 0; // the number of the running or last frame
};

} // namespace zk

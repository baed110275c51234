// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's timer: enabled or not, the interval it asks for, and its tick (timeout), which the
// frame clock delivers at most once per display frame.  Setting Enabled to the value it already
// has does nothing (the period is not restarted and no tick is added); disabling stops the
// ticks at once, also for the rest of a running frame.  Ticks that fall due while a handler
// runs, or while the frame is late, are merged into the next one, never queued.
#include <QObject>
#include <cstdint>

namespace zk {

class FrameClock;

class TTimer : public QObject {
    Q_OBJECT
  public:
    // A disabled timer on the given clock (the display's when none is given).
    explicit TTimer(QObject* parent = nullptr, FrameClock* clock = nullptr);
    ~TTimer() override;

    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void start() { SetEnabled(true); }
    void stop() { SetEnabled(false); }
    bool isActive() const { return enabled_; }

    // The requested period; the frame bounds it below.
    void setInterval(int ms) { interval_ = ms < 0 ? 0 : ms; }
    int interval() const { return interval_; }
    // The accuracy asked of the system; the frame clock serves both kinds at its resolution.
    void setTimerType(Qt::TimerType type) { type_ = type; }
    Qt::TimerType timerType() const { return type_; }
    // A new number each time the timer is enabled, -1 while it is disabled: the same number
    // means the same running period.
    int timerId() const { return enabled_ ? id_ : -1; }

  signals:
    void timeout();

  private:
    friend class FrameClock;
    // Called by the clock in each frame: ticks once when the timer is due at time now.
    void FrameTick(std::int64_t now, std::int64_t frame);

    FrameClock& clock_;
    bool enabled_ = false;
    int interval_ = 0; // ms
    Qt::TimerType type_ = Qt::CoarseTimer;
    int id_ = 0;
    std::int64_t due_ = 0;             // ms on the clock: the earliest time of the next tick
    std::int64_t enabledInFrame_ = -1; // a timer enabled during a frame waits for the next
};

} // namespace zk

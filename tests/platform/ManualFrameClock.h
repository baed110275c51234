// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A frame clock for tests: its time moves only when the test says so, and each step runs one
// frame (while some timer is enabled), so pacing is tested without sleeping or timing anything.
#include <cstdint>

#include "FrameClock.h"

class ManualFrameClock : public zk::FrameClock {
  public:
    std::int64_t NowMs() const override { return now_; }

    // Moves the time on by ms and runs the frame that falls there, as the display would.
    void Step(std::int64_t ms = kFramePeriod) {
        now_ += ms;
        if (Running())
            RunFrame();
    }
    // Moves the time on without a frame.
    void Advance(std::int64_t ms) { now_ += ms; }
    int RunningChanges() const { return runningChanges_; }

  protected:
    void SetRunning(bool) override { ++runningChanges_; }

  private:
    std::int64_t now_ = 1000; // ms
    int runningChanges_ = 0;
};

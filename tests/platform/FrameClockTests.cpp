// SPDX-License-Identifier: GPL-3.0-or-later
// The timers at the display's pace: one tick per frame at most, however short the interval,
// merged when frames are late; enabling and disabling as the window system does it; the order
// of the timers within a frame; faults in a tick.  The clock is stepped by hand.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ErrorBox.h"
#include "ManualFrameClock.h"
#include "RecordingErrorBox.h"
#include "TTimer.h"

namespace {

class FramePacing : public ::testing::Test {
  protected:
    ManualFrameClock clock;
    std::vector<std::string> ticks; // "1" or "2" per tick, "|" at the end of each frame

    std::unique_ptr<zk::TTimer> MakeTimer(const std::string& name, int interval = 5) {
        auto timer = std::make_unique<zk::TTimer>(nullptr, &clock);
        timer->setInterval(interval);
        QObject::connect(timer.get(), &zk::TTimer::timeout, [this, name] { ticks.push_back(name); });
        return timer;
    }
    void SetUp() override {
        QObject::connect(&clock, &zk::FrameClock::FrameEnded, [this] { ticks.push_back("|"); });
    }
    int TicksOf(const std::string& name) const {
        int n = 0;
        for (const std::string& t : ticks)
            n += t == name;
        return n;
    }
};

TEST_F(FramePacing, AtMostOneTickPerFrameAndLateTicksMerged) {
    auto timer = MakeTimer("1");
    timer->SetEnabled(true);
    for (int frame = 0; frame < 60; ++frame)
        clock.Step(); // 16 ms apart: a 5 ms timer could have ticked three times in each
    EXPECT_EQ(TicksOf("1"), 60) << "one tick per frame, about 60 a second";

    // A handler that held the loop for half a second: the frames and ticks that fell due
    // meanwhile come as one.
    ticks.clear();
    clock.Step(500);
    EXPECT_EQ(ticks, (std::vector<std::string>{"1", "|"}));
}

TEST_F(FramePacing, FirstTickComesOneIntervalAfterEnabling) {
    auto timer = MakeTimer("1", 5);
    timer->SetEnabled(true);
    clock.Step(3);
    EXPECT_EQ(TicksOf("1"), 0) << "3 ms after enabling a 5 ms timer is not due";
    clock.Step(2);
    EXPECT_EQ(TicksOf("1"), 1);
    clock.Step(4);
    EXPECT_EQ(TicksOf("1"), 1) << "4 ms after its tick";

    // A long interval spans several frames.
    auto slow = MakeTimer("slow", 40);
    slow->SetEnabled(true);
    for (int frame = 0; frame < 5; ++frame)
        clock.Step(); // 16, 32, 48 (tick), 64, 80
    EXPECT_EQ(TicksOf("slow"), 1);
    clock.Step(); // 96: 48 ms after the tick
    EXPECT_EQ(TicksOf("slow"), 2);
}

TEST_F(FramePacing, EnablingAnEnabledTimerNeitherRestartsNorDoubles) {
    auto timer = MakeTimer("1", 5);
    timer->SetEnabled(true);
    const int id = timer->timerId();
    clock.Advance(4);
    timer->SetEnabled(true); // would move the first tick to 9 ms if it restarted the period
    timer->start();
    EXPECT_EQ(timer->timerId(), id);
    clock.Step(1);
    EXPECT_EQ(ticks, (std::vector<std::string>{"1", "|"}));
    clock.Step();
    EXPECT_EQ(TicksOf("1"), 2) << "not doubled";

    timer->SetEnabled(false);
    EXPECT_EQ(timer->timerId(), -1);
    timer->SetEnabled(true);
    EXPECT_NE(timer->timerId(), id) << "enabled again: a new period";
}

TEST_F(FramePacing, DisablingStopsTheTicksAtOnce) {
    auto first = MakeTimer("1");
    auto second = MakeTimer("2");
    first->SetEnabled(true);
    second->SetEnabled(true);
    clock.Step();
    // The first timer's handler disables the second one: it does not tick in the same frame.
    QObject::connect(first.get(), &zk::TTimer::timeout, [&] { second->SetEnabled(false); });
    ticks.clear();
    clock.Step();
    EXPECT_EQ(ticks, (std::vector<std::string>{"1", "|"}));
    first->SetEnabled(false);
    ticks.clear();
    clock.Step();
    clock.Step();
    EXPECT_TRUE(ticks.empty()) << "no frames at all without an enabled timer";
}

TEST_F(FramePacing, TimersTickInTheOrderTheyWereMadeThenTheFrameEnds) {
    auto first = MakeTimer("1");
    auto second = MakeTimer("2");
    second->SetEnabled(true); // enabled first, made second
    first->SetEnabled(true);
    clock.Step();
    clock.Step();
    EXPECT_EQ(ticks, (std::vector<std::string>{"1", "2", "|", "1", "2", "|"}));
}

TEST_F(FramePacing, TimerEnabledByATickWaitsForTheNextFrame) {
    auto first = MakeTimer("1");
    auto second = MakeTimer("2", 0);
    first->SetEnabled(true);
    QObject::connect(first.get(), &zk::TTimer::timeout, [&] { second->SetEnabled(true); });
    clock.Step();
    EXPECT_EQ(TicksOf("2"), 0) << "a 0 ms timer enabled in this frame";
    clock.Step();
    EXPECT_EQ(TicksOf("2"), 1);
}

TEST_F(FramePacing, FramesRunOnlyWhileATimerIsEnabled) {
    auto first = MakeTimer("1");
    auto second = MakeTimer("2");
    EXPECT_FALSE(clock.Running());
    first->SetEnabled(true);
    second->SetEnabled(true);
    EXPECT_TRUE(clock.Running());
    EXPECT_EQ(clock.RunningChanges(), 1) << "started once";
    first->SetEnabled(false);
    EXPECT_TRUE(clock.Running());
    second.reset(); // a timer that goes while enabled
    EXPECT_FALSE(clock.Running());
    EXPECT_EQ(clock.RunningChanges(), 2);
}

TEST_F(FramePacing, AFrameDuringAFrameIsMergedNotNested) {
    // A tick's error box runs its own event loop, in which the display's next frame comes.
    auto timer = MakeTimer("1");
    timer->SetEnabled(true);
    int depth = 0;
    int deepest = 0;
    QObject::connect(timer.get(), &zk::TTimer::timeout, [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        clock.Step();
        --depth;
    });
    clock.Step();
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(ticks, (std::vector<std::string>{"1", "|"}));
}

TEST_F(FramePacing, TimerDeletedByAnotherTimersTick) {
    auto first = MakeTimer("1");
    auto second = MakeTimer("2");
    first->SetEnabled(true);
    second->SetEnabled(true);
    QObject::connect(first.get(), &zk::TTimer::timeout, [&] { second.reset(); });
    clock.Step();
    clock.Step();
    EXPECT_EQ(ticks, (std::vector<std::string>{"1", "|", "1", "|"}));
}

TEST_F(FramePacing, FaultInATickIsReportedOnceAndTheTimerGoesOn) {
    RecordingErrorBox boxes;
    auto first = MakeTimer("1");
    auto second = MakeTimer("2");
    int calls = 0;
    QObject::connect(first.get(), &zk::TTimer::timeout, zk::Guarded([&] {
                         if (++calls <= 2)
                             throw std::runtime_error("Floating point division by zero");
                     }));
    first->SetEnabled(true);
    second->SetEnabled(true);
    clock.Step();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, QStringLiteral("Floating point division by zero."));
    EXPECT_EQ(TicksOf("2"), 1) << "the other timer still ticks in that frame";
    clock.Step();
    EXPECT_EQ(boxes.Boxes.size(), 2u) << "one box per failing tick";
    clock.Step();
    clock.Step();
    EXPECT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(calls, 4) << "the timer kept running";
    EXPECT_TRUE(first->isActive());
}

} // namespace

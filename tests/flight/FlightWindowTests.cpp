// SPDX-License-Identifier: GPL-3.0-or-later
// The flight window driven through its handlers: its controls, activation and closing, the
// timers, the ticks on its surface, and picking a wedge angle with the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <functional>
#include <string>
#include <vector>

#include "Errors.h"
#include "FlightFlows.h"
#include "FlightHost.h"
#include "Numbers.h"
#include "Unit3.h"

namespace {

using zk::test::AttachedFlow;
using zk::test::DetachedFlow;

// The main window as the flight window sees it: records what it is asked to do; Apply either
// installs a prepared solution or faults.
class FakeHost : public zk::FlightHost {
  public:
    void SetWedgeField(int degrees) override { Calls.push_back("wedge " + std::to_string(degrees)); }
    void ClickApply() override {
        Calls.push_back("apply");
        if (OnApply)
            OnApply();
    }
    void ClickGraphics() override { Calls.push_back("graphics"); }

    std::vector<std::string> Calls;
    std::function<void()> OnApply;
};

class FlightWindow : public ::testing::Test {
  protected:
    zk::FlowState flow = AttachedFlow();
    FakeHost host;
    TForm3 form{flow, host};

    // Opens the window as the main window's menu item does, without showing it.
    void Open(int count = 10) {
        form.SetParticleCount(count);
        form.FormActivate();
    }
};

TEST_F(FlightWindow, BuiltAsDesigned) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Полёт индивидуальных частиц"));
    EXPECT_EQ(form.size(), QSize(591, 498));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "not resizable";
    EXPECT_EQ(form.CheckBox1->text(), QStringLiteral("Ударная волна"));
    EXPECT_EQ(form.CheckBox1->geometry(), QRect(24, 16, 105, 17));
    EXPECT_EQ(form.CheckBox2->text(), QStringLiteral("Линии тока"));
    EXPECT_EQ(form.CheckBox2->geometry(), QRect(24, 40, 89, 17));
    EXPECT_FALSE(form.CheckBox1->isChecked());
    EXPECT_FALSE(form.CheckBox2->isChecked());
    EXPECT_EQ(form.ScrollBar1->geometry(), QRect(120, 464, 193, 17));
    EXPECT_EQ(form.ScrollBar1->minimum(), 0);
    EXPECT_EQ(form.ScrollBar1->maximum(), 100);
    EXPECT_EQ(form.ScrollBar1->value(), 50);
    EXPECT_EQ(form.ScrollBar1->toolTip(), QStringLiteral("скорость"));
    EXPECT_EQ(form.Panel1->geometry(), QRect(473, 8, 88, 33));
    EXPECT_EQ(form.PanelCaption(), QString());
    EXPECT_EQ(form.Image9->geometry(), QRect(12, 5, 20, 20));
    EXPECT_EQ(form.Image9->parentWidget(), form.Panel1);
    for (zk::TTimer* timer : {form.Timer1, form.Timer2}) {
        EXPECT_EQ(timer->interval(), 5);
        EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
        EXPECT_FALSE(timer->isActive());
    }
    EXPECT_EQ(form.Model().FlightSpeed, 5.0);
    EXPECT_EQ(form.Model().ParticleCount(), 0) << "until the first opening";
}

TEST_F(FlightWindow, ScrollBarSetsTheSpeed) {
    form.ScrollBar1->setValue(0);
    EXPECT_EQ(form.Model().FlightSpeed, 0.0);
    form.ScrollBar1->setValue(100);
    EXPECT_EQ(form.Model().FlightSpeed, 10.0);
    form.ScrollBar1->setValue(37);
    EXPECT_NEAR(form.Model().FlightSpeed, 3.7, 1e-15);
}

TEST_F(FlightWindow, ActivationTakesASnapshotAndRestartsTheParticles) {
    zk::RandomSeed = 0;
    Open(3); // brought up to 10
    EXPECT_EQ(form.Model().ParticleCount(), 10);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(form.Timer2->isActive());
    EXPECT_EQ(form.Model().Snapshot.FlightV2x, 460);
    EXPECT_EQ(form.Model().Snapshot.FlightV2y, 166);
    EXPECT_EQ(form.Model().Snapshot.FlightV1, 680);
    EXPECT_EQ(form.Model().Snapshot.FlightShockAngle, 0.92027);
    EXPECT_EQ(form.Model().Particles[0].x, -600);
    EXPECT_EQ(form.Model().Particles[0].y, 7);

    // A new solution reaches the window at its next activation, which must not restart the
    // period of the running timers.
    flow = DetachedFlow();
    const int timer1 = form.Timer1->timerId();
    const int timer2 = form.Timer2->timerId();
    form.FormActivate();
    EXPECT_EQ(form.Timer1->timerId(), timer1);
    EXPECT_EQ(form.Timer2->timerId(), timer2);
    EXPECT_TRUE(form.Model().Snapshot.FlightShockDetached);
    EXPECT_EQ(form.Model().Snapshot.FlightDetachedRadius, 21);
    EXPECT_NE(form.Model().Particles[0].x, -600) << "the generator goes on, it is never reseeded";
}

TEST_F(FlightWindow, ClosingStopsBothTimersAndKeepsTheState) {
    Open();
    form.ScrollBar1->setValue(30);
    form.CheckBox1->setChecked(true);
    form.show();
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(form.ScrollBar1->value(), 30);
    EXPECT_TRUE(form.CheckBox1->isChecked());
    EXPECT_NEAR(form.Model().FlightSpeed, 3.0, 1e-15);
}

TEST_F(FlightWindow, ParticleAppearsAfter120TicksOnTheSurface) {
    zk::RandomSeed = 0;
    Open(); // particle 0 at x = -600, y = 7
    for (int tick = 0; tick < 119; ++tick)
        form.Timer1Timer();
    EXPECT_EQ(form.Model().Particles[0].x, -5);
    EXPECT_EQ(form.Canvas().Pixel(1, 242), zk::clWhite);
    form.Timer1Timer();
    EXPECT_EQ(form.Model().Particles[0].x, 0);
    EXPECT_EQ(form.Canvas().Pixel(1, 242), zk::clBlack);
    EXPECT_EQ(form.Canvas().Pixel(1, 257), zk::clBlack);
}

TEST_F(FlightWindow, ScrollBarAtZeroHoldsTheParticles) {
    Open();
    form.Model().Particles[0] = zk::Particle{100, 50, 680, 0};
    form.ScrollBar1->setValue(0);
    form.Timer1Timer();
    EXPECT_EQ(form.Model().Particles[0].x, 100);
    EXPECT_EQ(form.Canvas().Pixel(101, 199), zk::clBlack);
    form.ScrollBar1->setValue(50);
    form.Timer1Timer();
    EXPECT_EQ(form.Model().Particles[0].x, 105);
}

TEST_F(FlightWindow, SceneTickDrivesTheStreamlineBox) {
    form.CheckBox2->setChecked(true);
    flow = DetachedFlow();
    Open();
    form.Timer2Timer();
    EXPECT_FALSE(form.CheckBox2->isChecked());
    EXPECT_FALSE(form.CheckBox2->isEnabled());
    EXPECT_EQ(form.Canvas().Pixel(50, 80), zk::clBlue) << "shown once in the tick that unchecks the box";
    form.Timer2Timer();
    EXPECT_EQ(form.Canvas().Pixel(50, 80), zk::clWhite);

    flow = AttachedFlow();
    form.FormActivate();
    form.Timer2Timer();
    EXPECT_TRUE(form.CheckBox2->isEnabled());
    EXPECT_FALSE(form.CheckBox2->isChecked());
}

TEST_F(FlightWindow, ShownAgainTheSurfaceStartsWhite) {
    Open();
    form.Timer2Timer();
    EXPECT_EQ(form.Canvas().Pixel(400, 250), zk::clBlack);
    form.show();
    form.hide();
    form.show();
    EXPECT_EQ(form.Canvas().Pixel(400, 250), zk::clWhite);
    form.hide();
}

TEST_F(FlightWindow, MouseAngleAndPanelFollowThePointer) {
    const struct {
        int X, Y;
        double Angle; // radians
        const char* Caption;
        bool InField;
    } cases[] = {
        {300, 150, static_cast<double>(zk::Pi / 4), "45", true},
        {300, 350, static_cast<double>(-zk::Pi / 4), "45", true},
        {400, 250, 0.0, "0", true},
        {585, 250, 0.0, "0", false},                // right of the pick field
        {300, 10, 1.1760052070951352, "67", false}, // above it: arctan(2.4) = 67.38 degrees
    };
    for (const auto& c : cases) {
        form.FormMouseMove(Qt::NoModifier, c.X, c.Y);
        EXPECT_NEAR(form.Model().MouseAngle, c.Angle, 0.02) << c.X << "," << c.Y;
        EXPECT_EQ(form.PanelCaption(), QString::fromUtf8(c.Caption)) << c.X << "," << c.Y;
        EXPECT_EQ(form.Model().MouseInField, c.InField) << c.X << "," << c.Y;
        EXPECT_EQ(form.CursorShape(), Qt::CrossCursor);
    }
    form.FormMouseMove(Qt::NoModifier, 300, 150);
    EXPECT_EQ(form.Model().MouseAngle, static_cast<double>(zk::ArcTan(1)));

    // On or left of the tip's column: the arrow, and angle and panel keep their values.
    for (const int x : {200, 150}) {
        form.FormMouseMove(Qt::NoModifier, x, 100);
        EXPECT_EQ(form.CursorShape(), Qt::ArrowCursor);
        EXPECT_EQ(form.Model().MouseAngle, static_cast<double>(zk::ArcTan(1)));
        EXPECT_EQ(form.PanelCaption(), QStringLiteral("45"));
        EXPECT_FALSE(form.Model().MouseInField);
    }
}

// Delivers a mouse event as the window system does, through the application.
void SendMouse(QWidget* target, QEvent::Type type, QPoint position, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, position, target->mapToGlobal(position), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST_F(FlightWindow, MouseEventsOfTheClientAreaReachTheHandlers) {
    EXPECT_TRUE(form.hasMouseTracking()) << "moves arrive without a button held";
    SendMouse(&form, QEvent::MouseMove, {300, 150});
    EXPECT_EQ(form.PanelCaption(), QStringLiteral("45"));
    EXPECT_EQ(form.cursor().shape(), Qt::CrossCursor);
    // Over a child control the window sees nothing: the angle stays, and so does the cursor,
    // while the control itself shows the arrow.
    SendMouse(form.CheckBox2, QEvent::MouseMove, {5, 5});
    SendMouse(form.Panel1, QEvent::MouseMove, {40, 10});
    SendMouse(form.Image9, QEvent::MouseMove, {5, 5});
    EXPECT_EQ(form.PanelCaption(), QStringLiteral("45"));
    EXPECT_EQ(form.CursorShape(), Qt::CrossCursor);
    EXPECT_EQ(form.Panel1->cursor().shape(), Qt::ArrowCursor);
    SendMouse(form.Panel1, QEvent::MouseButtonRelease, {40, 10}, Qt::LeftButton);
    EXPECT_TRUE(host.Calls.empty());

    SendMouse(&form, QEvent::MouseButtonRelease, {300, 150}, Qt::RightButton);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"wedge 45", "apply", "graphics"}));
}

TEST_F(FlightWindow, ReleaseSetsTheWedgeAppliesAndReopens) {
    Open();
    bool timersRanAtApply = false;
    host.OnApply = [this, &timersRanAtApply] {
        timersRanAtApply = form.Timer1->isActive() && form.Timer2->isActive();
        flow.ShockAngle = 0.9;
    };
    form.show();
    form.FormMouseMove(Qt::NoModifier, 300, 150);
    form.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 300, 150);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"wedge 45", "apply", "graphics"}));
    EXPECT_TRUE(timersRanAtApply) << "Apply runs before the window closes";
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_NEAR(form.Model().Snapshot.FlightWedgeAngle, static_cast<double>(zk::Pi / 4), 1e-15);
}

TEST_F(FlightWindow, ReleasePicksTheMirroredAngleAndAnyButton) {
    const struct {
        int X, Y;
        Qt::MouseButton Button;
        const char* Field;
    } cases[] = {
        {300, 350, Qt::RightButton, "wedge 45"},  // below the axis: the same angle as above
        {585, 100, Qt::MiddleButton, "wedge 21"}, // outside the pick field: still a pick
        {201, 30, Qt::LeftButton, "wedge 88"},    // 89.74 degrees, limited to 88
    };
    for (const auto& c : cases) {
        host.Calls.clear();
        host.OnApply = [this] { flow.ShockAngle = 0.9; };
        Open();
        form.FormMouseMove(Qt::NoModifier, c.X, c.Y);
        form.FormMouseUp(c.Button, Qt::NoModifier, c.X, c.Y);
        ASSERT_FALSE(host.Calls.empty());
        EXPECT_EQ(host.Calls.front(), c.Field);
    }
    EXPECT_EQ(form.Model().Snapshot.FlightWedgeAngle, 1.53588974175501) << "88 degrees in radians";
}

TEST_F(FlightWindow, ReleaseWithoutShockLeavesTheWindowClosed) {
    // On the axis the picked angle is 0: Apply finds no shock and the window stays closed.
    Open();
    host.OnApply = [this] { flow.ShockAngle = 0; };
    form.show();
    form.FormMouseMove(Qt::NoModifier, 300, 250);
    form.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 300, 250);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"wedge 0", "apply"}));
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.Timer2->isActive());
}

TEST_F(FlightWindow, ReleaseWithTheArrowDoesNothing) {
    Open();
    form.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 300, 150);
    EXPECT_TRUE(host.Calls.empty()) << "no move yet: the cursor is the arrow";
    form.FormMouseMove(Qt::NoModifier, 300, 150);
    form.FormMouseMove(Qt::NoModifier, 150, 150);
    form.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 150, 150);
    EXPECT_TRUE(host.Calls.empty());
    // A release on the tip's column with the cross-hair still up (no move came in between)
    // picks nothing either, rather than dividing by zero.
    form.FormMouseMove(Qt::NoModifier, 300, 150);
    EXPECT_NO_THROW(form.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 200, 250));
    EXPECT_TRUE(host.Calls.empty());
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(FlightWindow, ApplyFaultLeavesTheWindowOpen) {
    Open();
    host.OnApply = [] { throw zk::FloatError(zk::kInvalidOperation); };
    form.show();
    form.FormMouseMove(Qt::NoModifier, 300, 150);
    EXPECT_THROW(form.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 300, 150), zk::FloatError);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"wedge 45", "apply"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(form.Timer2->isActive());
    form.hide();
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The flight window inside the whole program: opened and re-opened through "Графически", a wedge
// pick that goes through the real main window's field and Apply, faults inside its ticks, and
// the end of the program while it or the settings window is open.
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <functional>
#include <limits>

#include "Numbers.h"
#include "ProgramFixture.h"
#include "TTimer.h"

namespace {

// One tick of a running timer, delivered at once, as the event loop does when it falls due.
// One tick of a running timer, as the display's frame gives it.
void Tick(zk::TTimer* timer) {
    ASSERT_TRUE(timer->isActive());
    emit timer->timeout();
}

// The wedge angle of the field in radians, as Apply stores it.
double WedgeRadians(int degrees) {
    return static_cast<double>(static_cast<zk::Extended>(degrees) * zk::Pi / 180);
}

} // namespace

class FlightInProgramTest : public ProgramTest {
  protected:
    void TearDown() override {
        if (Form3->isVisible())
            Form3->close();
        ProgramTest::TearDown();
    }
    // The pointer moved to (x, y) of the flight window's client area and a button released
    // there, delivered as the window system delivers them.
    static void ReleaseAt(int x, int y) {
        const QPoint at(x, y);
        QMouseEvent move(QEvent::MouseMove, at, Form3->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(Form3, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, at, Form3->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Form3, &release);
    }
};

TEST_F(FlightInProgramTest, PickGoesThroughTheMainWindowAndReopensOnTheNewSolution) {
    Main->N3->trigger();
    ASSERT_TRUE(Form3->isVisible());
    EXPECT_EQ(Form3->Model().Snapshot.FlightWedgeAngle, WedgeRadians(20));

    // From the tip (200, 250) to (300, 220): arctan(30/100) = 16.70 degrees, picked as 17.
    ReleaseAt(300, 220);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Main->SpinEdit1->Text(), QStringLiteral("17")) << "the main window's own field";
    EXPECT_EQ(Flow.WedgeAngle, WedgeRadians(17)) << "and its Apply solved the new wedge";
    EXPECT_GT(Flow.ShockAngle, 0.0);
    EXPECT_FALSE(Flow.ShockDetached);
    // The labels follow the new case: at 17 degrees the pressure ratio lies between those of 10
    // and 20 degrees (1.7 and 2.8 at M = 2).
    const double pressure = Main->Label2->text().toDouble();
    EXPECT_GT(pressure, 1.8);
    EXPECT_LT(pressure, 2.788);

    // Closed and opened again through "Графически": the snapshot is the new solution and the
    // particles start afresh left of the window.
    EXPECT_TRUE(Form3->isVisible());
    EXPECT_TRUE(Form3->Timer1->isActive());
    const zk::FlightSnapshot& s = Form3->Model().Snapshot;
    EXPECT_EQ(s.FlightWedgeAngle, Flow.WedgeAngle);
    EXPECT_EQ(s.FlightShockAngle, Flow.ShockAngle);
    EXPECT_EQ(s.FlightV2x, Flow.PointCx);
    EXPECT_EQ(s.FlightV2y, Flow.PointCy);
    for (int i = 0; i < Form3->Model().ParticleCount(); ++i)
        ASSERT_LT(Form3->Model().Particles[i].x, 0) << i;
}

TEST_F(FlightInProgramTest, PickWithoutAShockLeavesTheWindowClosed) {
    Main->N3->trigger();
    ReleaseAt(300, 250); // on the axis: 0 degrees, no wedge and no shock
    EXPECT_EQ(Main->SpinEdit1->Text(), QStringLiteral("0"));
    EXPECT_EQ(Flow.ShockAngle, 0.0);
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_FALSE(Form3->Timer1->isActive());
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(FlightInProgramTest, PickWhoseApplyFaultsLeavesTheWindowOpen) {
    // A gas of γ = 0.9 makes every Apply fail at the arcsine of χmax.
    Main->N2Click();
    Opt->cG1->SetValue(9);
    Opt->BitBtn1Click();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    errors.Boxes.clear();
    Main->N3->trigger();
    ASSERT_TRUE(Form3->isVisible());

    ReleaseAt(300, 220);
    ASSERT_EQ(errors.Boxes.size(), 1u) << "the fault is reported once";
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("Invalid floating point operation."));
    EXPECT_EQ(Main->SpinEdit1->Text(), QStringLiteral("17")) << "the field was set before Apply";
    EXPECT_TRUE(Form3->isVisible()) << "the window stays open";
    EXPECT_TRUE(Form3->Timer1->isActive());
    EXPECT_TRUE(Form3->Timer2->isActive());
}

TEST_F(FlightInProgramTest, ReopeningThroughGraphicsWhileOpenTakesAFreshSnapshot) {
    Main->N3->trigger();
    ASSERT_TRUE(Form3->isVisible());
    for (int tick = 0; tick < 130; ++tick)
        Form3->Timer1Timer();
    ASSERT_GE(Form3->Model().Particles[0].x, 0) << "the first particle has reached the window";
    const std::uint32_t seed = zk::RandomSeed;
    Main->N3->trigger();
    EXPECT_TRUE(Form3->isVisible());
    EXPECT_EQ(Form3->Model().Snapshot.FlightWedgeAngle, WedgeRadians(20));
    EXPECT_NE(zk::RandomSeed, seed) << "the particles were started again from the generator";
    for (int i = 0; i < Form3->Model().ParticleCount(); ++i)
        ASSERT_LT(Form3->Model().Particles[i].x, 0) << i;
}

// Every Apply that completes while the window is open, by the button, an opened case or the
// settings, gives the window the new solution and starts its particles again; a faulted Apply
// leaves the window with the last solution it had, and a closed window takes it when opened.
TEST_F(FlightInProgramTest, ApplyWhileOpenTakesTheNewSolution) {
    const QString file = Temp("wedge10.psr");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("340\r\n140\r\n680\r\n10\r\n");
    }
    const struct {
        const char* how;
        std::function<void()> apply;
        int wedge;     // degrees, the new case
        bool detached; // at M1 = 2 the shock detaches beyond about 23 degrees
    } rows[] = {
        {"button", [] { Main->SpinEdit1->SetValue(30); QTest::mouseClick(Main->Button2, Qt::LeftButton); }, 30, true},
        {"opened case", [&] { Main->OpenResultFile(file); }, 10, false},
        {"settings", [] { Main->N2->trigger(); Opt->cG1->SetValue(13); Opt->BitBtn1Click(); }, 10, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        Main->N3->trigger();
        ASSERT_TRUE(Form3->isVisible());
        for (int tick = 0; tick < 130; ++tick)
            Form3->Timer1Timer();
        Form3->Timer2Timer(); // the scene: wedge, shock and streamlines
        ASSERT_GE(Form3->Model().Particles[0].x, 0) << "the first particle has reached the window";
        ASSERT_NE(Form3->Canvas().Pixel(200, 250), zk::clWhite) << "the wedge's tip is drawn";
        const std::uint32_t seed = zk::RandomSeed;
        row.apply();
        ASSERT_TRUE(errors.Boxes.empty());
        EXPECT_TRUE(Form3->Timer1->isActive());
        EXPECT_EQ(Flow.ShockDetached, row.detached);
        const zk::FlightSnapshot& s = Form3->Model().Snapshot;
        EXPECT_EQ(s.FlightWedgeAngle, WedgeRadians(row.wedge));
        EXPECT_EQ(s.FlightShockAngle, Flow.ShockAngle);
        EXPECT_EQ(s.FlightV2x, Flow.PointCx);
        EXPECT_EQ(s.FlightV2y, Flow.PointCy);
        EXPECT_NE(zk::RandomSeed, seed) << "the particles were started again from the generator";
        for (int i = 0; i < Form3->Model().ParticleCount(); ++i)
            ASSERT_LT(Form3->Model().Particles[i].x, 0) << i;
        EXPECT_EQ(Form3->Canvas().Pixel(200, 250), zk::clWhite) << "the old scene is gone";
    }

    // A faulted Apply leaves the last solution; a closed window is left alone until it opens.
    const double wedge = Form3->Model().Snapshot.FlightWedgeAngle;
    Main->SpinEdit1->SetValue(5);
    Main->SpinEdit2->SetText(QStringLiteral("0")); // read unclamped: the scale 330 / V1 divides by zero
    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(Form3->Model().Snapshot.FlightWedgeAngle, wedge);
    Form3->close();
    Main->SpinEdit1->SetValue(15);
    Main->SpinEdit2->SetValue(680);
    Main->Button2Click();
    EXPECT_EQ(Form3->Model().Snapshot.FlightWedgeAngle, wedge);
}

TEST_F(FlightInProgramTest, FaultInATickIsReportedOncePerTickAndTheTimerRunsOn) {
    Main->N3->trigger();
    ASSERT_TRUE(Form3->Timer1->isActive());
    // A particle whose height is no number cannot be drawn: every motion tick faults at it.
    Form3->Model().Particles[0] = zk::Particle{10, std::numeric_limits<double>::quiet_NaN(), 680, 0};
    for (int tick = 1; tick <= 3; ++tick) {
        Tick(Form3->Timer1);
        ASSERT_EQ(errors.Boxes.size(), static_cast<std::size_t>(tick)) << "one box per failing tick";
        EXPECT_EQ(errors.Boxes.back().Text, QStringLiteral("Invalid floating point operation."));
        EXPECT_TRUE(Form3->Timer1->isActive()) << "the timer goes on";
    }
    // Once the particle is sound again, the next tick runs without a box.
    Form3->Model().Particles[0] = zk::Particle{10, 20, 680, 0};
    Tick(Form3->Timer1);
    EXPECT_EQ(errors.Boxes.size(), 3u);
    EXPECT_EQ(Form3->Model().Particles[0].x, 15);
}

// Closing the main window ends the event loop, the program's run, whatever else is open.  The
// loop is run for real; a guard ends it after a while should the close fail to, so a broken
// close fails the test rather than hanging it.
TEST_F(FlightInProgramTest, ClosingTheMainWindowEndsTheProgramWithOtherWindowsOpen) {
    const struct {
        const char* What;
        void (*OpenOther)();
    } rows[] = {
        {"flight window", [] { Main->N3->trigger(); }},
        {"settings window", [] { Main->N2->trigger(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.What);
        row.OpenOther();
        bool guardEnded = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&guardEnded] {
            guardEnded = true;
            QCoreApplication::exit(1);
        });
        guard.start(20000);
        QTimer::singleShot(0, Main, [] { Main->close(); });
        const int status = QCoreApplication::exec();
        EXPECT_FALSE(guardEnded) << "the program went on after its main window closed";
        EXPECT_EQ(status, 0);
        EXPECT_FALSE(Main->isVisible());
        // The next run of the table starts from a fresh program.
        zk::DestroyWindows();
        Flow = zk::FlowState{};
        zk::CreateWindows();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Main));
    }
}

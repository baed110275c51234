// SPDX-License-Identifier: GPL-3.0-or-later
// Picking the wedge angle on the comparison window's three charts: a press applies at once, a drag's moves
// are gathered into one Apply per display frame, the release applies what still waits, the arrow keys
// step by one degree, and every pick stays within the wedge field's limits.  First against a host
// that counts the runs of Apply, then with the program's own main window.
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "ChartView.h"
#include "Comparison.h"
#include "FlightHost.h"
#include "ManualFrameClock.h"
#include "ProgramFixture.h"
#include "TSpinEdit.h"
#include "ThetaBetaFamilyChart.h"
#include "WedgePicker.h"

namespace {

// A main window reduced to its wedge field and the runs of Apply it was asked for.
class CountingHost : public zk::FlightHost {
  public:
    explicit CountingHost(zk::TSpinEdit& field) : field_(field) {}
    void SetWedgeField(int degrees) override { field_.SetValue(degrees); }
    void ClickApply() override { Applied.push_back(field_.Value()); }
    void ClickGraphics() override {}
    std::vector<int> Applied; // the wedge field at each Apply

  private:
    zk::TSpinEdit& field_;
};

void SendMouse(QWidget* widget, QEvent::Type type, double x, Qt::MouseButtons buttons) {
    const QPointF local(x, widget->height() / 2.0);
    QMouseEvent event(type, local, widget->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
void Press(QWidget* w, double x) {
    SendMouse(w, QEvent::MouseButtonPress, x, Qt::LeftButton);
}
void Drag(QWidget* w, double x) {
    SendMouse(w, QEvent::MouseMove, x, Qt::LeftButton);
}
void Release(QWidget* w, double x) {
    SendMouse(w, QEvent::MouseButtonRelease, x, Qt::NoButton);
}

class PickerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        field.SetMinValue(0);
        field.SetMaxValue(180);
        field.SetValue(20);
        chartCase.Family = std::make_shared<const zk::ThetaBetaFamily>(1.4);
        chartCase.Current = std::make_shared<const zk::ShockCurve>(2.0, 1.4);
        chartCase.WedgeDegrees = 20;
        view.SetChart(std::make_unique<ThetaBetaFamilyChart>(chartCase));
    }
    double X(double thetaDegrees) const { return view.Chart()->XOf(thetaDegrees); }

    zk::TSpinEdit field;
    CountingHost host{field};
    ManualFrameClock clock;
    WedgePicker picker{host, field, nullptr, &clock};
    ShockChartCase chartCase;
    ChartView view{&picker};
};

TEST_F(PickerTest, ClickSetsTheFieldAndRunsApplyOnce) {
    Press(&view, X(12.3));
    Release(&view, X(12.3));
    EXPECT_EQ(field.Value(), 12) << "the whole degree nearest to the pointer";
    EXPECT_EQ(host.Applied, std::vector<int>{12});
    EXPECT_FALSE(picker.Pending());

    // A click on the angle the field already holds still runs Apply, as pressing the button does.
    Press(&view, X(11.6));
    Release(&view, X(11.6));
    EXPECT_EQ(host.Applied, (std::vector<int>{12, 12}));
}

TEST_F(PickerTest, DragIsGatheredIntoOneApplyPerFrameWithTheLatestAngle) {
    Press(&view, X(10));
    ASSERT_EQ(host.Applied, std::vector<int>{10});
    for (double theta : {10.4, 11.0, 12.2, 13.0, 14.1})
        Drag(&view, X(theta));
    EXPECT_EQ(host.Applied, std::vector<int>{10}) << "moves wait for the frame";
    EXPECT_TRUE(picker.Pending());
    picker.Flush(); // the frame's timer
    EXPECT_EQ(host.Applied, (std::vector<int>{10, 14}));
    EXPECT_FALSE(picker.Pending());

    // A frame whose moves came back to the field's angle runs nothing.
    Drag(&view, X(15));
    Drag(&view, X(14.2));
    picker.Flush();
    EXPECT_EQ(host.Applied, (std::vector<int>{10, 14}));

    // The release applies what is still waiting, once, and a later frame finds nothing.
    Drag(&view, X(16));
    Drag(&view, X(17));
    Release(&view, X(18));
    EXPECT_EQ(host.Applied, (std::vector<int>{10, 14, 18}));
    picker.Flush();
    EXPECT_EQ(host.Applied.size(), 3u);
    // Moves without a pressed button are no drag.
    SendMouse(&view, QEvent::MouseMove, X(25), Qt::NoButton);
    EXPECT_FALSE(picker.Pending());
}

TEST_F(PickerTest, TheNextFrameAppliesTheWaitingAngle) {
    Press(&view, X(5));
    Drag(&view, X(9));
    clock.Advance(WedgePicker::kFrameMilliseconds - 1);
    EXPECT_EQ(host.Applied, std::vector<int>{5}) << "no frame yet";
    clock.Step(1); // the display's next frame
    EXPECT_EQ(host.Applied, (std::vector<int>{5, 9}));
    EXPECT_FALSE(picker.Pending());
    clock.Step();
    clock.Step();
    EXPECT_EQ(host.Applied.size(), 2u) << "a frame without moves runs nothing";
    Drag(&view, X(7));
    Drag(&view, X(8));
    clock.Step();
    EXPECT_EQ(host.Applied, (std::vector<int>{5, 9, 8})) << "one Apply for the frame's moves";
}

TEST_F(PickerTest, MoveWithoutTheButtonEndsADragWhoseReleaseWasLost) {
    // The press's Apply raised a modal error box, which took the button's release: the next move
    // reaches the chart with no button held and no release before it.  (Without tracking the
    // toolkit holds button-less moves back; a view that follows the pointer gets them all.)
    view.setMouseTracking(true);
    Press(&view, X(10));
    SendMouse(&view, QEvent::MouseMove, X(25), Qt::NoButton);
    EXPECT_FALSE(picker.Pending());
    clock.Step();
    EXPECT_EQ(host.Applied, std::vector<int>{10}) << "the pointer moving on picks nothing";
    SendMouse(&view, QEvent::MouseMove, X(30), Qt::LeftButton);
    clock.Step();
    EXPECT_EQ(host.Applied, std::vector<int>{10}) << "the drag stays over without a new press";
    Release(&view, X(30));
    EXPECT_EQ(host.Applied, std::vector<int>{10}) << "nor does a late release pick";
}

TEST_F(PickerTest, PicksStayWithinTheAxisAndTheFieldsLimits) {
    const double right = view.Chart()->Plot().right();
    Press(&view, -40); // left of the plot, even of the widget
    EXPECT_EQ(field.Value(), 0);
    Press(&view, right + 30); // beyond the axis's end, 50° for γ = 1.4
    EXPECT_EQ(field.Value(), 50);

    field.SetMinValue(1); // the wedge field before the main window's first activation
    field.SetMaxValue(30);
    Press(&view, X(0.2));
    EXPECT_EQ(field.Value(), 1);
    Press(&view, X(44));
    EXPECT_EQ(field.Value(), 30);
    EXPECT_EQ(picker.AngleFor(std::nan(""), 50), 1) << "no number under the pointer: the lower limit";

    // Equal limits are no limits, as for the field itself.
    field.SetMinValue(0);
    field.SetMaxValue(0);
    Press(&view, X(33));
    EXPECT_EQ(field.Value(), 33);
}

TEST_F(PickerTest, ArrowKeysStepByOneDegree) {
    field.SetValue(20);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(field.Value(), 21);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(field.Value(), 20);
    EXPECT_EQ(host.Applied, (std::vector<int>{21, 22, 21, 20}));

    // At a limit of the field the key changes nothing and runs nothing.
    field.SetValue(0);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(field.Value(), 0);
    EXPECT_EQ(host.Applied.size(), 4u);
    QTest::keyClick(&view, Qt::Key_A);
    EXPECT_EQ(host.Applied.size(), 4u) << "other keys do not pick";
}

// ---------------------------------------------------------------------------------------------
// With the program's windows: the pick goes through the main window's field and Apply.

class ChartPickProgramTest : public ProgramTest {};

TEST_F(ChartPickProgramTest, PickOnEitherChartSolvesTheCaseAndEveryViewFollows) {
    Main->N8Click();
    ASSERT_NE(Comparison->Picker(), nullptr);
    const QImage before = Picture();
    ChartView* family = Comparison->Chart1;
    Press(family, family->Chart()->XOf(15));
    EXPECT_EQ(Main->SpinEdit1->Value(), 15);
    EXPECT_DOUBLE_EQ(Flow.WedgeAngle, 15 * 3.1415926535897932385L / 180);
    EXPECT_NE(Picture(), before) << "the main diagram was drawn again";
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("χ = 15°")));
    // The weak shock of a 15° wedge at M1 = 2, γ = 1.4: β = 45.3436° (solved for the test on its own
    // from tan θ = 2 cot β (M1² sin²β − 1) / (M1² (γ + cos 2β) + 2); NACA 1135's chart reads 45.3°).
    EXPECT_EQ(Comparison->Table1->item(0, TComparisonForm::WeakColumn)->text(), QStringLiteral("45.34"));

    // A drag on the pressure polar: nothing before the frame, then the latest angle.
    ChartView* pressure = Comparison->Chart2;
    Drag(family, family->Chart()->XOf(16));
    Release(family, family->Chart()->XOf(16));
    EXPECT_EQ(Main->SpinEdit1->Value(), 16);
    Press(pressure, pressure->Chart()->XOf(10));
    EXPECT_EQ(Main->SpinEdit1->Value(), 10);
    Drag(pressure, pressure->Chart()->XOf(12));
    Drag(pressure, pressure->Chart()->XOf(13));
    EXPECT_EQ(Main->SpinEdit1->Value(), 10);
    Comparison->Picker()->Flush();
    EXPECT_EQ(Main->SpinEdit1->Value(), 13);
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("χ = 13°")));
    Release(pressure, pressure->Chart()->XOf(13));

    // The arrow keys on the focused chart.
    QTest::keyClick(pressure, Qt::Key_Right);
    EXPECT_EQ(Main->SpinEdit1->Value(), 14);
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("χ = 14°")));
    EXPECT_TRUE(errors.Boxes.empty());
}

// The θ–β chart of the current M1 picks as the other two: a click, a drag applied by the frame,
// the arrow keys.
TEST_F(ChartPickProgramTest, ThetaBetaChartPicksByClickDragAndArrowKeys) {
    Main->N8Click();
    ChartView* view = Comparison->Chart3;
    Press(view, view->Chart()->XOf(5));
    EXPECT_EQ(Main->SpinEdit1->Value(), 5);
    Drag(view, view->Chart()->XOf(8.2));
    Comparison->Picker()->Flush();
    Release(view, view->Chart()->XOf(8.2));
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_NEAR(Flow.WedgeAngle, 0.15707963, 1e-8) << "9° applied, in radians";
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("χ = 9°")));
}

TEST_F(ChartPickProgramTest, PickBeyondTheMaximumDeflectionShowsTheDetachedCase) {
    Main->N8Click();
    ChartView* pressure = Comparison->Chart2;
    // The polar's θ axis reaches past θmax = 22.97° at M1 = 2.
    Press(pressure, pressure->Chart()->XOf(25));
    Release(pressure, pressure->Chart()->XOf(25));
    EXPECT_EQ(Main->SpinEdit1->Value(), 25);
    EXPECT_TRUE(Flow.ShockDetached);
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("присоединённого скачка нет")));
}

TEST_F(ChartPickProgramTest, FaultOfThePickedApplyIsReportedOnce) {
    Main->N8Click();
    Flow.SoundSpeed = 0; // Apply divides by c1 first
    ChartView* family = Comparison->Chart1;
    Press(family, family->Chart()->XOf(12));
    Release(family, family->Chart()->XOf(12));
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(Main->SpinEdit1->Value(), 12)
        << "the field keeps the picked angle, as the flight window's pick";
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("прерван ошибкой")));
}

} // namespace

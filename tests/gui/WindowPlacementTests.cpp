// SPDX-License-Identifier: GPL-3.0-or-later
// Where "Сравнение" and "По шагам" open: on the screen, off the main window's menu, inputs and
// button, as windows of their own.  Run on the suite's 2560 x 1440 desktop and, as separate
// tests, on a full-HD screen and on a 2560 x 1440 screen at device pixel ratio 2 (ZK_TEST_SCREEN).
#include <QFrame>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "ChartView.h"
#include "Comparison.h"
#include "ProgramFixture.h"
#include "StepsForm.h"
#include "WindowOwner.h"

namespace {
QRect GlobalRect(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}
} // namespace

using WindowPlacementTest = ProgramTest;

TEST_F(WindowPlacementTest, WorkingWindowsOpenOnTheScreenOffTheInputs) {
    // Beside the main window (862 x 511 at 122, 143) a full-HD screen has 930 pixels, less than
    // either window's width; 1280 x 720 logical pixels leave room only over the diagram.
    const struct {
        const char* screen;
        QSize logical;
        double ratio; // device pixels per logical pixel
        bool full;    // both windows at their design size
    } table[] = {{"desktop", {2560, 1440}, 1, true},
                 {"fullhd-1920x1080", {1920, 1080}, 1, false},
                 {"hidpi-2560x1440-scale2", {1280, 720}, 2, false}};
    const QByteArray name =
        qEnvironmentVariableIsSet("ZK_TEST_SCREEN") ? qgetenv("ZK_TEST_SCREEN") : "desktop";
    const auto* expected =
        std::find_if(std::begin(table), std::end(table), [&](const auto& row) { return name == row.screen; });
    ASSERT_NE(expected, std::end(table)) << name.constData();
    const QRect screen = Main->screen()->availableGeometry();
    ASSERT_EQ(screen.size(), expected->logical);
    ASSERT_EQ(Main->devicePixelRatioF(), expected->ratio);

    Main->N8->trigger();
    Main->N9->trigger();
    const QRect keep[] = {GlobalRect(Main->menuBar()), GlobalRect(Main->Bevel1), GlobalRect(Main->Button2)};
    const std::pair<QWidget*, QSize> windows[] = {
        {Comparison, {TComparisonForm::kClientWidth, TComparisonForm::kClientHeight}},
        {Steps, {TStepsForm::kClientWidth, TStepsForm::kClientHeight}}};
    for (const auto& [window, design] : windows) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_TRUE(screen.contains(window->frameGeometry()));
        for (const QRect& part : keep)
            EXPECT_FALSE(window->frameGeometry().intersects(part)) << "menu, inputs and button stay free";
        // Not kept above the main window.
        EXPECT_EQ(window->windowHandle()->transientParent(), nullptr);
        EXPECT_EQ(window->parentWidget(), nullptr);
        EXPECT_EQ(window->windowType(), Qt::Window);
        // Smaller where it must be, all of its content in proportion.
        const double scale = double(window->width()) / design.width();
        EXPECT_EQ(scale == 1, expected->full);
        EXPECT_GE(scale, 0.5);
        EXPECT_NEAR(double(window->height()) / design.height(), scale, 0.01);
        EXPECT_TRUE(window->rect().contains(window->childrenRect())) << "all of the content shown";
    }
    EXPECT_EQ(Comparison->frameGeometry().intersects(Steps->frameGeometry()), !expected->full);

    // The charts follow the window's scale, and a click picks the degree under the pointer.
    ChartView* family = Comparison->Chart1;
    const double x = family->Chart()->XOf(12) * family->width() / family->Chart()->Size().width();
    QTest::mouseClick(family, Qt::LeftButton, {}, QPoint(qRound(x), family->height() / 2));
    EXPECT_EQ(Main->SpinEdit1->Value(), 12);
    EXPECT_TRUE(errors.Boxes.empty());
}

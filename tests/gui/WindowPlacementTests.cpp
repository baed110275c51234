// SPDX-License-Identifier: GPL-3.0-or-later
// Where "Сравнение" and "По шагам" open: on the screen, off the main window's inputs and its
// button, as windows of their own that the main window can be brought above.  Run on the suite's
// desktop screen and, as separate tests, on a full-HD screen and on a 2560 x 1440 screen at
// device pixel ratio 2 (ZK_TEST_SCREEN names it).
#include <QFrame>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

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
    struct Expected {
        const char* screen;
        QSize logical;       // the screen in logical pixels
        double ratio;        // device pixels per logical pixel
        bool comparisonFull; // the comparison window at its design size
        bool stepsFull;
    };
    // 862 x 511 pixels of the main window's client area at (122, 143) leave 1920 - 990 pixels
    // beside it on a full-HD screen, less than either window's width; on 1280 x 720 logical
    // pixels only the part of the screen left of the inputs, over the diagram, is wide enough.
    const Expected table[] = {
        {"desktop", QSize(2560, 1440), 1, true, true},
        {"fullhd-1920x1080", QSize(1920, 1080), 1, false, false},
        {"hidpi-2560x1440-scale2", QSize(1280, 720), 2, false, false},
    };
    const QByteArray name = qEnvironmentVariableIsSet("ZK_TEST_SCREEN") ? qgetenv("ZK_TEST_SCREEN") : "desktop";
    const Expected* expected = nullptr;
    for (const Expected& row : table)
        if (name == row.screen)
            expected = &row;
    ASSERT_NE(expected, nullptr) << name.constData();
    const QRect screen = Main->screen()->availableGeometry();
    ASSERT_EQ(screen.size(), expected->logical) << "the screen the test run was given";
    ASSERT_EQ(Main->devicePixelRatioF(), expected->ratio);

    Main->N8->trigger();
    Main->N9->trigger();
    const QRect inputs = GlobalRect(Main->Bevel1);
    const QRect button = GlobalRect(Main->Button2);
    const QRect menu = GlobalRect(Main->menuBar());
    const struct {
        const char* what;
        QWidget* window;
        QSize design;
        bool full;
    } windows[] = {
        {"comparison", Comparison, {TComparisonForm::kClientWidth, TComparisonForm::kClientHeight},
         expected->comparisonFull},
        {"steps", Steps, {TStepsForm::kClientWidth, TStepsForm::kClientHeight}, expected->stepsFull},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.what);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window));
        const QRect frame = w.window->frameGeometry();
        EXPECT_TRUE(screen.contains(frame)) << "on the screen";
        EXPECT_FALSE(frame.intersects(inputs)) << "the input frame stays free";
        EXPECT_FALSE(frame.intersects(button)) << "the button stays free";
        EXPECT_FALSE(frame.intersects(menu)) << "the menu stays free";
        // A window of its own: not kept above the main window.
        EXPECT_EQ(zk::WindowOwner(w.window), nullptr);
        EXPECT_EQ(w.window->windowHandle()->transientParent(), nullptr);
        EXPECT_EQ(w.window->parentWidget(), nullptr);
        EXPECT_EQ(w.window->windowType(), Qt::Window);
        if (w.full) {
            EXPECT_EQ(w.window->size(), w.design);
        } else {
            // Smaller, all of its content in proportion.
            EXPECT_LT(w.window->width(), w.design.width());
            EXPECT_GE(w.window->width(), w.design.width() / 2);
            const double scale = double(w.window->width()) / w.design.width();
            EXPECT_NEAR(double(w.window->height()) / w.design.height(), scale, 0.01);
        }
        for (QWidget* child : w.window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && child->isVisibleTo(w.window)) {
                EXPECT_TRUE(w.window->rect().contains(child->geometry())) << child->metaObject()->className();
            }
        }
    }
    // The two working windows leave each other's way too where the screen has room.
    if (expected->comparisonFull) {
        EXPECT_FALSE(Comparison->frameGeometry().intersects(Steps->frameGeometry()));
    }

    // The comparison's charts follow the window's scale, and a click still picks the degree
    // under the pointer: 12° on the family chart, wherever the chart is drawn.
    ChartView* family = Comparison->Chart1;
    const double scale = double(Comparison->width()) / TComparisonForm::kClientWidth;
    EXPECT_NEAR(family->width(), family->Chart()->Size().width() * scale, 1.0);
    const double x = family->Chart()->XOf(12) * family->width() / family->Chart()->Size().width();
    QTest::mouseClick(family, Qt::LeftButton, {}, QPoint(qRound(x), family->height() / 2));
    EXPECT_EQ(Main->SpinEdit1->Value(), 12);
    EXPECT_TRUE(errors.Boxes.empty());
}

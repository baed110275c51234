// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

#include "ErrorBox.h"
#include "ProgramFixture.h"

using StartupTest = ProgramTest;

TEST_F(StartupTest, MainWindowShowsTheStartupCase) {
    // Worked example of the solver at c1 = 340 m/s, γ = 1.4, V1 = 680 m/s, χ = 20°, with the
    // pressure ratio of the normal-shock relation; labels rounded to 3 and 1 decimals.
    EXPECT_EQ(ShownState(), (QStringList{"20", "680", "2", "2.788", "0.496", "0.719", "1.382", "340", "1.4",
                                         "45.6", "340", "14"}));
    EXPECT_EQ(Flow.PointCx, 460);
    EXPECT_EQ(Flow.PointCy, 166);
    EXPECT_EQ(Flow.V1, 680);
    for (QWidget* shown : {static_cast<QWidget*>(Main->Label1), static_cast<QWidget*>(Main->Label2),
                           static_cast<QWidget*>(Main->Label8), static_cast<QWidget*>(Main->Label11),
                           static_cast<QWidget*>(Main->Image2), static_cast<QWidget*>(Main->Image3),
                           static_cast<QWidget*>(Main->Image4), static_cast<QWidget*>(Main->Image5)})
        EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(StartupTest, WindowsAreCreatedInTheirStates) {
    EXPECT_EQ(zk::ApplicationTitleForErrors(), QStringLiteral("Зорквента"));
    // Not the display name: the windowing system would append it to every window's caption.
    EXPECT_NE(QGuiApplication::applicationDisplayName(), QStringLiteral("Зорквента"));
    EXPECT_TRUE(Main->isVisible());
    EXPECT_EQ(Main->windowTitle(), QStringLiteral("Мирандоль"));
    EXPECT_EQ(Main->Client->size(), QSize(862, 511));
    EXPECT_FALSE(Main->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Main->minimumSize(), Main->maximumSize()) << "not resizable";

    EXPECT_FALSE(Opt->isVisible());
    EXPECT_FALSE(Opt->isEnabled());
    EXPECT_EQ(Opt->SpinEdit1->Text(), "100");
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_EQ(Form4->windowTitle(), QStringLiteral("Form4"));
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(Form5->size(), QSize(754, 525));
}

TEST_F(StartupTest, ControlsLieInsideTheClientAreaWithTheDiagramAtItsSize) {
    EXPECT_EQ(Main->Ris->geometry(), QRect(16, 16, 609, 449));
    const QRect client(QPoint(0, 0), Main->Client->size());
    for (QObject* child : Main->Client->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child)) {
            EXPECT_TRUE(client.contains(widget->geometry())) << widget->metaObject()->className();
        }
    }
    // The inputs and the button lie above the pictures and labels.
    const QObjectList& order = Main->Client->children();
    EXPECT_GT(order.indexOf(Main->SpinEdit1), order.indexOf(Main->Image10));
    EXPECT_GT(order.indexOf(Main->Button2), order.indexOf(Main->SpinEdit2));
}

TEST_F(StartupTest, MenuHasTheCommandsInOrder) {
    QStringList bar;
    for (QAction* action : Main->menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(bar, (QStringList{"Файл", "Графически", "Настройки", "Сравнение", "По шагам",
                                "Дополнительные построения", "Выход", "Справка"}));
    QStringList file;
    for (QAction* action : Main->N1->actions())
        file << action->text();
    EXPECT_EQ(file,
              (QStringList{QStringLiteral("C") + QStringLiteral("охранить"), "Открыть", "Печать", "Выход"}));
    EXPECT_EQ(Main->C1->title().at(0).unicode(), u'C') << "the first letter of the save menu is Latin";
    EXPECT_EQ(Main->psr1->text(), QStringLiteral("файл psr"));
    EXPECT_EQ(Main->bmp1->text(), QStringLiteral("файл bmp"));
}

TEST_F(StartupTest, FirstActivationOpensTheWedgeFieldToZeroAndStepsByOneMach) {
    EXPECT_EQ(Main->SpinEdit1->MinValue(), 0);
    EXPECT_EQ(Main->SpinEdit1->MaxValue(), 180);
    EXPECT_EQ(Main->SpinEdit2->Increment(), 340);
    EXPECT_EQ(Main->SpinEdit2->MinValue(), 365);
    EXPECT_EQ(Main->SpinEdit2->MaxValue(), 1000000);
    QTest::mouseClick(Main->SpinEdit2->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Main->SpinEdit2->Text(), "1020");
    EXPECT_EQ(Main->Label6->text(), "2") << "the arrows do not update the Mach number";
}

TEST_F(StartupTest, ActivationFromAnotherWindowTakesTheCurrentSpeedOfSound) {
    Main->RisClick();
    EXPECT_TRUE(Form5->isVisible());
    Flow.SoundSpeed = 300; // as if changed meanwhile
    Main->SpinEdit1->SetMinValue(1);
    Form5->Image11Click(); // hiding the theory window gives the focus back to the main window
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(Main->SpinEdit2->Increment(), 300);
    EXPECT_EQ(Main->SpinEdit1->MinValue(), 0);

    // Apply while the main window has the focus does not run its activation again.
    Flow.SoundSpeed = 340;
    Main->Button2Click();
    EXPECT_EQ(Main->SpinEdit2->Increment(), 300);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The secondary windows as a desktop sees them: owned by the main window, the settings window
// closed by Escape, no maximise box on a window of fixed size, and the usual shortcut keys.
#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "Comparison.h"
#include "HelpForm.h"
#include "ProgramFixture.h"
#include "WindowOwner.h"

namespace {

// The secondary windows, named for the failure messages.
std::vector<std::pair<const char*, QWidget*>> SecondaryWindows() {
    return {{"settings", Opt},
            {"flight", Form3},
            {"theory", Form5},
            {"guide", HelpForm}};
}

} // namespace

using WindowTest = ProgramTest;

TEST_F(WindowTest, SecondaryWindowsBelongToTheMainWindow) {
    for (const auto& [name, window] : SecondaryWindows()) {
        EXPECT_EQ(zk::WindowOwner(window), Main) << name;
        ASSERT_NE(window->windowHandle(), nullptr) << name;
        EXPECT_EQ(window->windowHandle()->transientParent(), Main->windowHandle()) << name;
        // Only the window system's owner: as a child widget it would be disabled with the main
        // window while the settings are open.
        EXPECT_EQ(window->parentWidget(), nullptr) << name;
        EXPECT_TRUE(window->isWindow()) << name;
        // The window manager only honours the owner of a dialog-type window.
        EXPECT_EQ(window->windowType(), Qt::Dialog) << name;
    }
    EXPECT_EQ(zk::WindowOwner(Main), nullptr);
}

TEST_F(WindowTest, OwnershipOutlivesShowingAndHiding) {
    Main->N2Click();
    Opt->BitBtn1Click();
    Main->RisClick();
    Form5->FormClick();
    Main->N8Click();
    Comparison->hide();
    Main->N2Click();
    for (const auto& [name, window] : SecondaryWindows())
        EXPECT_EQ(zk::WindowOwner(window), Main) << name;
    EXPECT_TRUE(Opt->isEnabled()) << "the disabled owner leaves the settings window usable";
    EXPECT_FALSE(Main->isEnabled());
    Opt->close();
}

TEST_F(WindowTest, WindowsKeepTheirPositionsAndClientSizes) {
    Main->N2Click();
    EXPECT_EQ(Opt->geometry().size(), QSize(359, 266));
    EXPECT_EQ(Opt->pos(), QPoint(292, 118));
    Opt->close();
    Main->RisClick();
    EXPECT_EQ(Form5->geometry().size(), QSize(754, 525));
    EXPECT_EQ(Form5->pos(), QPoint(237, 140));
    EXPECT_EQ(Main->pos(), QPoint(122, 143));
}

TEST_F(WindowTest, FixedSizeWindowsOfferNoMaximiseButton) {
    const std::vector<std::pair<const char*, QWidget*>> fixed = {
        {"main", Main}, {"settings", Opt}, {"flight", Form3}, {"theory", Form5}};
    for (const auto& [name, window] : fixed) {
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << name;
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint) << name;
        // Customised flags: the window manager is told exactly which buttons there are.
        EXPECT_TRUE(window->windowFlags() & Qt::CustomizeWindowHint) << name;
        EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint) << name;
    }
    // The guide is an ordinary resizable text window.
    EXPECT_TRUE(HelpForm->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(WindowTest, EscapeClosesTheSettingsWindowAndApplies) {
    // From the field being edited, the usual place of the focus.
    Main->N2Click();
    Opt->cc1->SetValue(300);
    auto* editor = Opt->cc1->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(Opt->isVisible());
    EXPECT_TRUE(Main->isEnabled());
    EXPECT_EQ(Flow.SoundSpeed, 300.0);
    EXPECT_EQ(Main->Label12->text(), "300") << "Apply ran";
    EXPECT_EQ(Main->SpinEdit2->MinValue(), 315);

    // From the window itself, with the γ field changed: the same as the close box.
    Main->N2Click();
    Opt->cG1->SetValue(13);
    QTest::keyClick(Opt, Qt::Key_Escape);
    EXPECT_FALSE(Opt->isVisible());
    EXPECT_EQ(Flow.Gamma, 1.3);
    EXPECT_EQ(Main->Label13->text(), "1.3");
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(WindowTest, EscapeWithAModifierDoesNotClose) {
    Main->N2Click();
    QTest::keyClick(Opt, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(Opt->isVisible());
    EXPECT_FALSE(Main->isEnabled());
    Opt->close();
}

TEST_F(WindowTest, MenuCommandsHaveTheUsualKeysAndKeepTheirCaptions) {
    struct Row {
        QAction* action;
        QKeySequence keys;
        QString caption;
    };
    const std::vector<Row> rows = {
        {Main->N6, QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Открыть")},
        {Main->psr1, QKeySequence(Qt::CTRL | Qt::Key_S), QStringLiteral("файл psr")},
        {Main->N4, QKeySequence(Qt::CTRL | Qt::Key_P), QStringLiteral("Печать")},
        {Main->N5, QKeySequence(Qt::CTRL | Qt::Key_Q), QStringLiteral("Выход")},
        {Main->Guide1, QKeySequence(Qt::Key_F1), QStringLiteral("Как читать диаграмму")},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.action->shortcut(), row.keys) << row.caption.toStdString();
        EXPECT_EQ(row.action->text(), row.caption);
    }
    // One key for quitting: the menu bar's own "Выход" has none, so Ctrl+Q is not ambiguous.
    EXPECT_TRUE(Main->N7->shortcut().isEmpty());
    EXPECT_TRUE(Main->bmp1->shortcut().isEmpty());
}

TEST_F(WindowTest, ShortcutKeysRunTheirCommands) {
    Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main));
    dialogs.Cancel();
    QTest::keyClick(Main, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Kind, zk::TFileDialogKind::Open);

    dialogs.Answer(Temp("keys.psr"));
    QTest::keyClick(Main, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[1].Kind, zk::TFileDialogKind::Save);
    EXPECT_TRUE(QFileInfo::exists(Temp("keys.psr")));
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(WindowTest, OnlyTheGuideKeyWorksWhileTheSettingsAreOpen) {
    Main->N2Click();
    QTest::keyClick(Opt, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(Opt, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.Requests.empty()) << "the main window's commands wait";
    EXPECT_TRUE(Opt->isVisible());
    EXPECT_TRUE(Main->isVisible());

    // The headless platform does not move the focus into the settings window, so its own F1
    // action is triggered here as the key would trigger it.
    QAction* guideKey = nullptr;
    for (QAction* action : Opt->actions()) {
        if (action->shortcut() == QKeySequence(Qt::Key_F1))
            guideKey = action;
    }
    ASSERT_NE(guideKey, nullptr);
    EXPECT_EQ(guideKey->shortcutContext(), Qt::WindowShortcut);
    guideKey->trigger();
    EXPECT_TRUE(HelpForm->isVisible());
    EXPECT_FALSE(Main->isEnabled()) << "the guide leaves the settings open";
    Opt->close();
    EXPECT_TRUE(Main->isEnabled());
}

TEST_F(WindowTest, GuideKeyWorksInTheSecondaryWindows) {
    for (QWidget* window : {static_cast<QWidget*>(Form5), static_cast<QWidget*>(Comparison)}) {
        HelpForm->hide();
        window == Form5 ? Main->RisClick() : Main->N8Click();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        EXPECT_TRUE(HelpForm->isVisible()) << window->windowTitle().toStdString();
    }
}

TEST_F(WindowTest, VelocityFieldShowsItsLargestValueWhole) {
    // The field at its design size: a text that fits is drawn the same whichever end the text
    // cursor is at; one that does not fit scrolls.
    Main->SpinEdit2->SetValue(1000000);
    ASSERT_EQ(Main->SpinEdit2->size(), QSize(65, 24));
    auto* editor = Main->SpinEdit2->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->text(), "1000000");
    editor->setCursorPosition(0);
    const QImage fromStart = Main->SpinEdit2->grab().toImage();
    editor->setCursorPosition(7);
    const QImage fromEnd = Main->SpinEdit2->grab().toImage();
    EXPECT_EQ(fromStart, fromEnd) << "the text scrolls inside the field";
}

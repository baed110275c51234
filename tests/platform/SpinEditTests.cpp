// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <limits>

#include "DecimalSeparator.h"
#include "TSpinEdit.h"

using zk::TSpinEdit;

namespace {

// A shown, active window with a velocity field (365..1000000, as the main window's) and a button
// to move the focus to.
class SpinEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        zk::SetDecimalSeparator(QStringLiteral("."));
        window.resize(200, 100);
        field = new TSpinEdit(&window);
        field->setGeometry(10, 10, 65, 24);
        field->SetMinValue(365);
        field->SetMaxValue(1000000);
        field->SetValue(680);
        other = new QPushButton(QStringLiteral("other"), &window);
        other->setGeometry(10, 50, 80, 25);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void TypeInto(const QString& text) {
        field->Editor()->setFocus();
        field->Editor()->selectAll();
        QTest::keyClicks(field->Editor(), text);
    }

    QWidget window;
    TSpinEdit* field = nullptr;
    QPushButton* other = nullptr;
};

} // namespace

TEST_F(SpinEditTest, ValueReadsTheTextAsTypedWithoutClamping) {
    struct Row {
        const char* text;
        std::int32_t value;
    };
    const Row rows[] = {
        {"200", 200},         // below the lower limit: read as typed
        {"2000000", 2000000}, // above the upper limit
        {"+15", 15},
        {"-7", -7},
        {"abc", 365}, // letters read as the lower limit
        {"-", 365},   // a minus sign alone
        {"", 365},
        {"12a", 365},
        {"1.5", 365},
        {" 12", 365},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", 365}, // beyond 32 bits
        {"99999999999999999999", 365},
    };
    for (const Row& row : rows) {
        field->SetText(QString::fromLatin1(row.text));
        EXPECT_EQ(field->Value(), row.value) << "text \"" << row.text << '"';
        EXPECT_EQ(field->Text(), QString::fromLatin1(row.text)) << "reading must not change the text";
    }
}

TEST_F(SpinEditTest, WritingClampsUnlessBothLimitsAreEqual) {
    field->SetValue(300);
    EXPECT_EQ(field->Text(), "365");
    field->SetValue(2000000);
    EXPECT_EQ(field->Text(), "1000000");
    field->SetValue(-12);
    EXPECT_EQ(field->Text(), "365");

    // Equal limits mean none (the settings window's speed-of-sound field).
    field->SetMinValue(0);
    field->SetMaxValue(0);
    field->SetValue(-340);
    EXPECT_EQ(field->Text(), "-340");
    field->SetValue(5000000000LL); // kept a 32-bit integer instead of wrapping
    EXPECT_EQ(field->Text(), "2147483647");
    EXPECT_EQ(field->Value(), 2147483647);
}

TEST_F(SpinEditTest, ChangingLimitsOrStepLeavesTheTextAlone) {
    field->SetMinValue(700);
    field->SetMaxValue(690);
    field->SetIncrement(1000);
    EXPECT_EQ(field->Text(), "680");
    field->SetMaxValue(1000000);
    field->Step(1); // 680 + 1000, inside 700..1000000
    EXPECT_EQ(field->Text(), "1680");
}

TEST_F(SpinEditTest, ArrowsAndKeysStepByTheIncrementAndClamp) {
    field->SetIncrement(340); // one Mach unit at c1 = 340
    QTest::mouseClick(field->UpButton(), Qt::LeftButton);
    EXPECT_EQ(field->Text(), "1020");
    QTest::mouseClick(field->DownButton(), Qt::LeftButton);
    QTest::mouseClick(field->DownButton(), Qt::LeftButton);
    EXPECT_EQ(field->Text(), "365"); // 340 clamped to the lower limit

    field->Editor()->setFocus();
    QTest::keyClick(field->Editor(), Qt::Key_Up);
    EXPECT_EQ(field->Text(), "705");
    QTest::keyClick(field->Editor(), Qt::Key_Down);
    EXPECT_EQ(field->Text(), "365");

    field->SetValue(999900);
    QTest::keyClick(field->Editor(), Qt::Key_Up);
    EXPECT_EQ(field->Text(), "1000000");

    // Stepping from a text that is no number starts from the lower limit.
    field->SetText(QStringLiteral("xyz"));
    QTest::keyClick(field->Editor(), Qt::Key_Up);
    EXPECT_EQ(field->Text(), "705");
}

TEST_F(SpinEditTest, SteppingNearTheIntegerRangeDoesNotWrap) {
    field->SetMinValue(0);
    field->SetMaxValue(0);
    field->SetIncrement(1000);
    field->SetValue(std::numeric_limits<std::int32_t>::max() - 10);
    field->Step(1);
    EXPECT_EQ(field->Value(), std::numeric_limits<std::int32_t>::max());
    field->SetValue(std::numeric_limits<std::int32_t>::min() + 10);
    field->Step(-1);
    EXPECT_EQ(field->Value(), std::numeric_limits<std::int32_t>::min());
}

// The repeat is driven tick by tick through its timer, so no real time passes and a loaded
// machine cannot make a repeat fall early or late.
TEST_F(SpinEditTest, HeldArrowRepeatsOnlyAfterTheDelay) {
    field->SetIncrement(1);
    QTimer* repeat = field->RepeatTimer();
    const auto tick = [repeat] {
        ASSERT_TRUE(repeat->isActive());
        QTimerEvent due(repeat->timerId());
        QCoreApplication::sendEvent(repeat, &due);
    };
    EXPECT_FALSE(repeat->isActive()) << "nothing is held";
    QTest::mousePress(field->UpButton(), Qt::LeftButton);
    EXPECT_EQ(field->Value(), 681); // one step at once
    ASSERT_TRUE(repeat->isActive());
    EXPECT_EQ(repeat->interval(), TSpinEdit::kRepeatDelay) << "the first repeat waits 400 ms";
    tick();
    EXPECT_EQ(field->Value(), 682);
    EXPECT_EQ(repeat->interval(), TSpinEdit::kRepeatInterval) << "then one every 100 ms";
    tick();
    tick();
    EXPECT_EQ(field->Value(), 684);
    QTest::mouseRelease(field->UpButton(), Qt::LeftButton);
    EXPECT_FALSE(repeat->isActive()) << "releasing stops the repeat";
    EXPECT_EQ(field->Value(), 684) << "without a further step";

    // The down arrow repeats downwards and starts again from the full delay.
    QTest::mousePress(field->DownButton(), Qt::LeftButton);
    EXPECT_EQ(field->Value(), 683);
    EXPECT_EQ(repeat->interval(), TSpinEdit::kRepeatDelay);
    tick();
    EXPECT_EQ(field->Value(), 682);
    QTest::mouseRelease(field->DownButton(), Qt::LeftButton);
    EXPECT_FALSE(repeat->isActive());
}

TEST_F(SpinEditTest, LeavingTheFieldClampsItsText) {
    TypeInto(QStringLiteral("200"));
    EXPECT_EQ(field->Value(), 200);
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field->Text(), "365");

    TypeInto(QStringLiteral("2000000"));
    other->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(field->Text(), "1000000");

    // A text that is no number reads as the lower limit, which is in range: it stays.
    field->SetText(QStringLiteral("--"));
    field->Editor()->setFocus();
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field->Text(), "--");

    // No limits: nothing to clamp.
    field->SetMinValue(0);
    field->SetMaxValue(0);
    TypeInto(QStringLiteral("-5"));
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field->Text(), "-5");
}

TEST_F(SpinEditTest, TypingAcceptsDigitsSignsAndTheSeparatorOnly) {
    TypeInto(QStringLiteral("1a2b+-.,x3"));
    EXPECT_EQ(field->Text(), "12+-.3");

    zk::SetDecimalSeparator(QStringLiteral(","));
    TypeInto(QStringLiteral("4.5,6"));
    EXPECT_EQ(field->Text(), "45,6");
    zk::SetDecimalSeparator(QStringLiteral("."));

    // Control keys edit as usual.
    TypeInto(QStringLiteral("789"));
    QTest::keyClick(field->Editor(), Qt::Key_Backspace);
    QTest::keyClick(field->Editor(), Qt::Key_Home);
    QTest::keyClick(field->Editor(), Qt::Key_Delete);
    EXPECT_EQ(field->Text(), "8");
}

TEST_F(SpinEditTest, EnterIsRefused) {
    QSignalSpy returns(field->Editor(), &QLineEdit::returnPressed);
    TypeInto(QStringLiteral("700"));
    QTest::keyClick(field->Editor(), Qt::Key_Return);
    QTest::keyClick(field->Editor(), Qt::Key_Enter);
    EXPECT_EQ(returns.count(), 0);
    EXPECT_EQ(field->Text(), "700");
}

TEST_F(SpinEditTest, ClickHandlerRunsOnlyForAClickIntoTheText) {
    QSignalSpy clicks(field, &TSpinEdit::Click);
    QTest::mouseClick(field->Editor(), Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(field->UpButton(), Qt::LeftButton);
    QTest::mouseClick(field->DownButton(), Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);

    field->Editor()->setFocus();
    QTest::keyClicks(field->Editor(), QStringLiteral("5"));
    QTest::keyClick(field->Editor(), Qt::Key_Up);
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(field->Editor(), Qt::RightButton, {}, QPoint(10, 12));
    EXPECT_EQ(clicks.count(), 1);

    // Pressed in the text, released outside it: no click.
    QTest::mousePress(field->Editor(), Qt::LeftButton, {}, QPoint(10, 12));
    QTest::mouseRelease(field->Editor(), Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_EQ(clicks.count(), 1);
}

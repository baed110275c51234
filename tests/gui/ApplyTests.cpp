// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>
#include <QPushButton>

#include "ProgramFixture.h"

using ApplyTest = ProgramTest;

namespace {
bool RatiosShown() {
    return Main->Label1->isVisible() && Main->Label2->isVisible() && Main->Label8->isVisible() &&
           Main->Label11->isVisible();
}
bool FormulasShown() {
    return Main->Image2->isVisible() && Main->Image3->isVisible() && Main->Image4->isVisible() &&
           Main->Image5->isVisible();
}
} // namespace

TEST_F(ApplyTest, ButtonSolvesTheFieldsAndRedraws) {
    const QImage before = Picture();
    Main->SpinEdit1->SetValue(10);
    Main->SpinEdit2->SetValue(1000);
    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    // Worked example: V1 = 1000, χ = 10 gives C = (916, 160).
    EXPECT_EQ(Flow.PointCx, 916);
    EXPECT_EQ(Flow.PointCy, 160);
    EXPECT_EQ(Main->Label6->text(), "2.941"); // 1000 / 340
    EXPECT_NE(Picture(), before);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ApplyTest, DetachedShockHidesTheRatiosAndTheirFormulas) {
    Main->SpinEdit1->SetValue(30);
    Main->Button2Click();
    EXPECT_TRUE(Flow.ShockDetached);
    EXPECT_FALSE(RatiosShown());
    EXPECT_FALSE(FormulasShown());

    Main->SpinEdit1->SetValue(20);
    Main->Button2Click();
    EXPECT_TRUE(RatiosShown());
    EXPECT_TRUE(FormulasShown());
}

TEST_F(ApplyTest, ZeroWedgeHidesTheRatiosButKeepsTheFormulas) {
    Main->SpinEdit1->SetValue(0);
    Main->Button2Click();
    EXPECT_FALSE(RatiosShown());
    EXPECT_TRUE(FormulasShown());
    EXPECT_EQ(Flow.ShockAngle, 0.0);
}

TEST_F(ApplyTest, LabelsUseTheLocalesDecimalSeparator) {
    zk::SetDecimalSeparator(QStringLiteral(","));
    Main->Button2Click();
    EXPECT_EQ(Main->Label13->text(), "1,4");
    EXPECT_EQ(Main->Label3->text(), "45,6");
    EXPECT_EQ(Main->Label2->text(), "2,788");
    EXPECT_EQ(Main->Label12->text(), "340");
}

TEST_F(ApplyTest, LabelsSizeThemselvesToTheirText) {
    const QPoint corner = Main->Label6->pos();
    Main->SpinEdit2->SetValue(1000000);
    Main->Button2Click();
    EXPECT_EQ(Main->Label6->text(), "2941.176");
    EXPECT_EQ(Main->Label6->pos(), corner);
    EXPECT_GE(Main->Label6->width(), Main->Label6->fontMetrics().horizontalAdvance(Main->Label6->text()));
}

TEST_F(ApplyTest, ClickIntoTheVelocityTextUpdatesTheMachNumber) {
    Main->SpinEdit2->SetText(QStringLiteral("1020"));
    EXPECT_EQ(Main->Label6->text(), "2");
    QTest::mouseClick(Main->SpinEdit2->Editor(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Main->Label6->text(), "3");
    EXPECT_EQ(Flow.V1, 680) << "no Apply";
}

TEST_F(ApplyTest, ZeroSpeedOfSoundIsReportedAndTheLabelKept) {
    Flow.SoundSpeed = 0;
    QTest::mouseClick(Main->SpinEdit2->Editor(), Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Title, QStringLiteral("Зорквента"));
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("Floating point division by zero."));
    EXPECT_EQ(Main->Label6->text(), "2");

    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    ASSERT_EQ(errors.Boxes.size(), 2u);
    EXPECT_EQ(errors.Boxes[1].Text, QStringLiteral("Floating point division by zero."));
    EXPECT_TRUE(Main->isVisible());
    EXPECT_TRUE(Main->Button2->isEnabled());
}

TEST_F(ApplyTest, TypedWedgeIsClampedWhenTheFieldIsLeft) {
    Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main));
    Main->SpinEdit1->Editor()->setFocus();
    Main->SpinEdit1->Editor()->selectAll();
    QTest::keyClicks(Main->SpinEdit1->Editor(), QStringLiteral("2000"));
    QTest::keyClick(Main->SpinEdit1->Editor(), Qt::Key_Tab);
    EXPECT_EQ(Main->SpinEdit1->Text(), "180");

    Main->SpinEdit1->Editor()->setFocus();
    Main->SpinEdit1->Editor()->selectAll();
    QTest::keyClicks(Main->SpinEdit1->Editor(), QStringLiteral("0"));
    QTest::keyClick(Main->SpinEdit1->Editor(), Qt::Key_Tab);
    EXPECT_EQ(Main->SpinEdit1->Text(), "0") << "0 is allowed from the first activation on";
}

TEST_F(ApplyTest, VelocityBelowTheLimitIsClampedBeforeApplyByClickingTheButton) {
    Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main));
    Main->SpinEdit2->Editor()->setFocus();
    Main->SpinEdit2->Editor()->selectAll();
    QTest::keyClicks(Main->SpinEdit2->Editor(), QStringLiteral("200"));
    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    EXPECT_EQ(Main->SpinEdit2->Text(), "365");
    EXPECT_EQ(Flow.V1, 365);
}

TEST_F(ApplyTest, BothExitItemsCloseTheMainWindow) {
    Main->N5->trigger();
    EXPECT_FALSE(Main->isVisible());
    Main->show();
    Main->N7->trigger();
    EXPECT_FALSE(Main->isVisible());
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ApplyTest, GraphicsOpensTheFlightWindowWithTheSettingsParticleCount) {
    Opt->SpinEdit1->SetValue(250);
    Main->N3->trigger();
    EXPECT_TRUE(Form3->isVisible());
    EXPECT_EQ(Form3->Model().ParticleCount(), 250);
    Form3->close();
    Opt->SpinEdit1->SetText(QStringLiteral("9000")); // typed beyond the field's limits
    Main->N3Click();
    EXPECT_EQ(Form3->Model().ParticleCount(), 500);
    EXPECT_TRUE(errors.Boxes.empty());
}

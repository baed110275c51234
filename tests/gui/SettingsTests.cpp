// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QPushButton>

#include "ProgramFixture.h"

using SettingsTest = ProgramTest;

TEST_F(SettingsTest, OpeningDisablesOnlyTheMainWindow) {
    Main->N2->trigger();
    EXPECT_TRUE(Opt->isVisible());
    EXPECT_TRUE(Opt->isEnabled());
    EXPECT_FALSE(Main->isEnabled());
    EXPECT_TRUE(Main->isVisible());

    // Clicks on the main window have no effect meanwhile.
    Main->SpinEdit1->SetValue(30);
    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    EXPECT_FALSE(Flow.ShockDetached);
    EXPECT_EQ(Main->Label2->text(), "2.788");
}

TEST_F(SettingsTest, OkWithoutChangesKeepsTheGasAndRaisesTheVelocityLimit) {
    Main->N2Click();
    QTest::mouseClick(Opt->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(Opt->isVisible());
    EXPECT_TRUE(Main->isEnabled());
    EXPECT_EQ(Flow.SoundSpeed, 340.0);
    EXPECT_EQ(Flow.Gamma, 1.4);
    EXPECT_EQ(Main->SpinEdit2->MinValue(), 355);
    EXPECT_EQ(Main->SpinEdit2->Text(), "680") << "only the limit changes";
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(SettingsTest, CloseBoxHasTheEffectOfOk) {
    Main->N2Click();
    Opt->cc1->SetValue(300);
    Opt->close();
    EXPECT_FALSE(Opt->isVisible());
    EXPECT_TRUE(Main->isEnabled());
    EXPECT_EQ(Flow.SoundSpeed, 300.0);
    EXPECT_EQ(Main->SpinEdit2->MinValue(), 315);
}

TEST_F(SettingsTest, NewSpeedOfSoundIsAppliedAndStepsTheVelocity) {
    Main->N2Click();
    Opt->cc1->SetValue(300);
    Opt->BitBtn1Click();
    EXPECT_EQ(Main->Label12->text(), "300");
    EXPECT_EQ(Main->Label6->text(), "2.267"); // 680 / 300
    EXPECT_EQ(Main->SpinEdit2->Increment(), 300);
    EXPECT_EQ(Main->SpinEdit2->MinValue(), 315);
    Main->SpinEdit2->Step(1);
    EXPECT_EQ(Main->SpinEdit2->Text(), "980");
}

TEST_F(SettingsTest, GammaIsEnteredTimesTen) {
    Main->N2Click();
    Opt->cG1->SetValue(13);
    Opt->BitBtn1Click();
    EXPECT_EQ(Flow.Gamma, 1.3);
    EXPECT_EQ(Main->Label13->text(), "1.3");
}

TEST_F(SettingsTest, FailingApplyStillClosesAndEnablesButKeepsTheLimit) {
    Main->N2Click();
    Opt->cc1->SetValue(0);
    Opt->BitBtn1Click();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("Floating point division by zero."));
    EXPECT_FALSE(Opt->isVisible());
    EXPECT_TRUE(Main->isEnabled());
    EXPECT_EQ(Flow.SoundSpeed, 0.0) << "the gas is taken over all the same";
    EXPECT_EQ(Main->SpinEdit2->MinValue(), 365);

    // γ below 1: χmax has no value.
    Main->N2Click();
    Opt->cc1->SetValue(340);
    Opt->cG1->SetValue(9);
    Opt->BitBtn1Click();
    ASSERT_EQ(errors.Boxes.size(), 2u);
    EXPECT_EQ(errors.Boxes[1].Text, QStringLiteral("Invalid floating point operation."));
    EXPECT_TRUE(Main->isEnabled());
}

TEST_F(SettingsTest, FieldsKeepTheirValuesBetweenOpenings) {
    Main->N2Click();
    Opt->SpinEdit1->SetValue(300);
    Opt->cG1->SetValue(12);
    Opt->BitBtn1Click();
    Flow.Gamma = 1.4; // the window does not read the flow state again
    Main->N2Click();
    EXPECT_EQ(Opt->SpinEdit1->Text(), "300");
    EXPECT_EQ(Opt->cG1->Text(), "12");
}

// A gas the fields cannot show exactly (γ = 1.67 shows as γ × 10 = 17, c1 = 340.5 as 340) is
// kept by every close that leaves the fields as they were shown.
TEST_F(SettingsTest, ClosingWithoutChangesKeepsTheExactGasOfAnOpenedCase) {
    const std::pair<const char*, void (*)()> rows[] = {
        {"Escape", [] { QTest::keyClick(Opt, Qt::Key_Escape); }},
        {"OK", [] { QTest::mouseClick(Opt->BitBtn1, Qt::LeftButton); }},
        {"close box", [] { Opt->close(); }},
    };
    const QString file = Temp("monatomic.psr");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write("340.5\r\n167\r\n680\r\n20\r\n") > 0);
    out.close();
    for (const auto& [how, close] : rows) {
        SCOPED_TRACE(how);
        Main->OpenResultFile(file);
        ASSERT_EQ(Flow.Gamma, 1.67);
        Main->N2->trigger();
        ASSERT_EQ(Opt->cG1->Text(), "17");
        ASSERT_EQ(Opt->cc1->Text(), "340"); // 340.5 to even
        close();
        EXPECT_EQ(Flow.Gamma, 1.67);
        EXPECT_EQ(Flow.SoundSpeed, 340.5);
        EXPECT_EQ(Main->Label3->text(), "36.8") << "χmax = arcsin(1 / 1.67) = 36.78°; 1.7 gives 36.03°";
        EXPECT_EQ(Main->SpinEdit2->MinValue(), 355) << "the limit from the field, 340 + 15";
        // Saved again, the case holds what it held.
        dialogs.Answer(Temp("saved.psr"));
        Main->psr1->trigger();
        QFile saved(Temp("saved.psr"));
        EXPECT_TRUE(saved.open(QIODevice::ReadOnly) && saved.readAll() == "340\r\n167\r\n680\r\n20\r\n");
    }
    EXPECT_TRUE(errors.Boxes.empty());
    Main->N2->trigger();
    Opt->cG1->SetValue(13); // a changed field is taken, the other kept
    Opt->close();
    EXPECT_EQ(Flow.Gamma, 1.3);
    EXPECT_EQ(Flow.SoundSpeed, 340.5);
}

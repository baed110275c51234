// SPDX-License-Identifier: GPL-3.0-or-later
// The menu "Справка": the guide for students with its two pictures, opened from the menu and by
// F1, and the box "О программе".
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

#include "HelpForm.h"
#include "Pictures.h"
#include "ProgramFixture.h"
#include "WindowOwner.h"

namespace {

QImage GuideImage(const char* name) {
    const QVariant resource =
        HelpForm->Text1->document()->resource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name)));
    return resource.value<QImage>().convertToFormat(QImage::Format_RGB32);
}

} // namespace

using HelpTest = ProgramTest;

TEST_F(HelpTest, HelpMenuComesLastAndTheOtherItemsStay) {
    QStringList bar;
    for (QAction* action : Main->menuBar()->actions())
        bar << action->text();
    ASSERT_FALSE(bar.isEmpty());
    EXPECT_EQ(bar.back(), QStringLiteral("Справка"));
    EXPECT_EQ(bar.indexOf(QStringLiteral("Справка")), bar.indexOf(QStringLiteral("Выход")) + 1);
    QStringList help;
    for (QAction* action : Main->Help1->actions())
        help << action->text();
    EXPECT_EQ(help, (QStringList{"Как читать диаграмму", "О программе"}));
}

TEST_F(HelpTest, GuideOpensFromTheMenuAndFromF1) {
    EXPECT_FALSE(HelpForm->isVisible());
    Main->Guide1->trigger();
    EXPECT_TRUE(HelpForm->isVisible());
    EXPECT_EQ(HelpForm->windowTitle(), QStringLiteral("Как читать диаграмму"));
    EXPECT_EQ(zk::WindowOwner(HelpForm), Main);
    EXPECT_TRUE(Main->isEnabled()) << "not modal";
    QTest::keyClick(HelpForm->Text1, Qt::Key_Escape);
    EXPECT_FALSE(HelpForm->isVisible()) << "Escape puts the guide away";

    Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main));
    QTest::keyClick(Main, Qt::Key_F1);
    EXPECT_TRUE(HelpForm->isVisible());
    EXPECT_TRUE(errors.Boxes.empty());
    // Whole on the screen, its top no higher than the main window's.
    const QRect screen = Main->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(HelpForm->frameGeometry())) << "on the screen";
    EXPECT_GE(HelpForm->frameGeometry().top(), Main->frameGeometry().top());
}

TEST_F(HelpTest, GuideExplainsTheConstructionInItsKeyWords) {
    const QString text = HelpForm->Text1->toPlainText();
    for (const char* word :
         {"плоскости годографа", "ударная поляра", "A", "B", "луч", "C", "BC", "перпендикуляр", "D",
          "Отошедший скачок", "Графически", "мыши", "Сравнение", "Ctrl+O", "F1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word;
}

TEST_F(HelpTest, GuideCoversEveryWindowAndSaysTheLimitsRight) {
    const QString text = HelpForm->Text1->toPlainText().replace(QChar(0x00A0), QLatin1Char(' '));
    // χmax is the limit over all Mach numbers; θmax of the stream and the construction's own
    // largest wedge are the other two numbers.
    for (const char* says :
         {"M1 → ∞", "θmax(M1)", "22,97°", "это 23°", "угла Маха", "0,797", "По шагам", "подсвечено",
          "кружком с буквой", "без пометок", "Семейство кривых θ–β–M", "Поляра давлений",
          "щелчок по любому из трёх графиков", "Копировать таблицу", "Сохранить таблицу…", "CSV"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(says))) << says;
    for (const char* never : {"щек", "щёк", "при котором построение ещё находит точку C."})
        EXPECT_FALSE(text.contains(QString::fromUtf8(never))) << never;
    // A decimal comma never stands beside a comma that separates a list ("1,2, 1,5", "22,97°, а").
    const QRegularExpression crowded(QStringLiteral("\\d,\\d+°?,\\s|,\\s\\d+,\\d"));
    EXPECT_FALSE(text.contains(crowded)) << text.toStdString();
}

TEST_F(HelpTest, GuideShowsTheTheoryPictureAndTheStartupDiagram) {
    const QString html = HelpForm->Text1->toHtml();
    EXPECT_TRUE(html.contains(QString::fromLatin1(THelpForm::kTheoryPictureName)));
    EXPECT_TRUE(html.contains(QString::fromLatin1(THelpForm::kDiagramPictureName)));

    EXPECT_EQ(GuideImage(THelpForm::kTheoryPictureName),
              zk::pictures::TheoryPicture().convertToFormat(QImage::Format_RGB32));
    // Drawn by the program itself: pixel for pixel the main window's diagram at start-up.
    const QImage diagram = GuideImage(THelpForm::kDiagramPictureName);
    EXPECT_EQ(diagram.size(), QSize(609, 449));
    EXPECT_EQ(diagram, Picture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(HelpTest, GuideDiagramStaysTheStartupCase) {
    Main->SpinEdit1->SetValue(40);
    Main->SpinEdit2->SetValue(1500);
    Main->Button2Click();
    ASSERT_NE(Picture().convertToFormat(QImage::Format_RGB32), THelpForm::StartupDiagram());
    // Another gas in the program's flow state does not reach the guide's picture either.
    Main->N2Click();
    Opt->cc1->SetValue(250);
    Opt->BitBtn1Click();
    Main->Guide1->trigger();
    EXPECT_EQ(THelpForm::StartupDiagram(), GuideImage(THelpForm::kDiagramPictureName));
    EXPECT_EQ(Flow.SoundSpeed, 250.0);
}

// At device scale 2 the guide shows the start-up diagram drawn at that scale, as the main window
// draws it there, laid out at the size it has at scale 1.
TEST_F(HelpTest, GuidePicturesAreDrawnAtTheDeviceScale) {
    QTextDocument* document = HelpForm->Text1->document();
    document->setTextWidth(800); // as in the window, which is not shown
    const QSizeF laidOut = document->size();
    HelpForm->ShowPicturesAtScale(2);
    Main->RescalePicture(2);
    EXPECT_EQ(GuideImage(THelpForm::kDiagramPictureName), Picture().convertToFormat(QImage::Format_RGB32));
    document->markContentsDirty(0, document->characterCount());
    EXPECT_EQ(document->size(), laidOut);
}

TEST_F(HelpTest, AboutBoxNamesTheProgramVersionLicenceAndQt) {
    const QString text = TMain::AboutText();
    EXPECT_TRUE(text.contains(QStringLiteral("Зорквента")));
    EXPECT_TRUE(text.contains(QStringLiteral(ZK_VERSION)));
    EXPECT_TRUE(text.contains(QStringLiteral("GPL-3.0-or-later")));
    EXPECT_TRUE(text.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));

    Main->About1->trigger();
    ASSERT_NE(Main->AboutBox, nullptr);
    EXPECT_TRUE(Main->AboutBox->isVisible());
    EXPECT_EQ(Main->AboutBox->text(), text);
    EXPECT_EQ(Main->AboutBox->windowTitle(), QStringLiteral("О программе"));
    Main->AboutBox->accept();
    EXPECT_FALSE(Main->AboutBox->isVisible());
    EXPECT_TRUE(Main->isEnabled());
}

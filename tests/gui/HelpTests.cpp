// SPDX-License-Identifier: GPL-3.0-or-later
// The menu "Справка": the guide for students with its two pictures, opened from the menu and by
// F1, and the box "О программе".
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>

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

// At a device scale the guide shows the program's figures drawn at that scale, laid out at the
// size they have at scale 1; painted on a screen of another scale it draws them again.
TEST_F(HelpTest, GuidePicturesAreDrawnAtTheDeviceScale) {
    QTextDocument* document = HelpForm->Text1->document();
    document->setTextWidth(800); // laid out as in the window, which is not shown yet
    const QSizeF laidOut = document->size();
    ASSERT_GT(laidOut.height(), 449 + 527);
    const auto rendered = [document] {
        QImage page((document->size() * 2).toSize(), QImage::Format_RGB32);
        page.setDevicePixelRatio(2);
        page.fill(Qt::white);
        QPainter painter(&page);
        document->drawContents(&painter);
        painter.end();
        page.setDevicePixelRatio(1);
        return page;
    };
    // Aligned 2 x 2 device-pixel blocks that mix the polar's green with another colour: none where
    // the diagram is its pixels blown up.
    const auto mixedGreen = [](const QImage& page) {
        int mixed = 0;
        for (int y = 0; y + 1 < page.height(); y += 2)
            for (int x = 0; x + 1 < page.width(); x += 2) {
                const QRgb block[4] = {page.pixel(x, y), page.pixel(x + 1, y), page.pixel(x, y + 1),
                                       page.pixel(x + 1, y + 1)};
                const int green = std::count(block, block + 4, 0xFF008000u);
                mixed += green > 0 && green < 4;
            }
        return mixed;
    };
    EXPECT_EQ(mixedGreen(rendered()), 0) << "at scale 1 the diagram is blown up";

    HelpForm->ShowPicturesAtScale(2);
    EXPECT_EQ(HelpForm->PicturesScale(), 2);
    Main->RescalePicture(2);
    const QImage diagram = GuideImage(THelpForm::kDiagramPictureName);
    EXPECT_EQ(diagram.size(), QSize(1218, 898));
    EXPECT_EQ(diagram, Picture().convertToFormat(QImage::Format_RGB32))
        << "the main window's start-up diagram at scale 2";
    QImage theory;
    {
        const zk::pictures::PictureScale scale(2);
        theory = zk::pictures::TheoryPicture().convertToFormat(QImage::Format_RGB32);
    }
    EXPECT_EQ(GuideImage(THelpForm::kTheoryPictureName), theory);
    document->markContentsDirty(0, document->characterCount());
    EXPECT_EQ(document->size(), laidOut) << "the text keeps its layout";
    EXPECT_GT(mixedGreen(rendered()), 100);

    // Painted at the screen's own scale again (1 here), the guide goes back to it.
    HelpForm->Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(HelpForm));
    HelpForm->Text1->viewport()->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(HelpForm->PicturesScale(), 1);
    EXPECT_EQ(GuideImage(THelpForm::kDiagramPictureName), THelpForm::StartupDiagram());
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The menu item "Дополнительные построения": off at start, the layer over the diagram when on,
// and the layer wherever the diagram goes (the bitmap, the PNG, the printout).
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "ExtrasLayer.h"
#include "HelpForm.h"
#include "StepsForm.h"
#include "ProgramFixture.h"

namespace {

constexpr QRgb kPurple = qRgb(128, 0, 128); // the tangents
constexpr QRgb kBrown = qRgb(150, 75, 0); // brown: the exact points on the wedge ray
constexpr QRgb kTeal = qRgb(0, 128, 128);   // the sonic circle

int CountOf(const QImage& image, QRgb colour) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            n += rgb.pixel(x, y) == colour;
    return n;
}

class PagePrinter : public zk::TPrinter {
  public:
    void SetLandscape() override {}
    void PrintImage(const QImage& image, int, int) override { Page = image; }
    QImage Page;
};

} // namespace

using ExtrasTest = ProgramTest;

TEST_F(ExtrasTest, MenuItemFollowsTheStepsAndIsOffAtStart) {
    const QList<QAction*> bar = Main->menuBar()->actions();
    const qsizetype steps = bar.indexOf(Main->N9);
    ASSERT_GE(steps, 0);
    ASSERT_LT(steps + 1, bar.size());
    EXPECT_EQ(bar[steps + 1], Main->N10);
    EXPECT_EQ(Main->N10->text(), QStringLiteral("Дополнительные построения"));
    EXPECT_TRUE(Main->N10->isCheckable());
    EXPECT_FALSE(Main->N10->isChecked());
    for (QRgb colour : {kPurple, kBrown, kTeal})
        EXPECT_EQ(CountOf(Picture(), colour), 0);
}

TEST_F(ExtrasTest, OnDrawsTheLayerOverTheSameDiagramAndOffTakesItAway) {
    const QImage plain = Picture();
    const QStringList shown = ShownState();
    Main->N10->trigger();
    const QImage layered = Picture();
    EXPECT_TRUE(Main->N10->isChecked());
    for (QRgb colour : {kPurple, kBrown, kTeal})
        EXPECT_GT(CountOf(layered, colour), 20) << std::hex << colour;
    // The diagram's own construction is still there: the red pixel of C at (423, 301).
    EXPECT_EQ(layered.pixel(423, 301), qRgb(255, 0, 0));
    EXPECT_EQ(ShownState(), shown) << "nothing is solved anew";
    Main->N10->trigger();
    EXPECT_EQ(Picture(), plain);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ExtrasTest, LayerFollowsEveryApplyAndAFaultLeavesThePictureAsDrawn) {
    Main->N10->trigger();
    Main->SpinEdit1->SetValue(30);
    Main->Button2->click(); // detached: tangents and circle, no exact points on the ray
    EXPECT_GT(CountOf(Picture(), kPurple), 20);
    EXPECT_GT(CountOf(Picture(), kTeal), 20);
    EXPECT_EQ(CountOf(Picture(), kBrown), 0);
    // c1 = 0 faults before the picture is touched: the picture and its layer stay.
    const QImage before = Picture();
    Flow.SoundSpeed = 0;
    Main->Button2->click();
    EXPECT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(Picture(), before);
}

TEST_F(ExtrasTest, BitmapPngAndPrintoutShowTheLayer) {
    Main->N10->trigger();
    dialogs.Answer(Temp("layer"));
    Main->bmp1Click();
    const QImage bmp(Temp("layer.bmp"), "BMP");
    ASSERT_EQ(bmp.size(), QSize(609, 449));
    EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32), Picture());

    dialogs.AnswerWithFilter(Temp("layer.png"), 2);
    Main->bmp1Click();
    const QImage png(Temp("layer.png"), "PNG");
    ASSERT_EQ(png.size(), QSize(2436, 1796));
    // Drawn at four times the size, not enlarged: each colour covers about 4 to 16 times its
    // pixels of the bitmap (lines 4 device pixels wide, rings and text finer).
    for (QRgb colour : {kPurple, kBrown, kTeal}) {
        const int small = CountOf(bmp, colour), large = CountOf(png, colour);
        EXPECT_GT(large, 3 * small) << std::hex << colour;
        EXPECT_LE(large, 16 * small) << std::hex << colour;
    }

    PagePrinter printer;
    zk::SetPrinter(&printer);
    Main->N4Click();
    ASSERT_FALSE(printer.Page.isNull());
    for (QRgb colour : {kPurple, kBrown, kTeal})
        EXPECT_GT(CountOf(printer.Page, colour), 20) << std::hex << colour;
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ExtrasTest, GuideShowsTheLayerInPicturesTheProgramDrew) {
    ASSERT_NE(HelpForm, nullptr);
    QTextDocument* document = HelpForm->Text1->document();
    const auto picture = [&](const char* name) {
        return document->resource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name))).value<QImage>();
    };
    const QImage attached = picture(THelpForm::kExtrasAttachedPictureName);
    const QImage detached = picture(THelpForm::kExtrasDetachedPictureName);
    ASSERT_FALSE(attached.isNull());
    ASSERT_FALSE(detached.isNull());
    EXPECT_GT(CountOf(attached, kBrown), 20);
    EXPECT_EQ(CountOf(detached, kBrown), 0) << "the ray misses the polar";
    for (const QImage& image : {attached, detached}) {
        EXPECT_GT(CountOf(image, kPurple), 20);
        EXPECT_GT(CountOf(image, kTeal), 20);
    }
    const QString html = document->toHtml();
    for (const char* name : {THelpForm::kExtrasAttachedPictureName, THelpForm::kExtrasDetachedPictureName})
        EXPECT_TRUE(html.contains(QString::fromLatin1(name))) << name;
}

// With the layer shown, "По шагам" ends with its four pieces, each captioned with the case's own
// numbers (θmax 22.97°, weak β 53.42° and strong β 74.27° from NACA Report 1135; a* = sqrt(173 400)
// = 416.4 m/s and a*²/V1 = 255 m/s by hand); the last step is the main picture with its layer.
TEST_F(ExtrasTest, StepsEndWithTheLayersPieces) {
    zk::SetDecimalSeparator(QStringLiteral(","));
    Main->N10->trigger();
    Main->N9Click();
    ASSERT_EQ(Steps->StepCount(), 16u) << "12 steps of the construction, 4 of the layer";
    const QRgb highlight = qRgb(255, 240, 150);
    QStringList titles, captions;
    std::vector<QImage> pictures;
    QTest::mouseClick(Steps->Button3, Qt::LeftButton);
    for (int k = 0; k < 11; ++k)
        QTest::mouseClick(Steps->Button2, Qt::LeftButton);
    const QImage construction = Steps->Image1->Picture();
    for (int k = 0; k < 4; ++k) {
        QTest::mouseClick(Steps->Button2, Qt::LeftButton);
        titles << Steps->Label2->text();
        captions << Steps->Label3->text();
        pictures.push_back(Steps->Image1->Picture());
    }
    EXPECT_EQ(titles, (QStringList{"Касательная из O", "Слабый и сильный скачок", "Звуковая окружность",
                                   "Присоединён ли скачок"}));
    EXPECT_TRUE(captions[0].contains(QStringLiteral("θmax = 22,97°"))) << captions[0].toStdString();
    for (const char* part : {"β = 53,42°", "β = 74,27°", "φ = 52,73°"})
        EXPECT_TRUE(captions[1].contains(QString::fromUtf8(part))) << part << captions[1].toStdString();
    for (const char* part : {"a* = 416,4 м/с", "a*²/V1 = 255 м/с"})
        EXPECT_TRUE(captions[2].contains(QString::fromUtf8(part))) << part << captions[2].toStdString();
    EXPECT_TRUE(captions[3].startsWith(QStringLiteral("χ = 20° < θmax(M1) = 22,97°: скачок присоединён.")));

    // Each piece adds its colour, marked by the highlight; the last is the main picture unmarked.
    EXPECT_EQ(CountOf(construction, kPurple), 0);
    EXPECT_GT(CountOf(pictures[0], kPurple), 20);
    EXPECT_EQ(CountOf(pictures[0], kBrown), 0);
    EXPECT_GT(CountOf(pictures[1], kBrown), 20);
    EXPECT_EQ(CountOf(pictures[1], kTeal), 0);
    EXPECT_GT(CountOf(pictures[2], kTeal), 20);
    for (int k = 0; k < 3; ++k)
        EXPECT_GT(CountOf(pictures[k], highlight), 0) << k;
    EXPECT_EQ(pictures[3], Picture());

    // Off again: the construction's steps alone, from the first.
    Main->N10->trigger();
    EXPECT_EQ(Steps->StepCount(), 12u);
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ExtrasTest, DetachedStepsSayTheRayMissesThePolar) {
    Main->N10->trigger();
    Main->SpinEdit1->SetValue(30);
    Main->Button2->click();
    Main->N9Click();
    const std::size_t count = Steps->StepCount();
    ASSERT_GT(count, 4u);
    QTest::mouseClick(Steps->Button3, Qt::LeftButton);
    for (std::size_t k = 0; k + 3 < count; ++k)
        QTest::mouseClick(Steps->Button2, Qt::LeftButton);
    EXPECT_EQ(Steps->Label2->text(), QStringLiteral("Слабый и сильный скачок"));
    EXPECT_TRUE(Steps->Label3->text().contains(QStringLiteral("не пересекает поляру")));
    EXPECT_EQ(CountOf(Steps->Image1->Picture(), kBrown), 0);
    QTest::mouseClick(Steps->Button2, Qt::LeftButton);
    QTest::mouseClick(Steps->Button2, Qt::LeftButton);
    EXPECT_TRUE(Steps->Label3->text().startsWith(QStringLiteral("χ = 30° > θmax(M1) = 22.97°: скачок отсоединён.")));
    EXPECT_EQ(Steps->Image1->Picture(), Picture());
}

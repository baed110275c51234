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
#include "ProgramFixture.h"

namespace {

constexpr QRgb kPurple = qRgb(128, 0, 128); // the tangents
constexpr QRgb kOrange = qRgb(255, 128, 0); // the exact points on the wedge ray
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
    for (QRgb colour : {kPurple, kOrange, kTeal})
        EXPECT_EQ(CountOf(Picture(), colour), 0);
}

TEST_F(ExtrasTest, OnDrawsTheLayerOverTheSameDiagramAndOffTakesItAway) {
    const QImage plain = Picture();
    const QStringList shown = ShownState();
    Main->N10->trigger();
    const QImage layered = Picture();
    EXPECT_TRUE(Main->N10->isChecked());
    for (QRgb colour : {kPurple, kOrange, kTeal})
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
    EXPECT_EQ(CountOf(Picture(), kOrange), 0);
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
    for (QRgb colour : {kPurple, kOrange, kTeal}) {
        const int small = CountOf(bmp, colour), large = CountOf(png, colour);
        EXPECT_GT(large, 3 * small) << std::hex << colour;
        EXPECT_LE(large, 16 * small) << std::hex << colour;
    }

    PagePrinter printer;
    zk::SetPrinter(&printer);
    Main->N4Click();
    ASSERT_FALSE(printer.Page.isNull());
    for (QRgb colour : {kPurple, kOrange, kTeal})
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
    EXPECT_GT(CountOf(attached, kOrange), 20);
    EXPECT_EQ(CountOf(detached, kOrange), 0) << "the ray misses the polar";
    for (const QImage& image : {attached, detached}) {
        EXPECT_GT(CountOf(image, kPurple), 20);
        EXPECT_GT(CountOf(image, kTeal), 20);
    }
    const QString html = document->toHtml();
    for (const char* name : {THelpForm::kExtrasAttachedPictureName, THelpForm::kExtrasDetachedPictureName})
        EXPECT_TRUE(html.contains(QString::fromLatin1(name))) << name;
}

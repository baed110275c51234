// SPDX-License-Identifier: GPL-3.0-or-later
// The menu item "Дополнительные построения": off at start, the layer over the diagram when on, and
// the layer wherever the diagram goes (the bitmap, the PNG, the printout, the steps).
#include <QMenuBar>
#include <QPushButton>

#include "ProgramFixture.h"
#include "StepsForm.h"

namespace {

constexpr QRgb kPurple = qRgb(128, 0, 128); // the tangents
constexpr QRgb kBrown = qRgb(150, 75, 0);   // the exact points on the wedge ray
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

TEST_F(ExtrasTest, ItemAfterTheStepsTurnsTheLayerOnAndOff) {
    const QList<QAction*> bar = Main->menuBar()->actions();
    ASSERT_LT(bar.indexOf(Main->N9) + 1, bar.size());
    EXPECT_EQ(bar[bar.indexOf(Main->N9) + 1], Main->N10);
    EXPECT_TRUE(Main->N10->isCheckable());
    EXPECT_FALSE(Main->N10->isChecked());
    const QImage plain = Picture();
    const QStringList shown = ShownState();
    EXPECT_EQ(CountOf(plain, kPurple) + CountOf(plain, kBrown) + CountOf(plain, kTeal), 0);

    Main->N10->trigger();
    for (QRgb colour : {kPurple, kBrown, kTeal})
        EXPECT_GT(CountOf(Picture(), colour), 20) << std::hex << colour;
    EXPECT_EQ(Picture().pixel(423, 301), qRgb(255, 0, 0)) << "the construction's C is still there";
    EXPECT_EQ(ShownState(), shown) << "nothing is solved anew";
    // Every Apply draws it again: detached, the ray has no exact points.  A run that faults before
    // the picture (c1 = 0) leaves the picture and its layer as they were.
    Main->SpinEdit1->SetValue(30);
    Main->Button2->click();
    EXPECT_GT(CountOf(Picture(), kTeal), 20);
    EXPECT_EQ(CountOf(Picture(), kBrown), 0);
    const QImage detached = Picture();
    Flow.SoundSpeed = 0;
    Main->Button2->click();
    EXPECT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(Picture(), detached);
    Flow.SoundSpeed = 340;
    Main->SpinEdit1->SetValue(20);
    Main->Button2->click();
    Main->N10->trigger();
    EXPECT_EQ(Picture(), plain);
}

TEST_F(ExtrasTest, BitmapPngAndPrintoutShowTheLayer) {
    Main->N10->trigger();
    dialogs.Answer(Temp("layer"));
    Main->bmp1Click();
    EXPECT_EQ(QImage(Temp("layer.bmp"), "BMP").convertToFormat(QImage::Format_RGB32), Picture());
    dialogs.AnswerWithFilter(Temp("layer.png"), 2);
    Main->bmp1Click();
    const QImage png(Temp("layer.png"), "PNG");
    ASSERT_EQ(png.size(), QSize(2436, 1796));
    PagePrinter printer;
    zk::SetPrinter(&printer);
    Main->N4Click();
    for (QRgb colour : {kPurple, kBrown, kTeal}) {
        // Drawn at four times the size, not enlarged: 4 to 16 device pixels a pixel.
        const int small = CountOf(Picture(), colour), large = CountOf(png, colour);
        EXPECT_GT(large, 3 * small) << std::hex << colour;
        EXPECT_LE(large, 16 * small) << std::hex << colour;
        EXPECT_GT(CountOf(printer.Page, colour), 20) << std::hex << colour;
    }
    EXPECT_TRUE(errors.Boxes.empty());
}

// With the layer shown, "По шагам" ends with its four pieces, captioned with the case's numbers
// (θmax 22.97°, weak β 53.42° and strong β 74.27° from NACA Report 1135; a* = sqrt(173 400) m/s =
// 416.4 m/s by hand); each highlighted but the last, which is the main picture.
TEST_F(ExtrasTest, StepsEndWithTheLayersPieces) {
    zk::SetDecimalSeparator(QStringLiteral(","));
    Main->N10->trigger();
    Main->N9Click();
    ASSERT_EQ(Steps->StepCount(), 16u) << "12 steps of the construction, 4 of the layer";
    for (int k = 0; k < 12; ++k)
        QTest::mouseClick(Steps->Button2, Qt::LeftButton);
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"Касательная из O", "θmax = 22,97°"},
        {"Слабый и сильный скачок", "β = 74,27°"},
        {"Звуковая окружность", "a* = 416,4 м/с"},
        {"Присоединён ли скачок", "χ = 20° < θmax(M1) = 22,97°: скачок присоединён."}};
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(Steps->Label2->text(), QString::fromUtf8(expected[k].first));
        EXPECT_TRUE(Steps->Label3->text().contains(QString::fromUtf8(expected[k].second)))
            << Steps->Label3->text().toStdString();
        EXPECT_EQ(CountOf(Steps->Image1->Picture(), qRgb(255, 240, 150)) > 0, k < 3) << "highlight " << k;
        QTest::mouseClick(Steps->Button2, Qt::LeftButton);
    }
    EXPECT_EQ(Steps->Image1->Picture(), Picture());
    Main->N10->trigger();
    EXPECT_EQ(Steps->StepCount(), 12u);
}

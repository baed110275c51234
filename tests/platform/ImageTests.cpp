// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "RasterCanvas.h"
#include "TImage.h"

using zk::TImage;

namespace {
QImage Render(QWidget& widget, QColor background) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}
} // namespace

TEST(ScaleBlackOnWhite, ThinBlackLinesSurviveTheReduction) {
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 50; ++y)
        image.setPixel(25, y, qRgb(0, 0, 0)); // a one-pixel vertical stroke
    const QImage small = zk::ScaleBlackOnWhite(image, QSize(33, 33));
    ASSERT_EQ(small.size(), QSize(33, 33));
    for (int y = 0; y < 33; ++y) {
        int black = 0;
        for (int x = 0; x < 33; ++x)
            black += small.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
        EXPECT_EQ(black, 1) << "row " << y;
    }
    EXPECT_TRUE(zk::ScaleBlackOnWhite(image, QSize()).isNull());
}

TEST(Image, StretchKeepsTheProportions) {
    TImage image;
    image.resize(33, 33);
    QImage picture(50, 25, QImage::Format_RGB32);
    picture.fill(Qt::black);
    image.SetPicture(picture);
    image.SetStretch(true);
    const QImage shown = Render(image, Qt::red);
    EXPECT_EQ(shown.pixel(32, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(0, 15), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(0, 17), qRgb(255, 0, 0)) << "33 x 16: the lower half stays empty";
}

TEST(Image, TransparentLetsTheBackgroundShowThrough) {
    TImage image;
    image.resize(4, 4);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    image.SetPicture(picture);
    EXPECT_EQ(Render(image, Qt::red).pixel(0, 0), qRgb(255, 255, 255));
    image.SetTransparent(true);
    const QImage shown = Render(image, Qt::red);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(1, 1), qRgb(0, 0, 0));
}

TEST(Image, ShowsTheCanvasAsItIsNow) {
    zk::RasterCanvas canvas(30, 20);
    TImage image;
    image.SetAutoSize(true);
    image.SetCanvas(&canvas);
    EXPECT_EQ(image.size(), QSize(30, 20));
    canvas.SetPixel(3, 4, zk::clRed);
    EXPECT_EQ(Render(image, Qt::white).pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(image.Picture().pixel(3, 4), qRgb(255, 0, 0));
}

TEST(Image, ClickNeedsPressAndReleaseOverThePicture) {
    TImage image;
    image.resize(40, 40);
    QSignalSpy clicks(&image, &TImage::Click);
    QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(80, 80));
    EXPECT_EQ(clicks.count(), 1);
}

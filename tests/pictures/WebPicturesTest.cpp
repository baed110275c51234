// SPDX-License-Identifier: GPL-3.0-or-later
// The web page shows the program's fixed pictures (formulas, the sketch, the theory picture) as
// PNG files in web/page/pictures/, drawn by this program's own picture code at device scales 1 to
// 4.  Each file must hold exactly the pixels the desktop draws now.  After a deliberate change of
// a picture, ZK_WRITE_WEB_PICTURES=1 writes the files anew (then look at them before committing).
#include "Pictures.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zk::pictures {
namespace {

struct WebPicture {
    const char* File; // the name the page asks for, without the scale and extension
    QImage (*Draw)();
};

const WebPicture kWebPictures[] = {
    {"task-sketch", TaskSketch},
    {"velocity-density", VelocityDensityFormula},
    {"pressure-ratio", PressureRatioFormula},
    {"speed-ratio", SpeedRatioFormula},
    {"temperature-ratio", TemperatureRatioFormula},
    {"sound-speed", SoundSpeedFormula},
    {"gamma", GammaFormula},
    {"chi-max", ChiMaxFormula},
    {"chi", ChiFormula},
    {"velocity", VelocityFormula},
    {"gamma-times-ten", GammaTimesTenFormula},
    {"theory", TheoryPicture},
};

constexpr int kLargestScale = 4; // device pixel ratios up to 4, the sharpest phones'

QString PathOf(const WebPicture& picture, int scale) {
    return QStringLiteral(ZK_SOURCE_DIR "/web/page/pictures/%1-%2x.png").arg(QLatin1String(picture.File)).arg(scale);
}

// The picture as the file keeps it: two colours in a palette, the background white or
// transparent.
QImage Paletted(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const QList<QRgb> colours{qRgba(255, 255, 255, 255), qRgba(0, 0, 0, 255), qRgba(0, 0, 0, 0)};
    QImage indexed = argb.convertToFormat(QImage::Format_Indexed8, colours, Qt::ThresholdDither);
    indexed.setDevicePixelRatio(1);
    return indexed;
}

TEST(WebPictures, FilesHoldWhatTheProgramDraws) {
    const bool write = std::getenv("ZK_WRITE_WEB_PICTURES") != nullptr;
    if (write)
        QDir().mkpath(QStringLiteral(ZK_SOURCE_DIR "/web/page/pictures"));
    for (const WebPicture& picture : kWebPictures) {
        for (int scale = 1; scale <= kLargestScale; ++scale) {
            SCOPED_TRACE(PathOf(picture, scale).toStdString());
            QImage drawn;
            {
                const PictureScale atScale(scale);
                drawn = picture.Draw().convertToFormat(QImage::Format_ARGB32);
            }
            drawn.setDevicePixelRatio(1);
            if (write) {
                // Quality 0 is the strongest compression.
                ASSERT_TRUE(Paletted(drawn).save(PathOf(picture, scale), "PNG", 0));
            }
            QImage file(PathOf(picture, scale));
            ASSERT_FALSE(file.isNull()) << "missing; ZK_WRITE_WEB_PICTURES=1 writes it";
            file = file.convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(file.size(), drawn.size());
            int differing = 0;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    differing += file.pixel(x, y) != drawn.pixel(x, y);
            EXPECT_EQ(differing, 0);
        }
    }
}

} // namespace
} // namespace zk::pictures

// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <cmath>

namespace zk {

std::string EncodePng(const RasterCanvas& canvas) {
    if (canvas.DeviceWidth() <= 0 || canvas.DeviceHeight() <= 0)
        return {};
    QImage image(reinterpret_cast<const uchar*>(canvas.Bits()), canvas.DeviceWidth(), canvas.DeviceHeight(),
                 static_cast<qsizetype>(canvas.DeviceWidth()) * 4, QImage::Format_RGB32);
    // 96 logical pixels per inch, k device pixels each: the picture keeps the size of the screen's.
    const int dotsPerMetre = static_cast<int>(std::lround(96.0 * canvas.Scale() / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888)))
        return {};
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace zk

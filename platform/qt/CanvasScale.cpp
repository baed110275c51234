// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanvasScale.h"

#include <algorithm>
#include <cmath>

#include "RasterCanvas.h"

namespace zk {

int CanvasScaleFor(double devicePixelRatio) {
    if (!(devicePixelRatio > 1.0)) // also a NaN
        return 1;
    const double scale = std::ceil(devicePixelRatio - 1e-6);
    return static_cast<int>(std::clamp(scale, 1.0, static_cast<double>(RasterCanvas::kMaxScale)));
}

int NearestCanvasScale(double ratio) {
    if (!(ratio > 1.0))
        return 1;
    return static_cast<int>(std::clamp(std::round(ratio), 1.0, static_cast<double>(RasterCanvas::kMaxScale)));
}

QImage CanvasImage(const RasterCanvas& canvas) {
    const QImage view(reinterpret_cast<const uchar*>(canvas.Bits()), canvas.DeviceWidth(),
                      canvas.DeviceHeight(), static_cast<qsizetype>(canvas.DeviceWidth()) * 4,
                      QImage::Format_RGB32);
    QImage image = view.copy();
    image.setDevicePixelRatio(canvas.Scale());
    return image;
}

} // namespace zk

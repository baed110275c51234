// SPDX-License-Identifier: GPL-3.0-or-later
#include "TImage.h"

#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "CanvasScale.h"
#include "RasterCanvas.h"

namespace zk {

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const QImage& image) {
    canvas_ = nullptr;
    shownScale_ = 0;
    picture_ = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    Prepare();
}

void TImage::SetCanvas(const RasterCanvas* canvas) {
    canvas_ = canvas;
    requestedScale_ = 0;
    picture_ = QImage();
    if (autoSize_ && canvas_)
        resize(canvas_->Width(), canvas_->Height());
    update();
}

QImage TImage::Picture() const {
    if (canvas_)
        return CanvasImage(*canvas_);
    return picture_;
}

void TImage::SetHighResolutionSource(std::function<QImage(int scale)> source) {
    source_ = std::move(source);
    shownScale_ = 0;
    update();
}

void TImage::SetScaleHandler(std::function<void(int scale)> handler) {
    scaleHandler_ = std::move(handler);
}

int TImage::ScreenScale() const {
    return CanvasScaleFor(devicePixelRatioF());
}

namespace {

// How much painter magnifies the control's pixels on their way to the device, beyond the
// screen's device pixel ratio.
double Magnification(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    return std::max(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
}

// Whether painter paints a page: the printer's device, or the window rendered onto a page through
// a painter that magnifies it to the printer's resolution (the toolkit may then paint the
// control through an image of that resolution, so the device alone does not tell).
bool IsPrinting(const QPainter& painter, double screenRatio) {
    const QPaintDevice* device = painter.device();
    if (device && device->devType() == QInternal::Printer)
        return true;
    return Magnification(painter) > std::max(1.0, screenRatio) + 0.5;
}

} // namespace

int TImage::PaintScale(const QPainter& painter) const {
    if (!IsPrinting(painter, devicePixelRatioF()))
        return ScreenScale();
    return NearestCanvasScale(Magnification(painter));
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Prepare();
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    Prepare();
}

void TImage::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Prepare();
}

void TImage::Prepare() {
    if (canvas_) {
        if (autoSize_)
            resize(canvas_->Width(), canvas_->Height());
        update();
        return;
    }
    if (autoSize_ && !picture_.isNull())
        resize(picture_.size());
    shown_ = Shown(picture_, 1);
    shownScale_ = 0;
    update();
}

QImage TImage::Shown(const QImage& picture, int k) const {
    QImage shown = picture;
    const QSize logical = picture.deviceIndependentSize().toSize();
    if (stretch_ && !shown.isNull() && logical != size()) {
        shown = ScaleBlackOnWhite(shown, logical.scaled(size(), Qt::KeepAspectRatio) * k);
        shown.setDevicePixelRatio(k);
    }
    if (transparent_ && !shown.isNull()) {
        // The bottom-left pixel gives the background colour, as for a transparent bitmap.
        const QRgb background = shown.pixel(0, shown.height() - 1);
        shown = shown.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shown.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
            for (int x = 0; x < shown.width(); ++x)
                if (line[x] == background)
                    line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return shown;
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool printing = IsPrinting(painter, devicePixelRatioF());
    const int k = PaintScale(painter);
    QImage image;
    QSizeF logical;
    if (canvas_) {
        logical = QSizeF(canvas_->Width(), canvas_->Height());
        if (!printing && k != canvas_->Scale() && scaleHandler_ && requestedScale_ != k) {
            // Not while painting: the owner draws the picture anew, then the control repaints.
            requestedScale_ = k;
            QTimer::singleShot(0, this, [this, k] {
                if (requestedScale_ == k && scaleHandler_)
                    scaleHandler_(k);
                requestedScale_ = 0;
            });
        }
        if (printing && k > canvas_->Scale() && source_) {
            image = source_(k);
        } else {
            QImage view(reinterpret_cast<const uchar*>(canvas_->Bits()), canvas_->DeviceWidth(),
                        canvas_->DeviceHeight(), static_cast<qsizetype>(canvas_->DeviceWidth()) * 4,
                        QImage::Format_RGB32);
            view.setDevicePixelRatio(canvas_->Scale());
            image = view;
        }
    } else if (!shown_.isNull()) {
        logical = shown_.deviceIndependentSize();
        image = shown_;
        if (k > 1 && source_) {
            if (shownScale_ != k) {
                shownLarge_ = Shown(source_(k), k);
                shownScale_ = k;
            }
            if (!shownLarge_.isNull())
                image = shownLarge_;
        }
    }
    if (image.isNull())
        return;
    // A picture drawn at the next whole scale above a fractional screen ratio is brought down to
    // the screen's pixels smoothly; at a whole ratio, and in print, pixels are copied as they are.
    const double screenRatio = devicePixelRatioF();
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          !printing && screenRatio > 1 &&
                              std::abs(image.devicePixelRatio() - screenRatio) > 1e-6);
    if (fit_ && !printing && logical.toSize() != size()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        logical = logical.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    }
    painter.drawImage(QRectF(QPointF(0, 0), logical), image);
}

void TImage::SetFitToBox(bool fit) {
    fit_ = fit;
    update();
}

void TImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    QWidget::mousePressEvent(event);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        if (rect().contains(event->position().toPoint()))
            emit Click();
    }
    QWidget::mouseReleaseEvent(event);
}

void TImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (stretch_ && !canvas_)
        Prepare();
}

QImage ScaleBlackOnWhite(const QImage& image, QSize size) {
    if (image.isNull() || size.isEmpty())
        return QImage();
    QImage source(image.size(), QImage::Format_RGB32);
    source.fill(Qt::white); // a transparent background counts as white
    QPainter painter(&source);
    // Pixel for pixel, also for an image drawn at a device scale: the reduction works on device
    // pixels, and drawing at the image's own device pixel ratio would shrink it into a corner.
    painter.drawImage(QRect(QPoint(0, 0), image.size()), image);
    painter.end();
    QImage target(size, QImage::Format_RGB32);
    const int sw = source.width(), sh = source.height();
    const int tw = size.width(), th = size.height();
    for (int ty = 0; ty < th; ++ty) {
        const int y0 = ty * sh / th;
        const int y1 = std::max(y0 + 1, (ty + 1) * sh / th);
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(ty));
        for (int tx = 0; tx < tw; ++tx) {
            const int x0 = tx * sw / tw;
            const int x1 = std::max(x0 + 1, (tx + 1) * sw / tw);
            int r = 255, g = 255, b = 255;
            for (int y = y0; y < y1; ++y) {
                const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
                for (int x = x0; x < x1; ++x) {
                    r = std::min(r, qRed(in[x]));
                    g = std::min(g, qGreen(in[x]));
                    b = std::min(b, qBlue(in[x]));
                }
            }
            out[tx] = qRgb(r, g, b);
        }
    }
    return target;
}

} // namespace zk

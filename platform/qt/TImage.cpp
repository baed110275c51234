#include "TImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "RasterCanvas.h"

namespace zk {

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const QImage& image) {
    canvas_ = nullptr;
    picture_ = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    Prepare();
}

void TImage::SetCanvas(const RasterCanvas* canvas) {
    canvas_ = canvas;
    picture_ = QImage();
    if (autoSize_ && canvas_)
        resize(canvas_->Width(), canvas_->Height());
    update();
}

QImage TImage::Picture() const {
    if (canvas_) {
        const QImage view(reinterpret_cast<const uchar*>(canvas_->Bits()), canvas_->Width(),
                          canvas_->Height(), canvas_->Width() * 4, QImage::Format_RGB32);
        return view.copy();
    }
    return picture_;
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
    QImage shown = picture_;
    if (stretch_ && !shown.isNull() && shown.size() != size())
        shown = ScaleBlackOnWhite(shown, shown.size().scaled(size(), Qt::KeepAspectRatio));
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
    shown_ = shown;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (canvas_) {
        const QImage view(reinterpret_cast<const uchar*>(canvas_->Bits()), canvas_->Width(),
                          canvas_->Height(), canvas_->Width() * 4, QImage::Format_RGB32);
        painter.drawImage(0, 0, view);
    } else if (!shown_.isNull()) {
        painter.drawImage(0, 0, shown_);
    }
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
    painter.drawImage(0, 0, image);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThetaBetaChart.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ChartPainter.h"
#include "DecimalSeparator.h"


ThetaBetaChart::ThetaBetaChart(const zk::ShockComparison& comparison, double wedgeDegrees)
    : ShockChart(QSize(kWidth, kHeight)), comparison_(comparison), wedgeDegrees_(wedgeDegrees) {}

zk::ChartScene ThetaBetaChart::MakeScene(const zk::ChartTextMetrics& metrics,
                                         const std::string& separator) const {
    return zk::ThetaBetaScene(comparison_, wedgeDegrees_, metrics, separator);
}

void ThetaBetaChart::Draw(QPainter& painter) const {
    // At the pixel density of the screen the view is on, like the other charts.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    if (picture_.isNull() || picture_.devicePixelRatio() != ratio)
        picture_ = Draw(ratio);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(Size())), picture_);
}

QPoint ThetaBetaChart::ToPixel(double thetaDegrees, double betaDegrees) const {
    const double x = kLeft + thetaDegrees / ThetaLimit() * (kRight - kLeft);
    const double y = kBottom - betaDegrees / 90.0 * (kBottom - kTop);
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

QImage ThetaBetaChart::Draw(qreal devicePixelRatio) const {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    QImage image((QSizeF(kWidth, kHeight) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const zk::ChartScene& scene = Scene();
    if (!comparison_.Exact.Answered()) {
        PaintChartItems(painter, scene.Marks);
        return image;
    }
    // Everything but the marks depends on the free stream and the axis only: while the wedge angle
    // is dragged inside the axis, the last picture of them is taken again.  The legend lies below
    // the plot, so drawing it before the marks changes no pixel.
    struct Background {
        double Mach = 0, Gamma = 0, ThetaLimit = 0;
        QString Separator;
        QImage Image;
    };
    static Background last;
    const QString separator = zk::LocalizedNumberText("0.5");
    if (last.Image.isNull() || last.Mach != comparison_.Exact.M1 ||
        last.Gamma != comparison_.Exact.Theory.Gamma || last.ThetaLimit != ThetaLimit() ||
        last.Separator != separator || last.Image.devicePixelRatio() != ratio) {
        PaintChartItems(painter, scene.Background);
        painter.end();
        last = {comparison_.Exact.M1, comparison_.Exact.Theory.Gamma, ThetaLimit(), separator, image};
    } else {
        painter.end();
        image = last.Image;
    }
    // The marks go onto a copy: the kept picture stays without them.
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    PaintChartItems(painter, scene.Marks);
    return image;
}


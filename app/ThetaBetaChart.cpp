// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThetaBetaChart.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

#include "DecimalSeparator.h"

namespace {

// Degrees with at most two decimals and the locale's separator.
QString DegreesText(double degrees) {
    return zk::LocalizedNumberText(zk::ComparisonNumberText(degrees, 2, '.'));
}

} // namespace

ThetaBetaChart::ThetaBetaChart(const zk::ShockComparison& comparison, double wedgeDegrees)
    : ShockChart(QSize(kWidth, kHeight)), comparison_(comparison), wedgeDegrees_(wedgeDegrees) {
    SetPlot(QRect(kLeft, kTop, kRight - kLeft, kBottom - kTop));
    // The θ axis reaches a little beyond the maximum deflection and the wedge, when the wedge is a
    // deflection at all (up to 90 degrees); its marks fall on 1, 2 or 5 times a power of ten.
    const double wedge = wedgeDegrees_ <= 90 ? wedgeDegrees_ : 0;
    const double wanted =
        comparison_.Exact.Answered()
            ? std::max(std::max(wedge, zk::DegreesFromRadians(comparison_.Exact.Theory.ThetaMax)) * 1.08, 0.1)
            : std::max(wedge, 10.0); // no curve: a plain axis of ten degrees or up to the wedge
    double thetaStep = 10;
    for (double step : {0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0}) {
        thetaStep = step;
        if (wanted / step <= 10)
            break;
    }
    SetThetaAxis(std::ceil(wanted / thetaStep - 1e-9) * thetaStep, thetaStep);
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
    if (!comparison_.Exact.Answered()) {
        DrawAxes(painter);
        painter.setPen(Qt::black);
        painter.setFont(ChartFont(13, true));
        painter.drawText(QRect(kLeft, kTop, kRight - kLeft, kBottom - kTop), Qt::AlignCenter,
                         QStringLiteral("Точная теория не даёт ответа"));
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
        DrawDetachedBand(painter, false);
        DrawAxes(painter);
        DrawDetachedBand(painter, true);
        DrawBranches(painter);
        DrawLegend(painter);
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
    DrawMarks(painter);
    return image;
}

void ThetaBetaChart::DrawDetachedBand(QPainter& painter, bool caption) const {
    // Beyond the maximum deflection no attached shock exists: a grey band up to the axis end, under
    // the grid, and its caption over the grid.
    const int x = ToPixel(zk::DegreesFromRadians(comparison_.Exact.Theory.ThetaMax), 0).x();
    if (x >= kRight)
        return;
    const QColor grey(0xee, 0xee, 0xee);
    const QRect band(QPoint(x + 1, kTop), QPoint(kRight, kBottom - 1));
    if (!caption) {
        painter.fillRect(band, grey);
        return;
    }
    painter.setFont(ChartFont(12, false));
    const QFontMetrics metrics(painter.font());
    const QString text = QStringLiteral("нет присоединённого скачка");
    const int width = metrics.horizontalAdvance(text);
    if (band.width() > width + 12) {
        // Low in the band, clear of the maximum's mark and of the wedge's caption at the top.
        const QRect box(band.center().x() - width / 2 - 3, ToPixel(0, 15).y() - metrics.height() / 2,
                        width + 6, metrics.height());
        painter.fillRect(box, grey);
        painter.setPen(QColor(0x60, 0x60, 0x60));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void ThetaBetaChart::DrawAxes(QPainter& painter) const {
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(kLeft, kBottom, kRight, kBottom);
    painter.drawLine(kLeft, kBottom, kLeft, kTop);
    painter.setFont(ChartFont(12, false));
    const QFontMetrics metrics(painter.font());
    for (int b = 0; b <= 90; b += 10) {
        const int y = ToPixel(0, b).y();
        painter.setPen(QColor(0xe0, 0xe0, 0xe0));
        if (b > 0)
            painter.drawLine(kLeft + 1, y, kRight, y);
        painter.setPen(Qt::black);
        painter.drawLine(kLeft - 4, y, kLeft, y);
        const QString text = QString::number(b);
        painter.drawText(kLeft - 7 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2 - 1, text);
    }
    const int marks = static_cast<int>(std::lround(ThetaLimit() / ThetaStep()));
    for (int k = 0; k <= marks; ++k) {
        const double theta = k * ThetaStep();
        const int x = ToPixel(theta, 0).x();
        painter.setPen(QColor(0xe0, 0xe0, 0xe0));
        if (k > 0)
            painter.drawLine(x, kBottom - 1, x, kTop);
        painter.setPen(Qt::black);
        painter.drawLine(x, kBottom, x, kBottom + 4);
        const QString text = DegreesText(theta);
        painter.drawText(x - metrics.horizontalAdvance(text) / 2, kBottom + 6 + metrics.ascent(), text);
    }
    painter.setFont(ChartFont(13, true));
    const QFontMetrics bold(painter.font());
    painter.drawText(kRight + 8, kBottom + bold.ascent() / 2 - 1, QStringLiteral("θ, °"));
    painter.drawText(kLeft - bold.horizontalAdvance(QStringLiteral("β, °")) / 2, kTop - 10,
                     QStringLiteral("β, °"));
}

namespace {

// The two branches in degrees, (θ, β), sampled along β.  They depend on M1 and γ only, so the last
// stream's samples are kept: while the wedge angle is dragged, only their pixels are found anew.
struct BranchSamples {
    double Mach = 0, Gamma = 0;
    std::vector<QPointF> Weak, Strong;
};

const BranchSamples& SamplesFor(const zk::ExactValues& exact) {
    static BranchSamples last;
    if (!last.Weak.empty() && last.Mach == exact.M1 && last.Gamma == exact.Theory.Gamma)
        return last;
    BranchSamples samples;
    samples.Mach = exact.M1;
    samples.Gamma = exact.Theory.Gamma;
    const double mu = exact.Theory.MachAngle;           // radians
    const double betaMax = exact.Theory.BetaAtThetaMax; // radians
    constexpr double kHalfPi = 1.5707963267948966;
    // β runs from the Mach angle to the normal shock; θ(β) rises to θmax and falls back to 0.
    constexpr int kSamples = 720;
    for (int i = 0; i <= kSamples; ++i) {
        double beta = mu + (kHalfPi - mu) * i / kSamples;
        const double next = mu + (kHalfPi - mu) * (i + 1) / kSamples;
        const bool crossesMaximum = beta < betaMax && next > betaMax;
        const double theta = zk::DeflectionForShockAngle(exact.M1, exact.Theory.Gamma, beta);
        const QPointF p(zk::DegreesFromRadians(theta), zk::DegreesFromRadians(beta));
        (beta <= betaMax ? samples.Weak : samples.Strong).push_back(p);
        if (crossesMaximum) {
            // Both branches end exactly at the point of maximum deflection.
            beta = betaMax;
            const QPointF top(zk::DegreesFromRadians(exact.Theory.ThetaMax), zk::DegreesFromRadians(beta));
            samples.Weak.push_back(top);
            samples.Strong.push_back(top);
        }
    }
    last = std::move(samples);
    return last;
}

} // namespace

void ThetaBetaChart::DrawBranches(QPainter& painter) const {
    const BranchSamples& samples = SamplesFor(comparison_.Exact);
    QPolygon weak, strong;
    for (const QPointF& p : samples.Weak)
        weak << ToPixel(p.x(), p.y());
    for (const QPointF& p : samples.Strong)
        strong << ToPixel(p.x(), p.y());
    painter.setPen(QPen(QColor::fromRgb(kWeakColor), 2));
    painter.drawPolyline(weak);
    painter.setPen(QPen(QColor::fromRgb(kStrongColor), 2));
    painter.drawPolyline(strong);
}

void ThetaBetaChart::DrawMarks(QPainter& painter) const {
    const zk::ExactValues& exact = comparison_.Exact;
    painter.setFont(ChartFont(12, true));
    const QFontMetrics metrics(painter.font());

    // The maximum deflection: a dashed line down to the θ axis and the value beside the top point.
    const double thetaMax = zk::DegreesFromRadians(exact.Theory.ThetaMax);
    const QPoint top = ToPixel(thetaMax, zk::DegreesFromRadians(exact.Theory.BetaAtThetaMax));
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(top.x(), top.y() + 4, top.x(), kBottom - 1);
    painter.fillRect(top.x() - 2, top.y() - 2, 5, 5, Qt::black);
    // The value stands at the foot of the line, below the weak branch, which near θmax runs high.
    painter.setPen(Qt::black);
    const QString maxText = QStringLiteral("θmax = ") + DegreesText(thetaMax) + QStringLiteral("°");
    const int maxWidth = metrics.horizontalAdvance(maxText);
    const int maxX = top.x() + 4 + maxWidth <= kRight ? top.x() + 4 : top.x() - 4 - maxWidth;
    painter.drawText(maxX, kBottom - 5, maxText);

    // The wedge: a dotted vertical line, or an arrow at the right edge when it lies beyond the axis.
    painter.setPen(QColor::fromRgb(kWedgeColor));
    const QString wedgeText = QStringLiteral("χ = ") + DegreesText(wedgeDegrees_) + QStringLiteral("°");
    if (wedgeDegrees_ <= ThetaLimit()) {
        const int x = ToPixel(wedgeDegrees_, 0).x();
        painter.setPen(QPen(QColor::fromRgb(kWedgeColor), 1, Qt::DotLine));
        painter.drawLine(x, kTop, x, kBottom - 1);
        painter.setPen(QColor::fromRgb(kWedgeColor));
        const int width = metrics.horizontalAdvance(wedgeText);
        const int textX = x + 4 + width <= kRight ? x + 4 : x - 4 - width;
        painter.drawText(textX, kTop + metrics.ascent(), wedgeText);
    } else {
        const QString beyond = wedgeText + QStringLiteral(" →");
        painter.drawText(kRight - metrics.horizontalAdvance(beyond), kTop + metrics.ascent(), beyond);
    }

    // The exact shocks for the wedge, and the construction's shock angle.
    const auto dot = [&](const std::optional<zk::ShockSolution>& s, QRgb color) {
        if (!s)
            return;
        const QPoint p = ToPixel(wedgeDegrees_, zk::DegreesFromRadians(s->Beta));
        painter.setPen(QColor::fromRgb(color));
        painter.setBrush(QColor::fromRgb(color));
        painter.drawEllipse(p, 4, 4);
        painter.setBrush(Qt::NoBrush);
    };
    dot(exact.Weak, kWeakColor);
    dot(exact.Strong, kStrongColor);
    const zk::ConstructionValues& c = comparison_.Construction;
    const double phi = zk::DegreesFromRadians(c.ShockAngle);
    if (c.Attached && phi >= 0 && phi <= 90 && wedgeDegrees_ <= ThetaLimit()) {
        const QPoint p = ToPixel(wedgeDegrees_, phi);
        painter.setPen(QPen(QColor::fromRgb(kConstructionColor), 2));
        painter.drawLine(p.x() - 5, p.y() - 5, p.x() + 5, p.y() + 5);
        painter.drawLine(p.x() - 5, p.y() + 5, p.x() + 5, p.y() - 5);
    }
}

void ThetaBetaChart::DrawLegend(QPainter& painter) const {
    // One row under the θ axis, so that it never covers the curves.
    painter.setFont(ChartFont(12, true));
    const QFontMetrics metrics(painter.font());
    const int y = kHeight - 10;
    int x = kLeft;
    const auto caption = [&](const QString& text) {
        painter.setPen(Qt::black);
        painter.drawText(x, y + metrics.ascent() / 2 - 1, text);
        x += metrics.horizontalAdvance(text) + 22;
    };
    for (QRgb color : {kWeakColor, kStrongColor}) {
        painter.setPen(QPen(QColor::fromRgb(color), 2));
        painter.drawLine(x, y, x + 18, y);
        painter.setBrush(QColor::fromRgb(color));
        painter.drawEllipse(QPoint(x + 9, y), 3, 3);
        painter.setBrush(Qt::NoBrush);
        x += 24;
        caption(color == kWeakColor ? QStringLiteral("слабый скачок") : QStringLiteral("сильный скачок"));
    }
    painter.setPen(QPen(QColor::fromRgb(kConstructionColor), 2));
    painter.drawLine(x + 4, y - 4, x + 12, y + 4);
    painter.drawLine(x + 4, y + 4, x + 12, y - 4);
    x += 20;
    caption(QStringLiteral("построение, φ"));
    painter.setPen(QPen(QColor::fromRgb(kWedgeColor), 1, Qt::DotLine));
    painter.drawLine(x + 6, y - 7, x + 6, y + 7);
    x += 14;
    caption(QStringLiteral("угол клина χ"));
}

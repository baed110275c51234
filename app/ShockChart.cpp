// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShockChart.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <deque>

#include "DecimalSeparator.h"
#include "ShockComparison.h"

ShockChart::ShockChart(QSize size) : size_(size), plot_(QPoint(0, 0), size) {}

namespace {

// The backgrounds drawn last, the newest first; a few cover both charts at one or two densities.
struct Background {
    const char* Kind;
    std::shared_ptr<const void> Key;
    qreal Ratio;
    QString Separator; // the numbers on the axes follow the locale's decimal separator
    QSize Size;
    QImage Image;
};
constexpr std::size_t kBackgrounds = 6;
std::deque<Background>& Backgrounds() {
    static std::deque<Background> backgrounds;
    return backgrounds;
}

} // namespace

void ShockChart::DrawBackground(QPainter& painter, const char* kind, std::shared_ptr<const void> key,
                                const std::function<void(QPainter&)>& draw) const {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QString separator = zk::LocalizedNumberText("0.5");
    std::deque<Background>& cache = Backgrounds();
    auto found = std::find_if(cache.begin(), cache.end(), [&](const Background& b) {
        return b.Kind == kind && b.Key == key && b.Ratio == ratio && b.Separator == separator &&
               b.Size == size_;
    });
    if (found == cache.end()) {
        Background b{kind,      key,   ratio,
                     separator, size_, QImage((QSizeF(size_) * ratio).toSize(), QImage::Format_RGB32)};
        b.Image.setDevicePixelRatio(ratio);
        b.Image.fill(Qt::white);
        QPainter background(&b.Image);
        background.setRenderHint(QPainter::Antialiasing, false);
        background.setRenderHint(QPainter::TextAntialiasing, false);
        draw(background);
        background.end();
        cache.push_front(std::move(b));
        if (cache.size() > kBackgrounds)
            cache.pop_back();
        found = cache.begin();
    }
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size_)), found->Image);
}

QImage ShockChart::Render(qreal devicePixelRatio) const {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    QImage image((QSizeF(size_) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    Draw(painter);
    return image;
}

double ShockChart::XOf(double thetaDegrees) const {
    return plot_.left() + thetaDegrees / thetaLimit_ * plot_.width();
}

double ShockChart::ThetaAt(double x) const {
    return (x - plot_.left()) / plot_.width() * thetaLimit_;
}

void ShockChart::SetThetaAxis(double wantedDegrees) {
    const double wanted = std::isfinite(wantedDegrees) ? std::max(wantedDegrees, 0.1) : 10.0;
    thetaStep_ = NiceStep(wanted, 10);
    thetaLimit_ = std::ceil(wanted / thetaStep_ - 1e-9) * thetaStep_;
}

double ShockChart::NiceStep(double span, int marks) {
    const double raw = span / std::max(marks, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw * (1 - 1e-12))
            return factor * power;
    return 10 * power;
}

QFont ShockChart::ChartFont(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QString ShockChart::NumberText(double value, int decimals) {
    return zk::LocalizedNumberText(zk::ComparisonNumberText(value, decimals, '.'));
}

void ShockChart::DrawThetaAxis(QPainter& painter) const {
    painter.setFont(ChartFont(12, false));
    const QFontMetrics metrics(painter.font());
    const int marks = static_cast<int>(std::lround(thetaLimit_ / thetaStep_));
    for (int k = 0; k <= marks; ++k) {
        const double theta = k * thetaStep_;
        const int x = static_cast<int>(std::lround(XOf(theta)));
        if (k > 0) {
            painter.setPen(QColor(0xe0, 0xe0, 0xe0));
            painter.drawLine(x, plot_.bottom() - 1, x, plot_.top());
        }
        painter.setPen(Qt::black);
        painter.drawLine(x, plot_.bottom(), x, plot_.bottom() + 4);
        const QString text = NumberText(theta, 2);
        painter.drawText(x - metrics.horizontalAdvance(text) / 2, plot_.bottom() + 6 + metrics.ascent(),
                         text);
    }
    painter.setPen(Qt::black);
    painter.drawLine(plot_.left(), plot_.bottom(), plot_.right(), plot_.bottom());
    painter.drawLine(plot_.left(), plot_.bottom(), plot_.left(), plot_.top());
    painter.setFont(ChartFont(13, true));
    const QFontMetrics bold(painter.font());
    painter.drawText(plot_.right() + 8, plot_.bottom() + bold.ascent() / 2 - 1, QStringLiteral("θ, °"));
}

void ShockChart::DrawNotice(QPainter& painter, const QString& text) const {
    painter.setPen(QColor(0xa0, 0, 0));
    painter.setFont(ChartFont(13, true));
    painter.drawText(plot_.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void ShockChart::DrawWedge(QPainter& painter, double wedgeDegrees) const {
    painter.setFont(ChartFont(12, true));
    const QFontMetrics metrics(painter.font());
    const QString text = QStringLiteral("χ = ") + NumberText(wedgeDegrees, 2) + QStringLiteral("°");
    painter.setPen(QColor::fromRgb(kWedgeColor));
    if (wedgeDegrees < 0 || !std::isfinite(wedgeDegrees))
        return;
    if (wedgeDegrees <= thetaLimit_) {
        const int x = static_cast<int>(std::lround(XOf(wedgeDegrees)));
        painter.setPen(QPen(QColor::fromRgb(kWedgeColor), 1, Qt::DotLine));
        painter.drawLine(x, plot_.top(), x, plot_.bottom() - 1);
        painter.setPen(QColor::fromRgb(kWedgeColor));
        const int width = metrics.horizontalAdvance(text);
        const int textX = x + 4 + width <= plot_.right() ? x + 4 : x - 4 - width;
        painter.drawText(textX, plot_.top() + metrics.ascent(), text);
    } else {
        const QString beyond = text + QStringLiteral(" →");
        painter.drawText(plot_.right() - metrics.horizontalAdvance(beyond), plot_.top() + metrics.ascent(),
                         beyond);
    }
}

void ShockChart::DrawDot(QPainter& painter, QPointF p, QRgb color) {
    painter.setPen(QColor::fromRgb(color));
    painter.setBrush(QColor::fromRgb(color));
    painter.drawEllipse(p, 4, 4);
    painter.setBrush(Qt::NoBrush);
}

void ShockChart::DrawCross(QPainter& painter, QPointF p, QRgb color) {
    painter.setPen(QPen(QColor::fromRgb(color), 2));
    painter.drawLine(p + QPointF(-5, -5), p + QPointF(5, 5));
    painter.drawLine(p + QPointF(-5, 5), p + QPointF(5, -5));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShockChart.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <deque>

#include "ChartPainter.h"
#include "DecimalSeparator.h"
#include "ShockComparison.h"

ShockChart::ShockChart(QSize size) : size_(size) {}

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

const zk::ChartScene& ShockChart::Scene() const {
    const std::string separator = ChartSeparator();
    if (!scene_ || separator != separator_) {
        scene_ = MakeScene(QtChartTextMetrics(), separator);
        separator_ = separator;
    }
    return *scene_;
}

QRect ShockChart::Plot() const {
    const zk::ChartRect& p = Scene().Plot;
    return QRect(static_cast<int>(p.X), static_cast<int>(p.Y), static_cast<int>(p.W), static_cast<int>(p.H));
}

double ShockChart::XOf(double thetaDegrees) const {
    return zk::ChartXOf(Scene(), thetaDegrees);
}

double ShockChart::ThetaAt(double x) const {
    return zk::ChartThetaAt(Scene(), x);
}

QFont ShockChart::ChartFont(int pixelHeight, bool bold) {
    return ::ChartFont(pixelHeight, bold);
}

QString ShockChart::NumberText(double value, int decimals) {
    return QString::fromStdString(zk::ChartNumberText(value, decimals, ChartSeparator()));
}

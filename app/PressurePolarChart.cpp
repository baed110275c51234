// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressurePolarChart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace {

using zk::DegreesFromRadians;

// Decimals that show the marks of a pressure axis with this spacing.
int DecimalsFor(double step) {
    return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

} // namespace

QString PressurePolarChart::PressureText(double value, int significant) {
    // Behind a hypersonic shock the pressure runs to millions: those as a mantissa times a power of
    // ten, which a student reads at a glance, the others as they are.
    if (!(std::abs(value) >= 1e5) || !std::isfinite(value))
        return NumberText(value, significant);
    static const QString kSuperscripts = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    int exponent = static_cast<int>(std::floor(std::log10(std::abs(value))));
    double mantissa = value / std::pow(10.0, exponent);
    if (std::abs(std::stod(zk::ComparisonNumberText(mantissa, significant - 1, '.'))) >= 10) {
        ++exponent; // 9.9996 rounds to 10
        mantissa /= 10;
    }
    QString power;
    for (QChar digit : QString::number(exponent))
        power += kSuperscripts[digit.digitValue()];
    return NumberText(mantissa, significant - 1) + QStringLiteral("·10") + power;
}

PressurePolarChart::PressurePolarChart(ShockChartCase chartCase)
    : ShockChart(QSize(kWidth, kHeight)), case_(std::move(chartCase)) {
    SetPlot(QRect(QPoint(64, 22), QPoint(kWidth - 40, kHeight - 48)));
    if (!case_.Current) {
        SetThetaAxis(10);
        return;
    }
    // θ a little beyond the maximum deflection, p2/p1 from 1 to a little above the normal shock: both
    // axes belong to the free stream, so that they stand still while the wedge angle is dragged.  A
    // wedge beyond the axis is named at its end.
    const zk::ShockCurve& curve = *case_.Current;
    SetThetaAxis(DegreesFromRadians(curve.Theory().ThetaMax) * 1.08);
    const double normal = curve.Strong().back().PressureRatio;
    const double span = std::max((normal - 1) * 1.05, 1e-3);
    pressureStep_ = NiceStep(span, 8);
    pressureLimit_ =
        std::max(std::ceil((1 + span) / pressureStep_ - 1e-9) * pressureStep_, 1 + pressureStep_);
    // At the smallest wedges the construction's one-pixel resolution can put φ below the Mach
    // angle, and its P2/P1 below 1: the axis then reaches down far enough to keep that point in
    // sight.
    const zk::ConstructionValues& c = case_.Comparison.Construction;
    if (c.Attached && std::isfinite(c.PressureRatio) && c.PressureRatio < 1)
        pressureFloor_ = 1 - std::ceil((1 - c.PressureRatio) / pressureStep_ + 1e-9) * pressureStep_;
}

QPointF PressurePolarChart::ToPoint(double thetaDegrees, double pressureRatio) const {
    const QRect plot = Plot();
    return {XOf(thetaDegrees), plot.bottom() - (pressureRatio - pressureFloor_) /
                                                   (pressureLimit_ - pressureFloor_) *
                                                   (plot.bottom() - plot.top())};
}

QString PressurePolarChart::Notice() const {
    if (case_.Current)
        return QString();
    return case_.Family ? case_.CurrentProblem : case_.FamilyProblem;
}

void PressurePolarChart::Draw(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (!case_.Current) {
        DrawThetaAxis(painter);
        const QRect plot = Plot();
        painter.setPen(Qt::black);
        painter.drawLine(plot.left(), plot.bottom(), plot.left(), plot.top());
        DrawNotice(painter, Notice());
        return;
    }
    // The polar of one free stream stays while only the wedge angle changes (and its axis
    // starts at 1, but where the construction falls below).
    const char* kind = "pressure";
    if (pressureFloor_ != 1) {
        static std::set<std::string> floors; // their texts stay put: the cache keeps their pointers
        kind = floors.insert("pressure from " + std::to_string(pressureFloor_)).first->c_str();
    }
    DrawBackground(painter, kind, case_.Current, [this](QPainter& background) {
        DrawThetaAxis(background);
        DrawPressureAxis(background);
        DrawBranches(background);
        DrawMaximum(background);
        DrawLegend(background);
    });
    DrawMarks(painter);
}

void PressurePolarChart::DrawPressureAxis(QPainter& painter) const {
    const QRect plot = Plot();
    painter.setFont(ChartFont(12, false));
    const QFontMetrics metrics(painter.font());
    const int decimals = DecimalsFor(pressureStep_);
    const auto mark = [&](double p, bool grid) {
        const int y = static_cast<int>(std::lround(ToPoint(0, p).y()));
        if (grid) {
            painter.setPen(QColor(0xe0, 0xe0, 0xe0));
            painter.drawLine(plot.left() + 1, y, plot.right(), y);
        }
        painter.setPen(Qt::black);
        painter.drawLine(plot.left() - 4, y, plot.left(), y);
        const QString text = PressureText(p, std::max(decimals, 2));
        painter.drawText(plot.left() - 7 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2 - 1,
                         text);
    };
    // The marks fall on multiples of the step; the axis starts at 1, the pressure ahead of the
    // shock, or below it at a multiple of the step, with a grid line at 1.
    mark(pressureFloor_, false);
    if (pressureFloor_ < 1)
        mark(1, true);
    const int first = static_cast<int>(std::ceil(std::max(pressureFloor_, 1.0) / pressureStep_ + 0.5));
    const int last = static_cast<int>(std::lround(pressureLimit_ / pressureStep_));
    for (int k = first; k <= last; ++k)
        mark(k * pressureStep_, true);
    painter.setFont(ChartFont(13, true));
    const QFontMetrics bold(painter.font());
    painter.drawText(plot.left() - bold.horizontalAdvance(QStringLiteral("p₂/p₁")) / 2, plot.top() - 8,
                     QStringLiteral("p₂/p₁"));
}

void PressurePolarChart::DrawBranches(QPainter& painter) const {
    const auto polyline = [&](const std::vector<zk::ShockPoint>& points) {
        QPolygonF line;
        for (const zk::ShockPoint& p : points)
            line << ToPoint(DegreesFromRadians(p.Theta), p.PressureRatio);
        return line;
    };
    painter.setPen(QPen(QColor::fromRgb(kWeakColor), 2));
    painter.drawPolyline(polyline(case_.Current->Weak()));
    painter.setPen(QPen(QColor::fromRgb(kStrongColor), 2));
    painter.drawPolyline(polyline(case_.Current->Strong()));

    // The two ends on the θ axis: the wave of no strength and the normal shock.
    painter.setFont(ChartFont(12, false));
    const QFontMetrics metrics(painter.font());
    painter.setPen(Qt::black);
    const QPointF normal = ToPoint(0, case_.Current->Strong().back().PressureRatio);
    // Below the strong branch, which leaves the normal shock nearly level.
    painter.drawText(QPointF(normal.x() + 6, normal.y() + metrics.ascent() + 4),
                     QStringLiteral("прямой скачок: ") +
                         PressureText(case_.Current->Strong().back().PressureRatio, 4));
}

void PressurePolarChart::DrawMaximum(QPainter& painter) const {
    const QRect plot = Plot();
    const zk::ShockCurve& curve = *case_.Current;
    painter.setFont(ChartFont(12, true));
    const QFontMetrics metrics(painter.font());

    // The maximum deflection: a dashed line down to the θ axis and its value at the foot.
    const double thetaMax = DegreesFromRadians(curve.Theory().ThetaMax);
    const QPointF top = ToPoint(thetaMax, curve.Maximum().PressureRatio);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(QPointF(top.x(), top.y() + 4), QPointF(top.x(), plot.bottom() - 1));
    painter.fillRect(QRectF(top.x() - 2, top.y() - 2, 5, 5), Qt::black);
    painter.setPen(Qt::black);
    const QString maxText = QStringLiteral("θmax = ") + NumberText(thetaMax, 2) + QStringLiteral("°");
    const int width = metrics.horizontalAdvance(maxText);
    const double x = top.x() + 4 + width <= plot.right() ? top.x() + 4 : top.x() - 4 - width;
    painter.drawText(QPointF(x, plot.bottom() - 5), maxText);
}

void PressurePolarChart::DrawMarks(QPainter& painter) const {
    DrawWedge(painter, case_.WedgeDegrees);
    const double wedge = case_.WedgeDegrees;
    const zk::ExactValues& exact = case_.Comparison.Exact;
    if (exact.Weak)
        DrawDot(painter, ToPoint(wedge, exact.Weak->PressureRatio), kWeakColor);
    if (exact.Strong)
        DrawDot(painter, ToPoint(wedge, exact.Strong->PressureRatio), kStrongColor);
    const zk::ConstructionValues& c = case_.Comparison.Construction;
    if (c.Attached && wedge >= 0 && wedge <= ThetaLimit() && std::isfinite(c.PressureRatio) &&
        c.PressureRatio >= pressureFloor_ && c.PressureRatio <= pressureLimit_)
        DrawCross(painter, ToPoint(wedge, c.PressureRatio), kConstructionColor);
}

void PressurePolarChart::DrawLegend(QPainter& painter) const {
    painter.setFont(ChartFont(12, true));
    const QFontMetrics metrics(painter.font());
    const int y = kHeight - 10;
    int x = Plot().left();
    const auto caption = [&](const QString& text) {
        painter.setPen(Qt::black);
        painter.drawText(x, y + metrics.ascent() / 2 - 1, text);
        x += metrics.horizontalAdvance(text) + 18;
    };
    for (QRgb color : {kWeakColor, kStrongColor}) {
        painter.setPen(QPen(QColor::fromRgb(color), 2));
        painter.drawLine(x, y, x + 18, y);
        DrawDot(painter, QPointF(x + 9, y), color);
        x += 24;
        caption(color == kWeakColor ? QStringLiteral("слабый скачок") : QStringLiteral("сильный скачок"));
    }
    DrawCross(painter, QPointF(x + 8, y), kConstructionColor);
    x += 20;
    caption(QStringLiteral("построение, P₂/P₁"));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThetaBetaFamilyChart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace {

using zk::DegreesFromRadians;

QPolygonF Polyline(const ThetaBetaFamilyChart& chart, const std::vector<zk::ShockPoint>& points) {
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(points.size()));
    for (const zk::ShockPoint& p : points)
        line << chart.ToPoint(DegreesFromRadians(p.Theta), DegreesFromRadians(p.Beta));
    return line;
}

// The name of a curve: its Mach number, or ∞ for the limit.
QString CurveName(const zk::ShockCurve& curve) {
    return curve.IsLimit() ? QStringLiteral("∞") : ShockChart::NumberText(curve.Mach(), 2);
}

} // namespace

ThetaBetaFamilyChart::ThetaBetaFamilyChart(ShockChartCase chartCase)
    : ShockChart(QSize(kWidth, kHeight)), case_(std::move(chartCase)) {
    SetPlot(QRect(QPoint(40, 22), QPoint(kWidth - 40, kHeight - 62)));
    // The axis reaches the limit curve's maximum, arcsin(1/γ), with a margin.
    SetThetaAxis(case_.Family ? DegreesFromRadians(case_.Family->ThetaLimit()) * 1.04 : 50.0);
}

QPointF ThetaBetaFamilyChart::ToPoint(double thetaDegrees, double betaDegrees) const {
    const QRect plot = Plot();
    return {XOf(thetaDegrees), plot.bottom() - betaDegrees / 90.0 * (plot.bottom() - plot.top())};
}

QString ThetaBetaFamilyChart::Notice() const {
    if (!case_.Family)
        return case_.FamilyProblem;
    return case_.Current ? QString() : case_.CurrentProblem;
}

void ThetaBetaFamilyChart::Draw(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (!case_.Family) {
        DrawBetaAxis(painter);
        DrawThetaAxis(painter);
        DrawNotice(painter, Notice());
        return;
    }
    // The gas's family stays while the wedge angle or even M1 change.
    DrawBackground(painter, "family", case_.Family, [this](QPainter& background) {
        DrawBetaAxis(background);
        DrawThetaAxis(background);
        background.setClipRect(Plot().adjusted(1, -6, 6, 0));
        DrawFamily(background);
        background.setClipping(false);
        DrawLegend(background);
    });
    painter.save();
    painter.setClipRect(Plot().adjusted(1, -6, 6, 0));
    DrawCurrent(painter);
    painter.restore();
    DrawMarks(painter);
    if (!case_.Current)
        DrawNotice(painter, Notice());
}

void ThetaBetaFamilyChart::DrawBetaAxis(QPainter& painter) const {
    const QRect plot = Plot();
    painter.setFont(ChartFont(12, false));
    const QFontMetrics metrics(painter.font());
    for (int b = 0; b <= 90; b += 10) {
        const int y = static_cast<int>(std::lround(ToPoint(0, b).y()));
        if (b > 0) {
            painter.setPen(QColor(0xe0, 0xe0, 0xe0));
            painter.drawLine(plot.left() + 1, y, plot.right(), y);
        }
        painter.setPen(Qt::black);
        painter.drawLine(plot.left() - 4, y, plot.left(), y);
        const QString text = QString::number(b);
        painter.drawText(plot.left() - 7 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2 - 1,
                         text);
    }
    painter.setFont(ChartFont(13, true));
    const QFontMetrics bold(painter.font());
    painter.drawText(plot.left() - bold.horizontalAdvance(QStringLiteral("β, °")) / 2, plot.top() - 8,
                     QStringLiteral("β, °"));
}

void ThetaBetaFamilyChart::DrawFamily(QPainter& painter) const {
    const zk::ThetaBetaFamily& family = *case_.Family;
    painter.setPen(QPen(QColor::fromRgb(kFamilyColor), 1));
    for (const zk::ShockCurve& curve : family.Curves()) {
        painter.drawPolyline(Polyline(*this, curve.Weak()));
        painter.drawPolyline(Polyline(*this, curve.Strong()));
    }
    painter.setPen(QPen(QColor::fromRgb(kMaximumColor), 1, Qt::DashLine));
    painter.drawPolyline(Polyline(*this, family.MaximumDeflectionLine()));
    painter.setPen(QPen(QColor::fromRgb(kSonicColor), 2, Qt::DashDotLine));
    painter.drawPolyline(Polyline(*this, family.SonicLine()));

    // Each curve's M1 beside its maximum, alternately above and below it: towards the limit the
    // maxima crowd together.
    painter.setFont(ChartFont(12, true));
    const QFontMetrics metrics(painter.font());
    painter.setPen(QColor::fromRgb(kFamilyColor));
    int index = 0;
    for (const zk::ShockCurve& curve : family.Curves()) {
        const zk::ShockPoint& top = curve.Maximum();
        const QPointF p = ToPoint(DegreesFromRadians(top.Theta), DegreesFromRadians(top.Beta));
        const QString name = CurveName(curve);
        const bool above = index % 2 == 0;
        const double y = above ? p.y() - 5 : p.y() + 5 + metrics.ascent();
        painter.drawText(QPointF(p.x() + 2, y), name);
        ++index;
    }
}

void ThetaBetaFamilyChart::DrawCurrent(QPainter& painter) const {
    if (!case_.Current)
        return;
    painter.setPen(QPen(QColor::fromRgb(kWeakColor), 3));
    painter.drawPolyline(Polyline(*this, case_.Current->Weak()));
    painter.setPen(QPen(QColor::fromRgb(kStrongColor), 3));
    painter.drawPolyline(Polyline(*this, case_.Current->Strong()));
}

void ThetaBetaFamilyChart::DrawMarks(QPainter& painter) const {
    DrawWedge(painter, case_.WedgeDegrees);
    if (!case_.Current)
        return;
    const double wedge = case_.WedgeDegrees;
    const zk::ExactValues& exact = case_.Comparison.Exact;
    if (exact.Weak)
        DrawDot(painter, ToPoint(wedge, DegreesFromRadians(exact.Weak->Beta)), kWeakColor);
    if (exact.Strong)
        DrawDot(painter, ToPoint(wedge, DegreesFromRadians(exact.Strong->Beta)), kStrongColor);
    const zk::ConstructionValues& c = case_.Comparison.Construction;
    const double phi = DegreesFromRadians(c.ShockAngle);
    if (c.Attached && phi >= 0 && phi <= 90 && wedge <= ThetaLimit())
        DrawCross(painter, ToPoint(wedge, phi), kConstructionColor);

    // The current M1 named at the top right of the plot, in the bold curve's colour.
    painter.setFont(ChartFont(13, true));
    const QFontMetrics metrics(painter.font());
    const QString name = QStringLiteral("M₁ = ") + NumberText(case_.Current->Mach(), 3);
    painter.setPen(QColor::fromRgb(kWeakColor));
    painter.drawText(Plot().right() - metrics.horizontalAdvance(name) - 4,
                     static_cast<int>(ToPoint(0, 20).y()), name);
}

void ThetaBetaFamilyChart::DrawLegend(QPainter& painter) const {
    painter.setFont(ChartFont(12, true));
    const QFontMetrics metrics(painter.font());
    const auto caption = [&](int& x, int y, const QString& text) {
        painter.setPen(Qt::black);
        painter.drawText(x, y + metrics.ascent() / 2 - 1, text);
        x += metrics.horizontalAdvance(text) + 18;
    };
    // First row: the lines of the family.
    int y = kHeight - 30;
    int x = Plot().left();
    painter.setPen(QPen(QColor::fromRgb(kFamilyColor), 1));
    painter.drawLine(x, y, x + 18, y);
    x += 24;
    caption(x, y, QStringLiteral("M₁ у кривых"));
    painter.setPen(QPen(QColor::fromRgb(kMaximumColor), 1, Qt::DashLine));
    painter.drawLine(x, y, x + 18, y);
    x += 24;
    caption(x, y, QStringLiteral("θmax: слабые ниже, сильные выше"));
    painter.setPen(QPen(QColor::fromRgb(kSonicColor), 2, Qt::DashDotLine));
    painter.drawLine(x, y, x + 18, y);
    x += 24;
    caption(x, y, QStringLiteral("M₂ = 1"));
    // Second row: the current case.
    y = kHeight - 12;
    x = Plot().left();
    for (QRgb color : {kWeakColor, kStrongColor}) {
        painter.setPen(QPen(QColor::fromRgb(color), 3));
        painter.drawLine(x, y, x + 18, y);
        DrawDot(painter, QPointF(x + 9, y), color);
        x += 24;
        caption(x, y,
                color == kWeakColor ? QStringLiteral("слабый скачок") : QStringLiteral("сильный скачок"));
    }
    DrawCross(painter, QPointF(x + 8, y), kConstructionColor);
    x += 20;
    caption(x, y, QStringLiteral("построение, φ"));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThetaBetaFamilyChart.h"

#include <QPainter>

#include "ChartPainter.h"

ThetaBetaFamilyChart::ThetaBetaFamilyChart(ShockChartCase chartCase)
    : ShockChart(QSize(kWidth, kHeight)), case_(std::move(chartCase)) {}

zk::ChartScene ThetaBetaFamilyChart::MakeScene(const zk::ChartTextMetrics& metrics,
                                               const std::string& separator) const {
    return zk::FamilyScene(case_, metrics, separator);
}

QPointF ThetaBetaFamilyChart::ToPoint(double thetaDegrees, double betaDegrees) const {
    const QRect plot = Plot();
    return {XOf(thetaDegrees), plot.bottom() - betaDegrees / 90.0 * (plot.bottom() - plot.top())};
}

QString ThetaBetaFamilyChart::Notice() const {
    return QString::fromStdString(Scene().Notice);
}

void ThetaBetaFamilyChart::Draw(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const zk::ChartScene& scene = Scene();
    // The gas's family stays while the wedge angle or even M1 change.
    if (case_.Family)
        DrawBackground(painter, "family", case_.Family,
                       [&scene](QPainter& background) { PaintChartItems(background, scene.Background); });
    PaintChartItems(painter, scene.Marks);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressurePolarChart.h"

#include <QPainter>
#include <set>
#include <string>

#include "ChartPainter.h"

QString PressurePolarChart::PressureText(double value, int significant) {
    return QString::fromStdString(zk::ChartPressureText(value, significant, ChartSeparator()));
}

PressurePolarChart::PressurePolarChart(ShockChartCase chartCase)
    : ShockChart(QSize(kWidth, kHeight)), case_(std::move(chartCase)), axis_(zk::PressureAxisFor(case_)) {}

zk::ChartScene PressurePolarChart::MakeScene(const zk::ChartTextMetrics& metrics,
                                             const std::string& separator) const {
    return zk::PressureScene(case_, metrics, separator);
}

QPointF PressurePolarChart::ToPoint(double thetaDegrees, double pressureRatio) const {
    const QRect plot = Plot();
    return {XOf(thetaDegrees),
            plot.bottom() - (pressureRatio - axis_.Floor) / (axis_.Limit - axis_.Floor) * (plot.bottom() - plot.top())};
}

QString PressurePolarChart::Notice() const {
    return QString::fromStdString(Scene().Notice);
}

void PressurePolarChart::Draw(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const zk::ChartScene& scene = Scene();
    if (case_.Current) {
        // The polar of one free stream stays while only the wedge angle changes (and its axis
        // starts at 1, but where the construction falls below).
        const char* kind = "pressure";
        if (axis_.Floor != 1) {
            static std::set<std::string> floors; // their texts stay put: the cache keeps their pointers
            kind = floors.insert("pressure from " + std::to_string(axis_.Floor)).first->c_str();
        }
        DrawBackground(painter, kind, case_.Current,
                       [&scene](QPainter& background) { PaintChartItems(background, scene.Background); });
    }
    PaintChartItems(painter, scene.Marks);
}

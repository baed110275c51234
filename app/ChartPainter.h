// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a chart's scene with a painter: the lines, dots and texts the scene lists, the texts in
// the charts' serif face and aligned at their anchors by its metrics.
#include <QFont>
#include <QString>
#include <vector>

#include "ChartScene.h"

class QPainter;

// The charts' font, pixelHeight pixels high.
QFont ChartFont(int pixelHeight, bool bold);

// The metrics of that font, for laying out a scene.
class QtChartTextMetrics : public zk::ChartTextMetrics {
  public:
    int Advance(const std::string& utf8, int pixelHeight, bool bold) const override;
    int Ascent(int pixelHeight, bool bold) const override;
    int Height(int pixelHeight, bool bold) const override;
};

// The separator in force, as the scenes take it.
std::string ChartSeparator();

void PaintChartItems(QPainter& painter, const std::vector<zk::ChartItem>& items);

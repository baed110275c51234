// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A chart of the comparison window with the flow deflection θ along its horizontal axis: it draws
// itself with a painter in logical pixels, so that a high-density screen gets it at its own
// resolution, and it tells which deflection lies under a column of it, for picking a wedge angle
// with the mouse.  Drawn without antialiasing, like the program's other pictures.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ShockComparison.h"
#include "ShockCurve.h"
#include "ThetaBetaFamily.h"
#include "ChartScene.h"
#include "ShockCharts.h"

class QPainter;

// What the charts show of the current case.
using ShockChartCase = zk::ChartCase;

class ShockChart {
  public:
    // Colours shared with the θ–β chart of the current Mach number.
    static constexpr QRgb kWeakColor = zk::kChartWeakColor;        // weak shocks
    static constexpr QRgb kStrongColor = zk::kChartStrongColor;      // strong shocks
    static constexpr QRgb kConstructionColor = zk::kChartConstructionColor; // the construction, red as on the diagram
    static constexpr QRgb kWedgeColor = zk::kChartWedgeColor;       // the wedge angle's vertical line

    explicit ShockChart(QSize size);
    virtual ~ShockChart() = default;

    QSize Size() const { return size_; }
    // The plot area, logical pixels.
    QRect Plot() const;

    virtual void Draw(QPainter& painter) const = 0;
    // The picture at devicePixelRatio image pixels per logical pixel, white behind.
    QImage Render(qreal devicePixelRatio) const;

    // The deflection at the right end of the θ axis, degrees.
    double ThetaLimit() const { return Scene().ThetaLimit; }
    // The spacing of the θ axis's marks, degrees.
    double ThetaStep() const { return Scene().ThetaStep; }
    // Horizontal position of a deflection, and the deflection under a column (any column: left of
    // the plot it is negative, right of it beyond the axis), in degrees and logical pixels.
    double XOf(double thetaDegrees) const;
    double ThetaAt(double x) const;

    // A number with at most `decimals` decimals and the locale's separator.
    static QString NumberText(double value, int decimals);

    // What the chart shows, laid out with the font's metrics and the separator in force (made
    // again when the separator changes).
    const zk::ChartScene& Scene() const;

  protected:
    virtual zk::ChartScene MakeScene(const zk::ChartTextMetrics& metrics, const std::string& separator) const = 0;

    // Draws what depends only on `key` (a family of curves, one free stream's curve) and the chart's
    // kind, once per key and pixel density, and copies it afterwards: dragging the wedge angle
    // changes only the marks drawn over it.  `key` is kept alive while it is remembered.
    void DrawBackground(QPainter& painter, const char* kind, std::shared_ptr<const void> key,
                        const std::function<void(QPainter&)>& draw) const;

    static QFont ChartFont(int pixelHeight, bool bold);

  private:
    QSize size_;
    mutable std::optional<zk::ChartScene> scene_;
    mutable std::string separator_;
};

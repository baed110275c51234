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

#include "ShockComparison.h"
#include "ShockCurve.h"
#include "ThetaBetaFamily.h"

class QPainter;

// What the charts show of the current case.
struct ShockChartCase {
    std::shared_ptr<const zk::ThetaBetaFamily> Family; // nothing when the gas admits no oblique shock
    std::shared_ptr<const zk::ShockCurve> Current;     // nothing when the free stream has no shocks
    QString FamilyProblem;                             // why there is no family, a sentence
    QString CurrentProblem;                            // why there is no current curve, a sentence
    zk::ShockComparison Comparison;                    // the exact shocks and the construction
    double WedgeDegrees = 0;                           // the current wedge half-angle
};

class ShockChart {
  public:
    // Colours shared with the θ–β chart of the current Mach number.
    static constexpr QRgb kWeakColor = 0xff0000c0;         // weak shocks
    static constexpr QRgb kStrongColor = 0xff008000;       // strong shocks
    static constexpr QRgb kConstructionColor = 0xffff0000; // the construction, red as on the diagram
    static constexpr QRgb kWedgeColor = 0xff808080;        // the wedge angle's vertical line

    explicit ShockChart(QSize size);
    virtual ~ShockChart() = default;

    QSize Size() const { return size_; }
    // The plot area, logical pixels.
    QRect Plot() const { return plot_; }

    virtual void Draw(QPainter& painter) const = 0;
    // The picture at devicePixelRatio image pixels per logical pixel, white behind.
    QImage Render(qreal devicePixelRatio) const;

    // The deflection at the right end of the θ axis, degrees.
    double ThetaLimit() const { return thetaLimit_; }
    // The spacing of the θ axis's marks, degrees.
    double ThetaStep() const { return thetaStep_; }
    // Horizontal position of a deflection, and the deflection under a column (any column: left of
    // the plot it is negative, right of it beyond the axis), in degrees and logical pixels.
    double XOf(double thetaDegrees) const;
    double ThetaAt(double x) const;

    // A number with at most `decimals` decimals and the locale's separator.
    static QString NumberText(double value, int decimals);

  protected:
    // The θ axis from 0 to a little beyond `wanted` degrees, its marks on 1, 2 or 5 times a power
    // of ten, at most ten of them.
    void SetThetaAxis(double wantedDegrees);
    // The θ axis from 0 to limitDegrees with marks every stepDegrees, for a chart that chooses them
    // itself.
    void SetThetaAxis(double limitDegrees, double stepDegrees) {
        thetaLimit_ = limitDegrees;
        thetaStep_ = stepDegrees;
    }
    void SetPlot(QRect plot) { plot_ = plot; }

    // Draws what depends only on `key` (a family of curves, one free stream's curve) and the chart's
    // kind, once per key and pixel density, and copies it afterwards: dragging the wedge angle
    // changes only the marks drawn over it.  `key` is kept alive while it is remembered.
    void DrawBackground(QPainter& painter, const char* kind, std::shared_ptr<const void> key,
                        const std::function<void(QPainter&)>& draw) const;

    // The grid lines and marks of the θ axis, with its caption.
    void DrawThetaAxis(QPainter& painter) const;
    // A sentence centred in the plot, for a chart that has nothing to draw.
    void DrawNotice(QPainter& painter, const QString& text) const;
    // The wedge angle: a dotted vertical line with its value, or its value with an arrow at the
    // right edge when it lies beyond the axis.
    void DrawWedge(QPainter& painter, double wedgeDegrees) const;
    // A filled dot and a cross, the marks of the exact shocks and of the construction.
    static void DrawDot(QPainter& painter, QPointF p, QRgb color);
    static void DrawCross(QPainter& painter, QPointF p, QRgb color);

    static QFont ChartFont(int pixelHeight, bool bold);
    // The smallest of 1, 2, 5 times a power of ten that splits `span` into at most `marks` parts.
    static double NiceStep(double span, int marks);

  private:
    QSize size_;
    QRect plot_;
    double thetaLimit_ = 10;
    double thetaStep_ = 1;
};

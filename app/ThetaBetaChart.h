// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The θ–β chart of the exact oblique-shock relation for one free stream: the shock angle β over the
// flow deflection θ, weak branch and strong branch meeting at the maximum deflection θmax, with the
// current wedge angle, the exact weak and strong shocks for it and the construction's shock angle φ.
// Drawn without antialiasing, like the program's other pictures.
#include <QImage>
#include <QPoint>
#include <optional>

#include "ShockComparison.h"

class ThetaBetaChart {
  public:
    static constexpr int kWidth = 608;  // pixels
    static constexpr int kHeight = 270; // pixels

    // The plot area inside the picture, pixels.
    static constexpr int kLeft = 44;
    static constexpr int kRight = kWidth - 40;
    static constexpr int kTop = 24;
    static constexpr int kBottom = kHeight - 52;

    // Colours of the picture's elements.
    static constexpr QRgb kWeakColor = 0xff0000c0;         // weak branch and the exact weak shock
    static constexpr QRgb kStrongColor = 0xff008000;       // strong branch and the exact strong shock
    static constexpr QRgb kConstructionColor = 0xffff0000; // φ of the construction, red as on the diagram
    static constexpr QRgb kWedgeColor = 0xff808080;        // the vertical line of the wedge angle

    // comparison: what the comparison window shows; wedgeDegrees: the current wedge half-angle.
    ThetaBetaChart(const zk::ShockComparison& comparison, double wedgeDegrees);

    QImage Draw() const;

    // The pixel of the point (θ, β), both in degrees.
    QPoint ToPixel(double thetaDegrees, double betaDegrees) const;
    // The deflection at the right end of the θ axis, degrees.
    double ThetaLimit() const { return thetaLimit_; }
    // The spacing of the θ axis's marks, degrees.
    double ThetaStep() const { return thetaStep_; }

  private:
    void DrawDetachedBand(class QPainter& painter, bool caption) const;
    void DrawAxes(QPainter& painter) const;
    void DrawBranches(QPainter& painter) const;
    void DrawMarks(QPainter& painter) const;
    void DrawLegend(QPainter& painter) const;

    zk::ShockComparison comparison_;
    double wedgeDegrees_;
    double thetaLimit_ = 10;
    double thetaStep_ = 1;
};

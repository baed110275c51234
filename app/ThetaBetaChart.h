// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The θ–β chart of the exact oblique-shock relation for one free stream: the shock angle β over the
// flow deflection θ, weak branch and strong branch meeting at the maximum deflection θmax, with the
// current wedge angle, the exact weak and strong shocks for it and the construction's shock angle φ.
// Drawn without antialiasing, like the program's other pictures.  Its θ axis picks the wedge angle
// like the comparison window's other charts.
#include <QImage>
#include <QPoint>
#include <optional>

#include "ShockChart.h"
#include "ShockComparison.h"

class ThetaBetaChart : public ShockChart {
  public:
    static constexpr int kWidth = zk::kThetaBetaWidth;   // pixels
    static constexpr int kHeight = zk::kThetaBetaHeight; // pixels

    // The plot area inside the picture, pixels.
    static constexpr int kLeft = 44;
    static constexpr int kRight = kWidth - 40;
    static constexpr int kTop = 24;
    static constexpr int kBottom = kHeight - 52;

    // comparison: what the comparison window shows; wedgeDegrees: the current wedge half-angle.
    ThetaBetaChart(const zk::ShockComparison& comparison, double wedgeDegrees);

    // The picture, kWidth x kHeight pixels, at devicePixelRatio image pixels per pixel.
    QImage Draw(qreal devicePixelRatio = 1) const;
    // The same picture through a painter, for the view that picks the wedge angle on it.
    void Draw(QPainter& painter) const override;

    // The pixel of the point (θ, β), both in degrees.
    QPoint ToPixel(double thetaDegrees, double betaDegrees) const;

  protected:
    zk::ChartScene MakeScene(const zk::ChartTextMetrics& metrics, const std::string& separator) const override;

  private:
    zk::ShockComparison comparison_;
    double wedgeDegrees_;
    mutable QImage picture_; // drawn at the first paint
};

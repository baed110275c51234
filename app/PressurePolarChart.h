// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pressure–deflection polar of the current free stream: the pressure ratio p2/p1 of every
// attached shock over the deflection θ it makes, from the wave of no strength (θ = 0, p2/p1 = 1)
// along the weak branch to the maximum deflection and back along the strong branch to the normal
// shock, with the construction's point (χ, P2/P1) and the exact weak and strong shocks of the wedge.
#include "ShockChart.h"

class PressurePolarChart : public ShockChart {
  public:
    static constexpr int kWidth = zk::kPressureWidth;   // logical pixels
    static constexpr int kHeight = zk::kPressureHeight; // logical pixels

    explicit PressurePolarChart(ShockChartCase chartCase);

    void Draw(QPainter& painter) const override;
    // The sentence the chart shows where it cannot draw (a curve or all of them); empty if none.
    QString Notice() const;

    // The point of (θ in degrees, p2/p1), logical pixels.
    QPointF ToPoint(double thetaDegrees, double pressureRatio) const;
    // The pressure ratio at the top of the axis, at its foot (1, or lower to show a construction
    // that gives less), and the spacing of its marks.
    double PressureLimit() const { return axis_.Limit; }
    double PressureFloor() const { return axis_.Floor; }
    double PressureStep() const { return axis_.Step; }

    // A pressure ratio for the axis and the labels: `digits` decimals, or from 10⁵ on a mantissa
    // with `digits` − 1 decimals times a power of ten ("1,01·10⁷").
    static QString PressureText(double value, int digits);

  protected:
    zk::ChartScene MakeScene(const zk::ChartTextMetrics& metrics, const std::string& separator) const override;

  private:
    ShockChartCase case_;
    zk::PressureAxis axis_;
};

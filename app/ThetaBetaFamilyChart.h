// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The θ–β–M chart of the current gas as the published charts draw it: β over θ for the chart's
// Mach numbers and the limit M1 → ∞, each curve labelled with its M1, the line of maximum
// deflection that parts the weak shocks from the strong ones, the sonic line (M2 = 1), the current
// M1's curve in bold, and on it the construction's point (χ, φ) and the exact weak and strong shocks.
#include "ShockChart.h"

class ThetaBetaFamilyChart : public ShockChart {
  public:
    static constexpr int kWidth = zk::kFamilyWidth;   // logical pixels
    static constexpr int kHeight = zk::kFamilyHeight; // logical pixels

    static constexpr QRgb kFamilyColor = zk::kChartFamilyColor;   // the curves of the chart's Mach numbers
    static constexpr QRgb kMaximumColor = zk::kChartMaximumColor; // the line of maximum deflection, dashed
    static constexpr QRgb kSonicColor = zk::kChartSonicColor;     // the sonic line, dash-dotted

    explicit ThetaBetaFamilyChart(ShockChartCase chartCase);

    void Draw(QPainter& painter) const override;
    // The sentence the chart shows where it cannot draw (a curve or all of them); empty if none.
    QString Notice() const;

    // The point of (θ, β), both in degrees, logical pixels.
    QPointF ToPoint(double thetaDegrees, double betaDegrees) const;

  protected:
    zk::ChartScene MakeScene(const zk::ChartTextMetrics& metrics, const std::string& separator) const override;

  private:
    ShockChartCase case_;
};

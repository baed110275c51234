// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The θ–β–M chart of the current gas as the published charts draw it: β over θ for the chart's
// Mach numbers and the limit M1 → ∞, each curve labelled with its M1, the line of maximum
// deflection that parts the weak shocks from the strong ones, the sonic line (M2 = 1), the current
// M1's curve in bold, and on it the construction's point (χ, φ) and the exact weak and strong shocks.
#include "ShockChart.h"

class ThetaBetaFamilyChart : public ShockChart {
  public:
    static constexpr int kWidth = 520;  // logical pixels
    static constexpr int kHeight = 360; // logical pixels

    static constexpr QRgb kFamilyColor = 0xff606060;  // the curves of the chart's Mach numbers
    static constexpr QRgb kMaximumColor = 0xff000000; // the line of maximum deflection, dashed
    static constexpr QRgb kSonicColor = 0xffd07000;   // the sonic line, dash-dotted

    explicit ThetaBetaFamilyChart(ShockChartCase chartCase);

    void Draw(QPainter& painter) const override;
    // The sentence the chart shows where it cannot draw (a curve or all of them); empty if none.
    QString Notice() const;

    // The point of (θ, β), both in degrees, logical pixels.
    QPointF ToPoint(double thetaDegrees, double betaDegrees) const;

  private:
    void DrawBetaAxis(QPainter& painter) const;
    void DrawFamily(QPainter& painter) const;
    void DrawCurrent(QPainter& painter) const;
    void DrawMarks(QPainter& painter) const;
    void DrawLegend(QPainter& painter) const;

    ShockChartCase case_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows one chart of the comparison window, drawn at the screen's own pixel density, and lets the
// student pick the wedge angle on it: a click or a drag picks the whole degree of deflection under
// the pointer, and the arrow keys step it by one degree while the chart has the keyboard focus.
#include <QWidget>
#include <memory>

#include "ShockChart.h"

class WedgePicker;

class ChartView : public QWidget {
    Q_OBJECT
  public:
    ChartView(WedgePicker* picker, QWidget* parent = nullptr);

    // Shows chart (which sets the view's size) and repaints.
    void SetChart(std::unique_ptr<ShockChart> chart);
    const ShockChart* Chart() const { return chart_.get(); }

    // The whole degree a pointer at column x of the chart picks.
    int AngleAt(double x) const;

    // Shows the chart scale times its own size (the window is smaller or larger than designed).
    void SetScale(double scale);
    double Scale() const { return scale_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    WedgePicker* picker_;
    std::unique_ptr<ShockChart> chart_;
    bool dragging_ = false;
    double scale_ = 1;

    void FitToChart();
    // The chart's column under a pointer event.
    double ChartX(const QMouseEvent* event) const;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The content of a window laid out for one size, shown at another: every child keeps its place
// and size in proportion and its font grows or shrinks with it, so a window too large for the
// screen can open smaller and still show all of itself.
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

class ScaledContent {
  public:
    // Takes the design geometry and fonts of window's direct children as they are now; window's
    // client area is design wide and high.
    void Record(QWidget* window, QSize design);

    // The scale at which the design fits into size, and the children placed for it.
    static double ScaleFor(QSize design, QSize size);
    void Apply(double scale);
    double Scale() const { return scale_; }

    // A design rectangle and a font pixel size at the current scale.
    QRect Scaled(const QRect& rect) const;
    int Scaled(int pixels) const;

  private:
    struct Child {
        QPointer<QWidget> Widget;
        QRect Geometry;
        QFont Font;
    };
    std::vector<Child> children_;
    QSize design_;
    double scale_ = 1;
};

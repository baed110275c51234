// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScaledContent.h"

#include <algorithm>
#include <cmath>

void ScaledContent::Record(QWidget* window, QSize design) {
    design_ = design;
    children_.clear();
    for (QObject* object : window->children()) {
        if (!object->isWidgetType())
            continue;
        auto* widget = static_cast<QWidget*>(object);
        if (widget->isWindow())
            continue; // a dialog of the window, not part of its client area
        children_.push_back({widget, widget->geometry(), widget->font()});
    }
}

double ScaledContent::ScaleFor(QSize design, QSize size) {
    if (design.isEmpty())
        return 1;
    return std::min(double(size.width()) / design.width(), double(size.height()) / design.height());
}

QRect ScaledContent::Scaled(const QRect& rect) const {
    // Edges rounded, not sizes, so that neighbours stay neighbours.
    const auto at = [this](int v) { return static_cast<int>(std::lround(v * scale_)); };
    return QRect(QPoint(at(rect.left()), at(rect.top())),
                 QPoint(at(rect.left() + rect.width()) - 1, at(rect.top() + rect.height()) - 1));
}

int ScaledContent::Scaled(int pixels) const {
    return std::max(1, static_cast<int>(std::lround(pixels * scale_)));
}

void ScaledContent::Apply(double scale) {
    scale_ = scale;
    for (const Child& child : children_) {
        if (!child.Widget)
            continue;
        QFont font = child.Font;
        if (font.pixelSize() > 0)
            font.setPixelSize(std::max(6, Scaled(font.pixelSize())));
        else if (font.pointSizeF() > 0)
            font.setPointSizeF(std::max(4.5, font.pointSizeF() * scale));
        child.Widget->setFont(font);
        child.Widget->setGeometry(Scaled(child.Geometry));
    }
}

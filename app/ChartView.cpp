// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ErrorBox.h"
#include "WedgePicker.h"

ChartView::ChartView(WedgePicker* picker, QWidget* parent) : QWidget(parent), picker_(picker) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(QStringLiteral("Щелчок или перетаскивание выбирает угол клина χ; стрелки меняют его на 1°"));
}

void ChartView::SetChart(std::unique_ptr<ShockChart> chart) {
    chart_ = std::move(chart);
    FitToChart();
    update();
}

void ChartView::SetScale(double scale) {
    if (scale == scale_)
        return;
    scale_ = scale;
    FitToChart();
    update();
}

void ChartView::FitToChart() {
    if (chart_)
        setFixedSize(
            QSize(qRound(chart_->Size().width() * scale_), qRound(chart_->Size().height() * scale_)));
}

double ChartView::ChartX(const QMouseEvent* event) const {
    if (!chart_ || width() <= 0)
        return event->position().x();
    return event->position().x() * chart_->Size().width() / width();
}

int ChartView::AngleAt(double x) const {
    if (!chart_ || !picker_)
        return 0;
    return picker_->AngleFor(chart_->ThetaAt(x), chart_->ThetaLimit());
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (chart_) {
        painter.save();
        if (scale_ != 1) {
            painter.scale(double(width()) / chart_->Size().width(),
                          double(height()) / chart_->Size().height());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
        }
        chart_->Draw(painter);
        painter.restore();
    }
    if (hasFocus()) {
        // The keyboard is here: the arrows step the wedge angle.
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !picker_ || !chart_) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    const int degrees = AngleAt(ChartX(event));
    zk::RunHandler([&] { picker_->Press(degrees); });
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && !(event->buttons() & Qt::LeftButton)) {
        // The button came up where this view did not see it (a modal box took the release): the
        // drag is over, and the pointer moving on picks nothing.
        dragging_ = false;
    }
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    picker_->Move(AngleAt(ChartX(event)));
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    const int degrees = AngleAt(ChartX(event));
    zk::RunHandler([&] { picker_->Release(degrees); });
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        step = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        step = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (picker_)
        zk::RunHandler([&] { picker_->Step(step); });
}

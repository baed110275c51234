// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QPolygonF>
#include <cmath>

#include "DecimalSeparator.h"

QFont ChartFont(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

int QtChartTextMetrics::Advance(const std::string& utf8, int pixelHeight, bool bold) const {
    return QFontMetrics(ChartFont(pixelHeight, bold)).horizontalAdvance(QString::fromStdString(utf8));
}

int QtChartTextMetrics::Ascent(int pixelHeight, bool bold) const {
    return QFontMetrics(ChartFont(pixelHeight, bold)).ascent();
}

int QtChartTextMetrics::Height(int pixelHeight, bool bold) const {
    return QFontMetrics(ChartFont(pixelHeight, bold)).height();
}

std::string ChartSeparator() {
    return zk::DecimalSeparator().toStdString();
}

namespace {

Qt::PenStyle Style(zk::ChartPen pen) {
    switch (pen) {
    case zk::ChartPen::Dash: return Qt::DashLine;
    case zk::ChartPen::Dot: return Qt::DotLine;
    case zk::ChartPen::DashDot: return Qt::DashDotLine;
    case zk::ChartPen::Solid: break;
    }
    return Qt::SolidLine;
}

int Whole(double v) { return static_cast<int>(std::lround(v)); }

QRect WholeRect(const zk::ChartRect& r) { return QRect(Whole(r.X), Whole(r.Y), Whole(r.W), Whole(r.H)); }

} // namespace

void PaintChartItems(QPainter& painter, const std::vector<zk::ChartItem>& items) {
    using Kind = zk::ChartItem::Kind;
    std::optional<zk::ChartRect> clip;
    for (const zk::ChartItem& item : items) {
        if (item.Clip != clip) {
            if (item.Clip)
                painter.setClipRect(WholeRect(*item.Clip));
            else
                painter.setClipping(false);
            clip = item.Clip;
        }
        const QColor color = QColor::fromRgb(item.Color);
        painter.setPen(QPen(color, item.PenWidth, Style(item.Pen)));
        const auto& p = item.Points;
        switch (item.Type) {
        case Kind::Line:
            if (item.Whole)
                painter.drawLine(Whole(p[0].X), Whole(p[0].Y), Whole(p[1].X), Whole(p[1].Y));
            else
                painter.drawLine(QPointF(p[0].X, p[0].Y), QPointF(p[1].X, p[1].Y));
            break;
        case Kind::Polyline:
            if (item.Whole) {
                QPolygon line;
                line.reserve(static_cast<qsizetype>(p.size()));
                for (const zk::ChartPoint& q : p)
                    line << QPoint(Whole(q.X), Whole(q.Y));
                painter.drawPolyline(line);
            } else {
                QPolygonF line;
                line.reserve(static_cast<qsizetype>(p.size()));
                for (const zk::ChartPoint& q : p)
                    line << QPointF(q.X, q.Y);
                painter.drawPolyline(line);
            }
            break;
        case Kind::Fill:
            if (item.Whole)
                painter.fillRect(WholeRect(item.Box), color);
            else
                painter.fillRect(QRectF(item.Box.X, item.Box.Y, item.Box.W, item.Box.H), color);
            break;
        case Kind::Ellipse:
            painter.setBrush(color);
            if (item.Whole)
                painter.drawEllipse(QPoint(Whole(p[0].X), Whole(p[0].Y)), Whole(item.Rx), Whole(item.Ry));
            else
                painter.drawEllipse(QPointF(p[0].X, p[0].Y), item.Rx, item.Ry);
            painter.setBrush(Qt::NoBrush);
            break;
        case Kind::Text: {
            painter.setFont(ChartFont(item.FontPixels, item.Bold));
            const QFontMetrics metrics(painter.font());
            const QString text = QString::fromStdString(item.Text);
            double x = p[0].X, y = p[0].Y;
            if (item.HAlign == zk::ChartHAlign::Center)
                x -= metrics.horizontalAdvance(text) / 2;
            else if (item.HAlign == zk::ChartHAlign::Right)
                x -= metrics.horizontalAdvance(text);
            if (item.VAlign == zk::ChartVAlign::Top)
                y += metrics.ascent();
            else if (item.VAlign == zk::ChartVAlign::Middle)
                y += metrics.ascent() / 2 - 1;
            painter.drawText(QPointF(x, y), text);
            break;
        }
        case Kind::TextBox:
            painter.setFont(ChartFont(item.FontPixels, item.Bold));
            painter.drawText(WholeRect(item.Box), Qt::AlignCenter | (item.Wrap ? Qt::TextWordWrap : 0),
                             QString::fromStdString(item.Text));
            break;
        }
    }
    if (clip)
        painter.setClipping(false);
}

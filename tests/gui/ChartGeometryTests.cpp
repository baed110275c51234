// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop's charts actually paint equals their scenes: a paint device whose engine
// records every line, polyline, rectangle, ellipse and text the painter hands it, for the charts'
// own Draw, compared item by item with the scene the web page paints from.
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

#include "ApplyListener.h"
#include "ChartPainter.h"
#include "PressurePolarChart.h"
#include "Solver.h"
#include "ThetaBetaChart.h"
#include "ThetaBetaFamilyChart.h"

namespace {

// One thing the painter drew, in logical pixels.
struct Drawn {
    std::string Kind; // "line", "polyline", "rect", "ellipse", "text"
    std::vector<QPointF> Points;
    QRectF Box;
    QString Text;
    QRgb Color = 0;
    qreal PenWidth = 0;
    Qt::PenStyle Style = Qt::SolidLine;
    qreal Width = 0; // a text's advance
};

class RecordingEngine : public QPaintEngine {
  public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::vector<Drawn> Items;
    QPen pen;
    QBrush brush;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyPen)
            pen = state.pen();
        if (state.state() & DirtyBrush)
            brush = state.brush();
    }
    Drawn Make(const char* kind) const {
        Drawn d;
        d.Kind = kind;
        d.Color = pen.color().rgba();
        d.PenWidth = pen.widthF();
        d.Style = pen.style();
        return d;
    }
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            Drawn d = Make("line");
            d.Points = {lines[i].p1(), lines[i].p2()};
            Items.push_back(d);
        }
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            Drawn d = Make("line");
            d.Points = {QPointF(lines[i].p1()), QPointF(lines[i].p2())};
            Items.push_back(d);
        }
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        Drawn d = Make("polyline");
        d.Points.assign(points, points + count);
        Items.push_back(d);
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode) override {
        Drawn d = Make("polyline");
        for (int i = 0; i < count; ++i)
            d.Points.push_back(QPointF(points[i]));
        Items.push_back(d);
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            Drawn d = Make("rect");
            d.Box = rects[i];
            d.Color = brush.color().rgba();
            Items.push_back(d);
        }
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            Drawn d = Make("rect");
            d.Box = QRectF(rects[i]);
            d.Color = brush.color().rgba();
            Items.push_back(d);
        }
    }
    void drawEllipse(const QRectF& r) override {
        Drawn d = Make("ellipse");
        d.Box = r;
        Items.push_back(d);
    }
    void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        // A text in several faces (a Greek letter from a fallback font) comes in runs, each
        // starting where the last one ended: they make one text.
        if (!Items.empty() && Items.back().Kind == "text" && Items.back().Points[0].y() == p.y() &&
            std::abs(Items.back().Points[0].x() + Items.back().Width - p.x()) < 0.5) {
            Items.back().Text += item.text();
            Items.back().Width += item.width();
            return;
        }
        Drawn d = Make("text");
        d.Width = item.width();
        d.Points = {p};
        d.Text = item.text();
        Items.push_back(d);
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
};

class RecordingDevice : public QPaintDevice {
  public:
    mutable RecordingEngine engine;
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth: return 700;
        case PdmHeight: return 400;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default: return QPaintDevice::metric(m);
        }
    }
};

std::vector<Drawn> Record(const std::vector<zk::ChartItem>& items) {
    RecordingDevice device;
    {
        QPainter painter(&device);
        PaintChartItems(painter, items);
    }
    return device.engine.Items;
}

Qt::PenStyle StyleOf(zk::ChartPen pen) {
    switch (pen) {
    case zk::ChartPen::Dash: return Qt::DashLine;
    case zk::ChartPen::Dot: return Qt::DotLine;
    case zk::ChartPen::DashDot: return Qt::DashDotLine;
    default: return Qt::SolidLine;
    }
}

// Every scene item against what the painter drew for it, in order.  Texts: the painter's
// baseline point lies where the scene's anchor and alignment put it with the font's metrics.
void ExpectSameGeometry(const std::vector<zk::ChartItem>& scene, const std::vector<Drawn>& drawn) {
    using Kind = zk::ChartItem::Kind;
    std::size_t at = 0;
    for (std::size_t i = 0; i < scene.size(); ++i) {
        const zk::ChartItem& item = scene[i];
        SCOPED_TRACE("item " + std::to_string(i) + ": " + item.Text);
        if (item.Type == Kind::TextBox) {
            // Laid out by the painter in its box: every line of it inside the box.
            ASSERT_LT(at, drawn.size());
            while (at < drawn.size() && drawn[at].Kind == "text") {
                EXPECT_TRUE(QRectF(item.Box.X, item.Box.Y, item.Box.W, item.Box.H).adjusted(-1, -1, 1, 1).contains(drawn[at].Points[0]));
                EXPECT_TRUE(QString::fromStdString(item.Text).contains(drawn[at].Text.trimmed()));
                ++at;
            }
            continue;
        }
        ASSERT_LT(at, drawn.size()) << "the painter drew less than the scene lists";
        const Drawn& d = drawn[at++];
        switch (item.Type) {
        case Kind::Line:
        case Kind::Polyline:
            ASSERT_EQ(d.Kind, item.Type == Kind::Line ? "line" : "polyline");
            ASSERT_EQ(d.Points.size(), item.Points.size());
            for (std::size_t k = 0; k < d.Points.size(); ++k) {
                EXPECT_DOUBLE_EQ(d.Points[k].x(), item.Whole ? std::lround(item.Points[k].X) : item.Points[k].X);
                EXPECT_DOUBLE_EQ(d.Points[k].y(), item.Whole ? std::lround(item.Points[k].Y) : item.Points[k].Y);
            }
            EXPECT_EQ(d.Color, item.Color);
            EXPECT_DOUBLE_EQ(d.PenWidth, item.PenWidth);
            EXPECT_EQ(d.Style, StyleOf(item.Pen));
            break;
        case Kind::Fill:
            ASSERT_EQ(d.Kind, "rect");
            EXPECT_EQ(d.Box, QRectF(item.Box.X, item.Box.Y, item.Box.W, item.Box.H));
            EXPECT_EQ(d.Color, item.Color);
            break;
        case Kind::Ellipse:
            ASSERT_EQ(d.Kind, "ellipse");
            EXPECT_EQ(d.Box.center(), QPointF(item.Points[0].X, item.Points[0].Y));
            EXPECT_DOUBLE_EQ(d.Box.width(), 2 * item.Rx);
            EXPECT_EQ(d.Color, item.Color);
            break;
        case Kind::Text: {
            ASSERT_EQ(d.Kind, "text");
            EXPECT_EQ(d.Text, QString::fromStdString(item.Text));
            const QFontMetrics m(ChartFont(item.FontPixels, item.Bold));
            const int advance = m.horizontalAdvance(d.Text);
            const double left = item.HAlign == zk::ChartHAlign::Left     ? item.Points[0].X
                                : item.HAlign == zk::ChartHAlign::Center ? item.Points[0].X - advance / 2
                                                                         : item.Points[0].X - advance;
            const double base = item.VAlign == zk::ChartVAlign::Baseline ? item.Points[0].Y
                                : item.VAlign == zk::ChartVAlign::Top    ? item.Points[0].Y + m.ascent()
                                                                         : item.Points[0].Y + m.ascent() / 2 - 1;
            // Glyph positions are kept in 1/64 of a pixel.
            EXPECT_NEAR(d.Points[0].x(), left, 1.0 / 64);
            EXPECT_NEAR(d.Points[0].y(), base, 1.0 / 64);
            EXPECT_EQ(d.Color, item.Color);
            break;
        }
        case Kind::TextBox:
            break;
        }
    }
    EXPECT_EQ(at, drawn.size()) << "the painter drew more than the scene lists";
}

struct GeometryCase {
    const char* Name;
    double Gamma;
    int V1, Chi;
};

class ChartGeometryTest : public testing::TestWithParam<GeometryCase> {};

TEST_P(ChartGeometryTest, PainterDrawsTheScene) {
    const GeometryCase& g = GetParam();
    zk::FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = g.Gamma;
    zk::ApplyListener quiet;
    zk::Apply(state, zk::ApplyInputs{g.Chi, g.V1, '.'}, quiet);
    const zk::ShockComparison comparison = zk::CompareWithExactTheory(state);
    zk::ChartCaseMaker maker;
    const zk::ChartCase chartCase = maker.Make(&comparison, g.Gamma, g.Chi, std::string());
    const ThetaBetaChart tb(comparison, g.Chi);
    const ThetaBetaFamilyChart family(chartCase);
    const PressurePolarChart pressure(chartCase);
    for (const ShockChart* chart : {static_cast<const ShockChart*>(&tb), static_cast<const ShockChart*>(&family),
                                    static_cast<const ShockChart*>(&pressure)}) {
        SCOPED_TRACE(chart->Scene().Name);
        EXPECT_FALSE(chart->Scene().Marks.empty());
        ExpectSameGeometry(chart->Scene().Background, Record(chart->Scene().Background));
        ExpectSameGeometry(chart->Scene().Marks, Record(chart->Scene().Marks));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChartGeometryTest,
                         testing::Values(GeometryCase{"attached", 1.4, 680, 20}, GeometryCase{"detached", 1.4, 680, 30},
                                         GeometryCase{"beyondAxis", 1.4, 680, 100},
                                         GeometryCase{"noObliqueShock", 1.0, 680, 20},
                                         GeometryCase{"hypersonic", 1.4, 100000, 10},
                                         GeometryCase{"subsonic", 1.4, 200, 10}),
                         [](const testing::TestParamInfo<GeometryCase>& info) { return std::string(info.param.Name); });

} // namespace

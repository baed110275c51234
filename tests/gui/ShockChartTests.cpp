// SPDX-License-Identifier: GPL-3.0-or-later
// The chart family and the pressure polar as drawn: curves and marks stand where the exact theory
// puts them, the charts say why they cannot draw instead of drawing nonsense, and they are drawn at
// the screen's own pixel density.
#include <QImage>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>
#include <gtest/gtest.h>

#include "ApplyListener.h"
#include "ChartView.h"
#include "Comparison.h"
#include "PressurePolarChart.h"
#include "ProgramFixture.h"
#include "Solver.h"
#include "ThetaBetaFamilyChart.h"

namespace {

using zk::DegreesFromRadians;
using zk::RadiansFromDegrees;

// Pixels of one colour within `radius` image pixels of the logical point p of an image drawn at
// devicePixelRatio.
int CountNear(const QImage& image, QPointF p, int radius, QRgb color) {
    const qreal ratio = image.devicePixelRatio();
    const QPoint centre = (p * ratio).toPoint();
    int n = 0;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
            if (image.valid(x, y) && image.pixel(x, y) == color)
                ++n;
    return n;
}

int CountIn(const QImage& image, QRect area, QRgb color) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.valid(x, y) && image.pixel(x, y) == color)
                ++n;
    return n;
}

// Dark pixels (text is smoothed by the font engine, so not all of it pure black) within an area.
int CountDark(const QImage& image, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.valid(x, y) && qGray(image.pixel(x, y)) < 0x60)
                ++n;
    return n;
}

// The charts' case for c1, γ, V1 and χ, as the comparison window builds it.
ShockChartCase CaseFor(double c1, double gamma, int v1, int chi) {
    zk::FlowState state;
    state.SoundSpeed = c1;
    state.Gamma = gamma;
    zk::ApplyListener quiet;
    zk::Apply(state, zk::ApplyInputs{chi, v1, '.'}, quiet);
    ShockChartCase c;
    c.Comparison = zk::CompareWithExactTheory(state);
    c.WedgeDegrees = chi;
    c.Family = std::make_shared<const zk::ThetaBetaFamily>(gamma);
    c.Current = std::make_shared<const zk::ShockCurve>(c.Comparison.Exact.M1, gamma, 240);
    return c;
}

TEST(ThetaBetaFamilyChartTest, CurvesAndMarksStandAtTheirValues) {
    const ThetaBetaFamilyChart chart(CaseFor(340, 1.4, 680, 20));
    const QImage image = chart.Render(1);
    EXPECT_TRUE(chart.Notice().isEmpty());
    const QRect plot = chart.Plot();
    EXPECT_GT(CountDark(image, QRect(plot.left() - 12, plot.bottom() + 6, plot.width() + 24, 14)), 40);
    EXPECT_GT(CountDark(image, QRect(0, plot.top(), plot.left() - 4, plot.height())), 40);
    // θ axis to 50°: the limit curve's maximum 45.58° and a margin.
    EXPECT_DOUBLE_EQ(chart.ThetaLimit(), 50.0);

    // The bold M1 = 2 curve: through the Mach angle, θ = 10° at β = 39.31° (NACA Report 1135) on the
    // weak branch and the exact strong shock of 20°, 74.27°.
    EXPECT_GT(CountNear(image, chart.ToPoint(0.2, 30), 2, ShockChart::kWeakColor), 0);
    EXPECT_GT(CountNear(image, chart.ToPoint(10, 39.31), 1, ShockChart::kWeakColor), 0);
    EXPECT_GT(CountNear(image, chart.ToPoint(20, 74.27), 2, ShockChart::kStrongColor), 8);
    // The construction's cross at φ = 52.73° and the exact weak dot at 53.42° beside it.
    EXPECT_GT(CountNear(image, chart.ToPoint(20, 52.73), 2, ShockChart::kConstructionColor), 4);
    EXPECT_GT(CountNear(image, chart.ToPoint(20.3, 53.42), 3, ShockChart::kWeakColor), 4);

    // A thin curve of the family: M1 = 3 turns 20° at β = 37.76° (weak) and 82.15° (strong).
    const auto weak3 = zk::WeakShock(3, 1.4, RadiansFromDegrees(20));
    const auto strong3 = zk::StrongShock(3, 1.4, RadiansFromDegrees(20));
    EXPECT_NEAR(DegreesFromRadians(weak3->Beta), 37.76, 0.005);
    EXPECT_GT(CountNear(image, chart.ToPoint(20, DegreesFromRadians(weak3->Beta)), 1,
                        ThetaBetaFamilyChart::kFamilyColor),
              0);
    EXPECT_GT(CountNear(image, chart.ToPoint(20, DegreesFromRadians(strong3->Beta)), 1,
                        ThetaBetaFamilyChart::kFamilyColor),
              0);
    // The sonic line passes M1 = 4's sonic point; the limit curve reaches 45.58°.
    const zk::ExactShockTheory four = zk::ExactTheory(4, 1.4);
    EXPECT_GT(
        CountNear(image,
                  chart.ToPoint(DegreesFromRadians(four.SonicTheta), DegreesFromRadians(four.SonicBeta)), 2,
                  ThetaBetaFamilyChart::kSonicColor),
        0);
    const zk::ExactShockTheory limit = zk::HypersonicTheory(1.4);
    EXPECT_GT(CountNear(image,
                        chart.ToPoint(DegreesFromRadians(limit.ThetaMax) - 0.3,
                                      DegreesFromRadians(limit.BetaAtThetaMax)),
                        2, ThetaBetaFamilyChart::kFamilyColor) +
                  CountNear(image,
                            chart.ToPoint(DegreesFromRadians(limit.ThetaMax) - 0.3,
                                          DegreesFromRadians(limit.BetaAtThetaMax)),
                            2, ThetaBetaFamilyChart::kSonicColor),
              0);
    // Nothing right of the limit curve: no attached shock anywhere there.
    const QPointF beyond = chart.ToPoint(48, 40);
    const QRect empty(beyond.toPoint() - QPoint(8, 60), QSize(12, 120));
    for (QRgb color : {ShockChart::kWeakColor, ShockChart::kStrongColor, ThetaBetaFamilyChart::kFamilyColor})
        EXPECT_EQ(CountIn(image, empty, color), 0);
}

TEST(ThetaBetaFamilyChartTest, CurrentCurveFollowsTheMachNumberAndTheGas) {
    // V1 = 1 000 000 m/s: M1 = 2941, the bold curve all but the limit; its weak branch starts at a
    // Mach angle of 0.02°.
    const ThetaBetaFamilyChart fast(CaseFor(340, 1.4, 1000000, 30));
    const QImage image = fast.Render(1);
    EXPECT_GT(CountNear(image, fast.ToPoint(0.3, 0.5), 2, ShockChart::kWeakColor), 0);
    // γ = 5/3 turns the flow less: the axis ends at 40° (θmax of the limit 36.87°).
    const ThetaBetaFamilyChart monatomic(CaseFor(340, 1.67, 680, 10));
    EXPECT_DOUBLE_EQ(monatomic.ThetaLimit(), 40.0);
}

TEST(PressurePolarChartTest, RunsFromTheMachWaveOverThetaMaxToTheNormalShock) {
    const PressurePolarChart chart(CaseFor(340, 1.4, 680, 20));
    const QImage image = chart.Render(1);
    EXPECT_TRUE(chart.Notice().isEmpty());
    EXPECT_DOUBLE_EQ(chart.ThetaLimit(), 25.0);
    EXPECT_DOUBLE_EQ(chart.PressureStep(), 0.5);
    EXPECT_DOUBLE_EQ(chart.PressureLimit(), 5.0) << "the normal shock's 4.5 and a margin";
    EXPECT_EQ(chart.ToPoint(0, 1), QPointF(chart.Plot().left(), chart.Plot().bottom()));

    // Ends: the wave of no strength (0, 1) on the weak branch, the normal shock (0, 4.5) on the
    // strong one (normal-shock table, M1 = 2).
    EXPECT_GT(CountNear(image, chart.ToPoint(0.2, 1), 2, ShockChart::kWeakColor), 0);
    EXPECT_GT(CountNear(image, chart.ToPoint(0.2, 4.5), 2, ShockChart::kStrongColor), 0);
    // θ = 20°: weak 2.8429 and strong 4.1570 (NACA Report 1135), the construction's 2.7885.
    EXPECT_GT(CountNear(image, chart.ToPoint(20, 4.157), 2, ShockChart::kStrongColor), 8);
    EXPECT_GT(CountNear(image, chart.ToPoint(20, 2.7885), 2, ShockChart::kConstructionColor), 4);
    EXPECT_GT(CountNear(image, chart.ToPoint(20, 2.8429), 4, ShockChart::kWeakColor), 8);
    // Both branches meet at θmax = 22.97°; beyond it neither runs.
    const zk::ShockSolution top = zk::ShockForAngle(2, 1.4, zk::ExactTheory(2, 1.4).BetaAtThetaMax);
    EXPECT_GT(CountNear(image, chart.ToPoint(22.8, top.PressureRatio), 3, ShockChart::kWeakColor) +
                  CountNear(image, chart.ToPoint(22.8, top.PressureRatio), 3, ShockChart::kStrongColor),
              0);
    // Both axes carry their numbers: black text left of the plot and below it.
    const QRect plot = chart.Plot();
    EXPECT_GT(CountDark(image, QRect(plot.left() - 12, plot.bottom() + 6, plot.width() + 24, 14)), 40);
    EXPECT_GT(CountDark(image, QRect(0, plot.top(), plot.left() - 4, plot.height())), 40);
    const QPoint right = chart.ToPoint(24, 3).toPoint();
    EXPECT_EQ(CountIn(image, QRect(right - QPoint(4, 40), QSize(8, 80)), ShockChart::kWeakColor), 0);
}

TEST(PressurePolarChartTest, AxisReachesBelowOneToKeepAConstructionBelowTheMachAngle) {
    // M1 = 2: at χ = 1° the construction's φ = 27.02° lies below the Mach angle of 30°, so
    // P2/P1 = 1 + 2·1.4/2.4·((2 sin 27.02°)² − 1) = 0.797; the axis then starts half a step (0.5)
    // lower.  At 2° and above the construction is a compression shock and the axis starts at 1.
    const struct {
        int chi;
        double pressure, floor;
    } cases[] = {{1, 0.797, 0.5}, {20, 2.7885, 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE("chi " + std::to_string(c.chi));
        const PressurePolarChart chart(CaseFor(340, 1.4, 680, c.chi));
        EXPECT_DOUBLE_EQ(chart.PressureFloor(), c.floor);
        EXPECT_DOUBLE_EQ(chart.PressureLimit(), 5.0) << "the top belongs to the free stream";
        EXPECT_EQ(chart.ToPoint(0, c.floor), QPointF(chart.Plot().left(), chart.Plot().bottom()));
        const QImage image = chart.Render(1);
        EXPECT_GT(CountNear(image, chart.ToPoint(c.chi, c.pressure), 2, ShockChart::kConstructionColor), 4);
        // The wave of no strength still starts the weak branch at p2/p1 = 1.
        EXPECT_GT(CountNear(image, chart.ToPoint(0.2, 1), 2, ShockChart::kWeakColor), 0);
    }
}

TEST(PressurePolarChartTest, HypersonicPolarKeepsFiniteAxes) {
    // M1 = 2941: p2/p1 of the normal shock about 1.0e7.
    const PressurePolarChart chart(CaseFor(340, 1.4, 1000000, 20));
    const double normal = zk::StrongShock(1000000 / 340.0, 1.4, 0)->PressureRatio;
    EXPECT_GT(chart.PressureLimit(), normal);
    EXPECT_LT(chart.PressureLimit(), normal * 1.5);
    EXPECT_TRUE(std::isfinite(chart.PressureStep()));
    EXPECT_GT(CountNear(chart.Render(1), chart.ToPoint(0.2, normal), 2, ShockChart::kStrongColor), 0);
}

TEST(PressurePolarChartTest, PressuresOfMillionsReadAsPowersOfTen) {
    EXPECT_EQ(PressurePolarChart::PressureText(4.5, 4), QStringLiteral("4.5"));
    EXPECT_EQ(PressurePolarChart::PressureText(99999.5, 0), QStringLiteral("100000")) << "below 10⁵ as it is";
    EXPECT_EQ(PressurePolarChart::PressureText(10094290.67, 4), QStringLiteral("1.009·10⁷"));
    EXPECT_EQ(PressurePolarChart::PressureText(2e11, 2), QStringLiteral("2·10¹¹"));
    EXPECT_EQ(PressurePolarChart::PressureText(9.99996e6, 3), QStringLiteral("1·10⁷")) << "rounding carries";
    zk::SetDecimalSeparator(QStringLiteral(","));
    EXPECT_EQ(PressurePolarChart::PressureText(1.25e6, 3), QStringLiteral("1,25·10⁶"));
    zk::SetDecimalSeparator(QStringLiteral("."));
}

TEST(ShockChartTest, DrawnAtTheScreensPixelDensity) {
    const ThetaBetaFamilyChart chart(CaseFor(340, 1.4, 680, 20));
    const QImage single = chart.Render(1);
    const QImage dense = chart.Render(2);
    EXPECT_EQ(single.size(), QSize(ThetaBetaFamilyChart::kWidth, ThetaBetaFamilyChart::kHeight));
    EXPECT_EQ(dense.size(), single.size() * 2);
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    // Drawn at the finer grid, not an enlarged copy of the coarse picture: the lines and the text
    // have their own pixels.
    EXPECT_NE(dense, single.scaled(single.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    EXPECT_GT(CountNear(dense, chart.ToPoint(10, 39.31), 2, ShockChart::kWeakColor), 0);
}

// ---------------------------------------------------------------------------------------------
// In the window: what the charts say when there is nothing to draw.

class ChartNoticeTest : public ProgramTest {
  protected:
    static const ThetaBetaFamilyChart* Family() {
        return static_cast<const ThetaBetaFamilyChart*>(Comparison->Chart1->Chart());
    }
    static const PressurePolarChart* Pressure() {
        return static_cast<const PressurePolarChart*>(Comparison->Chart2->Chart());
    }
    static QImage Shown(ChartView* view) { return view->Chart()->Render(1); }
};

TEST_F(ChartNoticeTest, ViewsShowTheirChartsAndFollowApply) {
    Main->N8Click();
    Comparison->Table1->setFocus(); // no focus frame on the charts
    for (ChartView* view : {Comparison->Chart1, Comparison->Chart2}) {
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, view->Chart()->Render(1).convertToFormat(QImage::Format_RGB32));
    }
    const QImage before = Comparison->Chart2->grab().toImage();
    Main->SpinEdit1->SetValue(12);
    Main->Button2->click();
    EXPECT_NE(Comparison->Chart2->grab().toImage(), before) << "the marks moved to 12°";
}

TEST_F(ChartNoticeTest, SubsonicStreamKeepsTheFamilyAndSaysWhyItHasNoCurve) {
    Main->N8Click();
    Main->N2Click();
    Opt->cc1->SetValue(900); // M1 = 0.76
    Opt->BitBtn1Click();
    ASSERT_NE(Family(), nullptr);
    EXPECT_TRUE(Family()->Notice().contains(QStringLiteral("дозвуковой")))
        << Family()->Notice().toStdString();
    EXPECT_TRUE(Pressure()->Notice().contains(QStringLiteral("дозвуковой")));
    const QImage family = Shown(Comparison->Chart1);
    const QRect plot = Family()->Plot();
    EXPECT_GT(CountIn(family, plot, ThetaBetaFamilyChart::kFamilyColor), 100) << "the gas's family stays";
    EXPECT_EQ(CountIn(family, plot, ShockChart::kStrongColor), 0) << "but no current curve";
    const QImage pressure = Shown(Comparison->Chart2);
    EXPECT_EQ(CountIn(pressure, Pressure()->Plot(), ShockChart::kWeakColor), 0);
    EXPECT_EQ(CountIn(pressure, Pressure()->Plot(), ShockChart::kStrongColor), 0);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ChartNoticeTest, GasWithoutObliqueShocksDrawsNoCurveAtAll) {
    Main->N8Click();
    Main->N2Click();
    Opt->cG1->SetValue(10); // γ = 1.0: Apply runs, the exact relations have no solution
    Opt->BitBtn1Click();
    ASSERT_TRUE(errors.Boxes.empty());
    EXPECT_TRUE(Family()->Notice().contains(QStringLiteral("γ должен быть больше 1")))
        << Family()->Notice().toStdString();
    EXPECT_FALSE(Pressure()->Notice().isEmpty());
    const QImage family = Shown(Comparison->Chart1);
    for (QRgb color : {ThetaBetaFamilyChart::kFamilyColor, ShockChart::kWeakColor, ShockChart::kStrongColor,
                       ThetaBetaFamilyChart::kSonicColor})
        EXPECT_EQ(CountIn(family, Family()->Plot(), color), 0);

    // Back to air: the family returns.
    Main->N2Click();
    Opt->cG1->SetValue(14);
    Opt->BitBtn1Click();
    EXPECT_TRUE(Family()->Notice().isEmpty());
    EXPECT_GT(CountIn(Shown(Comparison->Chart1), Family()->Plot(), ThetaBetaFamilyChart::kFamilyColor), 100);
}

TEST_F(ChartNoticeTest, FaultedApplyLeavesNoCurveOfTheFormerCase) {
    Main->N8Click();
    Flow.SoundSpeed = 0;
    Main->Button2->click();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_TRUE(Family()->Notice().contains(QStringLiteral("прерван ошибкой")));
    EXPECT_TRUE(Pressure()->Notice().contains(QStringLiteral("прерван ошибкой")));
    EXPECT_EQ(CountIn(Shown(Comparison->Chart1), Family()->Plot(), ShockChart::kWeakColor), 0);
}

} // namespace

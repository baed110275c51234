// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison window: opened from the menu bar, following every Apply while it is open, the
// detached and unanswerable cases, the locale's separator, and the θ–β chart's marks.
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

#include "ApplyListener.h"
#include "ChartView.h"
#include "Comparison.h"
#include "ProgramFixture.h"
#include "Solver.h"
#include "ThetaBetaChart.h"

namespace {

class ComparisonTest : public ProgramTest {
  protected:
    static QString Cell(int row, int column) { return Comparison->Table1->item(row, column)->text(); }

    static void Apply(int wedgeDegrees) {
        Main->SpinEdit1->SetValue(wedgeDegrees);
        QTest::mouseClick(Main->Button2, Qt::LeftButton);
    }

    // Every text the window shows: labels, headers and cells.
    static QStringList AllTexts() {
        QStringList texts = {Comparison->Label1->text(), Comparison->Label2->text(),
                             Comparison->Label3->text(), Comparison->Label4->text()};
        for (int row = 0; row < TComparisonForm::kRows; ++row)
            for (int column = 0; column < TComparisonForm::kColumns; ++column)
                texts << Cell(row, column);
        return texts;
    }

    static bool ColumnIsDashes(int column, int rows) {
        for (int row = 0; row < rows; ++row)
            if (Cell(row, column) != QStringLiteral("—"))
                return false;
        return true;
    }
};

enum Row {
    ShockAngleRow,
    PressureRow,
    DensityRow,
    SpeedRow,
    TemperatureRow,
    MachRow,
    TotalPressureRow,
    LargestRow
};

// The chart's pixels of one colour within a rectangle.
int CountColor(const QImage& image, QRgb color, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == color)
                ++n;
    return n;
}

QRect Around(QPoint p, int radius) {
    return QRect(p.x() - radius, p.y() - radius, 2 * radius + 1, 2 * radius + 1);
}

const QRect kPlot(ThetaBetaChart::kLeft + 1, ThetaBetaChart::kTop,
                  ThetaBetaChart::kRight - ThetaBetaChart::kLeft,
                  ThetaBetaChart::kBottom - ThetaBetaChart::kTop);

} // namespace

TEST_F(ComparisonTest, MenuBarItemFollowsTheSettingsItem) {
    const QList<QAction*> bar = Main->menuBar()->actions();
    const qsizetype settings = bar.indexOf(Main->N2);
    ASSERT_GE(settings, 0);
    ASSERT_LT(settings + 1, bar.size());
    EXPECT_EQ(bar[settings + 1], Main->N8);
    EXPECT_EQ(Main->N8->text(), QStringLiteral("Сравнение"));
    EXPECT_EQ(Main->N8->menu(), nullptr) << "no submenu: a click opens the window";
    EXPECT_FALSE(Comparison->isVisible()) << "created hidden at start-up";
}

// Start-up case, M1 = 2, χ = 20°: the construction's φ = 52.73° beside the textbook's weak 53.42°
// and strong 74.27° (NACA Report 1135), M2 and p02/p01 of both, θmax = 22.97°.
TEST_F(ComparisonTest, MenuOpensTheWindowWithTheStartUpCase) {
    Main->N8->trigger();
    ASSERT_TRUE(Comparison->isVisible());
    EXPECT_EQ(Comparison->windowTitle(), QStringLiteral("Сравнение с точной теорией"));

    using C = TComparisonForm;
    EXPECT_EQ(Cell(ShockAngleRow, C::ConstructionColumn), "52.73");
    EXPECT_EQ(Cell(ShockAngleRow, C::WeakColumn), "53.42");
    EXPECT_EQ(Cell(ShockAngleRow, C::StrongColumn), "74.27");
    EXPECT_EQ(Cell(ShockAngleRow, C::DifferenceColumn), "-0.7");
    EXPECT_EQ(Cell(PressureRow, C::ConstructionColumn), "2.7885") << "the label's 2.788 to 4 decimals";
    EXPECT_EQ(Cell(PressureRow, C::WeakColumn), "2.8429");
    EXPECT_EQ(Cell(MachRow, C::ConstructionColumn), "—");
    EXPECT_EQ(Cell(MachRow, C::WeakColumn), "1.2102");
    EXPECT_EQ(Cell(MachRow, C::StrongColumn), "0.7278");
    EXPECT_EQ(Cell(TotalPressureRow, C::WeakColumn), "0.8929");
    EXPECT_EQ(Cell(LargestRow, C::ConstructionColumn), "23");
    EXPECT_EQ(Cell(LargestRow, C::WeakColumn), "22.97");
    EXPECT_EQ(Comparison->Table1->columnSpan(LargestRow, C::WeakColumn), 2);

    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("M₁ = 2")));
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("52.73")));
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("53.42")));
    EXPECT_TRUE(Comparison->Label4->text().contains(QStringLiteral("μ = 30°")));
    EXPECT_TRUE(Comparison->Label4->text().contains(QStringLiteral("θmax = 22.97°")));
    EXPECT_TRUE(Comparison->Label4->text().contains(QStringLiteral("Звуковая точка")));

    const QImage chart = Comparison->Chart3->Chart()->Render(1);
    EXPECT_EQ(chart.size(), QSize(ThetaBetaChart::kWidth, ThetaBetaChart::kHeight));
    EXPECT_GT(CountColor(chart, ThetaBetaChart::kConstructionColor, kPlot), 0);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ComparisonTest, FollowsEveryApplyWhileOpen) {
    Main->N8Click();
    // χ = 10° at M1 = 2: weak β = 39.31° (NACA Report 1135).
    Apply(10);
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::WeakColumn), "39.31");
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("χ = 10°")));

    // A new gas from the settings window is applied on its close, and the window follows.
    Main->N2Click();
    Opt->cc1->SetValue(340);
    Opt->cG1->SetValue(13);
    Opt->BitBtn1Click();
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("γ = 1.3")));
    // The construction for γ = 1.3, M1 = 2, χ = 10°: C on the wedge ray at Vx = 597, so the line
    // from B = (680, 0) through (597, 597 tan 10°) = (597, 105.27) is perpendicular to the shock
    // at tan φ = (680 - 597) / 105.27 = 0.7885: φ = 38.25°.
    ASSERT_EQ(Flow.PointCx, 597);
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::ConstructionColumn), "38.25");

    // A wedge pick in the flight window runs Apply as well.
    Main->SetWedgeField(15);
    Main->ClickApply();
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("χ = 15°")));
}

TEST_F(ComparisonTest, ReopeningShowsTheCaseAppliedMeanwhile) {
    Main->N8Click();
    Comparison->close();
    Apply(10);
    Apply(12);
    Main->N8Click();
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("χ = 12°")));
    // M1 = 2, γ = 1.4, χ = 12°: C at Vx = 574 on the wedge ray, (574, 574 tan 12°) = (574, 122.01),
    // so tan φ = (680 - 574) / 122.01 = 0.8688: φ = 40.98° (the exact weak shock, from the θ-β-M
    // relation: 41.58°).
    ASSERT_EQ(Flow.PointCx, 574);
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::ConstructionColumn), "40.98");
}

TEST_F(ComparisonTest, DetachedCaseSaysThereIsNoAttachedShockAndShowsThetaMax) {
    Main->N8Click();
    Apply(30);
    ASSERT_TRUE(Flow.ShockDetached);
    const QString summary = Comparison->Label2->text();
    EXPECT_TRUE(summary.contains(QStringLiteral("присоединённого скачка нет"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("22.97°")));
    for (int column = 0; column < TComparisonForm::kColumns; ++column)
        EXPECT_TRUE(ColumnIsDashes(column, LargestRow)) << column;
    EXPECT_EQ(Cell(LargestRow, TComparisonForm::ConstructionColumn), "23");
    EXPECT_EQ(Cell(LargestRow, TComparisonForm::WeakColumn), "22.97");

    // The chart: no construction point, the wedge line beyond θmax in the grey band.
    const ThetaBetaChart chart(zk::CompareWithExactTheory(Flow), 30);
    const QImage image = Comparison->Chart3->Chart()->Render(1);
    EXPECT_EQ(image, chart.Draw());
    EXPECT_EQ(CountColor(image, ThetaBetaChart::kConstructionColor, kPlot), 0);
    EXPECT_GE(chart.ThetaLimit(), 30.0);
    const int wedgeX = chart.ToPixel(30, 0).x();
    EXPECT_GT(CountColor(image, ThetaBetaChart::kWedgeColor, QRect(wedgeX, kPlot.top(), 1, kPlot.height())),
              20);
    EXPECT_EQ(image.pixel(chart.ToPixel(26, 75)), 0xffeeeeeeu) << "beyond θmax: no attached shock";

    // Back to an attached case: the numbers return.
    Apply(20);
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::WeakColumn), "53.42");
}

TEST_F(ComparisonTest, ConstructionAttachedBeyondTheExactMaximumIsPointedOut) {
    // χ = 23° at M1 = 2: the construction still cuts the polar within its pixel, the exact
    // maximum deflection is 22.97°.
    Main->N8Click();
    Apply(23);
    ASSERT_FALSE(Flow.ShockDetached);
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("построение ещё находит скачок")));
    EXPECT_NE(Cell(ShockAngleRow, TComparisonForm::ConstructionColumn), "—");
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::WeakColumn), "—");
}

TEST_F(ComparisonTest, ConstructionBelowTheMachAngleIsNotCalledAShock) {
    // χ = 1° at M1 = 2: C lies so near B that φ = 27.02° falls below the Mach angle of 30°, and
    // P2/P1 = 0.797 (worked out from the normal-shock relation with M1 sin φ = 0.909).
    Main->N8Click();
    Apply(1);
    ASSERT_FALSE(Flow.ShockDetached);
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::ConstructionColumn), "27.02");
    QString summary = Comparison->Label2->text();
    summary.replace(QChar(0x00A0), QLatin1Char(' '));
    EXPECT_TRUE(
        summary.contains(QStringLiteral("разрешение построения в один пиксель опускает φ = 27.02° ниже "
                                        "угла Маха μ = 30°")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("P₂/P₁ = 0.797 < 1"))) << summary.toStdString();
    EXPECT_FALSE(summary.contains(QStringLiteral("слабый скачок: φ"))) << summary.toStdString();
    EXPECT_EQ(Comparison->Label2->palette().color(QPalette::WindowText), QColor(0xa0, 0, 0));

    // Two degrees are enough for a shock: the usual comparison, in black.
    Apply(2);
    EXPECT_TRUE(Comparison->Label2->text().startsWith(QStringLiteral("Построение даёт слабый скачок")));
    EXPECT_EQ(Comparison->Label2->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(ComparisonTest, NumbersUseTheLocalesDecimalSeparator) {
    zk::SetDecimalSeparator(QStringLiteral(","));
    Main->Button2Click();
    Main->N8Click();
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::ConstructionColumn), "52,73");
    EXPECT_EQ(Cell(PressureRow, TComparisonForm::StrongColumn), "4,157");
    EXPECT_EQ(Cell(LargestRow, TComparisonForm::WeakColumn), "22,97");
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("γ = 1,4")));
    EXPECT_TRUE(Comparison->Label4->text().contains(QStringLiteral("22,97°")));
    for (int row = 0; row < TComparisonForm::kRows; ++row)
        for (int column = 0; column < TComparisonForm::kColumns; ++column)
            EXPECT_FALSE(Cell(row, column).contains(QLatin1Char('.'))) << row << " " << column;
}

TEST_F(ComparisonTest, SubsonicStreamShowsTheReasonInsteadOfNumbers) {
    Main->N8Click();
    Main->N2Click();
    Opt->cc1->SetValue(900); // M1 = 680 / 900 < 1
    Opt->BitBtn1Click();
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("Точная теория не даёт ответа")));
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("дозвуковой")));
    for (int column = TComparisonForm::WeakColumn; column <= TComparisonForm::StrongColumn; ++column)
        EXPECT_TRUE(ColumnIsDashes(column, TComparisonForm::kRows)) << column;
    for (const QString& text : AllTexts()) {
        EXPECT_FALSE(text.contains(QStringLiteral("nan"), Qt::CaseInsensitive)) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("inf"), Qt::CaseInsensitive)) << text.toStdString();
    }
    EXPECT_TRUE(errors.Boxes.empty()) << "a subsonic stream is no error of the program";
}

TEST_F(ComparisonTest, FaultedApplyLeavesNoNumbersOfTheFormerCase) {
    Main->N8Click();
    Flow.SoundSpeed = 0;
    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    ASSERT_EQ(errors.Boxes.size(), 1u) << "the main window reports the fault";
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("прерван ошибкой")));
    for (int column = 0; column < TComparisonForm::kColumns; ++column)
        EXPECT_TRUE(ColumnIsDashes(column, TComparisonForm::kRows)) << column;
    EXPECT_TRUE(Comparison->Label1->text().contains(QStringLiteral("M₁ не определено")));

    Flow.SoundSpeed = 340;
    Apply(20);
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::WeakColumn), "53.42");
    EXPECT_EQ(errors.Boxes.size(), 1u);
}

TEST_F(ComparisonTest, ZeroWedgeExplainsTheMachWaveAndTheNormalShock) {
    Main->N8Click();
    Apply(0);
    EXPECT_TRUE(Comparison->Label2->text().contains(QStringLiteral("волну Маха")));
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::ConstructionColumn), "—");
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::WeakColumn), "30");
    EXPECT_EQ(Cell(ShockAngleRow, TComparisonForm::StrongColumn), "90");
    EXPECT_EQ(Cell(PressureRow, TComparisonForm::StrongColumn), "4.5") << "normal shock at M1 = 2";
}

// The summary is written in the warning colour only where construction and theory do not agree on
// a shock the wedge makes: not for the worked example, and not without a wedge, where both give a
// wave of no strength.
TEST_F(ComparisonTest, SummaryWarnsOnlyWhereThereIsADisagreement) {
    Main->N8Click();
    const QColor warning(0xa0, 0, 0), plain(Qt::black);
    const struct {
        int Chi;
        double SoundSpeed;
        QColor Colour;
        const char* What;
    } rows[] = {
        {20, 340, plain, "attached in both"},
        {0, 340, plain, "no wedge: the Mach wave in both"},
        {30, 340, warning, "beyond θmax: detached"},
        {0, 0, warning, "c1 = 0: the run faults"},
        {0, 340, plain, "no wedge again, after the fault"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.What);
        Flow.SoundSpeed = row.SoundSpeed;
        Apply(row.Chi);
        EXPECT_EQ(Comparison->Label2->palette().color(QPalette::WindowText), row.Colour)
            << Comparison->Label2->text().toStdString();
    }
}

// The chart of the start-up case: its marks stand where the exact values and φ put them.
TEST(ThetaBetaChartTest, MarksStandAtTheirValues) {
    zk::FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    zk::ApplyListener quiet;
    zk::Apply(state, zk::ApplyInputs{20, 680, '.'}, quiet);
    const zk::ShockComparison comparison = zk::CompareWithExactTheory(state);
    const ThetaBetaChart chart(comparison, 20);
    const QImage image = chart.Draw();

    // θ axis: 0 to 25 degrees (θmax 22.97 and a margin), in steps of 5.
    EXPECT_DOUBLE_EQ(chart.ThetaLimit(), 25.0);
    EXPECT_DOUBLE_EQ(chart.ThetaStep(), 5.0);
    EXPECT_EQ(chart.ToPixel(0, 0), QPoint(ThetaBetaChart::kLeft, ThetaBetaChart::kBottom));
    EXPECT_EQ(chart.ToPixel(25, 90), QPoint(ThetaBetaChart::kRight, ThetaBetaChart::kTop));

    EXPECT_GT(CountColor(image, ThetaBetaChart::kStrongColor, Around(chart.ToPixel(20, 74.27), 2)), 8)
        << "the exact strong shock";
    EXPECT_GT(CountColor(image, ThetaBetaChart::kConstructionColor, Around(chart.ToPixel(20, 52.73), 2)), 4)
        << "the construction's cross";
    // The weak branch passes through the Mach angle at θ = 0 and through θ = 10°, β = 39.31°.
    EXPECT_GT(CountColor(image, ThetaBetaChart::kWeakColor, Around(chart.ToPixel(0.3, 30), 2)), 0);
    EXPECT_GT(CountColor(image, ThetaBetaChart::kWeakColor, Around(chart.ToPixel(10, 39.31), 2)), 0);
    // The strong branch ends at the normal shock, θ = 0 and β = 90°.
    EXPECT_GT(CountColor(image, ThetaBetaChart::kStrongColor, Around(chart.ToPixel(0.3, 90), 2)), 0);
    // Nothing of either branch inside the loop they enclose.
    EXPECT_EQ(CountColor(image, ThetaBetaChart::kWeakColor, Around(chart.ToPixel(5, 60), 6)), 0);
    EXPECT_EQ(CountColor(image, ThetaBetaChart::kStrongColor, Around(chart.ToPixel(5, 60), 6)), 0);
    // At a screen's pixel density of 2: the cross twice as large in twice the pixels.
    const QImage two = chart.Draw(2);
    ASSERT_EQ(two.size(), image.size() * 2);
    EXPECT_GT(CountColor(two, ThetaBetaChart::kConstructionColor, Around(chart.ToPixel(20, 52.73) * 2, 4)),
              2 * CountColor(image, ThetaBetaChart::kConstructionColor, Around(chart.ToPixel(20, 52.73), 2)));
    EXPECT_EQ(chart.Draw(), image) << "not the background drawn for density 2";
}

TEST(ThetaBetaChartTest, AxisCoversSmallDeflectionsAndWedgesBeyondNinetyDegrees) {
    // M1 = 365 / 340 = 1.07: θmax is below one degree.
    zk::FlowState slow;
    slow.SoundSpeed = 340;
    slow.Gamma = 1.4;
    zk::ApplyListener quiet;
    zk::Apply(slow, zk::ApplyInputs{0, 365, '.'}, quiet);
    const ThetaBetaChart small(zk::CompareWithExactTheory(slow), 0);
    EXPECT_GT(small.ThetaLimit(),
              zk::DegreesFromRadians(zk::CompareWithExactTheory(slow).Exact.Theory.ThetaMax));
    EXPECT_LT(small.ThetaLimit(), 1.5);
    EXPECT_LE(small.ThetaLimit() / small.ThetaStep(), 10.0 + 1e-9);

    // A wedge of 120 degrees is no deflection: the axis stays with θmax, the wedge is named at its end.
    zk::FlowState wide = slow;
    zk::Apply(wide, zk::ApplyInputs{120, 680, '.'}, quiet);
    const ThetaBetaChart beyond(zk::CompareWithExactTheory(wide), 120);
    EXPECT_DOUBLE_EQ(beyond.ThetaLimit(), 25.0);
    EXPECT_FALSE(beyond.Draw().isNull());

    // No answer (c1 = 900 m/s, subsonic): no curve, a plain axis of ten degrees.
    zk::FlowState subsonic = slow;
    subsonic.SoundSpeed = 900;
    zk::Apply(subsonic, zk::ApplyInputs{0, 680, '.'}, quiet);
    const ThetaBetaChart none(zk::CompareWithExactTheory(subsonic), 0);
    EXPECT_DOUBLE_EQ(none.ThetaLimit(), 10.0);
    const QImage image = none.Draw();
    EXPECT_EQ(CountColor(image, ThetaBetaChart::kWeakColor, kPlot), 0);
    EXPECT_EQ(CountColor(image, ThetaBetaChart::kStrongColor, kPlot), 0);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The construction set beside the exact theory: the construction's values as the main window shows
// them, the largest wedge the construction still attaches a shock to, and the exact side with its
// cases without an answer.
#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ApplyListener.h"
#include "Numbers.h"
#include "ShockComparison.h"
#include "Solver.h"

namespace {

using zk::ComparedQuantity;
using zk::DegreesFromRadians;
using zk::ResultItem;

// What the main window would show: the label texts and whether the ratio labels are visible.
class Labels : public zk::ApplyListener {
  public:
    std::map<ResultItem, std::string> Text;
    std::map<ResultItem, bool> Shown;
    void SetCaption(ResultItem label, const std::string& text) override { Text[label] = text; }
    void SetVisible(ResultItem item, bool visible) override { Shown[item] = visible; }
};

zk::FlowState Gas(double soundSpeed, double gamma) {
    zk::FlowState state;
    state.SoundSpeed = soundSpeed;
    state.Gamma = gamma;
    return state;
}

// The flow state after Apply with the given inputs, as the main window leaves it.
zk::FlowState Solved(double soundSpeed, double gamma, int velocity, int wedgeDegrees,
                     Labels* labels = nullptr) {
    zk::FlowState state = Gas(soundSpeed, gamma);
    Labels ignored;
    zk::Apply(state, zk::ApplyInputs{wedgeDegrees, velocity, '.'}, labels ? *labels : ignored);
    return state;
}

const zk::ComparisonRow& Row(const zk::ShockComparison& c, ComparedQuantity q) {
    for (const zk::ComparisonRow& row : c.Rows)
        if (row.Quantity == q)
            return row;
    throw std::logic_error("no such row");
}

std::string Text3(double x) {
    return zk::NumberText(zk::RoundDecimals(x, -3), '.');
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The start-up case, M1 = 2, γ = 1.4, χ = 20°.  Exact values: NACA Report 1135 oblique-shock charts
// and tables (weak β 53.42°, strong β 74.27°, weak M2 1.2102, weak p02/p01 0.8929, θmax 22.97°).
// The construction's φ = 52.73° is the worked example of the start-up case.  Tolerance: half a unit
// of the last published digit.

TEST(ShockComparison, StartUpCaseAgainstTheTextbook) {
    const zk::ShockComparison c = zk::CompareWithExactTheory(Solved(340, 1.4, 680, 20));
    ASSERT_TRUE(c.ConstructionProblem.empty());
    ASSERT_TRUE(c.Exact.Answered());
    EXPECT_FALSE(c.BeyondMaximumDeflection());
    ASSERT_TRUE(c.Construction.Attached);

    const zk::ComparisonRow& angle = Row(c, ComparedQuantity::ShockAngle);
    EXPECT_TRUE(angle.InDegrees);
    EXPECT_NEAR(*angle.Construction, 52.73, 0.005);
    EXPECT_NEAR(*angle.Weak, 53.42, 0.005);
    EXPECT_NEAR(*angle.Strong, 74.27, 0.005);
    // The construction lies 0.7 degrees below the weak shock, which is the one it finds.
    EXPECT_NEAR(*angle.Difference(), *angle.Construction - *angle.Weak, 1e-12);
    EXPECT_NEAR(*angle.Difference(), -0.695, 0.001);
    EXPECT_NEAR(*angle.RelativeDifference(), -0.695 / 53.4229 * 100, 0.01);

    const zk::ComparisonRow& m2 = Row(c, ComparedQuantity::MachBehind);
    EXPECT_FALSE(m2.Construction) << "the construction gives no M2";
    EXPECT_NEAR(*m2.Weak, 1.2102, 0.00005);
    EXPECT_NEAR(*m2.Strong, 0.7278, 0.00005);
    EXPECT_FALSE(m2.Difference());
    const zk::ComparisonRow& total = Row(c, ComparedQuantity::TotalPressureRatio);
    EXPECT_FALSE(total.Construction);
    EXPECT_NEAR(*total.Weak, 0.8929, 0.00005);

    const zk::ComparisonRow& largest = Row(c, ComparedQuantity::LargestWedge);
    EXPECT_TRUE(largest.InDegrees);
    EXPECT_EQ(largest.Construction, 23.0);
    EXPECT_NEAR(*largest.Weak, 22.97, 0.005);
    EXPECT_EQ(largest.Weak, largest.Strong) << "the branches meet at the maximum deflection";
    EXPECT_EQ(c.LargestAttached, 23);

    EXPECT_NEAR(DegreesFromRadians(c.Exact.Theory.MachAngle), 30.0, 1e-9);
    EXPECT_DOUBLE_EQ(c.Exact.M1, 2.0);
}

TEST(ShockComparison, RowsComeInTheWindowsOrder) {
    const zk::ShockComparison c = zk::CompareWithExactTheory(Solved(340, 1.4, 680, 20));
    const std::vector<ComparedQuantity> order = {
        ComparedQuantity::ShockAngle,          ComparedQuantity::PressureRatio,
        ComparedQuantity::InverseDensityRatio, ComparedQuantity::SpeedRatio,
        ComparedQuantity::TemperatureRatio,    ComparedQuantity::MachBehind,
        ComparedQuantity::TotalPressureRatio,  ComparedQuantity::LargestWedge};
    ASSERT_EQ(c.Rows.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(c.Rows[i].Quantity, order[i]) << i;
}

// The construction's ratios are the main window's labels before rounding: rounded to 3 decimals they
// must give the very texts Apply wrote, for attached cases across the range of inputs.
TEST(ShockComparison, ConstructionValuesRoundToTheMainWindowsLabels) {
    const struct {
        double c1, gamma;
        int v1, chi;
    } cases[] = {
        {340, 1.4, 680, 20},     {340, 1.4, 1000, 10}, {340, 1.4, 1020, 5},  {340, 1.67, 2000, 30},
        {500, 1.3, 1000000, 40}, {340, 1.4, 680, 180}, {100, 1.1, 5000, 60}, {340, 1.4, 370, 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message()
                     << "c1 " << k.c1 << " gamma " << k.gamma << " V1 " << k.v1 << " chi " << k.chi);
        Labels labels;
        const zk::FlowState state = Solved(k.c1, k.gamma, k.v1, k.chi, &labels);
        const zk::ConstructionValues v = zk::ConstructionValuesOf(state);
        ASSERT_TRUE(labels.Shown[ResultItem::Label2]) << "an attached case";
        ASSERT_TRUE(v.Attached);
        EXPECT_EQ(v.ShockAngle, state.ShockAngle);
        EXPECT_EQ(Text3(v.PressureRatio), labels.Text[ResultItem::Label2]);
        EXPECT_EQ(Text3(v.InverseDensityRatio), labels.Text[ResultItem::Label1]);
        EXPECT_EQ(Text3(v.SpeedRatio), labels.Text[ResultItem::Label8]);
        EXPECT_EQ(Text3(v.TemperatureRatio), labels.Text[ResultItem::Label11]);
    }
}

TEST(ShockComparison, NoConstructionValuesWhereTheWindowHidesTheRatios) {
    const struct {
        const char* name;
        int v1, chi;
    } cases[] = {{"zero wedge", 680, 0}, {"detached", 680, 30}, {"detached, barely supersonic", 365, 20}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Labels labels;
        const zk::FlowState state = Solved(340, 1.4, k.v1, k.chi, &labels);
        EXPECT_FALSE(labels.Shown[ResultItem::Label2]);
        EXPECT_FALSE(zk::ConstructionValuesOf(state).Attached);
        const zk::ShockComparison c = zk::CompareWithExactTheory(state);
        for (const zk::ComparisonRow& row : c.Rows) {
            if (row.Quantity != ComparedQuantity::LargestWedge) {
                EXPECT_FALSE(row.Construction) << static_cast<int>(row.Quantity);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The largest attached wedge.  The oracle is the main window itself: for every whole wedge from 1
// to 90 degrees, Apply shows the ratio labels exactly when it found an attached shock.  The cases
// include gases where the construction misses single small wedges below its limit (c1 = 1 m/s at
// V1 = 450 m/s misses 2, 3, 4 and 8 degrees), which a search assuming monotony would get wrong.

TEST(ShockComparison, LargestAttachedWedgeIsTheLastOneTheWindowShowsRatiosFor) {
    const struct {
        double c1, gamma;
        int v1;
    } cases[] = {
        {340, 1.4, 680}, {1, 1.4, 450},   {100, 1.4, 365}, {100, 1.05, 500},
        {340, 3.0, 680}, {340, 1.4, 365}, {900, 1.4, 680}, {340, 1.05, 1000000},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "c1 " << k.c1 << " gamma " << k.gamma << " V1 " << k.v1);
        std::optional<std::int32_t> lastShown;
        for (int chi = 1; chi <= 90; ++chi) {
            Labels labels;
            Solved(k.c1, k.gamma, k.v1, chi, &labels);
            if (labels.Shown[ResultItem::Label2])
                lastShown = chi;
        }
        EXPECT_EQ(zk::LargestAttachedWedge(Gas(k.c1, k.gamma), k.v1), lastShown);
    }
}

TEST(ShockComparison, LargestAttachedWedgeSeesNoShockInASubsonicStream) {
    // c1 = 900 m/s at V1 = 680 m/s: M1 = 0.76, the polar never meets a wedge ray.
    EXPECT_FALSE(zk::LargestAttachedWedge(Gas(900, 1.4), 680));
    EXPECT_TRUE(zk::ConstructionAttaches(Gas(340, 1.4), 20, 680));
    EXPECT_FALSE(zk::ConstructionAttaches(Gas(340, 1.4), 30, 680));
}

// The construction's limit is the exact maximum deflection to within the whole degree the wedge
// field allows and the pixel the construction tolerates: within 1 degree from M1 = 1.2 to hypersonic,
// where it tends to arcsin(1/γ) (45.58° for γ = 1.4).
TEST(ShockComparison, LargestAttachedWedgeFollowsTheExactMaximumDeflection) {
    for (double gamma : {1.2, 1.4, 1.67})
        for (int v1 : {400, 450, 500, 680, 1000, 2000, 5000, 1000000}) {
            SCOPED_TRACE(testing::Message() << "gamma " << gamma << " V1 " << v1);
            const std::optional<std::int32_t> largest = zk::LargestAttachedWedge(Gas(340, gamma), v1);
            const zk::ExactShockTheory theory = zk::ExactTheory(v1 / 340.0, gamma);
            ASSERT_TRUE(largest);
            EXPECT_NEAR(*largest, DegreesFromRadians(theory.ThetaMax), 1.0);
        }
}

TEST(ShockComparison, LargestAttachedWedgeRaisesWhatApplyRaises) {
    EXPECT_THROW(zk::LargestAttachedWedge(Gas(0, 1.4), 680), zk::FloatError);
    EXPECT_THROW(zk::LargestAttachedWedge(Gas(340, 0.9), 680), zk::FloatError);
}

// ---------------------------------------------------------------------------------------------
// Cases the exact theory cannot answer, and the wedge beyond the maximum deflection.

TEST(ShockComparison, DetachedCaseShowsOnlyTheMaximumDeflection) {
    const zk::FlowState state = Solved(340, 1.4, 680, 30);
    ASSERT_TRUE(state.ShockDetached);
    const zk::ShockComparison c = zk::CompareWithExactTheory(state);
    EXPECT_TRUE(c.Exact.Answered());
    EXPECT_TRUE(c.BeyondMaximumDeflection());
    EXPECT_FALSE(c.Exact.Weak);
    EXPECT_FALSE(c.Exact.Strong);
    for (const zk::ComparisonRow& row : c.Rows) {
        if (row.Quantity == ComparedQuantity::LargestWedge) {
            EXPECT_NEAR(*row.Weak, 22.97, 0.005);
            EXPECT_EQ(row.Construction, 23.0);
        } else {
            EXPECT_FALSE(row.Weak || row.Strong || row.Construction) << static_cast<int>(row.Quantity);
        }
    }
}

TEST(ShockComparison, ZeroWedgeGivesTheMachWaveAndTheNormalShock) {
    // Normal shock at M1 = 2, γ = 1.4 (NACA 1135 normal-shock table): p2/p1 = 4.5, M2 = 0.5774.
    const zk::ShockComparison c = zk::CompareWithExactTheory(Solved(340, 1.4, 680, 0));
    EXPECT_FALSE(c.Construction.Attached);
    EXPECT_NEAR(*Row(c, ComparedQuantity::ShockAngle).Weak, 30.0, 1e-9);
    EXPECT_NEAR(*Row(c, ComparedQuantity::ShockAngle).Strong, 90.0, 1e-9);
    EXPECT_NEAR(*Row(c, ComparedQuantity::PressureRatio).Weak, 1.0, 1e-12);
    EXPECT_NEAR(*Row(c, ComparedQuantity::PressureRatio).Strong, 4.5, 1e-12);
    EXPECT_NEAR(*Row(c, ComparedQuantity::MachBehind).Strong, 0.5774, 0.00005);
    EXPECT_FALSE(c.BeyondMaximumDeflection());
}

TEST(ShockComparison, ExactTheoryWithoutAnAnswerSaysWhy) {
    const struct {
        const char* name;
        double v1, c1, gamma;
        const char* problem;
    } cases[] = {
        {"no speed of sound", 680, 0, 1.4, zk::kExactNoSoundSpeed},
        {"subsonic", 680, 900, 1.4, zk::kExactSubsonic},
        {"sonic", 680, 680, 1.4, zk::kExactSubsonic},
        {"negative speed of sound", 680, -340, 1.4, zk::kExactSubsonic},
        {"gamma of 1", 680, 340, 1.0, zk::kExactGamma},
        {"gamma below 1", 680, 340, 0.9, zk::kExactGamma},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const zk::ExactValues e = zk::ExactValuesFor(k.v1, k.c1, k.gamma, zk::RadiansFromDegrees(20));
        EXPECT_FALSE(e.Answered());
        EXPECT_EQ(e.Problem, k.problem);
        EXPECT_FALSE(e.Weak);
        EXPECT_FALSE(e.Strong);
    }
}

TEST(ShockComparison, NeverRaisesAndKeepsTheConstructionsFaultAsItsMessage) {
    // γ = 0.9: Apply fails at χmax = arcsin(1/γ), after the shock was constructed.
    zk::FlowState state = Gas(340, 0.9);
    Labels labels;
    EXPECT_THROW(zk::Apply(state, zk::ApplyInputs{20, 680, '.'}, labels), zk::FloatError);
    zk::ShockComparison c;
    ASSERT_NO_THROW(c = zk::CompareWithExactTheory(state));
    EXPECT_EQ(c.ConstructionProblem, zk::kInvalidOperation);
    EXPECT_FALSE(c.Construction.Attached);
    EXPECT_FALSE(c.LargestAttached);
    EXPECT_EQ(c.Exact.Problem, zk::kExactGamma);

    // A flow state no Apply has filled yet: V1 = 0 and no gas.
    ASSERT_NO_THROW(c = zk::CompareWithExactTheory(zk::FlowState{}));
    EXPECT_FALSE(c.ConstructionProblem.empty());
    EXPECT_EQ(c.Exact.Problem, zk::kExactNoSoundSpeed);
}

// Whatever the inputs, every value shown is a finite number.
TEST(ShockComparison, EveryValueIsFinite) {
    for (double c1 : {1.0, 340.0, 600.0})
        for (double gamma : {1.05, 3.0})
            for (int v1 : {365, 1000000})
                for (int chi : {0, 20, 90, 180}) {
                    SCOPED_TRACE(testing::Message() << c1 << " " << gamma << " " << v1 << " " << chi);
                    zk::FlowState state = Gas(c1, gamma);
                    Labels labels;
                    zk::Apply(state, zk::ApplyInputs{chi, v1, '.'}, labels);
                    const zk::ShockComparison c = zk::CompareWithExactTheory(state);
                    for (const zk::ComparisonRow& row : c.Rows) {
                        for (const std::optional<double>& v : {row.Construction, row.Weak, row.Strong,
                                                               row.Difference(), row.RelativeDifference()}) {
                            if (v) {
                                EXPECT_TRUE(std::isfinite(*v)) << static_cast<int>(row.Quantity);
                            }
                        }
                    }
                }
}

// ---------------------------------------------------------------------------------------------
// Differences and number texts.

TEST(ShockComparison, DifferencesNeedBothValuesAndARelativeOneANonZeroReference) {
    zk::ComparisonRow row;
    EXPECT_FALSE(row.Difference());
    row.Construction = 2.5;
    EXPECT_FALSE(row.Difference()) << "no exact value";
    row.Weak = 2.0;
    row.Strong = 4.0;
    EXPECT_DOUBLE_EQ(*row.Difference(), 0.5) << "against the weak shock, not the strong one";
    EXPECT_DOUBLE_EQ(*row.RelativeDifference(), 25.0);
    row.Weak = 0.0;
    EXPECT_DOUBLE_EQ(*row.Difference(), 2.5);
    EXPECT_FALSE(row.RelativeDifference());
    row.Construction.reset();
    EXPECT_FALSE(row.RelativeDifference());
}

TEST(ShockComparison, NumberTextsRoundWithoutTrailingZeros) {
    const struct {
        double value;
        int decimals;
        char separator;
        const char* text;
    } rows[] = {
        {53.422941, 2, ',', "53,42"},
        {2.8428629, 4, '.', "2.8429"},
        {1.0000001, 4, '.', "1"},
        {-0.695116, 2, ',', "-0,7"},
        {-1e-7, 4, '.', "0"},
        {22.0, 2, '.', "22"},
        // Beyond the range where rounding to 4 decimals fits an integer: the 15 significant digits.
        {5e11 + 0.123456, 4, ',', "500000000000,124"},
        {1.2345678901234e15, 4, '.', "1.2345678901234E15"},
        {std::nan(""), 4, '.', "-"},
        {HUGE_VAL, 2, '.', "-"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(zk::ComparisonNumberText(r.value, r.decimals, r.separator), r.text) << r.value;
}

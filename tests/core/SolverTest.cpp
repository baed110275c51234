// SPDX-License-Identifier: GPL-3.0-or-later
// The worked examples of the graphical construction (c1 = 340 m/s and gamma = 1.4 unless a case
// says otherwise).  Points, pixel-derived integers and label texts are exact; angles are checked
// to the digits the examples give.
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>

#include "RecordingListener.h"
#include "Solver.h"

using namespace zk;
using zk::test::RecordingListener;

namespace {

FlowState Gas(double c1 = 340.0, double gamma = 1.4) {
    FlowState state;
    state.SoundSpeed = c1;
    state.Gamma = gamma;
    return state;
}

double Degrees(double radians) { return radians * 180 / std::numbers::pi; }

std::string ErrorOf(FlowState& state, ApplyInputs inputs, RecordingListener& listener) {
    try {
        ApplyLiteral(state, inputs, listener);
    } catch (const FloatError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(ApplyAttached, StartUpCase) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {20, 680, '.'}, rec);
    EXPECT_EQ(rec.pointAx, 254); // g held in extended is a little above 5/6
    EXPECT_EQ(rec.lastSample, 730);
    EXPECT_EQ(state.PointCx, 460);
    EXPECT_EQ(state.PointCy, 166);
    EXPECT_NEAR(static_cast<double>(rec.bcInterceptY), 517.50, 0.005);
    EXPECT_NEAR(state.ShockAngle, 0.92027, 0.000005);
    EXPECT_NEAR(Degrees(state.ShockAngle), 52.73, 0.005);
    EXPECT_FALSE(state.ShockDetached);
    EXPECT_EQ(state.V1, 680);
    EXPECT_DOUBLE_EQ(state.ScaleX, 330.0 / 680);
    EXPECT_EQ(state.ScaleX, state.ScaleY);
    EXPECT_EQ(rec.Caption(ResultItem::Label6), "2");
    EXPECT_EQ(rec.Caption(ResultItem::Label2), "2.788");
    EXPECT_EQ(rec.Caption(ResultItem::Label1), "0.496");
    EXPECT_EQ(rec.Caption(ResultItem::Label8), "0.719");
    EXPECT_EQ(rec.Caption(ResultItem::Label11), "1.382");
    EXPECT_EQ(rec.Caption(ResultItem::Label12), "340");
    EXPECT_EQ(rec.Caption(ResultItem::Label13), "1.4");
    EXPECT_EQ(rec.Caption(ResultItem::Label3), "45.6");
    for (auto item : {ResultItem::Label1, ResultItem::Label2, ResultItem::Label8, ResultItem::Label11,
                      ResultItem::Image2, ResultItem::Image3, ResultItem::Image4, ResultItem::Image5})
        EXPECT_TRUE(rec.Shown(item));
    const std::vector<std::string> order = {"axes", "lower", "upper", "wedge", "pen3", "markC",
                                            "construction", "shock", "letters", "repaint"};
    EXPECT_EQ(rec.steps, order);
}

TEST(ApplyAttached, LabelsUseTheGivenDecimalSeparator) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {20, 680, ','}, rec);
    EXPECT_EQ(rec.Caption(ResultItem::Label2), "2,788");
    EXPECT_EQ(rec.Caption(ResultItem::Label13), "1,4");
    EXPECT_EQ(rec.Caption(ResultItem::Label3), "45,6");
}

TEST(ApplyAttached, FasterStreamAndThinnerWedge) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {10, 1000, '.'}, rec);
    EXPECT_EQ(rec.pointAx, 262);
    EXPECT_EQ(state.PointCx, 916);
    EXPECT_EQ(state.PointCy, 160);
    EXPECT_NEAR(Degrees(state.ShockAngle), 27.48, 0.005);
}

TEST(ApplyAttached, ZeroWedgeFindsCNearBButNoShock) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {0, 680, '.'}, rec);
    EXPECT_EQ(state.PointCx, 679);
    EXPECT_EQ(state.PointCy, 2);
    EXPECT_EQ(state.ShockAngle, 0);
    EXPECT_FALSE(state.ShockDetached);
    EXPECT_TRUE(rec.Hidden(ResultItem::Label2));
    const std::vector<std::string> order = {"axes", "lower", "upper", "pen3", "letters", "repaint"};
    EXPECT_EQ(rec.steps, order);
}

TEST(ApplyAttached, NegativeWedgeFindsNothingAndDoesNotDetach) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {-5, 680, '.'}, rec);
    EXPECT_EQ(state.PointCx, 0);
    EXPECT_EQ(state.ShockAngle, 0);
    EXPECT_FALSE(state.ShockDetached);
    EXPECT_TRUE(rec.repainted);
}

TEST(ApplyAttached, HalfTurnWedgeActsAsAFlatPlateWithTheMendedPressureRatio) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {180, 680, '.'}, rec);
    EXPECT_EQ(state.PointCx, 679);
    EXPECT_EQ(state.PointCy, 2);
    EXPECT_NEAR(state.ShockAngle, -std::numbers::pi / 2, 1e-3);
    EXPECT_EQ(rec.Caption(ResultItem::Label2), "4.5");
    EXPECT_EQ(rec.Caption(ResultItem::Label1), "0.375");
    EXPECT_EQ(rec.Caption(ResultItem::Label8), "0.999");
    EXPECT_EQ(rec.Caption(ResultItem::Label11), "1.687");
}

TEST(ApplyAttached, PointCyKeepsThePreviousValueWhenNoCIsFound) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {20, 680, '.'}, rec);
    ApplyLiteral(state, {-5, 680, '.'}, rec);
    EXPECT_EQ(state.PointCx, 0);
    EXPECT_EQ(state.PointCy, 166);
}

struct DetachedCase {
    int chi, v1;
    int cx, cy;
    double shockAngle; // radians, to 5 decimals
    int radius, endX, endY;
};

class ApplyDetached : public ::testing::TestWithParam<DetachedCase> {};

TEST_P(ApplyDetached, ReducedWedgeCorrectedAngleAndArc) {
    const DetachedCase c = GetParam();
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {c.chi, c.v1, '.'}, rec);
    EXPECT_TRUE(state.ShockDetached);
    EXPECT_EQ(state.PointCx, c.cx);
    EXPECT_EQ(state.PointCy, c.cy);
    EXPECT_NEAR(state.ShockAngle, c.shockAngle, 0.000005);
    EXPECT_EQ(state.DetachedRadius, c.radius);
    EXPECT_EQ(state.DetachedEndX, c.endX);
    EXPECT_EQ(state.DetachedEndY, c.endY);
    for (auto item : {ResultItem::Label1, ResultItem::Label2, ResultItem::Label8, ResultItem::Label11,
                      ResultItem::Image2, ResultItem::Image3, ResultItem::Image4, ResultItem::Image5})
        EXPECT_TRUE(rec.Hidden(item));
    EXPECT_EQ(rec.steps.back(), "repaint");
    EXPECT_EQ(rec.steps[rec.steps.size() - 2], "detached");
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, ApplyDetached,
                         ::testing::Values(DetachedCase{30, 680, 382, 160, 0.98075, 21, 17, 12},
                                           DetachedCase{20, 365, 347, 5, 0.78260, 43, 30, 31}));

TEST(ApplyDetachedArc, SteepShockMakesASingleStep) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {90, 400, '.'}, rec);
    EXPECT_TRUE(state.ShockDetached);
    EXPECT_NEAR(Degrees(state.ShockAngle), 90.53, 0.005);
    EXPECT_EQ(state.DetachedRadius, 200);
    EXPECT_EQ(state.DetachedEndX, 199);
    EXPECT_EQ(state.DetachedEndY, 20);
}

TEST(ApplyDetachedArc, AttachedRunKeepsTheLastDetachedValues) {
    FlowState state = Gas();
    RecordingListener rec;
    ApplyLiteral(state, {30, 680, '.'}, rec);
    ApplyLiteral(state, {20, 680, '.'}, rec);
    EXPECT_FALSE(state.ShockDetached);
    EXPECT_EQ(state.DetachedRadius, 21);
    EXPECT_EQ(state.DetachedEndX, 17);
    EXPECT_EQ(state.DetachedEndY, 12);
}

TEST(ApplyFaults, ZeroSoundSpeedFaultsBeforeAnythingChanges) {
    FlowState state = Gas(0.0);
    state.PointCx = 123;
    RecordingListener rec;
    EXPECT_EQ(ErrorOf(state, {20, 680, '.'}, rec), "Floating point division by zero");
    EXPECT_TRUE(rec.steps.empty());
    EXPECT_TRUE(rec.captions.empty());
    EXPECT_EQ(state.PointCx, 123);
    EXPECT_EQ(state.WedgeAngle, 0);
}

TEST(ApplyFaults, ZeroVelocityFaultsAtTheScale) {
    FlowState state = Gas(-15.0);
    state.ScaleY = 7;
    RecordingListener rec;
    EXPECT_EQ(ErrorOf(state, {20, 0, '.'}, rec), "Floating point division by zero");
    EXPECT_EQ(rec.Caption(ResultItem::Label6), "0");
    EXPECT_EQ(rec.steps, std::vector<std::string>{"axes"});
    EXPECT_EQ(state.V1, 0);
    EXPECT_EQ(state.ScaleY, 7); // not reached
    EXPECT_NE(state.WedgeAngle, 0);
}

TEST(ApplyFaults, GammaBelowOneFaultsAtChiMaxWithoutRepaint) {
    FlowState state = Gas(340.0, 0.9);
    RecordingListener rec;
    EXPECT_EQ(ErrorOf(state, {20, 680, '.'}, rec), "Invalid floating point operation");
    EXPECT_EQ(rec.Caption(ResultItem::Label12), "340");
    EXPECT_EQ(rec.Caption(ResultItem::Label13), "0.9");
    EXPECT_EQ(rec.Caption(ResultItem::Label3), "<unset>");
    EXPECT_FALSE(rec.repainted);
    EXPECT_EQ(rec.steps.back(), "letters");
}

TEST(ApplyFaults, ZeroGammaFaultsInTheResults) {
    // With gamma = 0 the pressure ratio is 1 and the density ratio 0/0.
    FlowState state = Gas(340.0, 0.0);
    RecordingListener rec;
    EXPECT_EQ(ErrorOf(state, {20, 680, '.'}, rec), "Invalid floating point operation");
    EXPECT_EQ(rec.Caption(ResultItem::Label13), "<unset>");
    EXPECT_FALSE(rec.repainted);
    // Without a shock (zero wedge) the run gets as far as chi max, where 1/gamma divides by zero.
    RecordingListener flat;
    EXPECT_EQ(ErrorOf(state, {0, 680, '.'}, flat), "Floating point division by zero");
    EXPECT_EQ(flat.Caption(ResultItem::Label13), "0");
    EXPECT_FALSE(flat.repainted);
}

TEST(ApplyFaults, GammaOfMinusOneFaultsAtPointA) {
    FlowState state = Gas(340.0, -1.0);
    RecordingListener rec;
    EXPECT_EQ(ErrorOf(state, {20, 680, '.'}, rec), "Floating point division by zero");
    EXPECT_EQ(rec.steps, std::vector<std::string>{"axes"});
}

TEST(ApplyChoices, GammaBelowOneAtHighSpeedPutsPointAAtZero) {
    // V1 above c1 sqrt(2 / (1 - gamma)): no sample lies left of the polar's end.
    FlowState state = Gas(340.0, 0.5);
    RecordingListener rec;
    EXPECT_EQ(ErrorOf(state, {20, 2000, '.'}, rec), "Invalid floating point operation");
    EXPECT_EQ(rec.pointAx, 0);
}

TEST(ApplyChoices, DetachedSearchWithoutAnyCEndsQuietly) {
    // A slow sound speed with gamma = 1: not even a wedge turned below the axis cuts the polar.
    FlowState state = Gas(20.0, 1.0);
    RecordingListener rec;
    EXPECT_EQ(ErrorOf(state, {1, 365, '.'}, rec), "");
    EXPECT_EQ(state.PointCx, 0);
    EXPECT_FALSE(state.ShockDetached);
    EXPECT_EQ(state.ShockAngle, 0);
    EXPECT_TRUE(rec.repainted);
    EXPECT_EQ(std::count(rec.steps.begin(), rec.steps.end(), "detached"), 0);
    for (auto item : {ResultItem::Label1, ResultItem::Label2, ResultItem::Label8, ResultItem::Label11,
                      ResultItem::Image2, ResultItem::Image3, ResultItem::Image4, ResultItem::Image5})
        EXPECT_TRUE(rec.Hidden(item));
    EXPECT_EQ(rec.Caption(ResultItem::Label3), "90");
}

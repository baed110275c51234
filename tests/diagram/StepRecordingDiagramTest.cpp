// SPDX-License-Identifier: GPL-3.0-or-later
// The construction recorded step by step: recording changes no pixel of the diagram, the last
// step replays the diagram exactly, the steps come in the order Apply draws them and each shows
// what has been drawn up to it, and a fault leaves a record of what was drawn before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConstructionCaptions.h"
#include "ConstructionRecord.h"
#include "Errors.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"
#include "StepRecordingDiagram.h"

using namespace zk;

namespace {

using Step = ConstructionStep;

std::vector<std::uint32_t> Bits(const RasterCanvas& canvas) {
    return {canvas.Bits(), canvas.Bits() + canvas.Width() * canvas.Height()};
}

FlowState DefaultGas() {
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    return state;
}

// A picture that has shown the start-up case before, as the main window's has.
struct Picture {
    RasterCanvas canvas{PolarDiagram::kWidth, PolarDiagram::kHeight};
    FlowState state = DefaultGas();
    Picture() {
        PolarDiagram startup(canvas, state);
        Apply(state, {20, 680, '.'}, startup);
    }
};

// One case solved through the recording diagram; the error text if Apply faulted.
std::string Record(Picture& picture, ConstructionRecord& record, int chi, int v1) {
    try {
        StepRecordingDiagram diagram(record, picture.canvas, picture.state);
        Apply(picture.state, {chi, v1, '.'}, diagram);
    } catch (const AppError& e) {
        return e.what();
    }
    return {};
}

std::vector<std::uint32_t> StepBits(const ConstructionRecord& record, std::size_t index) {
    RasterCanvas fresh(PolarDiagram::kWidth, PolarDiagram::kHeight);
    record.DrawStep(index, fresh);
    return Bits(fresh);
}

std::vector<Step> Kinds(const ConstructionRecord& record) {
    std::vector<Step> kinds;
    for (const auto& mark : record.Steps())
        kinds.push_back(mark.Step);
    return kinds;
}

std::size_t IndexOf(const ConstructionRecord& record, Step step) {
    const auto kinds = Kinds(record);
    for (std::size_t k = 0; k < kinds.size(); ++k)
        if (kinds[k] == step)
            return k;
    ADD_FAILURE() << "no step " << static_cast<int>(step);
    return 0;
}

int CountColour(const std::vector<std::uint32_t>& bits, std::uint32_t rgb, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < PolarDiagram::kWidth; ++x)
            if ((bits[static_cast<std::size_t>(y * PolarDiagram::kWidth + x)] & 0xFFFFFFu) == rgb)
                ++n;
    return n;
}

std::uint32_t At(const std::vector<std::uint32_t>& bits, int x, int y) {
    return bits[static_cast<std::size_t>(y * PolarDiagram::kWidth + x)] & 0xFFFFFFu;
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x008000, kWhite = 0xFFFFFF; // 0xRRGGBB in the buffer

} // namespace

TEST(StepRecordingDiagram, LastStepIsThePlainDiagramPixelForPixel) {
    // Attached, detached (a few degrees and many), no wedge, a wedge of 180 and a negative one,
    // the slowest and the fastest free streams.
    const struct {
        int chi, v1;
    } cases[] = {
        {20, 680}, {30, 680}, {0, 680},      {180, 680},    {-5, 680},      {10, 1000},
        {20, 365}, {90, 400}, {45, 1000000}, {64, 1000000}, {142, 1000000}, {1, 680},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("chi " + std::to_string(c.chi) + ", V1 " + std::to_string(c.v1));
        Picture plain, recorded;
        {
            PolarDiagram diagram(plain.canvas, plain.state);
            Apply(plain.state, {c.chi, c.v1, '.'}, diagram);
        }
        ConstructionRecord record;
        ASSERT_EQ(Record(recorded, record, c.chi, c.v1), "");
        EXPECT_EQ(Bits(recorded.canvas), Bits(plain.canvas)) << "recording changes no pixel";
        EXPECT_TRUE(record.Completed());
        ASSERT_FALSE(record.Steps().empty());
        EXPECT_EQ(StepBits(record, record.Steps().size() - 1), Bits(plain.canvas));
        EXPECT_EQ(record.State().ShockAngle, plain.state.ShockAngle);
        EXPECT_EQ(record.State().PointCx, plain.state.PointCx);
        // Every caption is text for a student, never a number gone wrong.
        for (std::size_t k = 0; k < record.Steps().size(); ++k) {
            const std::string caption = StepCaption(record, k, ',');
            EXPECT_FALSE(caption.empty());
            EXPECT_EQ(caption.find("nan"), std::string::npos) << caption;
            EXPECT_EQ(caption.find("inf"), std::string::npos) << caption;
            EXPECT_FALSE(StepTitle(record.Steps()[k].Step).empty());
        }
    }
}

TEST(StepRecordingDiagram, StepsComeInTheOrderApplyDrawsThem) {
    const struct {
        int chi;
        std::vector<Step> steps;
    } cases[] = {
        {20,
         {Step::Axes, Step::PointA, Step::LowerBranch, Step::UpperBranch, Step::Wedge, Step::PointC,
          Step::LineBC, Step::ShockLines, Step::FootD, Step::ShockArc, Step::Letters, Step::Results}},
        {30,
         {Step::Axes, Step::PointA, Step::LowerBranch, Step::UpperBranch, Step::Wedge, Step::Letters,
          Step::Results, Step::ReducedWedge, Step::DetachedUpperArc, Step::DetachedUpperLine,
          Step::DetachedLowerBranch}},
        {0, {Step::Axes, Step::PointA, Step::LowerBranch, Step::UpperBranch, Step::Letters, Step::Results}},
        {-5,
         {Step::Axes, Step::PointA, Step::LowerBranch, Step::UpperBranch, Step::Wedge, Step::Letters,
          Step::Results}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("chi " + std::to_string(c.chi));
        Picture picture;
        ConstructionRecord record;
        ASSERT_EQ(Record(picture, record, c.chi, 680), "");
        EXPECT_EQ(Kinds(record), c.steps);
        for (std::size_t k = 1; k < record.Steps().size(); ++k)
            EXPECT_GE(record.Steps()[k].Ops, record.Steps()[k - 1].Ops);
    }
}

TEST(StepRecordingDiagram, EachStepShowsWhatIsDrawnUpToIt) {
    Picture picture;
    ConstructionRecord record;
    ASSERT_EQ(Record(picture, record, 20, 680), "");
    std::vector<std::vector<std::uint32_t>> steps;
    for (std::size_t k = 0; k < record.Steps().size(); ++k)
        steps.push_back(StepBits(record, k));

    // Point A and the results add words, not drawing.
    EXPECT_EQ(steps[IndexOf(record, Step::PointA)], steps[IndexOf(record, Step::Axes)]);
    EXPECT_EQ(steps[IndexOf(record, Step::Results)], steps[IndexOf(record, Step::Letters)]);
    // Every other step draws something new.
    for (std::size_t k = 1; k < steps.size(); ++k) {
        const Step kind = record.Steps()[k].Step;
        if (kind != Step::PointA && kind != Step::Results) {
            EXPECT_NE(steps[k], steps[k - 1]) << StepTitle(kind);
        }
    }

    // The branches: nothing green before the lower one, only below the axis after it, both after
    // the upper one.
    const auto lower = IndexOf(record, Step::LowerBranch), upper = IndexOf(record, Step::UpperBranch);
    EXPECT_EQ(CountColour(steps[lower - 1], kGreen, 0, PolarDiagram::kHeight), 0);
    EXPECT_GT(CountColour(steps[lower], kGreen, 221, PolarDiagram::kHeight), 100);
    EXPECT_EQ(CountColour(steps[lower], kGreen, 0, 220), 0);
    EXPECT_GT(CountColour(steps[upper], kGreen, 0, 220), 100);

    // Worked example: the red pixel of C at (423, 301) appears with point C; the shock lines are
    // the first red lines; the letter D, at (316, 41), with the step of D.
    const auto c = IndexOf(record, Step::PointC), lines = IndexOf(record, Step::ShockLines),
               d = IndexOf(record, Step::FootD);
    EXPECT_NE(At(steps[c - 1], 423, 301), kRed);
    EXPECT_EQ(At(steps[c], 423, 301), kRed);
    EXPECT_EQ(CountColour(steps[c], kRed, 0, PolarDiagram::kHeight), 1);
    EXPECT_GT(CountColour(steps[lines], kRed, 0, PolarDiagram::kHeight), 300);
    const auto inkInD = [](const std::vector<std::uint32_t>& bits) {
        int n = 0;
        for (int y = 41; y < 52; ++y)
            for (int x = 316; x < 326; ++x)
                n += At(bits, x, y) != kWhite && At(bits, x, y) != kRed;
        return n;
    };
    EXPECT_EQ(inkInD(steps[d - 1]), 0);
    EXPECT_GT(inkInD(steps[d]), 5);
}

TEST(StepRecordingDiagram, DetachedShockIsBuiltArcFirstThenItsStraightPartThenTheMirror) {
    Picture picture;
    ConstructionRecord record;
    ASSERT_EQ(Record(picture, record, 30, 680), "");
    // Worked example: the upper arc passes (183, 208); its mirror (183, 232).
    const auto arc = IndexOf(record, Step::DetachedUpperArc), line = IndexOf(record, Step::DetachedUpperLine),
               mirror = IndexOf(record, Step::DetachedLowerBranch);
    const auto beforeArc = StepBits(record, arc - 1), withArc = StepBits(record, arc),
               withLine = StepBits(record, line), whole = StepBits(record, mirror);
    EXPECT_EQ(CountColour(beforeArc, kRed, 0, PolarDiagram::kHeight), 0);
    EXPECT_EQ(At(withArc, 183, 208), kRed);
    // The 3-pixel pen reaches a pixel below the axis where the arc starts, no farther.
    EXPECT_EQ(CountColour(withArc, kRed, 222, PolarDiagram::kHeight), 0);
    EXPECT_GT(CountColour(withLine, kRed, 0, 200), CountColour(withArc, kRed, 0, 200) + 50);
    EXPECT_NE(At(withLine, 183, 232), kRed);
    EXPECT_EQ(At(whole, 183, 232), kRed);

    // What the captions tell: the reduced wedge of 23 degrees and its shock angle of 61.45.
    ASSERT_TRUE(record.ReducedWedgeAngle());
    EXPECT_NEAR(static_cast<double>(*record.ReducedWedgeAngle()) * 180 / 3.14159265358979, 23.0, 1e-9);
    ASSERT_TRUE(record.ShockAngleAtReducedWedge());
    EXPECT_NEAR(static_cast<double>(*record.ShockAngleAtReducedWedge()) * 180 / 3.14159265358979, 61.45,
                0.005);
    EXPECT_EQ(record.State().DetachedRadius, 21);
}

TEST(StepRecordingDiagram, KeepsWhatTheCaptionsNeed) {
    Picture picture;
    ConstructionRecord record;
    ASSERT_EQ(Record(picture, record, 20, 680), "");
    // Worked example: A at Vx = 254, the line from B meets the Vy axis at about 517.50 m/s.
    EXPECT_EQ(record.PointAx(), 254);
    ASSERT_TRUE(record.BcInterceptY());
    EXPECT_NEAR(static_cast<double>(*record.BcInterceptY()), 517.50, 0.005);
    EXPECT_EQ(record.Caption(ResultItem::Label6), "2");
    EXPECT_EQ(record.Caption(ResultItem::Label3), "45.6");
    EXPECT_EQ(record.Visible(ResultItem::Label2), true);
    EXPECT_FALSE(record.ReducedWedgeAngle());

    // The next run forgets all of it.
    ASSERT_EQ(Record(picture, record, 0, 680), "");
    EXPECT_FALSE(record.BcInterceptY());
    EXPECT_EQ(record.Visible(ResultItem::Label2), false);
}

TEST(StepRecordingDiagram, AFaultEndsTheStepsWithWhatWasDrawnBeforeIt) {
    // A gas with gamma below 1 faults at chi max, after the whole diagram is drawn.
    Picture picture;
    picture.state.Gamma = 0.5;
    ConstructionRecord record;
    EXPECT_EQ(Record(picture, record, 20, 680), "Invalid floating point operation");
    EXPECT_FALSE(record.Completed());
    ASSERT_FALSE(record.Steps().empty());
    // Every drawing step up to the letters, then the fault: the labels were never all filled, so
    // there is no step of the results.
    EXPECT_EQ(Kinds(record),
              (std::vector<Step>{Step::Axes, Step::PointA, Step::LowerBranch, Step::UpperBranch, Step::Wedge,
                                 Step::PointC, Step::LineBC, Step::ShockLines, Step::FootD, Step::ShockArc,
                                 Step::Letters, Step::Interrupted}));
    EXPECT_EQ(StepBits(record, record.Steps().size() - 1), Bits(picture.canvas));
    EXPECT_FALSE(record.Caption(ResultItem::Label3));

    // A speed of sound of 0 faults before anything is drawn: one step, a white picture.
    Picture silent;
    silent.state.SoundSpeed = 0;
    EXPECT_EQ(Record(silent, record, 20, 680), "Floating point division by zero");
    ASSERT_EQ(record.Steps().size(), 1u);
    EXPECT_EQ(StepBits(record, 0), Bits(RasterCanvas(PolarDiagram::kWidth, PolarDiagram::kHeight)));
    EXPECT_FALSE(StepCaption(record, 0, '.').empty());
}

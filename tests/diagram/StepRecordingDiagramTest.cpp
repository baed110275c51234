// SPDX-License-Identifier: GPL-3.0-or-later
// The construction recorded step by step: recording changes no pixel of the diagram, the last
// step replays the diagram exactly, the steps come in the order Apply draws them and each shows
// what has been drawn up to it, and a fault leaves a record of what was drawn before it.  The
// step view marks on a step a pale band behind exactly the pixels it changed and rings at the
// points it is about, nothing on the last step, and the captions say what each step finds.
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
#include "StepView.h"

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
constexpr int W = PolarDiagram::kWidth, H = PolarDiagram::kHeight;

// A step's recorded picture or what the view shows of it, read by TColor; white off the picture.
struct Image {
    std::vector<std::uint32_t> Colors = std::vector<std::uint32_t>(W * H, 0xFFFFFFFFu);
    TColor Pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= W || y >= H)
            return clWhite;
        const std::uint32_t rgb = Colors[static_cast<std::size_t>(y * W + x)];
        return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    }
};

Image Plain(const ConstructionRecord& record, std::size_t index) {
    return Image{StepBits(record, index)};
}

Image View(const ConstructionRecord& record, std::size_t index) {
    RasterCanvas fresh(W, H);
    DrawStepView(record, index, fresh);
    return Image{Bits(fresh)};
}

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

TEST(StepView, HighlightLiesBehindTheStepsNewPixelsAndNowhereElse) {
    for (const int chi : {20, 30}) {
        SCOPED_TRACE("chi " + std::to_string(chi));
        ConstructionRecord record;
        Picture picture;
        ASSERT_EQ(Record(picture, record, chi, 680), "");
        for (std::size_t k = 0; k + 1 < record.Steps().size(); ++k) {
            SCOPED_TRACE(StepTitle(record.Steps()[k].Step));
            const Image before = k == 0 ? Image() : Plain(record, k - 1);
            const Image plain = Plain(record, k), view = View(record, k);
            const auto changedNear = [&](int x, int y) {
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        if (plain.Pixel(x + dx, y + dy) != before.Pixel(x + dx, y + dy))
                            return true;
                return false;
            };
            // The view changes no pixel but to the band or a ring; the band lies on white near
            // the new pixels, and no white pixel beside a new one is left out of it.
            int highlighted = 0, stray = 0, hidden = 0, bare = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const TColor shown = view.Pixel(x, y), drawn = plain.Pixel(x, y);
                    if (shown == kStepHighlight) {
                        ++highlighted;
                        stray += drawn != clWhite || !changedNear(x, y);
                    } else {
                        hidden += shown != drawn && shown != kStepRing;
                    }
                    bare += drawn == clWhite && shown == clWhite &&
                            plain.Pixel(x - 1, y) != before.Pixel(x - 1, y);
                }
            EXPECT_EQ(stray, 0);
            EXPECT_EQ(hidden, 0);
            EXPECT_EQ(bare, 0);
            EXPECT_EQ(highlighted > 0, StepChangesPicture(record, k));
        }
    }
}

TEST(StepView, RingsMarkThePointsAndCaptionsSayWhatAStepFinds) {
    // C = (460, 166) m/s and φ = 52.7278° of the start-up case (V1 = 680, 330/680 pixel per m/s);
    // worked by hand: A at Vx = 254 is 123.3 pixels right of O; C's red pixel on the lower ray
    // at 460·330/680 = 223.2, 223.2·tan 20° = 81.2; D at V1 cos²φ = 120.9 and V1 sinφ cosφ = 159.0
    // pixels from O (the step writes its own D, so its ring has no letter).  The detached case
    // χ = 30°: C of the reduced wedge, (382, 160) m/s, at 185.4 and 77.6 pixels.
    ConstructionRecord attached, detached, small;
    Picture picture;
    ASSERT_EQ(Record(picture, attached, 20, 680), "");
    ASSERT_EQ(Record(picture, detached, 30, 680), "");
    ASSERT_EQ(Record(picture, small, 1, 680), ""); // φ = 27.02° below the Mach angle of 30°
    const struct {
        const ConstructionRecord& record;
        Step step;
        std::vector<StepPoint> points;
        bool draws;
        std::string says;
    } cases[] = {
        {attached, Step::Axes, {{200, 220, "O"}}, true, "V1 = 680 м/с"},
        {attached, Step::PointA, {{323, 220, "A"}}, false, "Vx = 254 м/с"},
        {attached, Step::LowerBranch, {{530, 220, "B"}}, true, "B = 680 м/с"},
        {attached, Step::UpperBranch, {}, true, "зеркальное отражение"},
        {attached, Step::PointC, {{423, 301, "C"}}, true, "Vx = 460 м/с, Vy = 166 м/с"},
        {attached, Step::LineBC, {{530, 220, "B"}}, true, "Vy = 517,5 м/с"},
        {attached, Step::FootD, {{321, 61, ""}}, true, "оно лежит на прямой BC"},
        {attached, Step::Results, {}, false, "P = 1 + 2γ/(γ+1)·((M·sin φ)² − 1) = 2,788"},
        {small, Step::Results, {}, false, "φ здесь меньше угла Маха μ = arcsin(1/M) = 30°"},
        {detached, Step::ReducedWedge, {{385, 142, "C"}}, false, "u = 23°"},
        {detached, Step::DetachedUpperArc, {}, true, "радиусом 21 пиксель вокруг O"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(StepTitle(c.step));
        const std::size_t index = IndexOf(c.record, c.step);
        EXPECT_EQ(StepPoints(c.record, index), c.points);
        EXPECT_EQ(StepChangesPicture(c.record, index), c.draws);
        std::string caption; // with plain spaces for the no-break ones of the formulas
        const std::string raw = StepCaption(c.record, index, ',');
        for (std::size_t k = 0; k < raw.size(); ++k) {
            const bool noBreak = raw.compare(k, 2, "\u00a0") == 0;
            caption += noBreak ? ' ' : raw[k];
            k += noBreak;
        }
        EXPECT_NE(caption.find(c.says), std::string::npos) << caption;
        EXPECT_EQ(caption.find("ничего не изменил"), std::string::npos) << caption;
        if (c.points.empty())
            continue;
        // The ring: orange about six pixels from the point on every side, the point itself seen;
        // its letter up and to the right.
        const Image view = View(c.record, index), plain = Plain(c.record, index);
        const StepPoint& p = c.points.front();
        for (const auto& [dx, dy] : {std::pair{6, 0}, {-6, 0}, {0, 6}, {0, -6}})
            EXPECT_EQ(view.Pixel(p.X + dx, p.Y + dy), kStepRing) << dx << ", " << dy;
        EXPECT_EQ(view.Pixel(p.X, p.Y), plain.Pixel(p.X, p.Y));
        int letter = 0;
        for (int y = p.Y - 24; y < p.Y - 6; ++y)
            for (int x = p.X + 6; x < p.X + 24; ++x)
                letter += view.Pixel(x, y) == kStepRing;
        EXPECT_EQ(letter > 10, !p.Letter.empty()) << letter;
    }
}

TEST(StepView, TheLastStepIsTheFinishedDiagramUnmarked) {
    for (const auto& [chi, v1] : {std::pair{20, 680}, {30, 680}, {0, 680}, {64, 1000000}}) {
        SCOPED_TRACE("chi " + std::to_string(chi));
        ConstructionRecord record;
        Picture picture;
        ASSERT_EQ(Record(picture, record, chi, v1), "");
        const std::size_t last = record.Steps().size() - 1;
        EXPECT_EQ(View(record, last).Colors, StepBits(record, last));
    }
}

TEST(StepCaptions, PixelsAgreeWithTheirNumber) {
    const std::pair<int, const char*> cases[] = {
        {1, "1 пиксель"},     {2, "2 пикселя"},    {4, "4 пикселя"},      {5, "5 пикселей"},
        {11, "11 пикселей"},  {12, "12 пикселей"}, {14, "14 пикселей"},   {21, "21 пиксель"},
        {51, "51 пиксель"},   {52, "52 пикселя"},  {100, "100 пикселей"}, {111, "111 пикселей"},
        {122, "122 пикселя"}, {0, "0 пикселей"},
    };
    for (const auto& [n, text] : cases)
        EXPECT_EQ(PixelCount(n), text);
}

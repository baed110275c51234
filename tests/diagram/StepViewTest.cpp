// SPDX-License-Identifier: GPL-3.0-or-later
// What the step view marks on a step: a pale band behind exactly the pixels the step changed,
// rings with letters at the points the step is about, nothing on the last step, and captions that
// say what each step finds, above all where it draws nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConstructionCaptions.h"
#include "ConstructionRecord.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"
#include "StepRecordingDiagram.h"
#include "StepView.h"

using namespace zk;

namespace {

using Step = ConstructionStep;
constexpr int W = PolarDiagram::kWidth, H = PolarDiagram::kHeight;

ConstructionRecord Solve(int chi, int v1) {
    RasterCanvas canvas(W, H);
    FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    ConstructionRecord record;
    {
        StepRecordingDiagram diagram(record, canvas, state);
        Apply(state, {chi, v1, '.'}, diagram);
    }
    return record;
}

// The colours of a picture's pixels, white off the picture.
struct Image {
    std::vector<TColor> Colors;
    explicit Image(const RasterCanvas& canvas) {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                Colors.push_back(canvas.Pixel(x, y));
    }
    TColor Pixel(int x, int y) const {
        return x >= 0 && y >= 0 && x < W && y < H ? Colors[static_cast<std::size_t>(y * W + x)] : clWhite;
    }
};

// The recorded picture of a step, and what the view shows of it.
Image Plain(const ConstructionRecord& record, std::size_t index) {
    RasterCanvas canvas(W, H);
    record.DrawStep(index, canvas);
    return Image(canvas);
}

Image View(const ConstructionRecord& record, std::size_t index) {
    RasterCanvas canvas(W, H);
    DrawStepView(record, index, canvas);
    return Image(canvas);
}

std::size_t IndexOf(const ConstructionRecord& record, Step step) {
    for (std::size_t k = 0; k < record.Steps().size(); ++k)
        if (record.Steps()[k].Step == step)
            return k;
    ADD_FAILURE() << "no step " << static_cast<int>(step);
    return 0;
}

} // namespace

TEST(StepView, HighlightLiesBehindTheStepsNewPixelsAndNowhereElse) {
    for (const int chi : {20, 30}) {
        SCOPED_TRACE("chi " + std::to_string(chi));
        const ConstructionRecord record = Solve(chi, 680);
        for (std::size_t k = 0; k + 1 < record.Steps().size(); ++k) {
            SCOPED_TRACE(StepTitle(record.Steps()[k].Step));
            const Image before = k == 0 ? Image(RasterCanvas(W, H)) : Plain(record, k - 1);
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
    const ConstructionRecord attached = Solve(20, 680), detached = Solve(30, 680);
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
        const ConstructionRecord record = Solve(chi, v1);
        const std::size_t last = record.Steps().size() - 1;
        EXPECT_EQ(View(record, last).Colors, Plain(record, last).Colors);
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// What the step view marks on a step: a pale band behind exactly the pixels the step changed,
// rings with letters at the points the step is about, nothing on the last step, and captions that
// say the value of a step that draws nothing.
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

Image Blank() {
    return Image(RasterCanvas(W, H));
}

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
            const Image before = k == 0 ? Blank() : Plain(record, k - 1);
            const Image plain = Plain(record, k), view = View(record, k);
            const auto changedNear = [&](int x, int y) {
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        if (plain.Pixel(x + dx, y + dy) != before.Pixel(x + dx, y + dy))
                            return true;
                return false;
            };
            int highlighted = 0, changed = 0, bare = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const TColor shown = view.Pixel(x, y), drawn = plain.Pixel(x, y);
                    if (drawn != before.Pixel(x, y)) {
                        ++changed;
                        // The new ink keeps its colour unless a ring crosses it; a pixel the
                        // step blanked to white takes the band's colour.
                        if (shown != drawn && shown != kStepRing &&
                            !(drawn == clWhite && shown == kStepHighlight))
                            ADD_FAILURE() << "new pixel (" << x << ", " << y << ") hidden";
                    }
                    if (shown == kStepHighlight) {
                        ++highlighted;
                        EXPECT_EQ(drawn, clWhite);
                        if (!changedNear(x, y))
                            ADD_FAILURE()
                                << "highlight far from the step's pixels at (" << x << ", " << y << ")";
                    } else if (shown != drawn && shown != kStepRing) {
                        ADD_FAILURE() << "pixel (" << x << ", " << y << ") changed by the view";
                    }
                    // A white pixel next to a new one, the direct neighbours, is in the band.
                    if (drawn == clWhite && shown == clWhite &&
                        ((x > 0 && plain.Pixel(x - 1, y) != before.Pixel(x - 1, y)) ||
                         (y > 0 && plain.Pixel(x, y - 1) != before.Pixel(x, y - 1))))
                        ++bare;
                }
            EXPECT_EQ(bare, 0);
            if (changed > 0)
                EXPECT_GT(highlighted, 0);
            else
                EXPECT_EQ(highlighted, 0);
        }
    }
}

TEST(StepView, RingsAndLettersMarkThePointsOfTheStartUpCase) {
    // C = (460, 166) m/s and φ = 52.7278° of the start-up case (V1 = 680, 330/680 pixel per m/s);
    // worked by hand: A at Vx = 254 is 123.3 pixels right of O; C's red pixel on the lower ray
    // at 460·330/680 = 223.2, 223.2·tan 20° = 81.2; D at V1 cos²φ = 120.9 and V1 sinφ cosφ = 159.0
    // pixels from O.  The detached case χ = 30°: C of the reduced wedge, (382, 160) m/s, at
    // 185.4 and 77.6 pixels.
    const ConstructionRecord attached = Solve(20, 680), detached = Solve(30, 680);
    const struct {
        const ConstructionRecord& record;
        Step step;
        std::vector<StepPoint> points;
    } cases[] = {
        {attached, Step::Axes, {{200, 220, "O"}}},         {attached, Step::PointA, {{323, 220, "A"}}},
        {attached, Step::LowerBranch, {{530, 220, "B"}}},  {attached, Step::UpperBranch, {}},
        {attached, Step::PointC, {{423, 301, "C"}}},       {attached, Step::LineBC, {{530, 220, "B"}}},
        {attached, Step::FootD, {{321, 61, "D"}}},         {attached, Step::Results, {}},
        {detached, Step::ReducedWedge, {{385, 142, "C"}}}, {detached, Step::DetachedUpperArc, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(StepTitle(c.step));
        const std::size_t index = IndexOf(c.record, c.step);
        EXPECT_EQ(StepPoints(c.record, index), c.points);
        if (c.points.empty() || index + 1 == c.record.Steps().size())
            continue;
        // The ring: orange about six pixels from the point on every side, the point itself seen.
        const Image view = View(c.record, index), plain = Plain(c.record, index);
        const StepPoint& p = c.points.front();
        for (const auto& [dx, dy] : {std::pair{6, 0}, {-6, 0}, {0, 6}, {0, -6}})
            EXPECT_EQ(view.Pixel(p.X + dx, p.Y + dy), kStepRing) << dx << ", " << dy;
        EXPECT_EQ(view.Pixel(p.X, p.Y), plain.Pixel(p.X, p.Y));
        // Its letter, up and to the right of the ring.
        int letter = 0;
        for (int y = p.Y - 24; y < p.Y - 6; ++y)
            for (int x = p.X + 6; x < p.X + 24; ++x)
                letter += view.Pixel(x, y) == kStepRing;
        EXPECT_GT(letter, 10);
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

TEST(StepView, AStepThatDrawsNothingSaysWhatItFinds) {
    const ConstructionRecord attached = Solve(20, 680), detached = Solve(30, 680);
    const struct {
        const ConstructionRecord& record;
        Step step;
        bool changes;
        std::string says;
    } cases[] = {
        {attached, Step::PointA, false, "Vx = 254 м/с"},
        {attached, Step::PointC, true, "Vx = 460 м/с, Vy = 166 м/с"},
        {attached, Step::Results, false, "P = 1 + 2γ/(γ+1)·((M·sin φ)² − 1) = 2,788"},
        {detached, Step::ReducedWedge, false, "u = 23°"},
        {detached, Step::DetachedUpperArc, true, "радиусом 21 пиксель вокруг O"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(StepTitle(c.step));
        const std::size_t index = IndexOf(c.record, c.step);
        EXPECT_EQ(StepChangesPicture(c.record, index), c.changes);
        // Formulas hold no-break spaces; the texts above have plain ones.
        std::string caption;
        const std::string raw = StepCaption(c.record, index, ',');
        for (std::size_t k = 0; k < raw.size(); ++k) {
            const bool noBreak = raw.compare(k, 2, "\u00a0") == 0;
            caption += noBreak ? ' ' : raw[k];
            k += noBreak;
        }
        EXPECT_NE(caption.find(c.says), std::string::npos) << caption;
        EXPECT_EQ(caption.find("ничего не изменил"), std::string::npos) << caption;
    }
}

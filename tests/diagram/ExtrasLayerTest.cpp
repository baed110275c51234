// SPDX-License-Identifier: GPL-3.0-or-later
// The layer "Дополнительные построения" over the diagram: its texts, where its colours fall on the
// picture, and that it leaves the picture ready for the next run of Apply as if it were not there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ExtrasLayer.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"

using namespace zk;

namespace {

FlowState Solved(int chi, int v1, RasterCanvas& picture, double c1 = 340, double gamma = 1.4) {
    FlowState state;
    state.SoundSpeed = c1;
    state.Gamma = gamma;
    PolarDiagram diagram(picture, state);
    Apply(state, {chi, v1, '.'}, diagram);
    return state;
}

// The pixels of one colour on the picture.
std::vector<TPoint> PixelsOf(const RasterCanvas& canvas, TColor colour) {
    std::vector<TPoint> out;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.Pixel(x, y) == colour)
                out.push_back({x, y});
    return out;
}

double Distance(TPoint p, double x, double y) { return std::hypot(p.X - x, p.Y - y); }

TEST(ExtrasLayer, VerdictNamesWedgeAndLimit) {
    struct Row {
        int Chi, V1;
        double C1, Gamma;
        char Separator;
        const char* Text;
    };
    const std::vector<Row> rows = {
        {20, 680, 340, 1.4, ',', "χ = 20° < θmax(M1) = 22,97°: скачок присоединён"},
        {30, 680, 340, 1.4, ',', "χ = 30° > θmax(M1) = 22,97°: скачок отсоединён"},
        {30, 1020, 340, 1.4, '.', "χ = 30° < θmax(M1) = 34.07°: скачок присоединён"},
        {0, 680, 340, 1.4, ',', "χ = 0°: клина нет, поток не поворачивает; θmax(M1) = 22,97°"},
        {20, 680, 340, 1.67, ',', "χ = 20° > θmax(M1) = 19,31°: скачок отсоединён"},
        {20, 365, 400, 1.4, ',', kLandmarksSubsonic},
        {20, 680, 340, 1.0, ',', kLandmarksGamma},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Text);
        FlowState state;
        state.SoundSpeed = row.C1;
        state.Gamma = row.Gamma;
        state.V1 = row.V1;
        state.WedgeAngle = static_cast<double>(row.Chi * Pi / 180);
        EXPECT_EQ(ExtrasLayer::VerdictText(ExtrasLayer::LandmarksOf(state), row.Separator), row.Text);
    }
}

// Over the start-up case each colour lies where its construction is: the purple tangents on the
// lines from O at ±θmax (and the rings at their points), the teal circle at a* from O, the brown
// rings at the exact points of the wedge ray.
TEST(ExtrasLayer, EachColourLiesOnItsConstruction) {
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    const FlowState state = Solved(20, 680, picture);
    ExtrasLayer::Draw(picture, state, ',');
    const HodographLandmarks l = ExtrasLayer::LandmarksOf(state);
    const double k = state.ScaleX;

    const std::vector<TPoint> purple = PixelsOf(picture, ExtrasLayer::kTangentColor);
    ASSERT_GT(purple.size(), 350u); // two dashed lines of 330 pixels, 6 in 10 inked
    for (TPoint p : purple) {
        const double dx = p.X - 200.0, dy = std::abs(p.Y - 220.0);
        const double offLine = std::abs(dy * std::cos(l.ThetaMax) - dx * std::sin(l.ThetaMax));
        const bool onRing = Distance(p, 200 + l.Tangent.Vx * k, 220 - l.Tangent.Vy * k) <= 6 ||
                            Distance(p, 200 + l.Tangent.Vx * k, 220 + l.Tangent.Vy * k) <= 6;
        EXPECT_TRUE(offLine <= 1.0 || onRing) << p.X << ' ' << p.Y;
    }

    const std::vector<TPoint> teal = PixelsOf(picture, ExtrasLayer::kSonicColor);
    ASSERT_GT(teal.size(), 500u); // most of a circle of radius 202 pixels
    const double r = l.SonicRadius * k;
    EXPECT_NEAR(r, 202.1, 0.05); // a* = sqrt(173 400) m/s at 330/680 pixels per m/s
    for (TPoint p : teal) {
        const bool onRing = Distance(p, 200 + l.Sonic.Vx * k, 220 - l.Sonic.Vy * k) <= 6 ||
                            Distance(p, 200 + l.Sonic.Vx * k, 220 + l.Sonic.Vy * k) <= 6;
        EXPECT_TRUE(std::abs(Distance(p, 200, 220) - r) <= 1.0 || onRing) << p.X << ' ' << p.Y;
    }

    // The rings are drawn 2 pixels wide about the rounded point: within 6 pixels of it.
    const std::vector<TPoint> brown = PixelsOf(picture, ExtrasLayer::kPointColor);
    ASSERT_FALSE(brown.empty());
    int nearWeak = 0, nearStrong = 0;
    for (TPoint p : brown) {
        const double w = Distance(p, 200 + l.Weak->Vx * k, 220 - l.Weak->Vy * k);
        const double s = Distance(p, 200 + l.Strong->Vx * k, 220 - l.Strong->Vy * k);
        EXPECT_TRUE(w <= 6 || s <= 6) << p.X << ' ' << p.Y;
        nearWeak += w <= 6;
        nearStrong += s <= 6;
    }
    EXPECT_GT(nearWeak, 8);
    EXPECT_GT(nearStrong, 8);
}

// The detached case has no exact points on the ray; a free stream without shocks draws only its
// reason.
TEST(ExtrasLayer, DrawsOnlyWhatTheTheoryGives) {
    RasterCanvas detached(PolarDiagram::kWidth, PolarDiagram::kHeight);
    ExtrasLayer::Draw(detached, Solved(30, 680, detached), ',');
    EXPECT_TRUE(PixelsOf(detached, ExtrasLayer::kPointColor).empty());
    EXPECT_FALSE(PixelsOf(detached, ExtrasLayer::kTangentColor).empty());

    RasterCanvas subsonic(PolarDiagram::kWidth, PolarDiagram::kHeight);
    const FlowState state = Solved(20, 365, subsonic, 400);
    RasterCanvas before(PolarDiagram::kWidth, PolarDiagram::kHeight);
    Solved(20, 365, before, 400);
    ExtrasLayer::Draw(subsonic, state, ',');
    for (TColor colour : {ExtrasLayer::kTangentColor, ExtrasLayer::kPointColor, ExtrasLayer::kSonicColor})
        EXPECT_TRUE(PixelsOf(subsonic, colour).empty());
    int changed = 0;
    for (int y = 0; y < PolarDiagram::kHeight; ++y)
        for (int x = 0; x < PolarDiagram::kWidth; ++x)
            if (subsonic.Pixel(x, y) != before.Pixel(x, y)) {
                ++changed;
                EXPECT_GE(y, 432) << x; // only the line of text at the bottom
            }
    EXPECT_GT(changed, 0);
}

// The next run clears the layer away and starts from the pen the last run left, so the picture
// after it is the same whether the layer was drawn or not, at every device scale.
TEST(ExtrasLayer, NextRunIsUnchangedByTheLayer) {
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        RasterCanvas plain(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, scale);
        RasterCanvas layered(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, scale);
        Solved(20, 680, plain);
        const FlowState state = Solved(20, 680, layered);
        const TPen pen = layered.Pen();
        const TPoint position = layered.PenPos();
        ExtrasLayer::Draw(layered, state, ',');
        EXPECT_EQ(layered.Pen().Color, pen.Color);
        EXPECT_EQ(layered.Pen().Width, pen.Width);
        EXPECT_EQ(layered.Pen().Style, pen.Style);
        EXPECT_EQ(layered.PenPos(), position);
        Solved(30, 1000, plain);
        Solved(30, 1000, layered);
        EXPECT_TRUE(std::equal(plain.Bits(), plain.Bits() + plain.DeviceWidth() * plain.DeviceHeight(),
                               layered.Bits()));
    }
}

} // namespace

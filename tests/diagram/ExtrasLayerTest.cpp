// SPDX-License-Identifier: GPL-3.0-or-later
// The layer "Дополнительные построения": its verdict, where its colours fall, and that the next run
// of Apply finds the picture as if the layer had never been drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
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

TEST(ExtrasLayer, VerdictNamesWedgeAndLimit) {
    struct Row {
        int Chi, V1;
        double C1, Gamma;
        char Separator;
        const char* Text; // θmax from NACA Report 1135 (1.67: the value the issue quotes)
    };
    const std::vector<Row> rows = {
        {20, 680, 340, 1.4, ',', "χ = 20° < θmax(M1) = 22,97°: скачок присоединён"},
        {30, 680, 340, 1.4, ',', "χ = 30° > θmax(M1) = 22,97°: скачок отсоединён"},
        {30, 1020, 340, 1.4, '.', "χ = 30° < θmax(M1) = 34.07°: скачок присоединён"},
        {0, 680, 340, 1.4, ',', "χ = 0°: клина нет, поток не поворачивает; θmax(M1) = 22,97°"},
        {20, 680, 340, 1.67, ',', "χ = 20° > θmax(M1) = 19,31°: скачок отсоединён"},
        {20, 365, 400, 1.4, ',', kLandmarksSubsonic},
    };
    for (const Row& row : rows) {
        FlowState state;
        state.SoundSpeed = row.C1;
        state.Gamma = row.Gamma;
        state.V1 = row.V1;
        state.WedgeAngle = static_cast<double>(row.Chi * Pi / 180);
        EXPECT_EQ(ExtrasLayer::VerdictText(ExtrasLayer::LandmarksOf(state), row.Separator), row.Text);
    }
}

// The brown rings stand at the exact points of the wedge ray and nowhere else; the teal circle
// lies at a* from O (its rings aside).  A detached wedge has no brown at all.
TEST(ExtrasLayer, ColoursLieOnTheirConstructions) {
    for (int chi : {20, 30}) {
        SCOPED_TRACE(chi);
        RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
        const FlowState state = Solved(chi, 680, picture);
        ExtrasLayer::Draw(picture, state, ',');
        const HodographLandmarks l = ExtrasLayer::LandmarksOf(state);
        const double k = state.ScaleX, r = l.SonicRadius * k;
        const auto near = [&](int x, int y, const std::optional<HodographPoint>& p, int s) {
            return p && std::hypot(x - 200 - p->Vx * k, y - 220 - s * p->Vy * k) <= 6; // ring, 2 pixels wide
        };
        int brown = 0, teal = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                if (picture.Pixel(x, y) == ExtrasLayer::kPointColor) {
                    ++brown;
                    EXPECT_TRUE(near(x, y, l.Weak, -1) || near(x, y, l.Strong, -1)) << x << ' ' << y;
                } else if (picture.Pixel(x, y) == ExtrasLayer::kSonicColor) {
                    ++teal;
                    EXPECT_TRUE(std::abs(std::hypot(x - 200, y - 220) - r) <= 1 || near(x, y, l.Sonic, -1) ||
                                near(x, y, l.Sonic, 1))
                        << x << ' ' << y;
                }
            }
        EXPECT_EQ(brown > 0, chi == 20);
        EXPECT_GT(teal, 500); // most of a circle of radius 202 pixels, dash-dotted
    }
}

// The next run clears the layer and starts from the pen the last run left, so its picture is the
// same whether the layer was drawn or not, at every device scale.
TEST(ExtrasLayer, NextRunIsUnchangedByTheLayer) {
    for (int scale : {1, 2}) {
        RasterCanvas plain(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, scale);
        RasterCanvas layered(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, scale);
        Solved(20, 680, plain);
        ExtrasLayer::Draw(layered, Solved(20, 680, layered), ',');
        EXPECT_EQ(layered.PenPos(), plain.PenPos());
        Solved(30, 1000, plain);
        Solved(30, 1000, layered);
        EXPECT_TRUE(std::equal(plain.Bits(), plain.Bits() + plain.DeviceWidth() * plain.DeviceHeight(),
                               layered.Bits()))
            << scale;
    }
}

} // namespace

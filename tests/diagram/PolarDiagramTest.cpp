// SPDX-License-Identifier: GPL-3.0-or-later
// The polar diagram drawn by Apply: its drawing operations at the worked examples (through the
// operations log) and the pixels they leave on the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "CanvasOpsLog.h"
#include "PolarDiagram.h"
#include "PolarSweep.h"
#include "RasterCanvas.h"
#include "Solver.h"

using namespace zk;

namespace {

struct Drawn {
    std::vector<std::string> ops;
    FlowState state;
    std::string error;

    bool Has(const std::string& line) const { return std::find(ops.begin(), ops.end(), line) != ops.end(); }
    std::size_t Count(const std::string& prefix) const {
        return static_cast<std::size_t>(
            std::count_if(ops.begin(), ops.end(), [&](const std::string& op) { return op.rfind(prefix, 0) == 0; }));
    }
    // Hatching strokes: a move to (x, y) followed by a 2-pixel blue line to (x + 4, y -/+ 8).
    std::size_t Strokes(int sign) const {
        std::size_t strokes = 0;
        for (std::size_t k = 0; k + 1 < ops.size(); ++k) {
            int x = 0, y = 0, x2 = 0, y2 = 0;
            char colour[16] = {};
            if (std::sscanf(ops[k].c_str(), "MoveTo %d %d", &x, &y) == 2 &&
                std::sscanf(ops[k + 1].c_str(), "LineTo %d %d %15s 2", &x2, &y2, colour) == 3 &&
                std::string(colour) == "FF0000" && x2 == x + 4 && y2 == y + sign * 8)
                ++strokes;
        }
        return strokes;
    }
    std::size_t IndexOf(const std::string& line) const {
        return static_cast<std::size_t>(std::find(ops.begin(), ops.end(), line) - ops.begin());
    }
};

Drawn Draw(int chi, int v1, double c1 = 340, double gamma = 1.4, RasterCanvas* picture = nullptr) {
    RasterCanvas own(PolarDiagram::kWidth, PolarDiagram::kHeight);
    RasterCanvas& canvas = picture ? *picture : own;
    std::ostringstream text;
    CanvasOpsLog log(canvas, text);
    Drawn drawn;
    drawn.state.SoundSpeed = c1;
    drawn.state.Gamma = gamma;
    PolarDiagram diagram(log, drawn.state);
    try {
        Apply(drawn.state, {chi, v1, '.'}, diagram);
    } catch (const FloatError& e) {
        drawn.error = e.what();
    }
    std::istringstream lines(text.str());
    for (std::string line; std::getline(lines, line);)
        drawn.ops.push_back(line);
    return drawn;
}

} // namespace

TEST(PolarDiagram, StartUpCaseBeginsWithClearingAndTheAxes) {
    const Drawn d = Draw(20, 680);
    ASSERT_GE(d.ops.size(), 3u);
    EXPECT_EQ(d.ops[0], "FloodFill 100 100 A4A0A0 border");
    EXPECT_EQ(d.ops[1], "MoveTo 50 220");
    EXPECT_EQ(d.ops[2], "LineTo 600 220 000000 1 solid");
}

TEST(PolarDiagram, StartUpCasePointsOfTheConstruction) {
    const Drawn d = Draw(20, 680);
    // A, its letter, and both passes starting there.
    EXPECT_EQ(d.Count("MoveTo 323 220"), 2u);
    EXPECT_TRUE(d.Has("TextOut 313 225 A"));
    // The polar is dashed beyond B, from x = 530 to 554.
    std::vector<std::string> dashed;
    for (const auto& op : d.ops)
        if (op.find("008000 1 dash") != std::string::npos)
            dashed.push_back(op);
    ASSERT_FALSE(dashed.empty());
    EXPECT_EQ(dashed.front().substr(0, 10), "LineTo 530");
    EXPECT_EQ(dashed.back().substr(0, 10), "LineTo 554");
    // Wedge rays, hatching (32 strokes a ray) and the arc of chi with its label.
    EXPECT_TRUE(d.Has("LineTo 530 340 FF0000 3 solid"));
    EXPECT_TRUE(d.Has("LineTo 530 100 FF0000 3 solid"));
    EXPECT_EQ(d.Strokes(-1), 32u); // on the lower ray, pointing up into the wedge
    EXPECT_EQ(d.Strokes(+1), 32u); // on the upper ray, pointing down
    EXPECT_TRUE(d.Has("MoveTo 220 227")); // the first lower stroke, at i = 20
    EXPECT_TRUE(d.Has("MoveTo 530 100")); // the last upper stroke, at i = 330
    for (const char* point : {"400 208", "399 197", "397 185", "395 174", "392 163", "388 152"})
        EXPECT_TRUE(d.Has(std::string("LineTo ") + point + " FF0000 2 solid")) << point;
    EXPECT_TRUE(d.Has("TextOut 405 164 20 град"));
    // C, the construction line from B to the Vy axis, the shock lines, D and the arc of phi.
    EXPECT_TRUE(d.Has("SetPixel 423 301 0000FF"));
    EXPECT_TRUE(d.Has("TextOut 423 119 C"));
    EXPECT_TRUE(d.Has("LineTo 200 -31 000000 1 solid"));
    EXPECT_TRUE(d.Has("LineTo 600 746 0000FF 2 solid"));
    EXPECT_TRUE(d.Has("LineTo 600 -306 0000FF 2 solid"));
    EXPECT_TRUE(d.Has("TextOut 316 41 D"));
    for (const char* point : {"295 190", "282 162", "261 140"})
        EXPECT_TRUE(d.Has(std::string("LineTo ") + point + " 0000FF 2 solid")) << point;
    EXPECT_TRUE(d.Has("TextOut 292 152 53 град"));
    // The free-stream arrow is drawn 2 pixels wide after the shock construction.
    EXPECT_TRUE(d.Has("LineTo 150 220 000000 2 solid"));
    EXPECT_TRUE(d.Has("TextOut 140 200 V1"));
}

TEST(PolarDiagram, DetachedShockArcsAndStraightParts) {
    const Drawn d = Draw(30, 680);
    EXPECT_EQ(d.Count("MoveTo 179 220"), 2u);
    for (const char* point : {"179 218", "179 216", "180 214", "181 212", "182 210", "183 208"})
        EXPECT_TRUE(d.Has(std::string("LineTo ") + point + " 0000FF 3 solid")) << point;
    for (const char* point : {"179 222", "183 232"})
        EXPECT_TRUE(d.Has(std::string("LineTo ") + point + " 0000FF 3 solid")) << point;
    EXPECT_TRUE(d.Has("LineTo 600 -415 0000FF 3 solid"));
    EXPECT_TRUE(d.Has("LineTo 600 855 0000FF 3 solid"));
    // The upper branch comes first.
    EXPECT_LT(d.IndexOf("LineTo 600 -415 0000FF 3 solid"), d.IndexOf("LineTo 600 855 0000FF 3 solid"));
    EXPECT_EQ(d.Count("TextOut"), 7u); // the chi label, O, Vy, Vx, B, A and V1 only
    EXPECT_EQ(d.Count("SetPixel"), 0u);
    EXPECT_FALSE(d.Has("TextOut 423 119 C"));
}

TEST(PolarDiagram, ZeroAndOneDegreeWedges) {
    const Drawn flat = Draw(0, 680);
    EXPECT_EQ(flat.Count("LineTo 530 340"), 0u);
    EXPECT_EQ(flat.Count("SetPixel"), 0u);
    for (const auto& op : flat.ops) {
        EXPECT_EQ(op.find("FF0000"), std::string::npos) << op; // nothing blue
        EXPECT_EQ(op.find("0000FF"), std::string::npos) << op; // nothing red
    }
    EXPECT_TRUE(flat.Has("TextOut 540 230 B"));
    EXPECT_GT(flat.Count("LineTo"), 900u); // both branches of the polar

    const Drawn thin = Draw(1, 680);
    EXPECT_EQ(thin.Strokes(-1), 14u);
    EXPECT_EQ(thin.Strokes(+1), 14u);
    EXPECT_EQ(thin.Count("MoveTo 390 "), 0u); // nothing before i = 200
}

TEST(PolarDiagram, PixelsOfTheStartUpPicture) {
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    Draw(20, 680, 340, 1.4, &picture);
    EXPECT_EQ(picture.Pixel(423, 301), clRed);
    EXPECT_EQ(picture.Pixel(100, 220), clBlack);  // the free-stream arrow over the axis
    EXPECT_EQ(picture.Pixel(200, 400), clBlack);  // the Vy axis
    EXPECT_EQ(picture.Pixel(5, 5), clWhite);
    // Drawing again over an old picture gives exactly the same pixels.
    RasterCanvas again(PolarDiagram::kWidth, PolarDiagram::kHeight);
    Draw(30, 680, 340, 1.4, &again);
    Draw(20, 680, 340, 1.4, &again);
    EXPECT_TRUE(std::equal(picture.Bits(), picture.Bits() + 609 * 449, again.Bits()));
}

TEST(PolarDiagram, AFaultLeavesWhatWasDrawnBeforeIt) {
    // gamma below 1 faults at chi max: the diagram up to the letters and the arrow stays.
    const Drawn d = Draw(20, 680, 340, 0.9);
    EXPECT_EQ(d.error, "Invalid floating point operation");
    ASSERT_FALSE(d.ops.empty());
    EXPECT_EQ(d.ops.back(), "TextOut 140 200 V1");
    // A zero velocity faults right after the axes.
    const Drawn stopped = Draw(20, 0, -15, 1.4);
    EXPECT_EQ(stopped.error, "Floating point division by zero");
    EXPECT_EQ(stopped.ops.size(), 11u);
    EXPECT_EQ(stopped.ops.back(), "LineTo 200 10 000000 1 solid");
}

TEST(PolarDiagram, FastAndLiteralApplyDrawTheSamePixels) {
    const struct { double c1, gamma; int v1, chi; } cases[] = {
        {340, 1.4, 680, 20},     {340, 1.4, 1000000, 20}, {340, 1.4, 1000000, 45}, {340, 1.4, 1000000, 90},
        {340, 1.4, 250000, 44},  {300, 1.3, 77777, 38},   {500, 1.67, 3001, 12},   {340, 1.4, 1000000, 0},
        {340, 1.4, 1000000, 180}, {50, 1.1, 400000, 5},   {1000, 2.0, 1015, 1},    {340, 1.4, 123456, 150},
        {-340, -0.5, 4000, 70},  {1e7, 1.4, 365, 20},     {2000, 1.4, 1500, 20},   {15, 1.4, 600000, 3},
    };
    SetShortSweepSamples(0);
    for (const auto& c : cases) {
        RasterCanvas fastPicture(PolarDiagram::kWidth, PolarDiagram::kHeight);
        RasterCanvas literalPicture(PolarDiagram::kWidth, PolarDiagram::kHeight);
        FlowState fastState, literalState;
        fastState.SoundSpeed = literalState.SoundSpeed = c.c1;
        fastState.Gamma = literalState.Gamma = c.gamma;
        PolarDiagram fast(fastPicture, fastState), literal(literalPicture, literalState);
        std::string fastError, literalError;
        try {
            Apply(fastState, {c.chi, c.v1, '.'}, fast);
        } catch (const FloatError& e) {
            fastError = e.what();
        }
        try {
            ApplyLiteral(literalState, {c.chi, c.v1, '.'}, literal);
        } catch (const FloatError& e) {
            literalError = e.what();
        }
        EXPECT_EQ(fastError, literalError);
        EXPECT_TRUE(std::equal(fastPicture.Bits(), fastPicture.Bits() + 609 * 449, literalPicture.Bits()))
            << "V1 " << c.v1 << " chi " << c.chi;
    }
    SetShortSweepSamples(2048);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The scene of the flight window: mouse line, wedge with its marks, streamlines and the attached
// or detached shock, drawn in the stated order with hidden elements drawn in white.
#include <gtest/gtest.h>

#include <algorithm>

#include "FlightFlows.h"
#include "FlightModel.h"
#include "Numbers.h"
#include "RasterCanvas.h"
#include "RecordingCanvas.h"

namespace zk {
namespace {

using test::AttachedFlow;
using test::CanvasOp;
using test::DetachedFlow;
using test::RecordingCanvas;

FlightModel SceneFor(const FlowState& flow) {
    FlightModel model;
    model.TakeSnapshot(flow);
    return model;
}

bool HasLineTo(const RecordingCanvas& canvas, int x, int y, TColor color) {
    for (const CanvasOp& op : canvas.OfKind(CanvasOp::LineTo))
        if (op.X2 == x && op.Y2 == y && op.Pen.Color == color)
            return true;
    return false;
}

std::vector<std::string> Texts(const RecordingCanvas& canvas) {
    std::vector<std::string> texts;
    for (const CanvasOp& op : canvas.OfKind(CanvasOp::TextOut))
        texts.push_back(op.Text);
    return texts;
}

// Index of the first line drawn in the colour, or -1.
int FirstLineIn(const RecordingCanvas& canvas, TColor color, int from = 0) {
    for (int k = from; k < static_cast<int>(canvas.Ops.size()); ++k)
        if (canvas.Ops[k].Kind == CanvasOp::LineTo && canvas.Ops[k].Pen.Color == color)
            return k;
    return -1;
}

TEST(FlightScene, AttachedSceneInOrderWithItsMarks) {
    // chi = 20 degrees, phi = 0.92027 rad (52.73 degrees); expected pixels from
    // tan 20 deg * 400 = 145.59, tan phi * 400 = 525.60, and the text corners at 2/3 of each angle.
    FlightModel model = SceneFor(AttachedFlow());
    SceneControls controls{true, true, true};
    RecordingCanvas canvas;
    model.SceneTick(canvas, controls);

    // Wedge: axis, lower and upper surface with the 3-pixel pen, arc of radius 200 with the 2-pixel pen.
    EXPECT_TRUE(HasLineTo(canvas, 600, 250, clBlack));
    EXPECT_TRUE(HasLineTo(canvas, 600, 396, clBlack));
    EXPECT_TRUE(HasLineTo(canvas, 600, 104, clBlack));
    // Shock, two pixels before the tip to column 600 and back.
    EXPECT_TRUE(HasLineTo(canvas, 600, -276, clRed));
    EXPECT_TRUE(HasLineTo(canvas, 600, 776, clRed));
    EXPECT_TRUE(HasLineTo(canvas, 198, 250, clRed));
    // Streamlines: the top one meets the shock at column 329, the ones next to the axis at 208.
    EXPECT_TRUE(HasLineTo(canvas, 329, 80, clBlue));
    EXPECT_TRUE(HasLineTo(canvas, 600, -18, clBlue));
    EXPECT_TRUE(HasLineTo(canvas, 208, 240, clBlue));
    EXPECT_TRUE(HasLineTo(canvas, 208, 260, clBlue));
    EXPECT_TRUE(HasLineTo(canvas, 600, 403, clBlue));

    const auto texts = canvas.OfKind(CanvasOp::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "20 град");
    EXPECT_EQ(texts[0].X1, 405);
    EXPECT_EQ(texts[0].Y1, 194);
    EXPECT_EQ(texts[1].Text, "fi= 53 град");
    EXPECT_EQ(texts[1].X1, 455);
    EXPECT_EQ(texts[1].Y1, 77);

    // Mouse line first (dotted), then wedge, streamlines, shock; the pen ends solid.
    ASSERT_GE(canvas.Ops.size(), 2u);
    EXPECT_EQ(canvas.OfKind(CanvasOp::LineTo).front().Pen.Style, TPenStyle::psDot);
    const int wedge = FirstLineIn(canvas, clBlack);
    const int streamlines = FirstLineIn(canvas, clBlue);
    const int shock = FirstLineIn(canvas, clRed);
    EXPECT_LT(wedge, streamlines);
    EXPECT_LT(streamlines, shock);
    EXPECT_EQ(canvas.Pen().Style, TPenStyle::psSolid);
    EXPECT_TRUE(controls.StreamlinesEnabled);
}

TEST(FlightScene, HatchingStartsWhereTheWedgeIsWideEnough) {
    // chi = 20 degrees: i0 = Round(400 / 21) = 19, so the strokes stand at i = 20, 30, ..., 400.
    FlightModel model = SceneFor(AttachedFlow());
    SceneControls controls;
    RecordingCanvas canvas;
    model.SceneTick(canvas, controls);
    std::vector<CanvasOp> strokes;
    for (const CanvasOp& op : canvas.OfKind(CanvasOp::LineTo))
        if (op.X2 == op.X1 + 4 && std::abs(op.Y2 - op.Y1) == 8)
            strokes.push_back(op);
    ASSERT_EQ(strokes.size(), 2u * 39);
    // Lower surface at i = 20: tan 20 deg * 20 + 250 = 257.28; the stroke points up into the wedge.
    EXPECT_EQ(strokes[0].X1, 220);
    EXPECT_EQ(strokes[0].Y1, 257);
    EXPECT_EQ(strokes[0].Y2, 249);
    EXPECT_EQ(strokes[1].Y1, 243);
    EXPECT_EQ(strokes[1].Y2, 251);
    EXPECT_EQ(strokes.back().X1, 600);
    for (const CanvasOp& op : strokes)
        EXPECT_EQ(op.Pen.Width, 2);

    // A one-degree wedge begins at i0 = 200.
    FlowState thin = AttachedFlow();
    thin.WedgeAngle = static_cast<double>(Pi / 180);
    FlightModel thinModel = SceneFor(thin);
    RecordingCanvas thinCanvas;
    thinModel.SceneTick(thinCanvas, controls);
    int first = 1000;
    for (const CanvasOp& op : thinCanvas.OfKind(CanvasOp::LineTo))
        if (op.X2 == op.X1 + 4 && std::abs(op.Y2 - op.Y1) == 8)
            first = std::min(first, op.X1);
    EXPECT_EQ(first, 400);
}

TEST(FlightScene, UncheckedElementsAreDrawnInWhite) {
    FlightModel model = SceneFor(AttachedFlow());
    SceneControls controls; // both boxes unchecked, as at the first opening
    RecordingCanvas canvas;
    model.SceneTick(canvas, controls);
    EXPECT_EQ(FirstLineIn(canvas, clRed), -1);
    EXPECT_EQ(FirstLineIn(canvas, clBlue), -1);
    EXPECT_TRUE(HasLineTo(canvas, 600, -276, clWhite)) << "the shock wipes out its own image";
    EXPECT_TRUE(HasLineTo(canvas, 329, 80, clWhite)) << "so do the streamlines";
    EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"20 град", "fi= 53 град"})) << "texts stay";
}

TEST(FlightScene, CheckBoxesActAtTheNextTickOnTheSurface) {
    FlightModel model = SceneFor(AttachedFlow());
    RasterCanvas canvas(591, 498);
    SceneControls controls{true, true, true};
    model.SceneTick(canvas, controls);
    // The upper shock line crosses column 300 near row 116; streamline 80 runs along row 80.
    const auto redNear = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            if (canvas.Pixel(x, y + dy) == clRed)
                return true;
        return false;
    };
    EXPECT_TRUE(redNear(300, 116));
    EXPECT_EQ(canvas.Pixel(50, 80), clBlue);

    controls.ShockChecked = false;
    controls.StreamlinesChecked = false;
    model.SceneTick(canvas, controls);
    EXPECT_FALSE(redNear(300, 116));
    EXPECT_EQ(canvas.Pixel(50, 80), clWhite);
    // The shock-angle text is black on its white box whether or not the shock is shown.
    bool textInk = false;
    for (int y = 77; y < 77 + canvas.TextHeight(); ++y)
        for (int x = 455; x < 455 + canvas.TextWidth("fi= 53 град"); ++x)
            textInk = textInk || canvas.Pixel(x, y) == clBlack;
    EXPECT_TRUE(textInk);
}

TEST(FlightScene, MouseLineFollowsTheAngleAndIsWipedOutsideTheField) {
    FlightModel model = SceneFor(AttachedFlow());
    SceneControls controls;
    model.MouseAngle = static_cast<double>(Pi / 4);
    model.MouseInField = true;
    RecordingCanvas first;
    model.SceneTick(first, controls);
    // Wipe at the previous angle (0, along the axis), then the grey line through 45 degrees.
    const auto lines = first.OfKind(CanvasOp::LineTo);
    EXPECT_EQ(lines[0].X2, 600);
    EXPECT_EQ(lines[0].Y2, 250);
    EXPECT_EQ(lines[0].Pen.Color, clWhite);
    EXPECT_TRUE(HasLineTo(first, 600, -150, FlightModel::kMouseLineColor));
    EXPECT_TRUE(HasLineTo(first, 271, 179, FlightModel::kMouseLineColor))
        << "arc of radius 100 ends at 45 degrees";
    EXPECT_EQ(model.PrevMouseAngle, model.MouseAngle);

    model.MouseInField = false;
    RecordingCanvas second;
    model.SceneTick(second, controls);
    EXPECT_TRUE(HasLineTo(second, 600, -150, clWhite));
    EXPECT_FALSE(HasLineTo(second, 600, -150, FlightModel::kMouseLineColor));
    for (const CanvasOp& op : second.OfKind(CanvasOp::LineTo))
        EXPECT_NE(op.Pen.Color, FlightModel::kMouseLineColor);
}

TEST(FlightScene, DetachedSceneDrawsTheArcAndTakesAwayTheStreamlines) {
    FlightModel model = SceneFor(DetachedFlow());
    SceneControls controls{true, true, true};
    RecordingCanvas canvas;
    model.SceneTick(canvas, controls);
    EXPECT_FALSE(controls.StreamlinesChecked);
    EXPECT_FALSE(controls.StreamlinesEnabled);
    EXPECT_NE(FirstLineIn(canvas, clBlue), -1) << "drawn once in blue in the tick that unchecks them";

    // Upper branch: from (179, 250) six chords up to t = 0.6, ending within a pixel of the arc
    // end (183, 238), then the straight shock to column 600.
    const auto& ops = canvas.Ops;
    const auto start = std::find_if(ops.begin(), ops.end(), [](const CanvasOp& op) {
        return op.Kind == CanvasOp::MoveTo && op.X1 == 179 && op.Y1 == 250;
    });
    ASSERT_NE(start, ops.end());
    const std::vector<CanvasOp> branch(start + 1, start + 8);
    for (const CanvasOp& op : branch) {
        EXPECT_EQ(op.Kind, CanvasOp::LineTo);
        EXPECT_EQ(op.Pen.Color, clRed);
        EXPECT_EQ(op.Pen.Width, 2);
    }
    EXPECT_EQ(branch[0].X2, 179);
    EXPECT_EQ(branch[0].Y2, 248);
    EXPECT_EQ(branch[5].X2, 183);
    EXPECT_EQ(branch[5].Y2, 238);
    EXPECT_EQ(branch[6].X2, 600);
    EXPECT_EQ(branch[6].Y2, -385);
    EXPECT_TRUE(HasLineTo(canvas, 183, 262, clRed)) << "the lower branch mirrors the upper";
    EXPECT_TRUE(HasLineTo(canvas, 600, 885, clRed));
    EXPECT_EQ(Texts(canvas), std::vector<std::string>{"30 град"}) << "no shock-angle text";

    // The next tick draws them in white; an attached scene enables the box but leaves it unchecked.
    RecordingCanvas next;
    model.SceneTick(next, controls);
    EXPECT_EQ(FirstLineIn(next, clBlue), -1);
    model.TakeSnapshot(AttachedFlow());
    model.SceneTick(next, controls);
    EXPECT_TRUE(controls.StreamlinesEnabled);
    EXPECT_FALSE(controls.StreamlinesChecked);
}

TEST(FlightScene, SteepDetachedShockIsASingleChord) {
    // Above pi/2 - 0.1 the first step already ends the arc.
    FlowState flow = DetachedFlow();
    flow.ShockAngle = 1.5;
    FlightModel model = SceneFor(flow);
    SceneControls controls{true, false, false};
    RecordingCanvas canvas;
    model.SceneTick(canvas, controls);
    const auto& ops = canvas.Ops;
    const auto start = std::find_if(ops.begin(), ops.end(), [](const CanvasOp& op) {
        return op.Kind == CanvasOp::MoveTo && op.X1 == 179 && op.Y1 == 250;
    });
    ASSERT_NE(start, ops.end());
    ASSERT_EQ((start + 1)->Kind, CanvasOp::LineTo);
    EXPECT_EQ((start + 2)->Kind, CanvasOp::LineTo);
    EXPECT_EQ((start + 2)->X2, 600) << "one chord, then the straight part";
    EXPECT_EQ(model.ArcParam, static_cast<double>(OneTenth));
}

TEST(FlightScene, ZeroWedgeSkipsTheWedgeAndItsMarks) {
    FlowState flow = AttachedFlow();
    flow.WedgeAngle = 0;
    FlightModel model = SceneFor(flow);
    SceneControls controls;
    RecordingCanvas canvas;
    model.SceneTick(canvas, controls);
    EXPECT_EQ(FirstLineIn(canvas, clBlack), -1);
    EXPECT_EQ(Texts(canvas), std::vector<std::string>{"fi= 53 град"});
}

TEST(FlightScene, NoShockSolutionDrawsNoStreamlinesAndNoShock) {
    // A flow state without a shock angle: nothing to turn the streamlines at, no division by
    // tan 0, and the axis is not painted over by a shock lying on it.
    FlowState flow = AttachedFlow();
    flow.ShockAngle = 0;
    FlightModel model = SceneFor(flow);
    SceneControls controls{true, true, true};
    RasterCanvas surface(591, 498);
    EXPECT_NO_THROW(model.SceneTick(surface, controls));
    EXPECT_EQ(surface.Pixel(400, 250), clBlack) << "the axis stays";
    RecordingCanvas canvas;
    model.SceneTick(canvas, controls);
    EXPECT_EQ(FirstLineIn(canvas, clBlue), -1);
    EXPECT_EQ(FirstLineIn(canvas, clRed), -1);
    EXPECT_EQ(Texts(canvas), std::vector<std::string>{"20 град"});
    EXPECT_TRUE(controls.StreamlinesEnabled);
}

TEST(FlightScene, RightAngleWedgeStandsAcrossTheFlow) {
    // A 90-degree wedge: sin/cos is about 1.6e16, far beyond the 32-bit pixel range.  Its
    // surfaces must still run straight down and up from the tip, not wrap around.
    FlowState flow = DetachedFlow();
    flow.WedgeAngle = static_cast<double>(90 * Pi / 180);
    FlightModel model = SceneFor(flow);
    SceneControls controls;
    RecordingCanvas canvas;
    EXPECT_NO_THROW(model.SceneTick(canvas, controls));
    const auto lines = canvas.OfKind(CanvasOp::LineTo);
    const auto lower = std::find_if(lines.begin(), lines.end(), [](const CanvasOp& op) {
        return op.X1 == 200 && op.Y1 == 250 && op.X2 == 600 && op.Pen.Width == 3;
    });
    ASSERT_NE(lower, lines.end());
    EXPECT_GT(lower->Y2, 100000000);
    EXPECT_LT((lower + 1)->Y2, -100000000);
    RasterCanvas surface(591, 498);
    model.SceneTick(surface, controls);
    EXPECT_EQ(surface.Pixel(200, 400), clBlack);
    EXPECT_EQ(surface.Pixel(200, 100), clBlack);
}

} // namespace
} // namespace zk

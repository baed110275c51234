// SPDX-License-Identifier: GPL-3.0-or-later
// The recording canvas: what it passes on, and that a replay draws the same pixels from the same
// starting pen, all of it or only its first operations.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "CanvasOpsLog.h"
#include "CanvasRecording.h"
#include "RasterCanvas.h"

using namespace zk;

namespace {

std::vector<std::uint32_t> Bits(const RasterCanvas& canvas) {
    return {canvas.Bits(), canvas.Bits() + canvas.Width() * canvas.Height()};
}

// One of every operation, and pen changes between them.
void DrawEverything(TCanvas& canvas) {
    canvas.FloodFill(5, 5, clMedGray, TFillStyle::fsBorder);
    canvas.LineTo(40, 30); // from the pen position the canvas had before
    canvas.SetPenColor(clRed);
    canvas.SetPenWidth(3);
    canvas.MoveTo(10, 50);
    canvas.LineTo(90, 60);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(TPenStyle::psDash);
    canvas.LineTo(20, 90);
    canvas.SetPenStyle(TPenStyle::psSolid);
    canvas.Ellipse(50, 10, 80, 40);
    canvas.TextOut(12, 70, "52 град");
    canvas.SetPixel(95, 95, clBlue);
    canvas.FloodFill(65, 25, clRed, TFillStyle::fsBorder);
    canvas.Refresh();
    canvas.LineTo(0, 0);
}

} // namespace

TEST(CanvasRecording, PassesEveryOperationOnUnchanged) {
    RasterCanvas direct(100, 100), recorded(100, 100);
    direct.SetPenColor(clGreen);
    direct.MoveTo(3, 4);
    recorded.SetPenColor(clGreen);
    recorded.MoveTo(3, 4);
    CanvasRecording recording;
    DrawEverything(direct);
    DrawEverything(recording.Restart(recorded));
    EXPECT_EQ(Bits(recorded), Bits(direct));
    EXPECT_EQ(recording.Pen().Color, recorded.Pen().Color);
    EXPECT_EQ(recording.PenPos(), recorded.PenPos());
    EXPECT_EQ(recording.Size(), 16u);
}

TEST(CanvasRecording, ReplayStartsFromTheRecordedPenAndGivesTheSamePixels) {
    RasterCanvas original(100, 100);
    // A pen left over from earlier drawing: green and 2 wide, standing at (3, 4).
    original.SetPenColor(clGreen);
    original.SetPenWidth(2);
    original.MoveTo(3, 4);
    CanvasRecording recording;
    DrawEverything(recording.Restart(original));

    RasterCanvas fresh(100, 100);
    recording.Replay(fresh, recording.Size());
    EXPECT_EQ(Bits(fresh), Bits(original));
    EXPECT_EQ(fresh.Pen().Color, original.Pen().Color);
    EXPECT_EQ(fresh.PenPos(), original.PenPos());

    // More than was recorded replays it all.
    RasterCanvas again(100, 100);
    recording.Replay(again, recording.Size() + 100);
    EXPECT_EQ(Bits(again), Bits(original));
}

TEST(CanvasRecording, PartialReplayDrawsOnlyTheFirstOperations) {
    RasterCanvas original(100, 100);
    CanvasRecording recording;
    TCanvas& canvas = recording.Restart(original);
    canvas.MoveTo(10, 10);
    canvas.LineTo(90, 10);
    const std::size_t afterFirstLine = recording.Size();
    canvas.SetPenColor(clRed);
    canvas.MoveTo(10, 80);
    canvas.LineTo(90, 80);

    RasterCanvas part(100, 100);
    recording.Replay(part, afterFirstLine);
    EXPECT_EQ(part.Pixel(50, 10), clBlack);
    EXPECT_EQ(part.Pixel(50, 80), clWhite);

    RasterCanvas nothing(100, 100);
    recording.Replay(nothing, 0);
    EXPECT_EQ(Bits(nothing), Bits(RasterCanvas(100, 100)));
}

TEST(CanvasRecording, RestartForgetsTheEarlierRun) {
    RasterCanvas first(50, 50), second(50, 50);
    CanvasRecording recording;
    recording.Restart(first).TextOut(1, 1, "A");
    recording.Restart(second).SetPixel(7, 7, clRed);
    EXPECT_EQ(recording.Size(), 1u);
    RasterCanvas fresh(50, 50);
    recording.Replay(fresh, recording.Size());
    EXPECT_EQ(Bits(fresh), Bits(second));
    EXPECT_EQ(first.Pixel(7, 7), clWhite) << "the second run draws onto the second canvas only";
}

TEST(CanvasRecording, ReplayedOperationsMatchTheLog) {
    // Replayed through the operations log, the recording gives the lines the run itself gave.
    RasterCanvas a(100, 100), b(100, 100);
    std::ostringstream originalLog, replayLog;
    CanvasOpsLog logA(a, originalLog);
    CanvasRecording recording;
    DrawEverything(recording.Restart(logA));
    CanvasOpsLog logB(b, replayLog);
    recording.Replay(logB, recording.Size());
    // The replay begins by giving the pen its starting state: a move to the starting position.
    EXPECT_EQ(replayLog.str(), "MoveTo 0 0\n" + originalLog.str());
}

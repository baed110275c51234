// SPDX-License-Identifier: GPL-3.0-or-later
// Diagram coordinates at the ends of the 32-bit range.  A rounded coordinate keeps its low 32 bits
// as the canvas takes it, and an offset added to it wraps the same way instead of overflowing, so
// a case far off the picture draws deterministically (and the sanitizer build sees no overflow).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "CanvasOpsLog.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"

using namespace zk;

namespace {

constexpr std::int32_t kTwoTo31Below220 = -2147483428; // 220 - 2^31, also 220 + 2^31 kept to 32 bits

// The diagram over a canvas that logs every operation, for a flow state set by hand.
class FarDiagram : public ::testing::Test {
protected:
    FarDiagram()
        : picture_(PolarDiagram::kWidth, PolarDiagram::kHeight), log_(picture_, text_),
          diagram_(log_, state_) {
        state_.V1 = 680;
        state_.ScaleX = 1;
        state_.ScaleY = 1;
    }

    std::vector<std::string> Ops() const {
        std::vector<std::string> ops;
        std::istringstream lines(text_.str());
        for (std::string line; std::getline(lines, line);)
            ops.push_back(line);
        return ops;
    }
    std::string LastOp() const {
        const auto ops = Ops();
        return ops.empty() ? std::string() : ops.back();
    }

    FlowState state_;
    RasterCanvas picture_;
    std::ostringstream text_;
    CanvasOpsLog log_;
    PolarDiagram diagram_;
};

TEST_F(FarDiagram, PolarSampleTwoToThe31PixelsFromTheAxisWraps) {
    // 2^31 pixels rounds to a 32-bit value of -2^31; the upper branch (s = -1) negates it.
    diagram_.PolarPassBegin(-1, 0);
    diagram_.PolarSample(-1, 10, 2147483648.0L);
    EXPECT_EQ(LastOp(), "LineTo 210 " + std::to_string(kTwoTo31Below220) + " 008000 1 solid");
    diagram_.PolarSample(+1, 20, 2147483648.0L);
    EXPECT_EQ(LastOp(), "LineTo 220 " + std::to_string(kTwoTo31Below220) + " 008000 1 solid");
}

TEST_F(FarDiagram, ConstructionLineToAFarInterceptWraps) {
    diagram_.ConstructionLine(-2147483648.0L);
    EXPECT_EQ(LastOp(), "LineTo 200 " + std::to_string(kTwoTo31Below220) + " 000000 1 solid");
}

TEST_F(FarDiagram, MarkerOfCBeyondTheBottomOfTheRangeWraps) {
    state_.WedgeAngle = 0.78539816339744828; // 45 degrees: tan is 1 within 1e-16
    state_.ScaleY = 2147483500;              // pixels per m/s: C's row is 2^31 - 148 + 220
    state_.PointCx = 1;
    diagram_.MarkC();
    EXPECT_EQ(LastOp(), "SetPixel 201 -2147483576 0000FF");
}

TEST_F(FarDiagram, LetterCAboveTheTopOfTheRangeWraps) {
    state_.WedgeAngle = -0.78539816339744828; // tan is -1 within 1e-16
    state_.ScaleY = 2147483648.0;             // the letter's offset rounds to -2^31
    state_.PointCx = 1;
    state_.ShockAngle = 0.5;
    diagram_.ShockConstruction(1);
    const auto ops = Ops();
    const std::string letter = "TextOut 201 -2147483448 C"; // 200 + 2^31 kept to 32 bits
    EXPECT_NE(std::find(ops.begin(), ops.end(), letter), ops.end()) << text_.str();
}

TEST_F(FarDiagram, DetachedShockEndingFarBelowWraps) {
    state_.ShockAngle = 0; // the straight parts are level with the arc's end
    state_.DetachedRadius = 0;
    state_.DetachedEndX = 0;
    state_.DetachedEndY = INT32_MIN;
    diagram_.ShockPen();
    diagram_.DetachedShock();
    std::vector<std::string> ends;
    for (const auto& op : Ops())
        if (op.rfind("LineTo 600 ", 0) == 0)
            ends.push_back(op);
    // Upper branch 220 + 2^31, lower branch 220 - 2^31: both the same 32-bit coordinate.
    const std::string end = "LineTo 600 " + std::to_string(kTwoTo31Below220) + " 0000FF 3 solid";
    EXPECT_EQ(ends, (std::vector<std::string>{end, end}));
}

TEST_F(FarDiagram, HatchingStrokeFromTheBottomOfTheRangeWraps) {
    // A wedge a hair short of -90 degrees: the hatching row at x = 50 rounds to exactly -2^31, and
    // the stroke's other end 8 pixels on wraps to the top of the range.
    state_.WedgeAngle = -1.5707963035118346;
    state_.ScaleY = 330.0 / 680;
    state_.ScaleX = 330.0 / 680;
    diagram_.Wedge();
    const auto ops = Ops();
    const auto move = std::find(ops.begin(), ops.end(), "MoveTo 250 -2147483648");
    ASSERT_NE(move, ops.end()) << "the premise: a stroke starts at the bottom of the 32-bit range";
    ASSERT_NE(move + 1, ops.end());
    EXPECT_EQ(*(move + 1), "LineTo 254 2147483640 FF0000 2 solid");
}

} // namespace

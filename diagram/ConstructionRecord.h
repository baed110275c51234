// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of Apply kept step by step: every drawing operation it made on the diagram's picture,
// with a mark after each step of the construction, and what a student needs to read each step
// (point A, the line through B and C, the reduced wedge of a detached shock, the result labels,
// the flow state the run left).  Any step's picture can be drawn again onto a fresh canvas, the
// same operations as the run made, up to that step.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ApplyListener.h"
#include "CanvasRecording.h"
#include "FlowState.h"
#include "Numbers.h"

namespace zk {

// The steps of the construction in the order Apply draws them.  Those marked "caption" draw
// nothing themselves: their picture is that of the step before.
enum class ConstructionStep {
    Axes,                // the Vx and Vy axes
    PointA,              // caption: where the polar leaves the Vx axis, the normal shock
    LowerBranch,         // the lower branch of the polar, A to a little beyond B
    UpperBranch,         // the upper branch
    Wedge,               // the wedge rays at +-chi, their hatching, the arc of chi
    PointC,              // the red pixel at C's abscissa
    LineBC,              // the line from B through C to the Vy axis
    ShockLines,          // the shock lines at +-phi
    FootD,               // the letters D and C
    ShockArc,            // the arc of phi and its value
    Letters,             // the letters O, A, B, Vx, Vy and the V1 arrow
    Results,             // caption: the result labels with their formulas
    ReducedWedge,        // caption: the wedge turned back until the polar is cut
    DetachedUpperArc,    // the upper arc of the detached shock
    DetachedUpperLine,   // its straight continuation
    DetachedLowerBranch, // the lower half, the mirror image
    NoShock,             // caption: not even a wedge turned back to 0 cuts the polar
    Interrupted,         // caption: a fault ended the run here; everything drawn before it
};

class ConstructionRecord {
  public:
    struct Mark {
        ConstructionStep Step;
        std::size_t Ops; // operations drawn up to the end of this step
    };

    // Starts a new run drawing onto picture; returns the canvas to draw through.
    TCanvas& Begin(TCanvas& picture);
    // The step just finished.
    void MarkStep(ConstructionStep step);
    // The run reached its end (the repaint).
    void Complete() { completed_ = true; }
    // The run is over, completed or ended by a fault; state is the flow state it left.
    void End(const FlowState& state);

    void SetPointA(std::int32_t pointAx) { pointAx_ = pointAx; }
    void SetIntercept(Extended bcInterceptY) { bcInterceptY_ = bcInterceptY; }
    void SetReducedWedge(Extended u, Extended shockAngleAtU) {
        reducedWedge_ = u;
        shockAngleAtReducedWedge_ = shockAngleAtU;
    }
    void SetCaption(ResultItem item, const std::string& text) { captions_[Index(item)] = text; }
    void SetVisible(ResultItem item, bool visible) { visible_[Index(item)] = visible; }

    const std::vector<Mark>& Steps() const { return steps_; }
    // Draws the picture of step `index` (a valid index into Steps()) onto target as the run drew
    // it; target should be a fresh white canvas of the picture's size.
    void DrawStep(std::size_t index, TCanvas& target) const;

    bool Completed() const { return completed_; }
    const FlowState& State() const { return state_; }
    std::optional<std::int32_t> PointAx() const { return pointAx_; }
    std::optional<Extended> BcInterceptY() const { return bcInterceptY_; }
    std::optional<Extended> ReducedWedgeAngle() const { return reducedWedge_; } // radians
    std::optional<Extended> ShockAngleAtReducedWedge() const { return shockAngleAtReducedWedge_; }
    // The caption Apply gave a label in this run, if it got to it.
    std::optional<std::string> Caption(ResultItem item) const { return captions_[Index(item)]; }
    // Whether Apply showed (true) or hid (false) the item in this run; empty if it did neither.
    std::optional<bool> Visible(ResultItem item) const { return visible_[Index(item)]; }

  private:
    static constexpr std::size_t kItems = static_cast<std::size_t>(ResultItem::Image5) + 1;
    static std::size_t Index(ResultItem item) { return static_cast<std::size_t>(item); }

    CanvasRecording recording_;
    std::vector<Mark> steps_;
    bool completed_ = false;
    FlowState state_;
    std::optional<std::int32_t> pointAx_;
    std::optional<Extended> bcInterceptY_, reducedWedge_, shockAngleAtReducedWedge_;
    std::array<std::optional<std::string>, kItems> captions_;
    std::array<std::optional<bool>, kItems> visible_;
};

} // namespace zk

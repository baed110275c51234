// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the step-by-step view shows of one step of a recorded construction: the step's picture,
// with what the step adds marked on it for a student — a pale highlight behind every pixel the
// step changed, and a small ring with the point's letter round each point the step is about (A,
// B, C, D, O).  The marks are the view's own: the recorded drawing underneath is the run's, and
// the last step is shown unmarked, the finished diagram exactly as the main window holds it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ConstructionRecord.h"
#include "RasterCanvas.h"

namespace zk {

// The colours of the marks, used nowhere in the diagram itself.
inline constexpr TColor kStepHighlight = 0x96F0FF; // pale yellow, behind the step's new pixels
inline constexpr TColor kStepRing = 0x0080FF;      // orange, the rings and their letters

// A point a step is about, in pixels of the picture, and the letter the view writes beside it
// (none where the step writes the point's letter itself).
struct StepPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::string Letter;
    friend bool operator==(const StepPoint&, const StepPoint&) = default;
};

// The points step `index` of record is about; those off the picture are left out.
std::vector<StepPoint> StepPoints(const ConstructionRecord& record, std::size_t index);

// Whether step `index` changes any pixel of the picture of the step before it (of a white
// picture for the first step).
bool StepChangesPicture(const ConstructionRecord& record, std::size_t index);

// Draws what the view shows of step `index` onto target, a fresh white canvas of the picture's
// size at device scale 1: the recorded picture up to the step and, on every step but the last,
// the marks of what the step adds.
void DrawStepView(const ConstructionRecord& record, std::size_t index, RasterCanvas& target);

// The steps of the layer of extra constructions that follow the recorded ones when the layer is
// shown: one per piece of the layer, none for a run that a fault ended.
std::size_t ExtrasStepCount(const ConstructionRecord& record);

// Draws the view of the layer's step `part` (0 to ExtrasStepCount − 1) onto target, a fresh white
// canvas of the picture's size at device scale 1: the finished diagram with the layer up to that
// piece, the piece's new pixels highlighted on every step but the last.  The numbers of the
// picture are written with decimalSeparator.
void DrawExtrasStepView(const ConstructionRecord& record, std::size_t part, char decimalSeparator,
                        RasterCanvas& target);

} // namespace zk

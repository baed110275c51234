// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The diagram alone, without the window's labels: one run of Apply drawn again on a canvas of its
// own.  The picture of the main window is always the drawing of the last run that cleared it, so
// running that Apply again on a fresh canvas, from the flow state and pen it started with, gives
// the same picture, at whatever device scale the canvas has (the exported PNG, a printed page,
// a screen of another pixel ratio).
#include <optional>

#include "FlowState.h"
#include "PolarDiagram.h"
#include "Solver.h"
#include "TCanvas.h"

namespace zk {

// What a run of Apply starts from: the flow state as it found it, the two input fields and the
// pen the previous run left on the picture.
struct DiagramRun {
    FlowState State;
    ApplyInputs Inputs;
    TPen Pen;
};

class DiagramPicture : public PolarDiagram {
  public:
    DiagramPicture(TCanvas& canvas, const FlowState& state) : PolarDiagram(canvas, state) {}

    // Draws run again on canvas, a white 609 x 449 picture; the program's flow state is not
    // touched.  A run that a fault ended is drawn up to the fault, as the screen shows it.
    // Returns the flow state the run left when it ended without a fault.
    static std::optional<FlowState> Redraw(TCanvas& canvas, const DiagramRun& run);
};

} // namespace zk

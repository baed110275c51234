// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiagramPicture.h"

#include "Errors.h"

namespace zk {

std::optional<FlowState> DiagramPicture::Redraw(TCanvas& canvas, const DiagramRun& run) {
    FlowState state = run.State; // Apply writes the state it solves; this copy is its own
    canvas.SetPenColor(run.Pen.Color);
    canvas.SetPenWidth(run.Pen.Width);
    canvas.SetPenStyle(run.Pen.Style);
    DiagramPicture picture(canvas, state);
    try {
        Apply(state, run.Inputs, picture);
    } catch (const AppError&) {
        // The same fault ends the run at the same step: what was drawn before it is the picture.
        return std::nullopt;
    }
    return state;
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hodograph diagram of Apply drawn on a canvas: the axes, the two branches of the shock
// polar, the wedge rays with hatching, the shock construction or the detached shock, and the
// letters.  It draws each element at the step of Apply that reports it, so a run that faults
// part-way leaves exactly what was drawn before the fault.
#include "ApplyListener.h"
#include "FlowState.h"
#include "TCanvas.h"

namespace zk {

class PolarDiagram : public ApplyListener {
public:
    // Draws on canvas (the 609 x 449 picture) from the flow state Apply is writing.
    PolarDiagram(TCanvas& canvas, const FlowState& state);

    void ClearAndDrawAxes() override;
    void PolarPassBegin(int s, std::int32_t pointAx) override;
    void PolarSample(int s, std::int32_t i, Extended p) override;
    void PolarPassEnd(int s) override;
    void Wedge() override;
    void ShockPen() override;
    void MarkC() override;
    void ConstructionLine(Extended bcInterceptY) override;
    void ShockConstruction(Extended bcInterceptY) override;
    void FixedLabels(std::int32_t pointAx) override;
    void DetachedShock() override;

    static constexpr int kWidth = 609;  // pixels
    static constexpr int kHeight = 449; // pixels

protected:
    // The pieces of one step's drawing, reported as each is finished, for those who show the
    // construction piece by piece.
    enum class Part {
        ShockLines,        // the two shock lines at +-phi
        ShockLetters,      // the letters D and C
        DetachedUpperArc,  // the upper arc of the detached shock
        DetachedUpperLine, // its straight continuation
    };
    virtual void PartDrawn(Part /*part*/) {}

    TCanvas& canvas_;
    const FlowState& state_;
};

} // namespace zk

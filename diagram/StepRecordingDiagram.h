// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The polar diagram drawn as always, through a recording of every operation, with the steps of
// the construction marked in a ConstructionRecord as Apply reports them.  The picture it leaves
// is the one the plain diagram draws, operation for operation.
#include "ConstructionRecord.h"
#include "PolarDiagram.h"

namespace zk {

class StepRecordingDiagram : public PolarDiagram {
  public:
    // Starts a new run in record, drawing onto canvas from the flow state Apply is writing.
    StepRecordingDiagram(ConstructionRecord& record, TCanvas& canvas, const FlowState& state);
    // Ends the run in record, also when a fault ended Apply.
    ~StepRecordingDiagram() override;

    StepRecordingDiagram(const StepRecordingDiagram&) = delete;
    StepRecordingDiagram& operator=(const StepRecordingDiagram&) = delete;

    void SetCaption(ResultItem label, const std::string& text) override;
    void SetVisible(ResultItem item, bool visible) override;
    void ClearAndDrawAxes() override;
    void PolarPassBegin(int s, std::int32_t pointAx) override;
    void PolarPassEnd(int s) override;
    void Wedge() override;
    void MarkC() override;
    void ConstructionLine(Extended bcInterceptY) override;
    void ShockConstruction(Extended bcInterceptY) override;
    void FixedLabels(std::int32_t pointAx) override;
    void ReducedWedge(Extended u, Extended shockAngleAtU) override;
    void DetachedShock() override;
    void Repaint() override;

  protected:
    void PartDrawn(Part part) override;

  private:
    ConstructionRecord& record_;
};

} // namespace zk

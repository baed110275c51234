// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepRecordingDiagram.h"

namespace zk {

StepRecordingDiagram::StepRecordingDiagram(ConstructionRecord& record, TCanvas& canvas,
                                           const FlowState& state)
    : PolarDiagram(record.Begin(canvas), state), record_(record) {}

StepRecordingDiagram::~StepRecordingDiagram() {
    record_.End(state_);
}

void StepRecordingDiagram::SetCaption(ResultItem label, const std::string& text) {
    record_.SetCaption(label, text);
    // chi max is the last label the results fill.
    if (label == ResultItem::Label3)
        record_.MarkStep(ConstructionStep::Results);
}

void StepRecordingDiagram::SetVisible(ResultItem item, bool visible) {
    record_.SetVisible(item, visible);
}

void StepRecordingDiagram::ClearAndDrawAxes() {
    PolarDiagram::ClearAndDrawAxes();
    record_.MarkStep(ConstructionStep::Axes);
}

void StepRecordingDiagram::PolarPassBegin(int s, std::int32_t pointAx) {
    PolarDiagram::PolarPassBegin(s, pointAx);
    if (s > 0) {
        record_.SetPointA(pointAx);
        record_.MarkStep(ConstructionStep::PointA);
    }
}

void StepRecordingDiagram::PolarPassEnd(int s) {
    PolarDiagram::PolarPassEnd(s);
    record_.MarkStep(s > 0 ? ConstructionStep::LowerBranch : ConstructionStep::UpperBranch);
}

void StepRecordingDiagram::Wedge() {
    PolarDiagram::Wedge();
    record_.MarkStep(ConstructionStep::Wedge);
}

void StepRecordingDiagram::MarkC() {
    PolarDiagram::MarkC();
    record_.MarkStep(ConstructionStep::PointC);
}

void StepRecordingDiagram::ConstructionLine(Extended bcInterceptY) {
    PolarDiagram::ConstructionLine(bcInterceptY);
    record_.SetIntercept(bcInterceptY);
    record_.MarkStep(ConstructionStep::LineBC);
}

void StepRecordingDiagram::ShockConstruction(Extended bcInterceptY) {
    PolarDiagram::ShockConstruction(bcInterceptY);
    record_.MarkStep(ConstructionStep::ShockArc);
}

void StepRecordingDiagram::FixedLabels(std::int32_t pointAx) {
    PolarDiagram::FixedLabels(pointAx);
    record_.MarkStep(ConstructionStep::Letters);
}

void StepRecordingDiagram::ReducedWedge(Extended u, Extended shockAngleAtU) {
    record_.SetReducedWedge(u, shockAngleAtU);
    record_.MarkStep(ConstructionStep::ReducedWedge);
}

void StepRecordingDiagram::DetachedShock() {
    PolarDiagram::DetachedShock();
    record_.MarkStep(ConstructionStep::DetachedLowerBranch);
}

void StepRecordingDiagram::PartDrawn(Part part) {
    switch (part) {
    case Part::ShockLines:
        record_.MarkStep(ConstructionStep::ShockLines);
        break;
    case Part::ShockLetters:
        record_.MarkStep(ConstructionStep::FootD);
        break;
    case Part::DetachedUpperArc:
        record_.MarkStep(ConstructionStep::DetachedUpperArc);
        break;
    case Part::DetachedUpperLine:
        record_.MarkStep(ConstructionStep::DetachedUpperLine);
        break;
    }
}

void StepRecordingDiagram::Repaint() {
    // A positive wedge with no C even after the detached search: nothing more is drawn.
    if (state_.WedgeAngle > 0 && state_.PointCx == 0 && !state_.ShockDetached)
        record_.MarkStep(ConstructionStep::NoShock);
    record_.Complete();
}

} // namespace zk

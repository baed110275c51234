// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConstructionRecord.h"

namespace zk {

TCanvas& ConstructionRecord::Begin(TCanvas& picture) {
    steps_.clear();
    completed_ = false;
    pointAx_.reset();
    bcInterceptY_.reset();
    reducedWedge_.reset();
    shockAngleAtReducedWedge_.reset();
    captions_.fill(std::nullopt);
    visible_.fill(std::nullopt);
    return recording_.Restart(picture);
}

void ConstructionRecord::MarkStep(ConstructionStep step) {
    steps_.push_back(Mark{step, recording_.Size()});
}

void ConstructionRecord::End(const FlowState& state) {
    state_ = state;
    // What a fault left half drawn is shown as it stands on the picture.
    if (!completed_)
        MarkStep(ConstructionStep::Interrupted);
}

void ConstructionRecord::DrawStep(std::size_t index, TCanvas& target) const {
    if (index < steps_.size())
        recording_.Replay(target, steps_[index].Ops);
}

} // namespace zk

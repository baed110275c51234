// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Apply: the graphical construction of the attached oblique shock on the shock polar, and the
// detached-shock approximation when the polar is not cut by the wedge ray.
#include <cstdint>

#include "ApplyListener.h"
#include "FlowState.h"

namespace zk {

// The two input fields of the main window as Apply reads them, and the decimal separator of the
// label texts.
struct ApplyInputs {
    std::int32_t WedgeDegrees = 20; // SpinEdit1, whole degrees
    std::int32_t Velocity = 680;    // SpinEdit2, m/s
    char DecimalSeparator = '.';
};

// The construction exactly as written: every whole Vx of the sweep examined, the detached search
// repeating the sweep once per degree.  Kept as the reference the fast Apply is proven against.
void ApplyLiteral(FlowState& state, const ApplyInputs& inputs, ApplyListener& listener);

// Apply as the program runs it.  Bit-for-bit the same results, texts and listener calls as
// ApplyLiteral.
void Apply(FlowState& state, const ApplyInputs& inputs, ApplyListener& listener);

} // namespace zk

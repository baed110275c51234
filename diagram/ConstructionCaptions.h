// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the step-by-step view says about each step of a recorded construction: a short title and
// a caption of a sentence or two for a student, with the case's own numbers written with the
// given decimal separator.  UTF-8 text.
#include <cstddef>
#include <string>

#include "ConstructionRecord.h"

namespace zk {

// The title of a step, a few words.
std::string StepTitle(ConstructionStep step);

// The caption of step `index` (a valid index into record.Steps()) of the recorded run.
std::string StepCaption(const ConstructionRecord& record, std::size_t index, char decimalSeparator);

} // namespace zk

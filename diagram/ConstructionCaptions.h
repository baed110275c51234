// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the step-by-step view says about each step of a recorded construction: a short title and
// a caption of a sentence or two for a student, with the case's own numbers written with the
// given decimal separator.  UTF-8 text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ConstructionRecord.h"

namespace zk {

// The title of a step, a few words.
std::string StepTitle(ConstructionStep step);

// "51 пиксель", "52 пикселя", "55 пикселей": a number of pixels with the noun its number asks.
std::string PixelCount(std::int64_t n);

// The caption of step `index` (a valid index into record.Steps()) of the recorded run.
std::string StepCaption(const ConstructionRecord& record, std::size_t index, char decimalSeparator);

} // namespace zk

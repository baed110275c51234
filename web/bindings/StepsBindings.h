// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page's "Построение по шагам": the steps of the case's last Apply, their titles and
// captions as the desktop window writes them, and each step's picture as RGBA bytes.
#include <emscripten/val.h>

#include <cstdint>
#include <vector>

#include "WebCase.h"

namespace zk {

// {count, titles: [...], captions: [...]} for the last run, the numbers written with
// decimalSeparator; a run with no steps has count 0 and the caption "Диаграмма ещё не построена.".
emscripten::val StepTexts(const WebCase& webCase, char decimalSeparator);

// The picture of step `index` at the case's device scale: {data (a view into the module's memory,
// valid until the next call), width, height} in device pixels, or {error} for a step the run does
// not have.
emscripten::val StepPicture(const WebCase& webCase, int index, std::vector<std::uint8_t>& rgba);

} // namespace zk

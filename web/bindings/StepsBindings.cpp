// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsBindings.h"

#include <emscripten/bind.h>

#include <cstring>
#include <string>

#include "ConstructionCaptions.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "StepView.h"

namespace zk {

using emscripten::val;

// The page has no layer of extra constructions: its steps are the recorded ones, as the desktop
// window shows them with that layer off.
emscripten::val StepTexts(const WebCase& webCase, char decimalSeparator) {
    const ConstructionRecord& record = webCase.Construction();
    const std::size_t count = record.Steps().size();
    val titles = val::array();
    val captions = val::array();
    for (std::size_t i = 0; i < count; ++i) {
        titles.call<void>("push", StepTitle(record.Steps()[i].Step));
        captions.call<void>("push", StepCaption(record, i, decimalSeparator));
    }
    val result = val::object();
    result.set("count", static_cast<int>(count));
    result.set("titles", titles);
    result.set("captions", captions);
    if (count == 0)
        result.set("empty", std::string("Диаграмма ещё не построена."));
    return result;
}

emscripten::val StepPicture(const WebCase& webCase, int index, std::vector<std::uint8_t>& rgba) {
    const ConstructionRecord& record = webCase.Construction();
    val result = val::object();
    if (index < 0 || static_cast<std::size_t>(index) >= record.Steps().size()) {
        result.set("error", std::string("Такого шага в построении нет."));
        return result;
    }
    // The run's operations replayed at the page's device scale: the lines and letters as sharp
    // as the main diagram's, the marks of the step on whole logical pixels.
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, webCase.Scale());
    DrawStepView(record, static_cast<std::size_t>(index), picture);
    const std::size_t n = std::size_t(picture.DeviceWidth()) * std::size_t(picture.DeviceHeight());
    rgba.resize(n * 4);
    const std::uint32_t* bits = picture.Bits();
    for (std::size_t i = 0; i < n; ++i) {
        // 0xFFRRGGBB becomes the bytes R, G, B, 255.
        const std::uint32_t p = bits[i];
        const std::uint32_t word = 0xFF000000u | ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
        std::memcpy(&rgba[4 * i], &word, 4);
    }
    result.set("data", val(emscripten::typed_memory_view(rgba.size(), rgba.data())));
    result.set("width", picture.DeviceWidth());
    result.set("height", picture.DeviceHeight());
    return result;
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
// The page's way into the engine: Apply on the main window's inputs, the result labels, and the
// diagram's pixels.  The page's own bindings join this file in web/bindings/.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <map>
#include <string>
#include <vector>

#include "ApplyListener.h"
#include "Errors.h"
#include "FlowState.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"

namespace {

// The picture and labels of the main window as the page holds them.
class PageWindow : public zk::PolarDiagram {
public:
    PageWindow(zk::TCanvas& canvas, const zk::FlowState& state) : zk::PolarDiagram(canvas, state) {}
    void SetCaption(zk::ResultItem label, const std::string& text) override { captions_[label] = text; }
    void SetVisible(zk::ResultItem item, bool visible) override { visible_[item] = visible; }
    std::string Text(zk::ResultItem label) const {
        const auto caption = captions_.find(label);
        const auto visible = visible_.find(label);
        if (caption == captions_.end() || (visible != visible_.end() && !visible->second))
            return {};
        return caption->second;
    }

private:
    std::map<zk::ResultItem, std::string> captions_;
    std::map<zk::ResultItem, bool> visible_;
};

// One Apply on a fresh picture at device scale k: the labels by their page ids, "error" with the
// runtime's message when Apply faults, and "pixels" as RGBA bytes for an ImageData (a view of the
// engine's memory, valid until the next call).
emscripten::val ApplyCase(double soundSpeed, double gamma, int velocity, int wedgeDegrees, int scale) {
    zk::FlowState state;
    zk::RasterCanvas picture(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight, zk::FontSpec{}, scale);
    PageWindow window(picture, state);
    state.SoundSpeed = soundSpeed;
    state.Gamma = gamma;
    state.V1 = velocity;
    emscripten::val result = emscripten::val::object();
    try {
        zk::Apply(state, zk::ApplyInputs{wedgeDegrees, velocity, ','}, window);
    } catch (const zk::AppError& e) {
        result.set("error", std::string(e.what()));
    }
    result.set("mach", window.Text(zk::ResultItem::Label6));
    result.set("p2p1", window.Text(zk::ResultItem::Label2));
    result.set("rho1rho2", window.Text(zk::ResultItem::Label1));
    result.set("v2v1", window.Text(zk::ResultItem::Label8));
    result.set("t2t1", window.Text(zk::ResultItem::Label11));
    result.set("chimax", window.Text(zk::ResultItem::Label3));
    // 0xFFRRGGBB words as the bytes R, G, B, A of an ImageData.
    // The buffer stays for the next call: the page copies the view into its ImageData at once.
    const std::size_t count = static_cast<std::size_t>(picture.DeviceWidth()) * picture.DeviceHeight();
    static std::vector<std::uint32_t> rgba;
    rgba.resize(count);
    const std::uint32_t* bits = picture.Bits();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = bits[i];
        rgba[i] = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    }
    result.set("width", picture.DeviceWidth());
    result.set("height", picture.DeviceHeight());
    result.set("pixels", emscripten::val(emscripten::typed_memory_view(
                             count * 4, reinterpret_cast<const std::uint8_t*>(rgba.data()))));
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(zorkventa_engine) { emscripten::function("applyCase", &ApplyCase); }

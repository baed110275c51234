// SPDX-License-Identifier: GPL-3.0-or-later
// The flight view for the page: the object `Flight` over WebFlight.  Faults in a frame come back
// as their message, never as a JavaScript exception.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "WebFlight.h"

namespace zk {
namespace {

using emscripten::val;

// A Case's flow() object as the flow state the snapshot is taken of.
FlowState FlowOf(const val& state) {
    FlowState flow;
    flow.PointCx = state["PointCx"].as<std::int32_t>();
    flow.PointCy = state["PointCy"].as<std::int32_t>();
    flow.V1 = state["V1"].as<std::int32_t>();
    flow.WedgeAngle = state["WedgeAngle"].as<double>();
    flow.ShockAngle = state["ShockAngle"].as<double>();
    flow.ShockDetached = state["ShockDetached"].as<bool>();
    flow.DetachedRadius = state["DetachedRadius"].as<std::int32_t>();
    flow.DetachedEndX = state["DetachedEndX"].as<std::int32_t>();
    flow.DetachedEndY = state["DetachedEndY"].as<std::int32_t>();
    return flow;
}

class PageFlight {
  public:
    explicit PageFlight(int scale) : flight_(scale) {}

    void SetParticleCount(int count) { flight_.SetParticleCount(count); }
    int ParticleCount() const { return flight_.ParticleCount(); }
    void Activate(const val& flowState) { flight_.Activate(FlowOf(flowState)); }
    void Close() { flight_.Close(); }
    bool Running() const { return flight_.Running(); }
    // Whether the frame's ticks ran without a fault (error() then holds its message); changed()
    // holds the rectangles to put either way.  Plain values: the page calls this 60 times a
    // second and makes no objects for it.
    bool Frame() {
        error_ = flight_.Frame();
        return error_.empty();
    }
    std::string Error() const { return error_; }
    double Ticks() const { return static_cast<double>(flight_.Ticks()); }
    void SetScrollPosition(int position) { flight_.SetScrollPosition(position); }
    int ScrollPosition() const { return flight_.ScrollPosition(); }
    double Speed() const { return flight_.FlightSpeed(); }

    void SetShock(bool checked) { flight_.Controls().ShockChecked = checked; }
    void SetStreamlines(bool checked) { flight_.Controls().StreamlinesChecked = checked; }
    // The check boxes as the last scene tick left them, as bits: 1 "Ударная волна" checked,
    // 2 "Линии тока" checked, 4 "Линии тока" enabled.
    int Controls() const {
        const SceneControls& c = flight_.Controls();
        return (c.ShockChecked ? 1 : 0) | (c.StreamlinesChecked ? 2 : 0) | (c.StreamlinesEnabled ? 4 : 0);
    }

    // {cross, caption}: the cursor and the panel's number after the move.
    val MouseMove(int x, int y) {
        flight_.MouseMove(x, y);
        val result = val::object();
        result.set("cross", flight_.CrossCursor());
        result.set("caption", flight_.PanelCaption());
        return result;
    }
    // {picked, degrees}.
    val Pick(int x, int y) {
        std::int32_t degrees = 0;
        val result = val::object();
        result.set("picked", flight_.Pick(x, y, degrees));
        result.set("degrees", degrees);
        return result;
    }

    void SetScale(int scale) { flight_.SetScale(scale); }
    int Scale() const { return flight_.Scale(); }
    int DeviceWidth() const { return flight_.DeviceWidth(); }
    int DeviceHeight() const { return flight_.DeviceHeight(); }
    // Views of the module's memory, valid until the memory grows: the page makes them again then.
    val Rgba() const {
        const auto& bytes = flight_.Rgba();
        return val(emscripten::typed_memory_view(bytes.size(), bytes.data()));
    }
    val Changed() const {
        const auto& rects = flight_.Changed();
        return val(emscripten::typed_memory_view(rects.size(), rects.data()));
    }
    // The particles in use: x, y, vx, vy each, for tests and scripts.
    val Particles() const {
        const Particle* first = flight_.Model().Particles.data();
        return val(emscripten::typed_memory_view(std::size_t(flight_.ParticleCount()) * 4, &first->x));
    }

  private:
    WebFlight flight_;
    std::string error_;
};

} // namespace
} // namespace zk

EMSCRIPTEN_BINDINGS(zorkventa_flight) {
    using namespace emscripten;
    using zk::PageFlight;
    class_<PageFlight>("Flight")
        .constructor<int>()
        .function("setParticleCount", &PageFlight::SetParticleCount)
        .function("particleCount", &PageFlight::ParticleCount)
        .function("activate", &PageFlight::Activate)
        .function("close", &PageFlight::Close)
        .function("running", &PageFlight::Running)
        .function("frame", &PageFlight::Frame)
        .function("error", &PageFlight::Error)
        .function("ticks", &PageFlight::Ticks)
        .function("setScrollPosition", &PageFlight::SetScrollPosition)
        .function("scrollPosition", &PageFlight::ScrollPosition)
        .function("speed", &PageFlight::Speed)
        .function("setShock", &PageFlight::SetShock)
        .function("setStreamlines", &PageFlight::SetStreamlines)
        .function("controls", &PageFlight::Controls)
        .function("mouseMove", &PageFlight::MouseMove)
        .function("pick", &PageFlight::Pick)
        .function("setScale", &PageFlight::SetScale)
        .function("scale", &PageFlight::Scale)
        .function("deviceWidth", &PageFlight::DeviceWidth)
        .function("deviceHeight", &PageFlight::DeviceHeight)
        .function("rgba", &PageFlight::Rgba)
        .function("changed", &PageFlight::Changed)
        .function("particles", &PageFlight::Particles);
}

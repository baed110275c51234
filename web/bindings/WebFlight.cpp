// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebFlight.h"

#include <algorithm>
#include <bit>
#include <exception>

namespace zk {

namespace {

// The passes of a frame on the surface, in the order the desktop's timers tick.
enum FramePass { kMotionPass = 0, kScenePass = 1 };

// Draws one tick as a pass of the frame, ended also when the tick faults part-way.
class PassScope {
  public:
    PassScope(DirtyRegionCanvas& canvas, FramePass pass) : canvas_(canvas) { canvas_.BeginPass(pass); }
    ~PassScope() { canvas_.EndPass(); }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

  private:
    DirtyRegionCanvas& canvas_;
};

// The surface's words hold the bytes R, G, B, A in this order only on a little-endian machine,
// as WebAssembly is.
static_assert(std::endian::native == std::endian::little, "the RGBA words are laid out little-endian");

} // namespace

WebFlight::WebFlight(std::int32_t scale) {
    model_.FlightSpeed = 5.0; // the speed of the bar's initial position 50
    MakeSurface(scale);
}

void WebFlight::MakeSurface(std::int32_t scale) {
    canvas_ = std::make_unique<RasterCanvas>(FlightModel::kClientWidth, FlightModel::kClientHeight,
                                             FlightModel::WindowFont(), std::clamp(scale, 1, RasterCanvas::kMaxScale),
                                             PixelLayout::Rgba8888);
    drawn_ = std::make_unique<DirtyRegionCanvas>(*canvas_);
    drawn_->MarkAll();
}

void WebFlight::SetScale(std::int32_t scale) {
    scale = std::clamp(scale, 1, RasterCanvas::kMaxScale);
    if (scale != canvas_->Scale())
        MakeSurface(scale);
}

void WebFlight::Activate(const FlowState& flow) {
    running_ = true;
    // Shown again, the view starts from white: the old wedge and shock would stay beside new ones.
    canvas_->Clear(clWhite);
    drawn_->MarkAll();
    model_.TakeSnapshot(flow);
    canvas_->Refresh();
    model_.StartParticles();
    ticks_ = 0;
}

void WebFlight::SetScrollPosition(std::int32_t position) {
    scrollPosition_ = std::clamp(position, 0, kScrollMax);
    model_.SetSpeedFromScrollBar(scrollPosition_, kScrollMax);
}

std::string WebFlight::Frame() {
    std::string fault;
    try {
        {
            const PassScope pass(*drawn_, kMotionPass);
            model_.MotionTick(*drawn_, scrollPosition_);
        }
        ++ticks_;
        const PassScope pass(*drawn_, kScenePass);
        model_.SceneTick(*drawn_, controls_);
    } catch (const std::exception& error) {
        fault = error.what();
    }
    // What the ticks drew, also before a fault, is shown.
    drawn_->TakeDirty(dirty_);
    changed_.clear();
    const std::int32_t k = canvas_->Scale();
    for (const TRect& r : dirty_) {
        const std::int32_t left = r.Left * k;
        const std::int32_t top = r.Top * k;
        const std::int32_t right = std::min(canvas_->DeviceWidth(), r.Right * k);
        const std::int32_t bottom = std::min(canvas_->DeviceHeight(), r.Bottom * k);
        if (right > left && bottom > top)
            changed_.insert(changed_.end(), {left, top, right - left, bottom - top});
    }
    return fault;
}

} // namespace zk

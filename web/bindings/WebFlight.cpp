// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebFlight.h"

#include <algorithm>
#include <cstring>
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

// 0xFFRRGGBB as the bytes R, G, B, 255: one little-endian word 0xFFBBGGRR.
inline std::uint32_t RgbaWord(std::uint32_t p) {
    return 0xFF000000u | ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

} // namespace

WebFlight::WebFlight(std::int32_t scale) {
    model_.FlightSpeed = 5.0; // the speed of the bar's initial position 50
    MakeSurface(scale);
}

void WebFlight::MakeSurface(std::int32_t scale) {
    canvas_ = std::make_unique<RasterCanvas>(FlightModel::kClientWidth, FlightModel::kClientHeight,
                                             FlightModel::WindowFont(), std::clamp(scale, 1, RasterCanvas::kMaxScale));
    drawn_ = std::make_unique<DirtyRegionCanvas>(*canvas_);
    rgba_.assign(std::size_t(canvas_->DeviceWidth()) * std::size_t(canvas_->DeviceHeight()) * 4, 0xFF);
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
    for (const TRect& r : dirty_)
        Convert(r);
    return fault;
}

void WebFlight::Convert(const TRect& r) {
    const std::int32_t k = canvas_->Scale();
    const std::int32_t width = canvas_->DeviceWidth();
    const std::int32_t left = r.Left * k;
    const std::int32_t top = r.Top * k;
    const std::int32_t right = std::min(width, r.Right * k);
    const std::int32_t bottom = std::min(canvas_->DeviceHeight(), r.Bottom * k);
    if (right <= left || bottom <= top)
        return;
    const std::uint32_t* bits = canvas_->Bits();
    for (std::int32_t y = top; y < bottom; ++y) {
        const std::size_t row = std::size_t(y) * std::size_t(width);
        std::uint8_t* out = rgba_.data() + (row + std::size_t(left)) * 4;
        for (std::int32_t x = left; x < right; ++x, out += 4) {
            const std::uint32_t word = RgbaWord(bits[row + std::size_t(x)]);
            std::memcpy(out, &word, 4);
        }
    }
    changed_.insert(changed_.end(), {left, top, right - left, bottom - top});
}

} // namespace zk

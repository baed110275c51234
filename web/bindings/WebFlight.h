// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flight window as the web page holds it: the same FlightModel that the desktop window drives,
// its surface at the page's device scale, and per animation frame one motion tick and one scene
// tick, as the desktop's two timers tick at the display's frames.  The surface keeps its pixels
// as the bytes R, G, B, A that a canvas takes, so the page views them without a copy or a
// conversion; after a frame it puts only the rectangles the ticks changed.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "DirtyRegionCanvas.h"
#include "FlightModel.h"
#include "FlowState.h"
#include "RasterCanvas.h"

namespace zk {

class WebFlight {
  public:
    static constexpr std::int32_t kScrollMax = 100;     // the speed bar's range 0 .. 100
    static constexpr std::int32_t kScrollInitial = 50;  // its position as the window is created

    // As the window is created, hidden: FlightSpeed 5, the speed bar at 50, both boxes unchecked,
    // the surface white at device scale `scale`.
    explicit WebFlight(std::int32_t scale);

    // The particles of the next activation from the settings' field, brought into 10..500.
    void SetParticleCount(std::int32_t count) { model_.SetParticleCount(count); }
    std::int32_t ParticleCount() const { return model_.ParticleCount(); }

    // The view is shown (opened or an Apply while open): the surface starts white, the snapshot
    // is taken of flow and the particles start again at the left, from the program's generator.
    void Activate(const FlowState& flow);
    // The view is closed: its frames stop.  Speed, boxes and particles keep their state.
    void Close() { running_ = false; }
    bool Running() const { return running_; }

    // One animation frame: the motion tick, then the scene tick, then the changed parts converted.
    // Returns the message of a fault in a tick, empty when none; what was drawn before it is kept
    // and handed over as well.
    std::string Frame();
    // Motion ticks since the last activation.
    std::int64_t Ticks() const { return ticks_; }

    // The speed bar moved: FlightSpeed follows its position, clamped to the bar's range.
    void SetScrollPosition(std::int32_t position);
    std::int32_t ScrollPosition() const { return scrollPosition_; }
    double FlightSpeed() const { return model_.FlightSpeed; }

    // The check boxes as the page shows them; the scene tick may uncheck and disable the
    // streamline box (detached shock) and enable it again (attached).
    SceneControls& Controls() { return controls_; }
    const SceneControls& Controls() const { return controls_; }

    // The pointer at picture pixel (x, y): cross-hair right of the tip, the angle on the panel.
    void MouseMove(std::int32_t x, std::int32_t y) { model_.MouseMove(x, y); }
    bool CrossCursor() const { return model_.Cursor() == TCursor::crCross; }
    const std::string& PanelCaption() const { return model_.PanelCaption(); }
    // A release at (x, y): whether it picks, and the whole degrees for the wedge field.
    bool Pick(std::int32_t x, std::int32_t y, std::int32_t& degrees) { return model_.PickWedgeAngle(x, y, degrees); }

    // The surface at device scale k (1..16): made anew, white, and marked for the next frame.
    void SetScale(std::int32_t scale);
    std::int32_t Scale() const { return canvas_->Scale(); }
    std::int32_t DeviceWidth() const { return canvas_->DeviceWidth(); }
    std::int32_t DeviceHeight() const { return canvas_->DeviceHeight(); }
    const RasterCanvas& Canvas() const { return *canvas_; }

    // The whole picture as RGBA bytes, row by row: the surface's own pixels.
    std::span<const std::uint8_t> Rgba() const {
        return {reinterpret_cast<const std::uint8_t*>(canvas_->Bits()),
                std::size_t(canvas_->DeviceWidth()) * std::size_t(canvas_->DeviceHeight()) * 4};
    }
    // The last frame's changed rectangles in device pixels: left, top, width, height each.
    const std::vector<std::int32_t>& Changed() const { return changed_; }

    const FlightModel& Model() const { return model_; }

  private:
    FlightModel model_;
    std::unique_ptr<RasterCanvas> canvas_;
    std::unique_ptr<DirtyRegionCanvas> drawn_; // the ticks draw through it: it notes where they drew
    SceneControls controls_;
    std::int32_t scrollPosition_ = kScrollInitial;
    bool running_ = false;
    std::int64_t ticks_ = 0;
    std::vector<TRect> dirty_; // kept between frames to avoid reallocating
    std::vector<std::int32_t> changed_;

    void MakeSurface(std::int32_t scale);
};

} // namespace zk

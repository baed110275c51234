// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flight window: individual gas particles streaming past the wedge and turning at the shock,
// the scene with wedge, shock and streamlines drawn afresh every tick, and the choice of a new
// wedge angle with the mouse.  Two 5 ms timers draw into the window's surface, which the window
// shows beneath its check boxes, scroll bar and panel.  The timers tick at the display's frames,
// Timer1 then Timer2; after each frame the window repaints once, and only where the ticks drew
// something new.
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "DirtyRegionCanvas.h"
#include "FlightHost.h"
#include "FlightModel.h"
#include "FlowState.h"
#include "RasterCanvas.h"
#include "TTimer.h"

class QCheckBox;
class QLabel;
class QScrollBar;

namespace zk {
class FrameClock;
}

class TForm3 : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 591;  // pixels
    static constexpr int kClientHeight = 498; // pixels
    static constexpr int kTimerInterval = 5;  // ms

    // The window reads flow at every activation and reports a wedge pick to host.  Its timers
    // tick at the frames of clock (the display's when none is given).
    TForm3(zk::FlowState& flow, zk::FlightHost& host, QWidget* parent = nullptr,
           zk::FrameClock* clock = nullptr);
    ~TForm3() override;

    // The number of particles for the next activation, brought into 10..500.
    void SetParticleCount(int count);

    void FormCreate();
    void FormActivate();
    // Apply has solved a new case while the window is open: the window takes the new solution
    // and starts its particles again on a white scene, as when it is opened.
    void AfterApply();
    void FormClose();
    void Timer1Timer();
    void Timer2Timer();
    void ScrollBar1Change();
    void FormMouseMove(Qt::KeyboardModifiers shift, int X, int Y);
    void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);

    // What the window shows and holds, for tests.
    const zk::RasterCanvas& Canvas() const { return *canvas_; }
    zk::FlightModel& Model() { return model_; }
    const zk::FlightModel& Model() const { return model_; }
    Qt::CursorShape CursorShape() const;
    QString PanelCaption() const;
    // The part of the client area the last frame asked to repaint (empty when it changed
    // nothing), and how many frames asked for a repaint.
    const QRegion& LastFrameRegion() const { return lastFrameRegion_; }
    int FramesShown() const { return framesShown_; }

    QCheckBox* CheckBox1 = nullptr;   // "Ударная волна": show the shock
    QCheckBox* CheckBox2 = nullptr;   // "Линии тока": show the streamlines
    QScrollBar* ScrollBar1 = nullptr; // speed, 0..100
    QLabel* Panel1 = nullptr;         // the angle under the mouse, in degrees
    QLabel* Image9 = nullptr;         // the picture "χ=" inside Panel1
    zk::TTimer* Timer1 = nullptr;     // motion tick
    zk::TTimer* Timer2 = nullptr;     // scene tick

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    zk::FlowState& flow_;
    zk::FlightHost& host_;
    zk::FlightModel model_;
    // The client area as the timers draw it, at the device scale of the window's screen.
    std::unique_ptr<zk::RasterCanvas> canvas_;
    std::unique_ptr<zk::DirtyRegionCanvas> drawn_; // the ticks draw through it: it notes where they drew
    int requestedScale_ = 0;                       // a scale asked for by a paint and not yet made
    std::vector<zk::TRect> dirty_;                 // kept between frames to avoid reallocating
    std::vector<QRect> rects_;
    QRegion lastFrameRegion_;
    int framesShown_ = 0;

    // After the frame's ticks: one repaint of what they changed.
    void ShowFrame();
};

extern TForm3* Form3;

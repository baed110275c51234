#pragma once
// The flight window: individual gas particles streaming past the wedge and turning at the shock,
// the scene with wedge, shock and streamlines drawn afresh every tick, and the choice of a new
// wedge angle with the mouse.  Two 5 ms timers draw into the window's surface, which the window
// shows beneath its check boxes, scroll bar and panel.
#include <QString>
#include <QWidget>
#include <memory>

#include "FlightHost.h"
#include "FlightModel.h"
#include "FlowState.h"
#include "RasterCanvas.h"

class QCheckBox;
class QLabel;
class QScrollBar;
class QTimer;

class TForm3 : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 591;  // pixels
    static constexpr int kClientHeight = 498; // pixels
    static constexpr int kTimerInterval = 5;  // ms

    // The window reads flow at every activation and reports a wedge pick to host.
    TForm3(zk::FlowState& flow, zk::FlightHost& host, QWidget* parent = nullptr);
    ~TForm3() override;

    // The number of particles for the next activation, brought into 10..500.
    void SetParticleCount(int count);

    void FormCreate();
    void FormActivate();
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

    QCheckBox* CheckBox1 = nullptr;   // "Ударная волна": show the shock
    QCheckBox* CheckBox2 = nullptr;   // "Линии тока": show the streamlines
    QScrollBar* ScrollBar1 = nullptr; // speed, 0..100
    QLabel* Panel1 = nullptr;         // the angle under the mouse, in degrees
    QLabel* Image9 = nullptr;         // the picture "χ=" inside Panel1
    QTimer* Timer1 = nullptr;         // motion tick
    QTimer* Timer2 = nullptr;         // scene tick

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
    int requestedScale_ = 0; // a scale asked for by a paint and not yet made
};

extern TForm3* Form3;

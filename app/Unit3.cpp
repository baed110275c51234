// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit3.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "ActivationTracker.h"
#include "CanvasScale.h"
#include "ErrorBox.h"
#include "FrameClock.h"
#include "Pictures.h"

TForm3* Form3 = nullptr;

namespace {

// The window's font: "MS Sans Serif", 11 pixels high.
zk::FontSpec WindowFont() {
    zk::FontSpec font;
    font.Family = "MS Sans Serif";
    font.PixelHeight = 11;
    return font;
}

zk::TTimer* MakeTimer(QObject* owner, zk::FrameClock* clock) {
    auto* timer = new zk::TTimer(owner, clock);
    timer->setInterval(TForm3::kTimerInterval);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

// Rows of the surface copied to the window at a time.
constexpr int kPaintStripRows = 32;

// The passes of a frame on the surface, in the order the timers tick.
enum FramePass { kMotionPass = 0, kScenePass = 1 };

// Draws one tick as a pass of the frame, ended also when the tick faults part-way.
class PassScope {
  public:
    PassScope(zk::DirtyRegionCanvas& canvas, FramePass pass) : canvas_(canvas) { canvas_.BeginPass(pass); }
    ~PassScope() { canvas_.EndPass(); }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

  private:
    zk::DirtyRegionCanvas& canvas_;
};

// A child control takes its own mouse events, shows the arrow whatever the window's cursor, and
// never passes a move or release on to the window.
void MakeControl(QWidget* control) {
    control->setCursor(Qt::ArrowCursor);
    control->setAttribute(Qt::WA_NoMousePropagation);
}

} // namespace

TForm3::TForm3(zk::FlowState& flow, zk::FlightHost& host, QWidget* parent, zk::FrameClock* clock)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      flow_(flow), host_(host),
      canvas_(std::make_unique<zk::RasterCanvas>(kClientWidth, kClientHeight, WindowFont(),
                                                 zk::CanvasScaleFor(devicePixelRatioF()))),
      drawn_(std::make_unique<zk::DirtyRegionCanvas>(*canvas_)) {
    setWindowTitle(QStringLiteral("Полёт индивидуальных частиц"));
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent); // the surface covers the whole client area
    setMouseTracking(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));

    CheckBox1 = new QCheckBox(QStringLiteral("Ударная волна"), this);
    CheckBox1->setGeometry(24, 16, 105, 17);
    CheckBox2 = new QCheckBox(QStringLiteral("Линии тока"), this);
    CheckBox2->setGeometry(24, 40, 89, 17);
    for (QCheckBox* box : {CheckBox1, CheckBox2}) {
        box->setBackgroundRole(QPalette::Window);
        box->setAutoFillBackground(true); // in the window's white, over the surface beneath
        MakeControl(box);
    }

    ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar1->setGeometry(120, 464, 193, 17);
    ScrollBar1->setRange(0, 100);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setPageStep(1);
    ScrollBar1->setValue(50);
    ScrollBar1->setToolTip(QStringLiteral("скорость"));
    // Opaque whatever the style, so the dots passing beneath it need no repaint of it.
    ScrollBar1->setBackgroundRole(QPalette::Window);
    ScrollBar1->setAutoFillBackground(true);
    MakeControl(ScrollBar1);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, zk::Guarded([this] { ScrollBar1Change(); }));

    Panel1 = new QLabel(this);
    Panel1->setGeometry(473, 8, 88, 33);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAlignment(Qt::AlignCenter);
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    Panel1->setPalette(face);
    Panel1->setAutoFillBackground(true);
    MakeControl(Panel1);
    Image9 = new QLabel(Panel1);
    Image9->setGeometry(12, 5, 20, 20);
    {
        // At the screen's device scale; the label shows it at its 20 x 20 pixels.
        const zk::pictures::PictureScale scale(zk::CanvasScaleFor(devicePixelRatioF()));
        Image9->setPixmap(QPixmap::fromImage(zk::pictures::ChiFormula()));
    }
    MakeControl(Image9);

    // Made in this order, the timers tick in this order within a frame.
    Timer1 = MakeTimer(this, clock);
    Timer2 = MakeTimer(this, clock);
    // A fault in a tick is reported and the timer goes on: the next tick runs again.
    connect(Timer1, &zk::TTimer::timeout, this, zk::Guarded([this] { Timer1Timer(); }));
    connect(Timer2, &zk::TTimer::timeout, this, zk::Guarded([this] { Timer2Timer(); }));
    connect(clock ? clock : &zk::FrameClock::Display(), &zk::FrameClock::FrameEnded, this,
            [this] { ShowFrame(); });

    zk::ActivationTracker::Instance().Register(this, [this] { zk::RunHandler([this] { FormActivate(); }); });
    zk::RunHandler([this] { FormCreate(); });
}

TForm3::~TForm3() = default;

void TForm3::SetParticleCount(int count) {
    model_.SetParticleCount(count);
}

void TForm3::FormCreate() {
    model_.FlightSpeed = 5.0; // the speed of the scroll bar's initial position 50
}

void TForm3::FormActivate() {
    // Enabling a running timer neither restarts its period nor doubles its ticks.
    Timer1->SetEnabled(true);
    Timer2->SetEnabled(true);
    model_.TakeSnapshot(flow_);
    // The surface lets go of its cached pen, brush and font but is not cleared: dots drawn before
    // stay until the window is shown again.
    canvas_->Refresh();
    model_.StartParticles();
}

void TForm3::AfterApply() {
    if (!isVisible())
        return; // the next opening takes the snapshot
    // The old wedge and shock would stay beside the new ones: the scene starts from white.
    canvas_->Clear(zk::clWhite);
    drawn_->MarkAll();
    FormActivate();
}

void TForm3::FormClose() {
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
}

void TForm3::Timer1Timer() {
    // What the tick draws is shown at the end of the frame, also when a fault ends it part-way.
    const PassScope pass(*drawn_, kMotionPass);
    model_.MotionTick(*drawn_, ScrollBar1->value());
}

void TForm3::Timer2Timer() {
    zk::SceneControls controls{CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox2->isEnabledTo(this)};
    {
        const PassScope pass(*drawn_, kScenePass);
        model_.SceneTick(*drawn_, controls);
    }
    if (CheckBox2->isChecked() != controls.StreamlinesChecked)
        CheckBox2->setChecked(controls.StreamlinesChecked);
    if (CheckBox2->isEnabledTo(this) != controls.StreamlinesEnabled)
        CheckBox2->setEnabled(controls.StreamlinesEnabled);
}

void TForm3::ScrollBar1Change() {
    model_.SetSpeedFromScrollBar(ScrollBar1->value(), ScrollBar1->maximum());
}

void TForm3::FormMouseMove(Qt::KeyboardModifiers /*shift*/, int X, int Y) {
    model_.MouseMove(X, Y);
    setCursor(CursorShape());
    const QString caption = QString::fromStdString(model_.PanelCaption());
    if (Panel1->text() != caption)
        Panel1->setText(caption);
}

void TForm3::FormMouseUp(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, int X, int Y) {
    std::int32_t degrees = 0;
    if (!model_.PickWedgeAngle(X, Y, degrees))
        return;
    host_.SetWedgeField(degrees);
    host_.ClickApply(); // a fault here leaves the window open
    FormClose();
    hide();
    // Without a shock there is nothing to animate: the window stays closed.
    if (flow_.ShockAngle > 0)
        host_.ClickGraphics();
}

Qt::CursorShape TForm3::CursorShape() const {
    return model_.Cursor() == zk::TCursor::crCross ? Qt::CrossCursor : Qt::ArrowCursor;
}

QString TForm3::PanelCaption() const {
    return Panel1->text();
}

void TForm3::ShowFrame() {
    drawn_->TakeDirty(dirty_);
    lastFrameRegion_ = QRegion();
    if (dirty_.empty())
        return; // nothing changed: no repaint at all
    // Rows of tiles, each cut into runs that neither overlap nor touch: a region as it stands.
    rects_.clear();
    for (const zk::TRect& r : dirty_)
        rects_.emplace_back(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    QRegion region;
    region.setRects(rects_.data(), static_cast<int>(rects_.size()));
    // What lies beneath an opaque control is never seen; the controls repaint themselves.
    for (QWidget* control : {static_cast<QWidget*>(CheckBox1), static_cast<QWidget*>(CheckBox2),
                             static_cast<QWidget*>(ScrollBar1), static_cast<QWidget*>(Panel1)}) {
        if (control->isVisibleTo(this) && control->autoFillBackground())
            region -= control->geometry();
    }
    lastFrameRegion_ = region;
    if (region.isEmpty())
        return;
    ++framesShown_;
    // At once, within the frame: a posted update would wait for the toolkit's own update timer,
    // a second wake-up every frame.  The region is in the client area's own pixels, whatever
    // the device scale.
    if (isVisible())
        repaint(region);
}

void TForm3::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QImage surface(reinterpret_cast<const uchar*>(canvas_->Bits()), canvas_->DeviceWidth(),
                   canvas_->DeviceHeight(), static_cast<qsizetype>(canvas_->DeviceWidth()) * 4,
                   QImage::Format_RGB32);
    const int k = canvas_->Scale();
    surface.setDevicePixelRatio(k);
    // At a fractional screen ratio the surface, drawn at the next whole scale, comes down smoothly.
    const bool fractional = std::abs(devicePixelRatioF() - k) > 1e-6;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, fractional);
    // Only what the frame changed, in strips: a copy of many rows at once would be handed to
    // the painter's worker threads, which costs more than the copy itself.  Each strip lies in
    // the region to paint, so the painter need not cut it again, and the surface is opaque.
    // The region is in the client area's own pixels; the surface holds k x k device pixels each.
    painter.setClipping(fractional);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : event->region()) {
        for (int top = rect.top(); top <= rect.bottom(); top += kPaintStripRows) {
            const QRect strip(rect.left(), top, rect.width(),
                              std::min(kPaintStripRows, rect.bottom() + 1 - top));
            if (k == 1)
                painter.drawImage(strip.topLeft(), surface, strip);
            else
                painter.drawImage(QRectF(strip), surface,
                                  QRectF(strip.left() * k, strip.top() * k, strip.width() * k, strip.height() * k));
        }
    }
    const int scale = zk::CanvasScaleFor(devicePixelRatioF());
    if (scale != k && requestedScale_ != scale) {
        // On a screen of another ratio the surface is made anew at its scale, white: the next
        // ticks draw the scene and the particles on it again.
        requestedScale_ = scale;
        QTimer::singleShot(0, this, [this, scale] {
            if (requestedScale_ == scale) {
                canvas_ = std::make_unique<zk::RasterCanvas>(kClientWidth, kClientHeight, WindowFont(), scale);
                drawn_ = std::make_unique<zk::DirtyRegionCanvas>(*canvas_);
                drawn_->MarkAll();
            }
            requestedScale_ = 0;
            update();
        });
    }
}

void TForm3::showEvent(QShowEvent* event) {
    // Shown again, the window starts from its white background; the ticks draw the rest.
    canvas_->Clear(zk::clWhite);
    drawn_->MarkAll();
    QWidget::showEvent(event);
}

void TForm3::closeEvent(QCloseEvent* event) {
    zk::RunHandler([this] { FormClose(); });
    event->accept(); // the window is hidden, not destroyed
}

void TForm3::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    zk::RunHandler([&] { FormMouseMove(event->modifiers(), p.x(), p.y()); });
}

void TForm3::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    zk::RunHandler([&] { FormMouseUp(event->button(), event->modifiers(), p.x(), p.y()); });
}

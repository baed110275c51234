// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture control: shows a bitmap at its top-left corner (or scaled into its box, keeping the
// proportions), optionally with the bitmap's background colour transparent, and reports a click
// (left button pressed and released over it).  The diagram picture shows a canvas's live pixels,
// so whatever was drawn into the canvas appears at the next repaint.  On a screen with a device
// pixel ratio above 1 and in print the control shows its picture drawn at the device's scale when
// it is told how to draw one, so canvas lines and letters stay as fine as the device allows.
#include <QImage>
#include <QWidget>
#include <functional>

namespace zk {

class RasterCanvas;

class TImage : public QWidget {
    Q_OBJECT
  public:
    explicit TImage(QWidget* parent = nullptr);

    // Shows a copy of image; with AutoSize the control takes the image's size.
    void SetPicture(const QImage& image);
    // Shows the pixels of canvas (which must outlive the control) as they are at each repaint.
    void SetCanvas(const RasterCanvas* canvas);
    // The picture as it is shown now, before scaling and transparency (at the canvas's device
    // scale, its device pixel ratio saying which).
    QImage Picture() const;

    // How to draw the picture at a device scale k >= 2: an image of k times the picture's size
    // whose device pixel ratio is k.  Without one the picture is shown at its own scale.
    void SetHighResolutionSource(std::function<QImage(int scale)> source);
    // Called, from the event loop, when the control is painted on a screen whose scale is not
    // the canvas's: the owner may give the control a canvas of that scale.
    void SetScaleHandler(std::function<void(int scale)> handler);
    // The device scale of the screen the control is on: the next whole number at or above its
    // device pixel ratio.
    int ScreenScale() const;

    void SetAutoSize(bool autoSize);
    // Scale the picture into the control, keeping its proportions, black kept over white.
    void SetStretch(bool stretch);
    // Draw the picture, whatever it is, smoothly scaled into the control, keeping its proportions
    // (a window whose content is shown smaller or larger than designed).
    void SetFitToBox(bool fit);
    // The colour of the picture's bottom-left pixel lets the background show through.
    void SetTransparent(bool transparent);

  signals:
    void Click();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Prepare();
    // The picture at device scale k as shown: stretched into the control and made transparent.
    QImage Shown(const QImage& picture, int k) const;
    // The device scale painter paints at: the screen's, or the nearest to a printer's dots per
    // inch over the control's.
    int PaintScale(const QPainter& painter) const;

    QImage picture_;
    QImage shown_;      // scaled and with its transparency applied
    QImage shownLarge_; // the same at shownScale_, drawn by the source
    int shownScale_ = 0;
    std::function<QImage(int)> source_;
    std::function<void(int)> scaleHandler_;
    int requestedScale_ = 0; // the scale asked of the handler and not yet given
    const RasterCanvas* canvas_ = nullptr;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool fit_ = false;
    bool transparent_ = false;
    bool pressed_ = false;
};

// Scales image down (or up) to size, each target pixel taking the darkest of the source pixels it
// covers, so that thin black lines on white survive the reduction.
QImage ScaleBlackOnWhite(const QImage& image, QSize size);

} // namespace zk

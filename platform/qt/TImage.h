#pragma once
// A picture control: shows a bitmap at its top-left corner (or scaled into its box, keeping the
// proportions), optionally with the bitmap's background colour transparent, and reports a click
// (left button pressed and released over it).  The diagram picture shows a canvas's live pixels,
// so whatever was drawn into the canvas appears at the next repaint.
#include <QImage>
#include <QWidget>

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
    // The picture as it is shown now, before scaling and transparency.
    QImage Picture() const;

    void SetAutoSize(bool autoSize);
    // Scale the picture into the control, keeping its proportions, black kept over white.
    void SetStretch(bool stretch);
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

    QImage picture_;
    QImage shown_; // scaled and with its transparency applied
    const RasterCanvas* canvas_ = nullptr;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool transparent_ = false;
    bool pressed_ = false;
};

// Scales image down (or up) to size, each target pixel taking the darkest of the source pixels it
// covers, so that thin black lines on white survive the reduction.
QImage ScaleBlackOnWhite(const QImage& image, QSize size);

} // namespace zk

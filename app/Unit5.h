// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The theory picture window: a fixed textbook figure that explains how the shock polar gives the
// oblique shock.  A click on the diagram shows it; a click on it hides it again.
#include <QWidget>

namespace zk {
class TImage;
}

class TForm5 : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 754;  // pixels
    static constexpr int kClientHeight = 525; // pixels

    explicit TForm5(QWidget* parent = nullptr);

    void FormClick();
    void Image11Click();

    // The 758 x 527 picture, one column left of the client area, so that its first column, its
    // last three columns and its last two rows are not seen.
    zk::TImage* Image11 = nullptr;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void HidePicture();
    bool pressed_ = false;
};

extern TForm5* Form5;

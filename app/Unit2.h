// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings window: the gas (γ × 10 and the speed of sound c1) and the number of particles of
// the flight window.  While it is open the main window takes no input; every close, by "OK" or by
// the window's close box, takes the gas over, solves the case again and raises the velocity
// field's lower limit to c1 + 15 m/s.  There is no cancel: Escape closes it like the close box.
#include <QWidget>

class QLabel;
class QPushButton;

namespace zk {
class TImage;
class TSpinEdit;
} // namespace zk

class TOpt : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 359;  // pixels
    static constexpr int kClientHeight = 266; // pixels

    // Created hidden and disabled; FormCreate takes the fields from the flow state.
    explicit TOpt(QWidget* parent = nullptr);

    void FormCreate();
    void FormClose();
    void BitBtn1Click();

    // Shows the gas of the flow state (or of an opened file) in the fields: c1 rounded, γ × 10
    // rounded.  A close that finds a field as it was shown here takes the exact value back
    // instead of the rounded one, so looking at the settings never changes the gas.
    void ShowGas(double soundSpeed, double gamma);

    zk::TImage* Image1 = nullptr;       // γ × 10 =
    zk::TImage* Image2 = nullptr;       // C1 =
    QLabel* Label1 = nullptr;           // "м/с"
    QLabel* Label2 = nullptr;           // "число частиц"
    QPushButton* BitBtn1 = nullptr;     // "OK"
    zk::TSpinEdit* cG1 = nullptr;       // γ × 10, 0..100
    zk::TSpinEdit* cc1 = nullptr;       // c1 in m/s, no limits
    zk::TSpinEdit* SpinEdit1 = nullptr; // particles of the flight window, 10..500

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A field's value as ShowGas set it, and the exact value it stands for.
    struct ShownValue {
        int Field = 0;
        double Exact = 0;
    };
    ShownValue shownSoundSpeed_; // m/s
    ShownValue shownGamma_;
};

extern TOpt* Opt;

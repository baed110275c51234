// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the two inputs (wedge half-angle and free-stream velocity), the button
// "Применить" that solves the case and draws the shock-polar diagram, the result labels painted
// over the diagram, and the menu with the result file, picture export, printing, settings and the
// flight window.  The unit owns the program's flow state.
#include <QMainWindow>
#include <memory>

#include "DiagramPicture.h"
#include "FlightHost.h"
#include "FlowState.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMessageBox;
class QPushButton;

namespace zk {
class RasterCanvas;
class TFileDialog;
class TImage;
class TSpinEdit;
} // namespace zk

class TMain : public QMainWindow, public zk::FlightHost {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 862;  // pixels
    static constexpr int kClientHeight = 511; // pixels
    static constexpr int kPngScale = 4;       // device pixels per pixel of the exported PNG

    // Builds the window and runs FormCreate, which solves the start-up case and shows the window.
    explicit TMain(QWidget* parent = nullptr);
    ~TMain() override;

    // Handlers.
    void FormCreate();
    void FormActivate();
    void Button2Click(); // Apply
    void SpinEdit2Click();
    void RisClick();
    void psr1Click();
    void bmp1Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void N5Click();
    void N6Click();
    void N7Click();
    void N8Click();
    void N9Click();
    void N10Click(); // "Дополнительные построения" checked or unchecked
    void Guide1Click();
    void About1Click();

    // What the flight window asks of this window.
    void SetWedgeField(int degrees) override;
    void ClickApply() override;
    void ClickGraphics() override;

    // Opens a result file as "Открыть" does after its dialog: all four values or nothing, an
    // error box for a file that cannot be read, nothing at all for a name with no file.  The open
    // dialog remembers the name and offers its folder the next time.
    void OpenResultFile(const QString& fileName);

    // The text of "О программе": name, version, licence and the Qt version in use.
    static QString AboutText();

    // The end of Apply: the window shows the new picture and labels and, when another window of
    // the program had the focus, becomes the active window again.
    void ShowApplied();

    // The diagram's picture: 609 x 449 pixels, kept between runs of Apply, at the device scale
    // of the screen the window is on.
    zk::RasterCanvas& RisCanvas() { return *risCanvas_; }
    // The diagram as the picture shows it, drawn anew on a canvas of the given device scale.
    std::unique_ptr<zk::RasterCanvas> DrawPicture(int scale) const;
    // Apply has cleared the picture: the run now under way is the one the picture shows.
    void PictureCleared();
    // Makes the picture again at the given device scale (the window moved to another screen).
    void RescalePicture(int scale);
    // Whether the layer of exact theory's extra constructions is drawn over the diagram.
    bool ExtrasShown() const;
    // The decimal separator the layer's numbers are written with: the user's locale's.
    static char ExtrasSeparator();

    QWidget* Client = nullptr; // the client area below the menu
    QFrame* Bevel1 = nullptr;
    zk::TImage* Ris = nullptr;
    zk::TImage* Image1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    zk::TImage* Image3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    zk::TImage* Image4 = nullptr;
    QLabel* Label8 = nullptr;
    zk::TImage* Image5 = nullptr;
    zk::TImage* Image2 = nullptr;
    QLabel* Label11 = nullptr;
    zk::TImage* Image6 = nullptr;
    QLabel* Label12 = nullptr;
    zk::TImage* Image7 = nullptr;
    QLabel* Label13 = nullptr;
    zk::TImage* Image8 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    zk::TImage* Image9 = nullptr;
    zk::TImage* Image10 = nullptr;
    zk::TSpinEdit* SpinEdit1 = nullptr; // wedge half-angle, whole degrees
    zk::TSpinEdit* SpinEdit2 = nullptr; // free-stream velocity V1, m/s
    QPushButton* Button2 = nullptr;     // "Применить"

    QMenu* N1 = nullptr; // "Файл"
    QMenu* C1 = nullptr; // "Cохранить"
    QAction* psr1 = nullptr;
    QAction* bmp1 = nullptr;
    QAction* N6 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* N3 = nullptr;
    QAction* N2 = nullptr;
    QAction* N7 = nullptr;
    QAction* N8 = nullptr;           // "Сравнение"
    QAction* N9 = nullptr;           // "По шагам"
    QAction* N10 = nullptr;          // "Дополнительные построения", checkable, off at start
    QMenu* Help1 = nullptr;          // "Справка"
    QAction* Guide1 = nullptr;       // "Как читать диаграмму"
    QAction* About1 = nullptr;       // "О программе"
    QMessageBox* AboutBox = nullptr; // made at the first "О программе"

    std::unique_ptr<zk::TFileDialog> SaveDialog1;
    std::unique_ptr<zk::TFileDialog> OpenDialog1;
    std::unique_ptr<zk::TFileDialog> SavePictureDialog1;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateComponents();
    void CreateMenu();
    QLabel* MakeLabel(int left, int top, const QString& caption, bool transparent);
    zk::TImage* MakeImage(int left, int top, int width, int height, QImage (*picture)());

    std::unique_ptr<zk::RasterCanvas> risCanvas_;
    zk::DiagramRun pictureRun_; // the run of Apply whose drawing the picture holds
    zk::DiagramRun runningRun_; // the run under way, or the last one
};

extern TMain* Main;
extern zk::FlowState Flow;

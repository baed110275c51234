// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The guide "Как читать диаграмму": a short text for students on the hodograph plane, the shock
// polar and the construction of the oblique shock, the detached shock, the flight window and the
// comparison window, with the theory picture and the program's own diagram of the start-up case.
#include <QImage>
#include <QWidget>

class QTextBrowser;

class THelpForm : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 840;  // pixels, room for the 758-pixel theory picture
    static constexpr int kClientHeight = 620; // pixels

    explicit THelpForm(QWidget* parent = nullptr);

    // Shows the window, at the top of the guide the first time, and gives it the focus.
    void Open();

    // The names under which the pictures are stored in the guide's document.
    static const char* const kTheoryPictureName;
    static const char* const kDiagramPictureName;
    static const char* const kExtrasAttachedPictureName;
    static const char* const kExtrasDetachedPictureName;

    // The diagram of the start-up case (V1 = 680 m/s, χ = 20°, c1 = 340 m/s, γ = 1.4), drawn by
    // the diagram code as the main window draws it, without the labels painted over it.
    static QImage StartupDiagram();
    // The diagram of V1 = 680 m/s at the wedge chi (whole degrees) with the layer of exact
    // theory's extra constructions over it, drawn at the given device scale.
    static QImage ExtrasDiagram(int chi, int scale);

    QTextBrowser* Text1 = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool placed_ = false;
};

extern THelpForm* HelpForm;

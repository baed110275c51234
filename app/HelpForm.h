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
    // the diagram code as the main window draws it, without the labels painted over it; at a
    // device scale above 1 an image of that many times the size whose device pixel ratio says so.
    static QImage StartupDiagram(int scale = 1);

    // Puts the guide's pictures into its document drawn at a device scale; the text keeps
    // its layout.  The guide does this itself when it is painted on a screen of another scale.
    void ShowPicturesAtScale(int scale);
    // The device scale of the pictures in the document now.
    int PicturesScale() const { return picturesScale_; }
    // The diagram of V1 = 680 m/s at the wedge chi (whole degrees) with the layer of exact
    // theory's extra constructions over it, drawn at the given device scale.
    static QImage ExtrasDiagram(int chi, int scale);

    QTextBrowser* Text1 = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The two pictures at a device scale into the document's resources.
    void AddPictures(int scale);

    bool placed_ = false;
    int picturesScale_ = 0;
    int requestedScale_ = 0; // asked for from the event loop and not yet drawn
};

extern THelpForm* HelpForm;

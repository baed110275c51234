// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit5.h"

#include <QMouseEvent>

#include "ActivationTracker.h"
#include "ErrorBox.h"
#include "Pictures.h"
#include "TImage.h"
#include "Unit1.h"
#include "WindowActivation.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent)
    : QWidget(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QString());
    setFixedSize(kClientWidth, kClientHeight);
    move(237, 140);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    Image11 = new zk::TImage(this);
    Image11->move(-1, 0);
    Image11->SetAutoSize(true);
    Image11->SetPicture(zk::pictures::TheoryPicture());
    Image11->SetHighResolutionSource(zk::pictures::AtScale(zk::pictures::TheoryPicture));
    connect(Image11, &zk::TImage::Click, this, zk::Guarded([this] { Image11Click(); }));
    zk::ActivationTracker::Instance().Register(this, {});
}

void TForm5::FormClick() {
    HidePicture();
}

void TForm5::Image11Click() {
    HidePicture();
}

void TForm5::HidePicture() {
    hide();
    // The focus goes back to the main window, as when any focused window of the program hides.
    if (Main && Main->isVisible() && Main->isEnabled())
        zk::ActivateWindow(Main);
}

void TForm5::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    QWidget::mousePressEvent(event);
}

void TForm5::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        if (rect().contains(event->position().toPoint()))
            zk::RunHandler([this] { FormClick(); });
    }
    QWidget::mouseReleaseEvent(event);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit4.h"

#include "ActivationTracker.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Form4"));
    // The outer size is 696 x 480; the client area is that less a sizeable frame of 4 pixels on
    // each side and a title bar of 26 pixels.
    setGeometry(192, 114, 696 - 8, 480 - 34);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    zk::ActivationTracker::Instance().Register(this, {});
}

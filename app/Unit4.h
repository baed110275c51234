// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An empty window, created at start-up and never shown.
#include <QWidget>

class TForm4 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm4(QWidget* parent = nullptr);
};

extern TForm4* Form4;

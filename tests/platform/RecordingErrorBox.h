// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An error box sink for tests: records each box instead of showing it, and puts the message box
// back when it goes.
#include <QString>
#include <vector>

#include "ErrorBox.h"

class QWidget;

struct RecordedBox {
    QString Title;
    QString Text;
    QString Informative;       // what the student can do about it
    QWidget* Window = nullptr; // the window the box is centred on
};

class RecordingErrorBox : public zk::ErrorBoxSink {
  public:
    RecordingErrorBox() { zk::SetErrorBoxSink(this); }
    ~RecordingErrorBox() override { zk::SetErrorBoxSink(nullptr); }
    void ShowError(const QString& title, const QString& text) override {
        Boxes.push_back({title, text, QString(), nullptr});
    }
    void ShowError(const QString& title, const QString& text, const QString& informative,
                   QWidget* window) override {
        Boxes.push_back({title, text, informative, window});
    }

    std::vector<RecordedBox> Boxes;
};

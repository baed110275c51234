// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An error box sink for tests: records each box instead of showing it, and puts the message box
// back when it goes.
#include <QString>
#include <vector>

#include "ErrorBox.h"

struct RecordedBox {
    QString Title;
    QString Text;
};

class RecordingErrorBox : public zk::ErrorBoxSink {
  public:
    RecordingErrorBox() { zk::SetErrorBoxSink(this); }
    ~RecordingErrorBox() override { zk::SetErrorBoxSink(nullptr); }
    void ShowError(const QString& title, const QString& text) override { Boxes.push_back({title, text}); }

    std::vector<RecordedBox> Boxes;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Apply as the main window sees it: the diagram drawn into the window's picture, the result texts
// and the visibility of the ratio labels and formula pictures set on the window's controls, and
// the window shown with them at the end.  The drawing is recorded step by step for the window
// "Построение по шагам".
#include <QString>

#include "StepRecordingDiagram.h"

class QWidget;
class TMain;

class MainDiagram : public zk::StepRecordingDiagram {
  public:
    explicit MainDiagram(TMain& window);

    void SetCaption(zk::ResultItem label, const std::string& text) override;
    void SetVisible(zk::ResultItem item, bool visible) override;
    void ClearAndDrawAxes() override;
    void Repaint() override;

  private:
    QWidget* Control(zk::ResultItem item) const;

    TMain& window_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainDiagram.h"

#include <QLabel>

#include "DecimalSeparator.h"
#include "RasterCanvas.h"
#include "StepsForm.h"
#include "TImage.h"
#include "Unit1.h"

MainDiagram::MainDiagram(TMain& window)
    : zk::StepRecordingDiagram(Construction, window.RisCanvas(), Flow), window_(window) {}

QWidget* MainDiagram::Control(zk::ResultItem item) const {
    using zk::ResultItem;
    switch (item) {
    case ResultItem::Label1:
        return window_.Label1;
    case ResultItem::Label2:
        return window_.Label2;
    case ResultItem::Label3:
        return window_.Label3;
    case ResultItem::Label6:
        return window_.Label6;
    case ResultItem::Label8:
        return window_.Label8;
    case ResultItem::Label11:
        return window_.Label11;
    case ResultItem::Label12:
        return window_.Label12;
    case ResultItem::Label13:
        return window_.Label13;
    case ResultItem::Image2:
        return window_.Image2;
    case ResultItem::Image3:
        return window_.Image3;
    case ResultItem::Image4:
        return window_.Image4;
    case ResultItem::Image5:
        return window_.Image5;
    }
    return nullptr;
}

void MainDiagram::SetCaption(zk::ResultItem label, const std::string& text) {
    zk::StepRecordingDiagram::SetCaption(label, text);
    if (auto* control = qobject_cast<QLabel*>(Control(label))) {
        control->setText(zk::LocalizedNumberText(text));
        control->adjustSize(); // a label sizes itself to its text and keeps its top-left corner
    }
}

void MainDiagram::SetVisible(zk::ResultItem item, bool visible) {
    zk::StepRecordingDiagram::SetVisible(item, visible);
    if (QWidget* control = Control(item))
        control->setVisible(visible);
}

void MainDiagram::ClearAndDrawAxes() {
    window_.PictureCleared();
    zk::StepRecordingDiagram::ClearAndDrawAxes();
}

void MainDiagram::Repaint() {
    zk::StepRecordingDiagram::Repaint();
    window_.ShowApplied();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkingWindow.h"

#include <QFrame>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "Comparison.h"
#include "StepsForm.h"
#include "Unit1.h"
#include "WindowPlacement.h"

namespace {

QRect GlobalRect(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

} // namespace

void PlaceBesideMain(QWidget* window, QSize design) {
    if (!Main)
        return;
    zk::PlacementRequest request;
    request.Screen = Main->screen()->availableGeometry();
    request.Owner = Main->frameGeometry();
    // The menu, the input frame with the fields, and the button below it.
    request.KeepFree = {GlobalRect(Main->menuBar()), GlobalRect(Main->Bevel1), GlobalRect(Main->Button2)};
    // The window manager frames this window as it framed the main window.
    const QRect frame = Main->frameGeometry();
    const QRect client = Main->geometry();
    request.Frame = QMargins(client.left() - frame.left(), client.top() - frame.top(),
                             frame.right() - client.right(), frame.bottom() - client.bottom());
    request.Client = design;
    request.MinimumScale = kWorkingWindowMinimumScale;
    zk::Placement placement = zk::PlaceBeside(request);
    // Where the screen has room for both, the other working window already open is left free
    // as well: the window goes beside the two of them, at its full size.
    for (const QWidget* other :
         {static_cast<const QWidget*>(Comparison), static_cast<const QWidget*>(Steps)}) {
        if (!other || other == window || !other->isVisible())
            continue;
        zk::PlacementRequest both = request;
        both.Owner = request.Owner.united(other->frameGeometry());
        if (const zk::Placement apart = zk::PlaceBeside(both); apart.Beside && apart.Scale >= 1)
            placement = apart;
    }
    window->resize(placement.Client);
    window->move(placement.FrameTopLeft);
}

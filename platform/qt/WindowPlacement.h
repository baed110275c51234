// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a working window opens next to the program's main window: beside, below, left of or above
// it, on the screen, and never over the parts of the main window that must stay free (its inputs
// and its button).  A window that does not fit at its design size is shown smaller, its content
// scaled, when it allows that.
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <qnamespace.h>

namespace zk {

// A working window of its own beside the main window: a normal top-level window, not kept above
// the main window, with title, system menu, minimise, maximise and close buttons.
inline constexpr Qt::WindowFlags kWorkingWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

struct PlacementRequest {
    QRect Screen;            // the screen's available area, global coordinates
    QRect Owner;             // the main window's frame
    QList<QRect> KeepFree;   // parts of the main window the window must not cover, gap pixels away
    QMargins Frame;          // the window's frame around its client area
    QSize Client;            // the client size the window is designed for
    double MinimumScale = 1; // the smallest content scale the window accepts (1: fixed size)
    int Gap = 8;             // pixels between the windows
};

struct Placement {
    QPoint FrameTopLeft;
    QSize Client;        // the client size to give the window
    double Scale = 1;    // Client over the design size
    bool Beside = false; // beside the owner, leaving all of it free
};

// Full size in the first of the places beside, below, left of and above the owner where the window
// fits; else, for a window that may shrink, the largest scale one of those places allows; else the
// largest place on the screen beside the parts kept free, over the rest of the owner; else the
// window at its smallest in the screen's corner farthest from the parts kept free.
Placement PlaceBeside(const PlacementRequest& request);

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A secondary window that belongs to another window of the program: the windowing system keeps it
// above its owner and minimises and restores it with the owner.  The owner is only the window's
// transient parent, not its parent widget, so disabling the owner leaves the window usable.
#include <qnamespace.h>

class QWidget;

namespace zk {

// A fixed-size secondary window: a dialog-type window (the windowing system makes only those
// transient for their owner) with its title, system menu, minimise and close buttons and no
// maximise button.
inline constexpr Qt::WindowFlags kFixedOwnedWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Makes window transient for owner.  Both must be top-level widgets; the native windows are
// created here if they do not exist yet.
void SetWindowOwner(QWidget* window, QWidget* owner);

// The widget whose window the window is transient for, or nullptr.
QWidget* WindowOwner(const QWidget* window);

} // namespace zk

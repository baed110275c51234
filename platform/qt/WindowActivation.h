// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Giving a window of the program the keyboard focus as showing it does: it comes to the front,
// asks the windowing system for the focus, and its activation handler runs when the focus comes
// from another window of the program.
class QWidget;

namespace zk {

void ActivateWindow(QWidget* window);

} // namespace zk

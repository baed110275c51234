// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowActivation.h"

#include <QWidget>

#include "ActivationTracker.h"

namespace zk {

void ActivateWindow(QWidget* window) {
    window->raise();
    window->activateWindow();
    // The windowing system may grant the focus later or not at all (another application is in
    // front); the program's own activation does not wait for it.
    ActivationTracker& tracker = ActivationTracker::Instance();
    if (tracker.LastActive() != window)
        tracker.Activate(window);
}

} // namespace zk

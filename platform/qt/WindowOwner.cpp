// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowOwner.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace zk {

void SetWindowOwner(QWidget* window, QWidget* owner) {
    // winId() creates the native window, which gives the widget its QWindow.
    window->winId();
    owner->winId();
    window->windowHandle()->setTransientParent(owner->windowHandle());
}

QWidget* WindowOwner(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    if (!handle || !handle->transientParent())
        return nullptr;
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
        if (candidate->windowHandle() == handle->transientParent())
            return candidate;
    }
    return nullptr;
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActivationTracker.h"

#include <QGuiApplication>
#include <QWindow>

namespace zk {

ActivationTracker& ActivationTracker::Instance() {
    static ActivationTracker* tracker = new ActivationTracker; // lives as long as the application
    return *tracker;
}

ActivationTracker::ActivationTracker() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::focusWindowChanged, this, &ActivationTracker::FocusWindowChanged);
}

void ActivationTracker::Register(QWidget* window, std::function<void()> onActivate) {
    entries_.push_back(Entry{window, std::move(onActivate)});
}

void ActivationTracker::Activate(QWidget* window) {
    last_ = window;
    for (const Entry& entry : entries_)
        if (entry.Window == window && entry.OnActivate) {
            entry.OnActivate();
            return;
        }
}

void ActivationTracker::FocusWindowChanged(QWindow* focus) {
    if (focus == nullptr)
        return; // the program lost the focus to another application: remember who had it
    for (const Entry& entry : entries_) {
        if (entry.Window && entry.Window->windowHandle() == focus) {
            if (entry.Window != last_)
                Activate(entry.Window);
            return;
        }
    }
}

} // namespace zk

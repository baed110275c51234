// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a window's activation handler when the program's keyboard focus passes into that window
// from another window of the program, or into any window while none of the program's had it
// (the main window at start-up).  Switching back to the program from another application does
// not count, nor does hiding and showing the window that last had the focus with no other window
// of the program focused in between.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QWindow;

namespace zk {

class ActivationTracker : public QObject {
    Q_OBJECT
public:
    static ActivationTracker& Instance();

    // Registers a top-level window of the program and its activation handler.
    void Register(QWidget* window, std::function<void()> onActivate);
    // Runs the handler of window at once, as when the focus passes into it from another window
    // of the program, and records window as the one that has the program's focus.
    void Activate(QWidget* window);
    // The window that last had the program's focus (null before the first).
    QWidget* LastActive() const { return last_; }

private:
    ActivationTracker();
    void FocusWindowChanged(QWindow* focus);

    struct Entry {
        QPointer<QWidget> Window;
        std::function<void()> OnActivate;
    };
    std::vector<Entry> entries_;
    QPointer<QWidget> last_;
};

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "DecimalSeparator.h"
#include "ErrorBox.h"

namespace zk {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    ReadDecimalSeparator();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    // A box raised while this event is handled is centred on the receiver's window.
    const ErrorSourceScope source(receiver);
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

bool Application::event(QEvent* event) {
    if (event->type() == QEvent::LocaleChange)
        ReadDecimalSeparator();
    return QApplication::event(event);
}

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: reports every error that escapes an event handler in the error box
// instead of letting it cross the event loop, and reads the decimal separator again when the
// system announces changed regional settings.
#include <QApplication>

namespace zk {

class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

  protected:
    bool event(QEvent* event) override;
};

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error report of the program: an error that ends a handler is shown in a message box with
// the error's message, the application title as caption, an error icon and a single OK button,
// and the program then carries on with the next event.
//
// Handlers are run through RunHandler (or connected through Guarded), so that no exception
// unwinds through the toolkit's own frames; the application's notify() catches whatever still
// escapes an event handler and reports it the same way.
#include <QString>
#include <functional>
#include <utility>

namespace zk {

// The text of the box for an error message: "." is appended when the message is not empty and
// its last character sorts after "." (a message ending in "." gets none).
QString ErrorBoxText(const QString& message);

// Where the boxes go.  The default shows a modal QMessageBox; tests install a sink that records
// the title and text instead of blocking.
class ErrorBoxSink {
  public:
    virtual ~ErrorBoxSink() = default;
    virtual void ShowError(const QString& title, const QString& text) = 0;
};

// Installs a sink; nullptr restores the message box.
void SetErrorBoxSink(ErrorBoxSink* sink);

// The program's title, shown in the caption of every error box (and nowhere added to the windows'
// own captions).
void SetApplicationTitle(const QString& title);
QString ApplicationTitleForErrors();

// Shows the box for one error message, under the application's display name.
void ReportError(const QString& message);

// The message of the exception being handled (call inside a catch block).
QString CurrentExceptionMessage();
// Reports the exception being handled in the box (call inside a catch block).
void ReportCurrentException() noexcept;

// Runs one handler to its end or to its first error, which is reported in the box.
void RunHandler(const std::function<void()>& handler) noexcept;

// A slot that runs f through RunHandler, for connecting a handler to a signal.
template <class F> auto Guarded(F f) {
    return [f = std::move(f)](auto&&...) { RunHandler(f); };
}

} // namespace zk

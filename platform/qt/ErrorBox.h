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
#include <exception>
#include <functional>
#include <string>
#include <utility>

class QObject;
class QWidget;

namespace zk {

// What the student can do about an error, carried beside it: raised with std::throw_with_nested
// around the error itself, whose message stays the one the box shows; the advice (UTF-8) goes
// under it.  Not an std::exception, so that no handler takes the note for the error itself.
class ErrorAdviceNote {
  public:
    explicit ErrorAdviceNote(std::string advice) : advice_(std::move(advice)) {}
    virtual ~ErrorAdviceNote() = default;
    const std::string& Advice() const { return advice_; }

  private:
    std::string advice_;
};

// Raises error with advice beside it.
template <class E> [[noreturn]] void ThrowWithAdvice(const E& error, std::string advice) {
    try {
        throw error;
    } catch (...) {
        std::throw_with_nested(ErrorAdviceNote(std::move(advice)));
    }
}

// The text of the box for an error message: "." is appended when the message is not empty and
// its last character sorts after "." (a message ending in "." gets none).
QString ErrorBoxText(const QString& message);

// Where the boxes go.  The default shows a modal QMessageBox centred on window (on the screen
// when there is none); tests install a sink that records the box instead of blocking.
class ErrorBoxSink {
  public:
    virtual ~ErrorBoxSink() = default;
    virtual void ShowError(const QString& title, const QString& text) = 0;
    // The box with its informative text, what the student can do about the error (empty when
    // the program knows nothing to add), and the window it is centred on.
    virtual void ShowError(const QString& title, const QString& text, const QString& informative,
                           QWidget* window) {
        (void)informative;
        (void)window;
        ShowError(title, text);
    }
};

// Installs a sink; nullptr restores the message box.
void SetErrorBoxSink(ErrorBoxSink* sink);

// The program's title, shown in the caption of every error box (and nowhere added to the windows'
// own captions).
void SetApplicationTitle(const QString& title);
QString ApplicationTitleForErrors();

// Shows the box for one error message, under the application's display name, centred on the
// window whose event raised it.
void ReportError(const QString& message, const QString& informative = QString());

// The message of the exception being handled (call inside a catch block); for an error raised
// with advice, the message of the error inside.
QString CurrentExceptionMessage();
// The advice raised with the exception being handled, or an empty string.
QString CurrentExceptionAdvice();

// The window an error box raised now is centred on: the window of the object whose event is
// being handled, or, when that window is hidden, the window it belongs to, else the active one.
QWidget* ErrorBoxWindow();

// Marks receiver as the object whose event is being handled, for as long as it lives; the
// application's notify() sets one for every event.
class ErrorSourceScope {
  public:
    explicit ErrorSourceScope(QObject* receiver);
    ~ErrorSourceScope();
    ErrorSourceScope(const ErrorSourceScope&) = delete;
    ErrorSourceScope& operator=(const ErrorSourceScope&) = delete;

  private:
    QObject* previous_;
};
// Reports the exception being handled in the box (call inside a catch block).
void ReportCurrentException() noexcept;

// Runs one handler to its end or to its first error, which is reported in the box.
void RunHandler(const std::function<void()>& handler) noexcept;

// A slot that runs f through RunHandler, for connecting a handler to a signal.
template <class F> auto Guarded(F f) {
    return [f = std::move(f)](auto&&...) { RunHandler(f); };
}

} // namespace zk

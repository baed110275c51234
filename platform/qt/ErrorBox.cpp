// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorBox.h"

#include "WindowOwner.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <exception>
#include <new>

namespace zk {

namespace {
ErrorBoxSink* g_sink = nullptr;

QObject* g_source = nullptr; // the receiver of the event being handled

void ShowMessageBox(const QString& title, const QString& text, const QString& informative, QWidget* window) {
    // A box with a parent is centred on it by the toolkit.
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, window);
    box.setInformativeText(informative);
    box.exec();
}

QWidget* SourceWidget() {
    for (QObject* object = g_source; object; object = object->parent()) {
        if (object->isWidgetType())
            return static_cast<QWidget*>(object);
    }
    return nullptr;
}
} // namespace

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void SetErrorBoxSink(ErrorBoxSink* sink) {
    g_sink = sink;
}

namespace {
QString g_applicationTitle;
} // namespace

void SetApplicationTitle(const QString& title) {
    g_applicationTitle = title;
}

QString ApplicationTitleForErrors() {
    return g_applicationTitle.isEmpty() ? QGuiApplication::applicationDisplayName() : g_applicationTitle;
}

ErrorSourceScope::ErrorSourceScope(QObject* receiver) : previous_(g_source) {
    g_source = receiver;
}

ErrorSourceScope::~ErrorSourceScope() {
    g_source = previous_;
}

QWidget* ErrorBoxWindow() {
    QWidget* window = SourceWidget();
    // A menu, a hidden dialog or a closed window: the box goes to the window it belongs to.
    for (int hops = 0; window && hops < 8; ++hops) {
        window = window->window();
        if (window->isVisible() && !window->isMinimized())
            return window;
        QWidget* next = window->parentWidget() ? window->parentWidget() : WindowOwner(window);
        window = next;
    }
    QWidget* active = QApplication::activeWindow();
    return active && active->isVisible() ? active : nullptr;
}

void ReportError(const QString& message, const QString& informative) {
    const QString title = ApplicationTitleForErrors();
    const QString text = ErrorBoxText(message);
    QWidget* window = ErrorBoxWindow();
    if (g_sink)
        g_sink->ShowError(title, text, informative, window);
    else
        ShowMessageBox(title, text, informative, window);
}

QString CurrentExceptionAdvice() {
    try {
        throw;
    } catch (const ErrorAdviceNote& note) {
        return QString::fromStdString(note.Advice());
    } catch (...) {
        return QString();
    }
}

QString CurrentExceptionMessage() {
    try {
        throw;
    } catch (const ErrorAdviceNote& note) {
        // The error itself is nested inside the advice.
        if (const auto* nested = dynamic_cast<const std::nested_exception*>(&note); nested && nested->nested_ptr()) {
            try {
                nested->rethrow_nested();
            } catch (...) {
                return CurrentExceptionMessage();
            }
        }
        return QStringLiteral("Unknown error");
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void ReportCurrentException() noexcept {
    try {
        ReportError(CurrentExceptionMessage(), CurrentExceptionAdvice());
    } catch (...) {
        // The box itself failed (no memory left): nothing more can be told to the user.
    }
}

void RunHandler(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ReportCurrentException();
    }
}

} // namespace zk

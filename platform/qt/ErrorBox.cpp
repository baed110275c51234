// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <new>

namespace zk {

namespace {
ErrorBoxSink* g_sink = nullptr;

void ShowMessageBox(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    box.exec();
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

void ReportError(const QString& message) {
    const QString title = ApplicationTitleForErrors();
    const QString text = ErrorBoxText(message);
    if (g_sink)
        g_sink->ShowError(title, text);
    else
        ShowMessageBox(title, text);
}

QString CurrentExceptionMessage() {
    try {
        throw;
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
        ReportError(CurrentExceptionMessage());
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecimalSeparator.h"

#include <QLocale>
#include <optional>

namespace zk {

namespace {
std::optional<QString>& Current() {
    static std::optional<QString> separator;
    return separator;
}
} // namespace

QString DecimalSeparator() {
    if (!Current())
        ReadDecimalSeparator();
    return *Current();
}

void ReadDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    Current() = point.isEmpty() ? QStringLiteral(".") : point;
}

void SetDecimalSeparator(const QString& separator) {
    Current() = separator.isEmpty() ? QStringLiteral(".") : separator;
}

QString LocalizedNumberText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1Char('.'), DecimalSeparator());
    return shown;
}

} // namespace zk

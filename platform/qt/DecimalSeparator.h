// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The decimal separator of real numbers shown to the user: taken from the user's locale (a comma
// in a Russian locale, "." when the locale names none) and read again when the system announces
// that the regional settings changed.
#include <QString>
#include <string>

namespace zk {

// The separator in force; read from the locale on first use.
QString DecimalSeparator();
// Reads the separator from the user's locale again.
void ReadDecimalSeparator();
// Puts a separator in force until the locale is read again.
void SetDecimalSeparator(const QString& separator);
// A number text written with "." as its separator (NumberText(x, '.')), shown with the separator
// in force.  Number texts hold only digits, signs, "E" and the one separator.
QString LocalizedNumberText(const std::string& text);

} // namespace zk

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printed-formula face of the main window's labels, asked for by name: fontconfig stands in
// a metric-compatible face where it is not installed.
#include <QFont>

namespace zk {

inline QFont FormFont(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace zk

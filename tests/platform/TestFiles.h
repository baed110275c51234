// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing whole test files.
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <string>

namespace zk::test {

// The bytes of a file, or "<missing>" when it cannot be opened.
inline std::string Contents(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

// Writes bytes as the whole of a file, failing the test when that is not possible.
inline void Write(const QString& fileName, const std::string& bytes) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << fileName.toStdString();
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

} // namespace zk::test

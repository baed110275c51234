// SPDX-License-Identifier: GPL-3.0-or-later
// The flight tests drive a real window, so they run inside an application object.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

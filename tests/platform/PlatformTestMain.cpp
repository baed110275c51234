// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest inside the program's application object, so that widgets, timers and the error
// report work as in the program.
#include <gtest/gtest.h>

#include "Application.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    zk::Application application(argc, argv);
    application.setApplicationDisplayName(QStringLiteral("Зорквента"));
    return RUN_ALL_TESTS();
}

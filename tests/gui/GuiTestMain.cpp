// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest inside the program's application object, initialised as the program does it.
#include <gtest/gtest.h>

#include "Application.h"
#include "Startup.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    zk::Application application(argc, argv);
    zk::InitialiseApplication(application);
    return RUN_ALL_TESTS();
}

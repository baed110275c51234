// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest inside the program's application object, initialised as the program does it.
#include <gtest/gtest.h>

#include "Application.h"
#include "Startup.h"

int main(int argc, char** argv) {
    // A desktop screen of 2560 x 1440 where every window opens at its design size, unless the
    // test run names a screen of its own.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZK_TEST_DATA "/screens/desktop-2560x1440.json");
    ::testing::InitGoogleTest(&argc, argv);
    zk::Application application(argc, argv);
    zk::InitialiseApplication(application);
    return RUN_ALL_TESTS();
}

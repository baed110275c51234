// SPDX-License-Identifier: GPL-3.0-or-later
// Зорквента: supersonic flow past a wedge, solved on the shock polar.
#include <cstdio>

#include "Application.h"
#include "CommandLine.h"
#include "Startup.h"

int main(int argc, char** argv) {
    zk::Application application(argc, argv);
    zk::InitialiseApplication(application);
    const CommandLine commandLine(application.arguments());
    if (commandLine.ExitStatus) {
        std::fputs(commandLine.Message.toLocal8Bit().constData(),
                   *commandLine.ExitStatus == 0 ? stdout : stderr);
        return *commandLine.ExitStatus;
    }
    zk::CreateWindows();
    commandLine.OpenCase();
    return application.exec();
}

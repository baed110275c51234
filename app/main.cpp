// SPDX-License-Identifier: GPL-3.0-or-later
// Зорквента: supersonic flow past a wedge, solved on the shock polar.
#include <cstdio>
#include <optional>

#include "Application.h"
#include "CommandLine.h"
#include "Startup.h"

namespace {

// Prints what the command line answers, if it answers, and gives the exit status.
std::optional<int> Answer(const CommandLine& commandLine) {
    if (!commandLine.ExitStatus)
        return std::nullopt;
    std::fputs(commandLine.Message.toLocal8Bit().constData(), *commandLine.ExitStatus == 0 ? stdout : stderr);
    return commandLine.ExitStatus;
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version need no display: they are answered before the window system starts.
    if (const auto early = CommandLine::BeforeApplication(argc, argv))
        return *Answer(*early);
    zk::Application application(argc, argv);
    zk::InitialiseApplication(application);
    const CommandLine commandLine(application.arguments());
    if (const auto status = Answer(commandLine))
        return *status;
    zk::CreateWindows();
    commandLine.OpenCase();
    return application.exec();
}

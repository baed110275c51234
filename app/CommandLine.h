// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program is asked on its command line: `zorkventa [CASE.psr]`, as a file manager calls
// it for a saved case, and the usual --help and --version.
#include <QString>
#include <QStringList>
#include <optional>

class CommandLine {
  public:
    // Reads the arguments (the program's name first, as QCoreApplication::arguments() gives them).
    explicit CommandLine(const QStringList& arguments);

    // The answer to --help or --version, read from the raw arguments before the application (and
    // with it the window system) starts, so it needs no display; nothing for any other command
    // line, which is read again once the toolkit has taken its own options out of it.
    static std::optional<CommandLine> BeforeApplication(int argc, char** argv);

    // The case to open after start-up; empty without one.
    QString CaseFile;
    // Set when the program is to print Message and end with this status instead of starting:
    // after --help or --version (0) or for arguments it does not understand (2).
    std::optional<int> ExitStatus;
    QString Message;

    // Opens CaseFile in the main window as "Открыть" does, reporting a bad file in the error box.
    // Does nothing without a case.
    void OpenCase() const;

  private:
    CommandLine() = default;
    // Fills the fields from the arguments; before the application only a request for help or the
    // version is taken, since the toolkit's own options are still among the arguments.
    bool Read(const QStringList& arguments, bool beforeApplication);
};

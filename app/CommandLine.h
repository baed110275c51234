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

    // The case to open after start-up; empty without one.
    QString CaseFile;
    // Set when the program is to print Message and end with this status instead of starting:
    // after --help or --version (0) or for arguments it does not understand (2).
    std::optional<int> ExitStatus;
    QString Message;

    // Opens CaseFile in the main window as "Открыть" does, reporting a bad file in the error box.
    // Does nothing without a case.
    void OpenCase() const;
};

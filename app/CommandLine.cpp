// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "ErrorBox.h"
#include "Unit1.h"

namespace {

// The help, in the words of the program rather than the toolkit's, so it reads the same before the
// application (and its translations) have started.
QString HelpText() {
    return QStringLiteral(
        "Использование: zorkventa [параметры] [CASE.psr]\n"
        "Зорквента: сверхзвуковое обтекание клина, ударная поляра в плоскости годографа.\n"
        "\n"
        "Параметры:\n"
        "  -h, --help, -?   показать эту справку и выйти\n"
        "  --help-all       то же, что --help\n"
        "  -v, --version    показать версию программы и выйти\n"
        "\n"
        "Аргументы:\n"
        "  CASE.psr         сохранённый случай, который открыть после запуска\n");
}

} // namespace

CommandLine::CommandLine(const QStringList& arguments) { Read(arguments, false); }

std::optional<CommandLine> CommandLine::BeforeApplication(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(QString::fromLocal8Bit(argv[i]));
    CommandLine commandLine;
    if (!commandLine.Read(arguments, true))
        return std::nullopt;
    return commandLine;
}

bool CommandLine::Read(const QStringList& arguments, bool beforeApplication) {
    QCommandLineParser parser;
    // Before the application the toolkit's options are still there: read "-reverse" as one
    // (unknown) word, not as the letters r, e, v (the version) and so on.
    if (beforeApplication)
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("CASE.psr"),
                                 QStringLiteral("Сохранённый случай, который открыть после запуска."),
                                 QStringLiteral("[CASE.psr]"));
    const bool parsed = parser.parse(arguments);
    const bool helpAsked = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    const bool versionAsked = parser.isSet(version);
    if (beforeApplication && !helpAsked && !versionAsked)
        return false;
    if (!parsed && !beforeApplication) {
        ExitStatus = 2;
        Message = parser.errorText() + QLatin1Char('\n');
        return true;
    }
    if (helpAsked) {
        ExitStatus = 0;
        Message = HelpText();
        return true;
    }
    if (versionAsked) {
        ExitStatus = 0;
        Message = QStringLiteral("zorkventa %1\n").arg(QStringLiteral(ZK_VERSION));
        return true;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        ExitStatus = 2;
        Message =
            QStringLiteral("Можно открыть только один случай, а указано файлов: %1.\n").arg(files.size());
        return true;
    }
    if (!files.isEmpty())
        CaseFile = files.front();
    return true;
}

void CommandLine::OpenCase() const {
    if (CaseFile.isEmpty() || !Main)
        return;
    zk::RunHandler([this] { Main->OpenResultFile(CaseFile); });
}

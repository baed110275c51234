// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "ErrorBox.h"
#include "Unit1.h"

CommandLine::CommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Зорквента: сверхзвуковое обтекание клина, ударная поляра в плоскости годографа."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("CASE.psr"),
                                 QStringLiteral("Сохранённый случай, который открыть после запуска."),
                                 QStringLiteral("[CASE.psr]"));
    if (!parser.parse(arguments)) {
        ExitStatus = 2;
        Message = parser.errorText() + QLatin1Char('\n');
        return;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        ExitStatus = 0;
        Message = parser.helpText();
        return;
    }
    if (parser.isSet(version)) {
        ExitStatus = 0;
        Message = QStringLiteral("zorkventa %1\n").arg(QStringLiteral(ZK_VERSION));
        return;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        ExitStatus = 2;
        Message =
            QStringLiteral("Можно открыть только один случай, а указано файлов: %1.\n").arg(files.size());
        return;
    }
    if (!files.isEmpty())
        CaseFile = files.front();
}

void CommandLine::OpenCase() const {
    if (CaseFile.isEmpty() || !Main)
        return;
    zk::RunHandler([this] { Main->OpenResultFile(CaseFile); });
}

// SPDX-License-Identifier: GPL-3.0-or-later
// `zorkventa CASE.psr`: the case opened right after start-up exactly as "Открыть" opens it, and
// the arguments the program refuses.
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "CommandLine.h"
#include "ProgramFixture.h"
#include "TestFiles.h"

namespace {

CommandLine Parse(const QStringList& arguments) {
    return CommandLine(QStringList{QStringLiteral("zorkventa")} + arguments);
}

} // namespace

TEST(CommandLineParse, TakesOneCaseAndRefusesWhatItDoesNotKnow) {
    const CommandLine none = Parse({});
    EXPECT_FALSE(none.ExitStatus);
    EXPECT_TRUE(none.CaseFile.isEmpty());

    const CommandLine one = Parse({QStringLiteral("/tmp/случай 1.psr")});
    EXPECT_FALSE(one.ExitStatus);
    EXPECT_EQ(one.CaseFile, QStringLiteral("/tmp/случай 1.psr"));

    const CommandLine two = Parse({QStringLiteral("a.psr"), QStringLiteral("b.psr")});
    ASSERT_TRUE(two.ExitStatus);
    EXPECT_EQ(*two.ExitStatus, 2);
    EXPECT_FALSE(two.Message.isEmpty());
    EXPECT_TRUE(two.CaseFile.isEmpty());

    const CommandLine unknown = Parse({QStringLiteral("--frobnicate")});
    ASSERT_TRUE(unknown.ExitStatus);
    EXPECT_EQ(*unknown.ExitStatus, 2);
    EXPECT_TRUE(unknown.Message.contains(QStringLiteral("frobnicate")));

    // A file whose name begins with a minus sign, after the end of the options.
    const CommandLine dashed = Parse({QStringLiteral("--"), QStringLiteral("-case.psr")});
    EXPECT_FALSE(dashed.ExitStatus);
    EXPECT_EQ(dashed.CaseFile, QStringLiteral("-case.psr"));
}

TEST(CommandLineParse, HelpAndVersionEndTheProgramWithSuccess) {
    const CommandLine help = Parse({QStringLiteral("--help")});
    ASSERT_TRUE(help.ExitStatus);
    EXPECT_EQ(*help.ExitStatus, 0);
    EXPECT_TRUE(help.Message.contains(QStringLiteral("CASE.psr")));
    const CommandLine helpAll = Parse({QStringLiteral("--help-all")});
    ASSERT_TRUE(helpAll.ExitStatus) << "the toolkit's longer help is help too, not a start";
    EXPECT_EQ(*helpAll.ExitStatus, 0);

    const CommandLine version = Parse({QStringLiteral("--version")});
    ASSERT_TRUE(version.ExitStatus);
    EXPECT_EQ(*version.ExitStatus, 0);
    EXPECT_EQ(version.Message, QStringLiteral("zorkventa " ZK_VERSION "\n"));
}

// The program itself, started with no display at all: --help and --version are answered before
// the window system is asked for; anything else still needs the display.
TEST(CommandLineProgram, HelpAndVersionNeedNoDisplay) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        environment.remove(QString::fromLatin1(name));
    const struct {
        QStringList Arguments;
        int Status;
        QString Out; // the beginning of standard output
    } rows[] = {
        {{QStringLiteral("--help")}, 0, QStringLiteral("Использование: zorkventa [параметры] [CASE.psr]\n")},
        {{QStringLiteral("-h")}, 0, QStringLiteral("Использование: zorkventa ")},
        {{QStringLiteral("--help-all")}, 0, QStringLiteral("Использование: zorkventa ")},
        {{QStringLiteral("--version")}, 0, QStringLiteral("zorkventa " ZK_VERSION "\n")},
        {{QStringLiteral("-v")}, 0, QStringLiteral("zorkventa " ZK_VERSION "\n")},
        {{QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--version")},
         0,
         QStringLiteral("zorkventa " ZK_VERSION "\n")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Arguments.join(QLatin1Char(' ')).toStdString());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZK_PROGRAM), row.Arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no abort";
        EXPECT_EQ(program.exitCode(), row.Status);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith(row.Out)) << out.toStdString();
    }
}

// Before the application starts only help and the version are answered: the toolkit's options, and
// with them words whose letters spell -h or -v, are left for the application to take.
TEST(CommandLineParse, BeforeTheApplicationOnlyHelpAndVersionAreAnswered) {
    const auto early = [](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "zorkventa");
        std::vector<char*> argv;
        for (auto& a : arguments)
            argv.push_back(a.data());
        return CommandLine::BeforeApplication(static_cast<int>(argv.size()), argv.data());
    };
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {}, {"case.psr"}, {"-reverse"}, {"-stylesheet", "s.qss"}, {"--bogus"}, {"--", "--help"}})
        EXPECT_FALSE(early(arguments)) << (arguments.empty() ? "" : arguments[0]);
    const auto help = early({"-style", "fusion", "--help"});
    ASSERT_TRUE(help && help->ExitStatus);
    EXPECT_EQ(*help->ExitStatus, 0);
    EXPECT_TRUE(help->Message.contains(QStringLiteral("CASE.psr")));
    const auto version = early({"case.psr", "-v"});
    ASSERT_TRUE(version && version->ExitStatus);
    EXPECT_EQ(version->Message, QStringLiteral("zorkventa " ZK_VERSION "\n"));
}

class CommandLineOpenTest : public ProgramTest {
  protected:
    void OpenFromCommandLine(const QString& fileName) { Parse({fileName}).OpenCase(); }
};

TEST_F(CommandLineOpenTest, GoodCaseIsOpenedAsTheOpenCommandOpensIt) {
    const QString file = Temp("case.psr");
    zk::test::Write(file, "300\r\n130\r\n1000\r\n15\r\n");
    OpenFromCommandLine(file);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Flow.SoundSpeed, 300.0);
    EXPECT_EQ(Flow.Gamma, 1.3);
    EXPECT_EQ(Flow.V1, 1000);
    EXPECT_EQ(Main->SpinEdit1->Text(), "15");
    EXPECT_EQ(Opt->cc1->Text(), "300");
    EXPECT_EQ(Opt->cG1->Text(), "13");
    const QStringList fromCommandLine = ShownState();
    const QImage picture = Picture();

    // The same file through "Открыть", from another case, gives the same window.
    Main->SpinEdit1->SetValue(30);
    Main->SpinEdit2->SetValue(2000);
    Main->Button2Click();
    ASSERT_NE(ShownState(), fromCommandLine);
    dialogs.Answer(file);
    Main->N6->trigger();
    EXPECT_EQ(ShownState(), fromCommandLine);
    EXPECT_EQ(Picture(), picture);
}

TEST_F(CommandLineOpenTest, OpenDialogThenOffersTheFileAndItsFolder) {
    const QString file = Temp("offered.psr");
    zk::test::Write(file, "340\r\n140\r\n680\r\n20\r\n");
    OpenFromCommandLine(file);
    dialogs.Cancel();
    Main->N6Click();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].FileName, file);
    EXPECT_EQ(QFileInfo(dialogs.Requests[0].FileName).absolutePath(), dir.path());
}

TEST_F(CommandLineOpenTest, RelativeNameIsTakenFromTheCurrentFolder) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    zk::test::Write(Temp("here.psr"), "340\r\n140\r\n1020\r\n10\r\n");
    OpenFromCommandLine(QStringLiteral("here.psr"));
    QDir::setCurrent(previous);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Main->SpinEdit2->Text(), "1020");
    EXPECT_EQ(Main->OpenDialog1->FileName, Temp("here.psr")) << "kept as a full path";
}

TEST_F(CommandLineOpenTest, BadCaseShowsTheErrorAndKeepsTheStartupCase) {
    const QStringList before = ShownState();
    const QImage picture = Picture();
    OpenFromCommandLine(Data("letter-in-gamma.psr"));
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Title, QStringLiteral("Зорквента"));
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("Invalid numeric input."));
    EXPECT_EQ(ShownState(), before);
    EXPECT_EQ(Picture(), picture);
    EXPECT_EQ(Flow.SoundSpeed, 340.0) << "all or nothing";
    EXPECT_EQ(Flow.Gamma, 1.4);
    EXPECT_EQ(Flow.V1, 680);
    EXPECT_TRUE(Main->isVisible());
}

TEST_F(CommandLineOpenTest, MissingCaseDoesNothingAtAll) {
    const QStringList before = ShownState();
    const QImage picture = Picture();
    OpenFromCommandLine(Temp("no-such-case.psr"));
    OpenFromCommandLine(Temp("no-such-folder/case.psr"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(ShownState(), before);
    EXPECT_EQ(Picture(), picture);
}

TEST_F(CommandLineOpenTest, WithoutAnArgumentNothingChanges) {
    const QStringList before = ShownState();
    Parse({}).OpenCase();
    EXPECT_EQ(ShownState(), before);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_TRUE(Main->OpenDialog1->FileName.isEmpty());
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "TestFiles.h"
#include "ProgramFixture.h"

namespace {

using zk::test::Contents;
using zk::test::Write;

// A folder in which no file can be created: a read-only folder, or for the superuser, who may
// write anywhere, the kernel's attribute folder.
QString ProtectedFolder(const QTemporaryDir& dir) {
    const QString folder = dir.filePath(QStringLiteral("read-only"));
    QDir().mkdir(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return folder;
    return QStringLiteral("/sys");
}

} // namespace

class ResultFileTest : public ProgramTest {
  protected:
    // Opens a file through the menu item "Открыть".
    void Open(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->N6->trigger();
    }
    void Save(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->psr1->trigger();
    }

    // Puts a case other than the start-up one into the program.
    void SetOtherCase() {
        Main->SpinEdit1->SetValue(10);
        Main->SpinEdit2->SetValue(1000);
        Main->Button2Click();
    }
};

TEST_F(ResultFileTest, SavingWritesTheFourLinesOfTheFlowState) {
    Save(Temp("startup"));
    EXPECT_EQ(Contents(Temp("startup.psr")), "340\r\n140\r\n680\r\n20\r\n")
        << "a name without extension gets .psr";
    EXPECT_TRUE(errors.Boxes.empty());

    // What is saved is the last Apply, not what was typed since.
    Main->SpinEdit1->SetValue(35);
    Save(Temp("typed.psr"));
    EXPECT_EQ(Contents(Temp("typed.psr")), "340\r\n140\r\n680\r\n20\r\n");
}

TEST_F(ResultFileTest, DialogsHaveTheirFiltersAndRememberTheirNames) {
    Save(Temp("one.psr"));
    dialogs.Cancel();
    Main->psr1Click();
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[0].Filter, QStringLiteral("Файлы Мирандоль (psr)|*.psr"));
    EXPECT_EQ(dialogs.Requests[0].DefaultExt, QStringLiteral("psr"));
    EXPECT_TRUE(dialogs.Requests[0].FileName.isEmpty());
    EXPECT_EQ(dialogs.Requests[1].FileName, Temp("one.psr"));

    Open(Temp("one.psr"));
    ASSERT_EQ(dialogs.Requests.size(), 3u);
    EXPECT_EQ(dialogs.Requests[2].Kind, zk::TFileDialogKind::Open);
    EXPECT_EQ(dialogs.Requests[2].Filter, QStringLiteral("Мирандоль (psr)|*.psr"));
    EXPECT_TRUE(dialogs.Requests[2].DefaultExt.isEmpty());
}

TEST_F(ResultFileTest, CancelledDialogsDoNothing) {
    dialogs.Cancel();
    Main->psr1Click();
    const QStringList before = ShownState();
    dialogs.Cancel();
    Main->N6Click();
    EXPECT_EQ(ShownState(), before);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ResultFileTest, SaveAndOpenRestoreTheCase) {
    SetOtherCase();
    Main->N2Click();
    Opt->cG1->SetValue(13);
    Opt->cc1->SetValue(320);
    Opt->BitBtn1Click();
    const QStringList saved = ShownState();
    const QImage picture = Picture();
    Save(Temp("case.psr"));
    EXPECT_EQ(Contents(Temp("case.psr")), "320\r\n130\r\n1000\r\n10\r\n");

    // Back to the defaults, then open.
    Main->SpinEdit1->SetValue(20);
    Main->SpinEdit2->SetValue(680);
    Flow.SoundSpeed = 340;
    Flow.Gamma = 1.4;
    Opt->cc1->SetValue(340);
    Opt->cG1->SetValue(14);
    Main->Button2Click();
    Open(Temp("case.psr"));
    EXPECT_EQ(ShownState(), saved);
    EXPECT_EQ(Picture(), picture);
    EXPECT_EQ(Flow.SoundSpeed, 320.0);
    EXPECT_EQ(Flow.Gamma, 1.3);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ResultFileTest, OpeningTheStartupLinesGivesTheStartupCase) {
    const QImage startup = Picture();
    const QStringList shown = ShownState();
    SetOtherCase();
    Open(Data("startup.psr"));
    EXPECT_EQ(ShownState(), shown);
    EXPECT_EQ(Flow.Gamma, 1.4);
    EXPECT_EQ(Picture(), startup);
}

TEST_F(ResultFileTest, ReadingRulesOfTheFourLines) {
    struct Row {
        const char* file;
        double soundSpeed;
        double gamma;
        QStringList fields; // wedge, velocity, c1, γ × 10
        QString error;      // the box after the final Apply, if any
    };
    const Row rows[] = {
        {"blank-first-line.psr", 340, 1.4, {"20", "680", "340", "14"}, {}},
        {"fractional-sound-speed.psr", 340.5, 1.4, {"20", "680", "340", "14"}, {}}, // 340.5 rounds to even
        {"wedge-beyond-180.psr", 340, 1.4, {"180", "680", "340", "14"}, {}},
        {"velocity-below-limit.psr", 340, 1.4, {"20", "365", "340", "14"}, {}},
        // Only the first number of a line is read: γ = 0 then fails Apply.
        {"all-numbers-on-one-line.psr", 340, 0, {"0", "365", "340", "0"}, "Floating point division by zero."},
        // A file that ends early reads 0s; Apply fails on the zero speed of sound.
        {"empty.psr", 0, 0, {"0", "365", "0", "0"}, "Floating point division by zero."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        errors.Boxes.clear();
        Open(Data(row.file));
        EXPECT_EQ(Flow.SoundSpeed, row.soundSpeed);
        EXPECT_EQ(Flow.Gamma, row.gamma);
        EXPECT_EQ((QStringList{Main->SpinEdit1->Text(), Main->SpinEdit2->Text(), Opt->cc1->Text(),
                               Opt->cG1->Text()}),
                  row.fields);
        if (row.error.isEmpty()) {
            EXPECT_TRUE(errors.Boxes.empty());
        } else {
            ASSERT_EQ(errors.Boxes.size(), 1u);
            EXPECT_EQ(errors.Boxes[0].Text, row.error);
        }
    }
}

TEST_F(ResultFileTest, VelocityFollowsTheClampedFieldAtApply) {
    Open(Data("velocity-below-limit.psr"));
    EXPECT_EQ(Flow.V1, 365);
}

TEST_F(ResultFileTest, FailingLineChangesNothing) {
    struct Row {
        const char* file;
        const char* message;
    };
    const Row rows[] = {
        {"real-velocity.psr", "Invalid numeric input."},
        {"comma-decimal.psr", "Invalid numeric input."},
        {"letter-in-gamma.psr", "Invalid numeric input."},
        {"wedge-too-large-to-round.psr", "Invalid floating point operation."},
    };
    SetOtherCase();
    const QStringList shown = ShownState();
    const QImage picture = Picture();
    const zk::FlowState flow = Flow;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        errors.Boxes.clear();
        Open(Data(row.file));
        ASSERT_EQ(errors.Boxes.size(), 1u);
        EXPECT_EQ(errors.Boxes[0].Text, QString::fromUtf8(row.message));
        EXPECT_EQ(errors.Boxes[0].Title, QStringLiteral("Зорквента"));
        EXPECT_EQ(ShownState(), shown);
        EXPECT_EQ(Picture(), picture);
        EXPECT_EQ(Flow.SoundSpeed, flow.SoundSpeed);
        EXPECT_EQ(Flow.Gamma, flow.Gamma);
        EXPECT_EQ(Flow.V1, flow.V1);
        EXPECT_EQ(Flow.WedgeAngle, flow.WedgeAngle);
    }
}

TEST_F(ResultFileTest, NameOfNoFileDoesNothingAtAll) {
    const QStringList shown = ShownState();
    Open(Temp("missing.psr"));
    Open(dir.path()); // a folder is no file
    EXPECT_EQ(ShownState(), shown);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ResultFileTest, SavingIntoAMissingFolderIsAnInvalidFilename) {
    Save(Temp("no such folder/case.psr"));
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("Invalid filename."));
}

TEST_F(ResultFileTest, SavingIntoAProtectedFolderIsAccessDenied) {
    Save(ProtectedFolder(dir) + QStringLiteral("/case.psr"));
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("File access denied."));
}

TEST_F(ResultFileTest, FailedSaveKeepsTheExistingFile) {
    Write(Temp("case.psr"), "300\r\n130\r\n900\r\n15\r\n");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit lowered = saved;
    lowered.rlim_cur = 4; // the new file cannot be written in full, as on a full disk
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lowered);
    Save(Temp("case.psr"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("Disk full."));
    EXPECT_EQ(Contents(Temp("case.psr")), "300\r\n130\r\n900\r\n15\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

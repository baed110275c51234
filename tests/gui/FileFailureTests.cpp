// SPDX-License-Identifier: GPL-3.0-or-later
// Saving, exporting, opening and printing when the operating system or the printer fails, on any
// machine and for any user: each failure is made on purpose at the step where the system would
// report it.  The box names the reason, the previous file stays whole and nothing else changes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <cerrno>

#include "FileFault.h"
#include "ProgramFixture.h"
#include "TestFiles.h"

namespace {

using zk::FileOperation;
using zk::test::Contents;
using zk::test::Write;

const std::string kOldCase = "300\r\n130\r\n900\r\n15\r\n";

// The entries of a folder, hidden ones included.
QStringList Entries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The flow-state fields that an opened file or Apply writes.
struct FlowFields {
    double SoundSpeed, Gamma, WedgeAngle, ShockAngle;
    std::int32_t V1, PointCx, PointCy;
    static FlowFields Take() {
        return {Flow.SoundSpeed, Flow.Gamma,   Flow.WedgeAngle, Flow.ShockAngle,
                Flow.V1,         Flow.PointCx, Flow.PointCy};
    }
    bool operator==(const FlowFields&) const = default;
};

} // namespace

class FileFailureTest : public ProgramTest {
  protected:
    void Open(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->N6->trigger();
    }
    void Save(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->psr1->trigger();
    }
    void Export(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->bmp1->trigger();
    }
    // The one box the last command showed, under the program's title.
    void ExpectBox(const QString& text) {
        ASSERT_EQ(errors.Boxes.size(), 1u) << "expected the box " << text.toStdString();
        EXPECT_EQ(errors.Boxes[0].Text, text);
        EXPECT_EQ(errors.Boxes[0].Title, QStringLiteral("Зорквента"));
        errors.Boxes.clear();
    }
};

TEST_F(FileFailureTest, SaveFailuresNameTheReasonAndKeepThePreviousFile) {
    const struct {
        FileOperation Operation;
        int Error;
        const char* Message;
    } rows[] = {
        {FileOperation::Create, EACCES, "File access denied."}, // a protected folder or file
        {FileOperation::Create, EROFS, "File access denied."},  // a read-only disk
        {FileOperation::Create, EISDIR, "File access denied."}, // a folder in the way
        {FileOperation::Create, EMFILE, "Too many open files."},
        {FileOperation::Write, ENOSPC, "Disk full."},
        {FileOperation::Write, EDQUOT, "Disk full."},
        {FileOperation::Write, EIO, "I/O error 29."}, // the system's write fault
        {FileOperation::Sync, EIO, "I/O error 29."},
        {FileOperation::Sync, ENOSPC, "Disk full."},
        {FileOperation::Close, EIO, "I/O error 29."},
        {FileOperation::Rename, EACCES, "File access denied."},
        {FileOperation::Rename, EBUSY, "I/O error 32."}, // in use by another program
    };
    const QStringList shown = ShownState();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Message);
        SCOPED_TRACE(static_cast<int>(row.Operation));
        Write(Temp("case.psr"), kOldCase);
        {
            zk::FileFault fault(row.Operation, row.Error);
            Save(Temp("case.psr"));
        }
        ExpectBox(QString::fromLatin1(row.Message));
        EXPECT_EQ(Contents(Temp("case.psr")), kOldCase) << "the previous case is kept whole";
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("case.psr")}) << "no temporary file is left";
        EXPECT_EQ(ShownState(), shown);
    }
    Save(Temp("case.psr"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Contents(Temp("case.psr")), "340\r\n140\r\n680\r\n20\r\n");
}

TEST_F(FileFailureTest, ExportFailuresAreCreateOrStreamWriteErrors) {
    const struct {
        FileOperation Operation;
        int Error;
        bool Create; // the file could not be made, else its bytes could not be written
    } rows[] = {
        {FileOperation::Create, EACCES, true},  {FileOperation::Create, ENOSPC, true},
        {FileOperation::Write, ENOSPC, false},  {FileOperation::Write, EIO, false},
        {FileOperation::Sync, EIO, false},      {FileOperation::Close, EIO, false},
        {FileOperation::Rename, EACCES, false},
    };
    const std::string oldPicture = "BM not really a picture";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Error);
        SCOPED_TRACE(static_cast<int>(row.Operation));
        Write(Temp("pic.bmp"), oldPicture);
        {
            zk::FileFault fault(row.Operation, row.Error);
            Export(Temp("pic"));
        }
        ExpectBox(row.Create ? QStringLiteral("Cannot create file ") + Temp("pic.bmp") + QStringLiteral(".")
                             : QStringLiteral("Stream write error."));
        EXPECT_EQ(Contents(Temp("pic.bmp")), oldPicture);
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("pic.bmp")});
    }
    Export(Temp("pic"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(QImage(Temp("pic.bmp"), "BMP").size(), QSize(609, 449));
}

TEST_F(FileFailureTest, OpenFailuresNameTheReasonAndChangeNothing) {
    Write(Temp("case.psr"), "320\r\n130\r\n1000\r\n10\r\n");
    const struct {
        FileOperation Operation;
        int Error;
        const char* Message;
    } rows[] = {
        {FileOperation::OpenForReading, EACCES, "File access denied."},
        {FileOperation::OpenForReading, EISDIR, "File access denied."},
        {FileOperation::OpenForReading, EMFILE, "Too many open files."},
        {FileOperation::OpenForReading, EBUSY, "I/O error 32."}, // locked by another program
        {FileOperation::Read, EIO, "I/O error 30."},             // the system's read fault
    };
    const QStringList shown = ShownState();
    const QImage picture = Picture();
    const FlowFields flow = FlowFields::Take();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Message);
        {
            zk::FileFault fault(row.Operation, row.Error);
            Open(Temp("case.psr"));
        }
        ExpectBox(QString::fromLatin1(row.Message));
        EXPECT_EQ(ShownState(), shown);
        EXPECT_EQ(Picture(), picture);
        EXPECT_TRUE(FlowFields::Take() == flow) << "not even the gas is taken";
    }
    Open(Temp("case.psr"));
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(Main->SpinEdit2->Text(), QStringLiteral("1000"));
}

TEST_F(FileFailureTest, DanglingLinkAsTheTarget) {
    // Saving through a link whose file does not exist yet creates that file and keeps the link;
    // opening such a link is opening a file that does not exist: nothing at all happens.
    const QString link = Temp("link.psr");
    ASSERT_TRUE(QFile::link(Temp("target.psr"), link));
    const QStringList shown = ShownState();
    Open(link);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_EQ(ShownState(), shown);
    Save(link);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Contents(Temp("target.psr")), "340\r\n140\r\n680\r\n20\r\n");

    const QString picture = Temp("picture.bmp");
    ASSERT_TRUE(QFile::link(Temp("drawn.bmp"), picture));
    Export(picture);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_TRUE(QFileInfo(picture).isSymLink());
    EXPECT_EQ(QImage(Temp("drawn.bmp"), "BMP").size(), QSize(609, 449));

    // A link into a folder that does not exist names no file that could be made.
    const QString nowhere = Temp("nowhere.psr");
    ASSERT_TRUE(QFile::link(Temp("no such folder/case.psr"), nowhere));
    Save(nowhere);
    ExpectBox(QStringLiteral("Invalid filename."));
    const QString nowherePicture = Temp("nowhere.bmp");
    ASSERT_TRUE(QFile::link(Temp("no such folder/pic.bmp"), nowherePicture));
    Export(nowherePicture);
    ExpectBox(QStringLiteral("Cannot create file ") + nowherePicture + QStringLiteral("."));
    EXPECT_TRUE(QFileInfo(nowhere).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(Temp("no such folder")));
}

// The system's printing failing at each of its steps, on a PDF printer that stands in for the
// default printer: the box names the failure and the button "Применить" is back.
TEST_F(FileFailureTest, PrinterFailuresAreReportedAndTheButtonComesBack) {
    const struct {
        zk::PrinterFault Fault;
        const char* Message;
    } rows[] = {
        {zk::PrinterFault::NoDefaultPrinter, "There is no default printer currently selected."},
        {zk::PrinterFault::OrientationRefused, "Operation not supported on selected printer."},
        {zk::PrinterFault::JobRefused, "Printing failed: the printer did not accept the job."},
        {zk::PrinterFault::JobUnfinished, "Printing failed: the job could not be completed."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Message);
        zk::QtPrinter printer(Temp("page.pdf"));
        printer.SetFault(row.Fault);
        zk::SetPrinter(&printer);
        Main->N4->trigger();
        zk::SetPrinter(nullptr);
        ExpectBox(QString::fromLatin1(row.Message));
        EXPECT_TRUE(Main->Button2->isVisible());
    }
    // The same printer without a fault prints.
    zk::QtPrinter printer(Temp("page.pdf"));
    zk::SetPrinter(&printer);
    Main->N4->trigger();
    zk::SetPrinter(nullptr);
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_TRUE(Contents(Temp("page.pdf")).starts_with("%PDF"));
}

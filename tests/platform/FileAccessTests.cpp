// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileAccess.h"
#include "FileFault.h"
#include "TestFiles.h"

using zk::FileAccessError;

namespace {

using zk::test::Contents;
using zk::test::Write;

// The entries of a folder, hidden ones included: no temporary file may be left behind.
QStringList Entries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Files larger than limit bytes cannot be written while it lives (as on a full disk).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

TEST(ReplaceFileContents, CreatesAndReplacesLeavingNothingElse) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("case.psr"));
    zk::ReplaceFileContents(name, "340\r\n140\r\n680\r\n20\r\n");
    EXPECT_EQ(Contents(name), "340\r\n140\r\n680\r\n20\r\n");
    zk::ReplaceFileContents(name, "1\r\n");
    EXPECT_EQ(Contents(name), "1\r\n");
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("case.psr")});
}

TEST(ReplaceFileContents, KeepsTheModeOfTheFileItReplaces) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("shared.psr"));
    Write(name, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(name).constData(), 0640), 0);
    zk::ReplaceFileContents(name, "new");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// A new file gets the mode any program's new file gets under the user's umask (0666 with the
// umask's bits taken away), not the private mode of the temporary file it was written as.
TEST(ReplaceFileContents, ANewFileTakesTheModeTheUmaskLeaves) {
    const struct {
        mode_t Umask, Mode;
    } rows[] = {{022, 0644}, {002, 0664}, {077, 0600}, {027, 0640}, {0, 0666}};
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("new.psr"));
        const mode_t saved = ::umask(row.Umask);
        zk::ReplaceFileContents(name, "340\r\n");
        ::umask(saved);
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, row.Mode) << "umask " << std::oct << row.Umask;
    }
}

TEST(ReplaceFileContents, FollowsASymbolicLink) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.psr"));
    const QString link = dir.filePath(QStringLiteral("link.psr"));
    Write(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    zk::ReplaceFileContents(link, "new");
    EXPECT_EQ(Contents(target), "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(ReplaceFileContents, MissingFolderFailsToOpen) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("no such folder/case.psr"));
    try {
        zk::ReplaceFileContents(name, "340\r\n");
        FAIL() << "no error";
    } catch (const FileAccessError& error) {
        EXPECT_EQ(error.FailedStage(), FileAccessError::Stage::Open);
        EXPECT_EQ(error.ErrorNumber(), ENOENT);
    }
    EXPECT_TRUE(Entries(dir).isEmpty());
}

TEST(ReplaceFileContents, AFolderOfThatNameIsNotReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("case.psr")));
    try {
        zk::ReplaceFileContents(dir.filePath(QStringLiteral("case.psr")), "340\r\n");
        FAIL() << "no error";
    } catch (const FileAccessError& error) {
        EXPECT_EQ(error.FailedStage(), FileAccessError::Stage::Open);
        EXPECT_EQ(error.ErrorNumber(), EISDIR);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("case.psr"))).isDir());
}

TEST(ReplaceFileContents, FailedWriteKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("case.psr"));
    Write(name, "340\r\n140\r\n680\r\n20\r\n");
    {
        FileSizeLimit limit(4); // the new contents do not fit
        try {
            zk::ReplaceFileContents(name, std::string(100, '7'));
            FAIL() << "no error";
        } catch (const FileAccessError& error) {
            EXPECT_EQ(error.FailedStage(), FileAccessError::Stage::Write);
            EXPECT_EQ(error.ErrorNumber(), EFBIG);
        }
    }
    EXPECT_EQ(Contents(name), "340\r\n140\r\n680\r\n20\r\n");
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("case.psr")}) << "the temporary file is removed";
}

TEST(ReadFileBytes, ReadsEveryByte) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("bytes"));
    std::string bytes("a\0b\r\n\x1a", 6);
    bytes += std::string(200000, 'x'); // longer than one read
    Write(name, bytes);
    EXPECT_EQ(zk::ReadFileBytes(name), bytes);
}

TEST(ReadFileBytes, FailuresTellTheOperatingSystemsReason) {
    QTemporaryDir dir;
    try {
        zk::ReadFileBytes(dir.filePath(QStringLiteral("missing")));
        FAIL() << "no error";
    } catch (const FileAccessError& error) {
        EXPECT_EQ(error.FailedStage(), FileAccessError::Stage::Open);
        EXPECT_EQ(error.ErrorNumber(), ENOENT);
    }
    try {
        zk::ReadFileBytes(dir.path());
        FAIL() << "no error";
    } catch (const FileAccessError& error) {
        EXPECT_EQ(error.ErrorNumber(), EISDIR);
    }
}

// The operating system's errors at every step of a replacement, made on purpose so that they run
// for every user: the stage and the error number reach the caller, the previous contents stay and
// no temporary file is left behind.
TEST(ReplaceFileContents, EverySystemErrorKeepsThePreviousFile) {
    const struct {
        zk::FileOperation Operation;
        int Error;
        FileAccessError::Stage Stage;
    } rows[] = {
        {zk::FileOperation::Create, EACCES, FileAccessError::Stage::Open},
        {zk::FileOperation::Create, ENOSPC, FileAccessError::Stage::Open},
        {zk::FileOperation::Write, ENOSPC, FileAccessError::Stage::Write},
        {zk::FileOperation::Write, EIO, FileAccessError::Stage::Write},
        {zk::FileOperation::Sync, EIO, FileAccessError::Stage::Write},
        {zk::FileOperation::Close, EIO, FileAccessError::Stage::Write},
        {zk::FileOperation::Rename, EACCES, FileAccessError::Stage::Write},
        {zk::FileOperation::Rename, EBUSY, FileAccessError::Stage::Write},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.Operation));
        SCOPED_TRACE(row.Error);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("case.psr"));
        Write(name, "340\r\n140\r\n680\r\n20\r\n");
        {
            zk::FileFault fault(row.Operation, row.Error);
            try {
                zk::ReplaceFileContents(name, "1\r\n2\r\n3\r\n4\r\n");
                FAIL() << "no error";
            } catch (const FileAccessError& error) {
                EXPECT_EQ(error.FailedStage(), row.Stage);
                EXPECT_EQ(error.ErrorNumber(), row.Error);
            }
        }
        EXPECT_EQ(Contents(name), "340\r\n140\r\n680\r\n20\r\n");
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("case.psr")}) << "the temporary file is removed";
        // The fault ends with its scope: the same replacement now goes through.
        zk::ReplaceFileContents(name, "1\r\n");
        EXPECT_EQ(Contents(name), "1\r\n");
    }
}

TEST(ReadFileBytes, SystemErrorsWhileOpeningOrReading) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("case.psr"));
    Write(name, "340\r\n");
    const struct {
        zk::FileOperation Operation;
        int Error;
        FileAccessError::Stage Stage;
    } rows[] = {
        {zk::FileOperation::OpenForReading, EACCES, FileAccessError::Stage::Open},
        {zk::FileOperation::OpenForReading, EMFILE, FileAccessError::Stage::Open},
        {zk::FileOperation::Read, EIO, FileAccessError::Stage::Read},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Error);
        zk::FileFault fault(row.Operation, row.Error);
        try {
            zk::ReadFileBytes(name);
            FAIL() << "no error";
        } catch (const FileAccessError& error) {
            EXPECT_EQ(error.FailedStage(), row.Stage);
            EXPECT_EQ(error.ErrorNumber(), row.Error);
        }
    }
    EXPECT_EQ(zk::ReadFileBytes(name), "340\r\n") << "no fault outlives its scope";
}

TEST(ReplaceFileContents, DanglingLinkCreatesItsTargetAndStays) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.psr"));
    const QString link = dir.filePath(QStringLiteral("link.psr"));
    ASSERT_TRUE(QFile::link(target, link));
    zk::ReplaceFileContents(link, "340\r\n");
    EXPECT_EQ(Contents(target), "340\r\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link is not replaced by a file";
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);

    // A link into a folder that does not exist, and a link that points at itself, are no file.
    const QString nowhere = dir.filePath(QStringLiteral("nowhere.psr"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("missing/case.psr")), nowhere));
    const QString loop = dir.filePath(QStringLiteral("loop.psr"));
    ASSERT_TRUE(QFile::link(loop, loop));
    const struct {
        QString Name;
        int Error;
    } rows[] = {{nowhere, ENOENT}, {loop, ELOOP}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name.toStdString());
        try {
            zk::ReplaceFileContents(row.Name, "340\r\n");
            FAIL() << "no error";
        } catch (const FileAccessError& error) {
            EXPECT_EQ(error.FailedStage(), FileAccessError::Stage::Open);
            EXPECT_EQ(error.ErrorNumber(), row.Error);
        }
        EXPECT_TRUE(QFileInfo(row.Name).isSymLink());
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

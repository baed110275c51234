#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestFiles.h"
#include "FileAccess.h"

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

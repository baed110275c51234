#include "FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk {

namespace {
std::string Describe(FileAccessError::Stage stage, int errorNumber, const QString& fileName) {
    const char* what = stage == FileAccessError::Stage::Open   ? "cannot open "
                       : stage == FileAccessError::Stage::Read ? "cannot read "
                                                               : "cannot write ";
    return what + fileName.toStdString() + ": " + std::strerror(errorNumber);
}

// Closes a descriptor at the end of its scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    int Release() {
        const int released = fd;
        fd = -1;
        return released;
    }
};

// The temporary file beside the target: removed at the end of its scope unless committed.
struct TemporaryFile {
    QByteArray path;
    bool committed = false;
    ~TemporaryFile() {
        if (!path.isEmpty() && !committed)
            ::unlink(path.constData());
    }
};
} // namespace

FileAccessError::FileAccessError(Stage stage, int errorNumber, const QString& fileName)
    : std::runtime_error(Describe(stage, errorNumber, fileName)), stage_(stage), errorNumber_(errorNumber) {}

std::string ReadFileBytes(const QString& fileName) {
    const QByteArray path = QFile::encodeName(fileName);
    Descriptor file{::open(path.constData(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        throw FileAccessError(FileAccessError::Stage::Open, errno, fileName);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        throw FileAccessError(FileAccessError::Stage::Read, errno, fileName);
    if (S_ISDIR(info.st_mode))
        throw FileAccessError(FileAccessError::Stage::Open, EISDIR, fileName);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.fd, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw FileAccessError(FileAccessError::Stage::Read, errno, fileName);
        }
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

void ReplaceFileContents(const QString& fileName, std::string_view bytes) {
    QString targetName = fileName;
    const QFileInfo target(fileName);
    if (target.isSymLink() && target.exists())
        targetName = target.canonicalFilePath();
    const QByteArray targetPath = QFile::encodeName(targetName);

    // An existing target must be a file we may write, as if it were opened for writing.
    struct stat existing {};
    const bool exists = ::stat(targetPath.constData(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode))
            throw FileAccessError(FileAccessError::Stage::Open, EISDIR, fileName);
        if (::access(targetPath.constData(), W_OK) != 0)
            throw FileAccessError(FileAccessError::Stage::Open, errno, fileName);
    }

    const QFileInfo resolved(targetName);
    TemporaryFile temporary;
    temporary.path = QFile::encodeName(resolved.absolutePath() + QLatin1String("/.") + resolved.fileName() +
                                       QLatin1String(".XXXXXX"));
    Descriptor file{::mkostemp(temporary.path.data(), O_CLOEXEC)};
    if (file.fd < 0) {
        const int error = errno;
        temporary.path.clear(); // nothing was created
        throw FileAccessError(FileAccessError::Stage::Open, error, fileName);
    }

    // The new file gets the mode of the one it replaces, or the usual mode of a new file.
    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(file.fd, mode) != 0)
        throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(file.fd, bytes.data() + written, bytes.size() - written);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
        }
        written += static_cast<std::size_t>(count);
    }
    if (::fsync(file.fd) != 0)
        throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
    if (::close(file.Release()) != 0)
        throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
    if (::rename(temporary.path.constData(), targetPath.constData()) != 0)
        throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
    temporary.committed = true;
}

} // namespace zk

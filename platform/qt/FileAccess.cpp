// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileFault.h"

namespace zk {

namespace {
// The system calls of the file layer.  Each fails with the error a FileFault asks for instead of
// running, as the system would report it: -1 and errno.
bool Refused(FileOperation operation) {
    const int error = FileFault::ErrorFor(operation);
    if (error != 0)
        errno = error;
    return error != 0;
}
int OpenForReading(const char* path) {
    return Refused(FileOperation::OpenForReading) ? -1 : ::open(path, O_RDONLY | O_CLOEXEC);
}
ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
    return Refused(FileOperation::Read) ? -1 : ::read(fd, buffer, size);
}
int CreateUnique(char* pathTemplate) {
    return Refused(FileOperation::Create) ? -1 : ::mkostemp(pathTemplate, O_CLOEXEC);
}
ssize_t WriteSome(int fd, const char* bytes, std::size_t size) {
    return Refused(FileOperation::Write) ? -1 : ::write(fd, bytes, size);
}
int SyncToDisk(int fd) {
    return Refused(FileOperation::Sync) ? -1 : ::fsync(fd);
}
int CloseFile(int fd) {
    const int result = ::close(fd); // the descriptor goes in any case
    return Refused(FileOperation::Close) ? -1 : result;
}
int RenameFile(const char* from, const char* to) {
    return Refused(FileOperation::Rename) ? -1 : ::rename(from, to);
}

// The file a name stands for: a symbolic link, even one whose target does not exist yet, is
// followed to its target, so that saving through it writes the target and keeps the link.  Empty
// for a chain of links too long to follow.
QString LinkTarget(const QString& fileName) {
    QString name = fileName;
    for (int depth = 0; depth < 40; ++depth) { // the system's own limit on nested links
        const QFileInfo info(name);
        if (!info.isSymLink())
            return name;
        name = info.symLinkTarget();
    }
    return {};
}

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
    Descriptor file{OpenForReading(path.constData())};
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
        const ssize_t count = ReadSome(file.fd, buffer, sizeof buffer);
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
    const QString targetName = LinkTarget(fileName);
    if (targetName.isEmpty())
        throw FileAccessError(FileAccessError::Stage::Open, ELOOP, fileName);
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
    Descriptor file{CreateUnique(temporary.path.data())};
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
        const ssize_t count = WriteSome(file.fd, bytes.data() + written, bytes.size() - written);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
        }
        written += static_cast<std::size_t>(count);
    }
    if (SyncToDisk(file.fd) != 0)
        throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
    if (CloseFile(file.Release()) != 0)
        throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
    if (RenameFile(temporary.path.constData(), targetPath.constData()) != 0)
        throw FileAccessError(FileAccessError::Stage::Write, errno, fileName);
    temporary.committed = true;
}

} // namespace zk

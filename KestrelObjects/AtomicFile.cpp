#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
TFileCalls& Calls() {
    static TFileCalls calls;
    return calls;
}

ssize_t WriteCall(int fd, const char* data, size_t size) {
    return Calls().Write ? Calls().Write(fd, data, size) : ::write(fd, data, size);
}

int SyncCall(int fd) { return Calls().Sync ? Calls().Sync(fd) : ::fsync(fd); }

QString Reason(int error) { return QString::fromLocal8Bit(strerror(error)); }

// The file a write to path lands in: the end of a chain of symbolic links, or path itself.
QString FinalTarget(const QString& path) {
    QFileInfo info(path);
    for (int links = 0; info.isSymLink() && links < 40; ++links) {
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            break;
        info.setFile(target);
    }
    return info.filePath();
}

// Writes every byte, going on after a short write; false with errno set on failure.
bool WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = WriteCall(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that takes nothing and reports no error would loop for ever.
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        left -= size_t(n);
    }
    return true;
}

// Creates a new, empty file with a name of its own in the target's folder.
int CreateBeside(const QString& target, QByteArray& created) {
    const QFileInfo info(target);
    const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.');
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = QFile::encodeName(stem + QString::number(QRandomGenerator::global()->generate(), 36) +
                                    QStringLiteral(".new"));
        // 0666 as usual: the process's umask takes off what it should.
        const int fd = ::open(created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}
} // namespace

TFileCalls SetFileCalls(TFileCalls calls) {
    TFileCalls previous = std::move(Calls());
    Calls() = std::move(calls);
    return previous;
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString target = FinalTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw TFileWriteError(path, Reason(EISDIR));
    // Renaming over a file needs only the folder's permission; a file its owner made read-only
    // is not to be replaced all the same.
    if (exists && ::access(targetName.constData(), W_OK) != 0)
        throw TFileWriteError(path, Reason(errno));

    QByteArray temporary;
    const int fd = CreateBeside(target, temporary);
    if (fd < 0)
        throw TFileWriteError(path, Reason(errno));
    int error = 0;
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0)
        error = errno;
    if (!error && !WriteAll(fd, bytes))
        error = errno;
    if (!error && SyncCall(fd) != 0)
        error = errno;
    // close() is where some file systems report a write they could not carry out.
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.constData(), targetName.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        throw TFileWriteError(path, Reason(error));
    }

    // The new name is made durable too. The file is already in place, so a failure here is not
    // reported as a failed write.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

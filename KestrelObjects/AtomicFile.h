#pragma once

#include "GameError.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <sys/types.h>

// A write that could not be completed. The file it was aimed at is as it was before.
class TFileWriteError : public TGameError {
public:
    TFileWriteError(const QString& path, const QString& reason)
        : TGameError(QStringLiteral("Unable to write to \"%1\": %2").arg(path, reason)), path(path), reason(reason) {}
    const QString& Path() const { return path; }
    // The system's words for what went wrong, such as "No space left on device".
    const QString& Reason() const { return reason; }

private:
    QString path;
    QString reason;
};

// Replaces the file at path with bytes, or leaves it exactly as it was. The bytes go to a new
// file beside it, which takes the old file's place only once every byte has been written and
// flushed to the disk; a full disk, a failing disk or a missing permission throws
// TFileWriteError and the old file stays whole. A symbolic link is followed: its target is
// replaced and the link kept. A new file gets the usual permissions; a replaced one keeps its own.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// The system calls the writer makes on the new file, in the form of write(2) and fsync(2):
// tests put failing ones in their place to act out a full or failing disk. An empty member
// stands for the real call.
struct TFileCalls {
    std::function<ssize_t(int fd, const char* data, size_t size)> Write;
    std::function<int(int fd)> Sync;
};

// Installs the calls the writer uses from now on; returns the ones in use before.
TFileCalls SetFileCalls(TFileCalls calls);

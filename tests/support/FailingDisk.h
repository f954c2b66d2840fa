#pragma once

#include "KestrelObjects/AtomicFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <sys/mount.h>
#include <unistd.h>

// A file's bytes as they are on the disk ("(unreadable)" when it cannot be read).
inline QByteArray FileBytesOnDisk(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// Writes a file plainly, as a person or another program would, for a test to start from.
inline bool WriteFileByHand(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A disk that fills up, for the game's file writer: writes go through until `room` bytes have
// been written in all, the last one short, and then fail with "No space left on device" (as
// write(2) does on a full disk). Optionally the flush to the disk fails instead. Installed for
// the lifetime of the object.
class DiskFullAfter {
public:
    explicit DiskFullAfter(qint64 room, int syncError = 0) : room(room), syncError(syncError) {
        previous = SetFileCalls({[this](int, const char*, size_t size) -> ssize_t {
                                     const qint64 n = std::min<qint64>(qint64(size), this->room - Written);
                                     if (n <= 0) {
                                         errno = ENOSPC;
                                         return -1;
                                     }
                                     Written += n;
                                     return ssize_t(n);
                                 },
                                 [this](int) -> int {
                                     if (this->syncError == 0)
                                         return 0;
                                     errno = this->syncError;
                                     return -1;
                                 }});
    }
    ~DiskFullAfter() { SetFileCalls(previous); }
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

    qint64 Written = 0;

private:
    qint64 room;
    int syncError;
    TFileCalls previous;
};

// A real, small file system in memory (root only): a tmpfs of `kib` KiB mounted on a folder of
// its own, unmounted again with the object. Mounted() is false where the test may not mount.
class SmallTmpfs {
public:
    explicit SmallTmpfs(int kib) {
        if (geteuid() != 0 || !dir.isValid())
            return;
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
        mounted = ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallTmpfs() {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool Mounted() const { return mounted; }
    QString FilePath(const QString& name) const { return dir.filePath(name); }

    // Fills the file system up to its last `free` bytes (a whole number of 4 KiB pages).
    void FillLeaving(qint64 free) {
        QFile filler(FilePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.resize(std::max<qint64>(0, filler.size() - free));
    }

private:
    QTemporaryDir dir;
    bool mounted = false;
};

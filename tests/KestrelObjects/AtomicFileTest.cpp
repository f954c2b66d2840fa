#include "KestrelObjects/AtomicFile.h"
#include "support/FailingDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
// The names in a folder, so that a test sees a draft left behind.
QStringList Names(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Text of a few pages, so that a disk can fill up in its middle.
QByteArray Pages() {
    QByteArray bytes;
    for (int i = 0; bytes.size() < 10000; ++i)
        bytes += "line " + QByteArray::number(i) + " of the new file\n";
    return bytes;
}

int Mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}
} // namespace

TEST(AtomicFile, WritesNewFilesAndReplacesOldOnesWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Game.twl"));
    WriteFileAtomically(path, "first");
    EXPECT_EQ(FileBytesOnDisk(path), "first");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(Mode(path), int(0666 & ~mask));

    // A longer file is replaced, not overwritten in place; its permissions stay.
    ASSERT_TRUE(WriteFileByHand(path, QByteArray(50000, 'x')));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    WriteFileAtomically(path, Pages());
    EXPECT_EQ(FileBytesOnDisk(path), Pages());
    EXPECT_EQ(Mode(path), 0600);
    EXPECT_EQ(Names(dir.path()), QStringList{QStringLiteral("Game.twl")});

    // Through a link the target is replaced and the link kept.
    const QString link = dir.filePath(QStringLiteral("Link.twl"));
    ASSERT_TRUE(QFile::link(path, link));
    WriteFileAtomically(link, "through the link");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(FileBytesOnDisk(path), "through the link");

    // A folder is not a file to write.
    EXPECT_THROW(WriteFileAtomically(dir.path(), "x"), TFileWriteError);
    EXPECT_THROW(WriteFileAtomically(dir.filePath(QStringLiteral("none/Game.twl")), "x"), TFileWriteError);
}

TEST(AtomicFile, AFullOrFailingDiskLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Game.twl"));
    const QByteArray old = "<TarnwellXML>the old game</TarnwellXML>\n";
    const QByteArray bytes = Pages();
    struct {
        qint64 room;
        int syncError;
        const char* reason;
    } const cases[] = {
        {0, 0, "No space left on device"},
        {1, 0, "No space left on device"},
        {4096, 0, "No space left on device"},
        {bytes.size() - 1, 0, "No space left on device"},
        // Every byte taken, but the disk could not keep them.
        {bytes.size(), EIO, "Input/output error"},
        {bytes.size(), ENOSPC, "No space left on device"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileByHand(path, old));
        QString message;
        {
            DiskFullAfter disk(c.room, c.syncError);
            try {
                WriteFileAtomically(path, bytes);
            } catch (const TFileWriteError& e) {
                message = e.Message();
                EXPECT_EQ(e.Reason(), c.reason);
            }
        }
        EXPECT_EQ(message, QStringLiteral("Unable to write to \"%1\": %2").arg(path, c.reason)) << c.room;
        EXPECT_EQ(FileBytesOnDisk(path), old) << c.room;
        EXPECT_EQ(Names(dir.path()), QStringList{QStringLiteral("Game.twl")}) << "a draft was left behind";
    }

    // Writes that take a few bytes at a time are carried on to the end.
    {
        TFileCalls previous = SetFileCalls(
            {[](int fd, const char* data, size_t size) { return ::write(fd, data, std::min<size_t>(size, 7)); }, {}});
        WriteFileAtomically(path, bytes);
        SetFileCalls(previous);
    }
    EXPECT_EQ(FileBytesOnDisk(path), bytes);
}

TEST(AtomicFile, ARealFullDiskLeavesTheOldFileWhole) {
    SmallTmpfs disk(64);
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.FilePath(QStringLiteral("Game.twl"));
    WriteFileAtomically(path, "the old game\n");
    for (const qint64 free : {0, 4096}) {
        disk.FillLeaving(free);
        EXPECT_THROW(WriteFileAtomically(path, Pages()), TFileWriteError) << free;
        EXPECT_EQ(FileBytesOnDisk(path), "the old game\n") << free;
    }
}

#include "KestrelObjects/TIniFile.h"
#include "support/FailingDisk.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>


namespace {
// A settings file of a few pages: settings, the top ten and a long recent-files list.
QByteArray FullIni() {
    QByteArray text = "[Display]\nCardBack=7\nSmallCards=1\n\n[History]\nCount=10\n";
    for (int k = 0; k < 10; ++k)
        text += "Path" + QByteArray::number(k) + "=/home/player/" + QByteArray(400, char('a' + k)) + ".twl\n";
    text += "\n[TopScores]\nCount=10\n";
    for (int i = 0; i < 10; ++i)
        text += "Name" + QByteArray::number(i) + "=Player " + QByteArray::number(i) + "\nScore" +
                QByteArray::number(i) + "=" + QByteArray::number(3000 - i) + "\n";
    return text;
}

// Values that a new accessor reads, as the rest of the game would see the file.
QString Read(const QString& path, const char* section, const char* key) {
    return TIniFile(path).ReadString(QLatin1String(section), QLatin1String(key), QStringLiteral("(missing)"));
}
} // namespace

TEST(IniFile, AFailedWriteLeavesTheFileWholeAndSaysSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tarnwell.ini"));
    for (const qint64 room : {0, 100, 4096, 8000}) {
        ASSERT_TRUE(WriteFileByHand(path, FullIni()));
        QString message;
        {
            DiskFullAfter disk(room);
            TIniFile ini(path);
            ini.WriteInteger(QStringLiteral("Display"), QStringLiteral("CardBack"), 2);
            ini.EraseSection(QStringLiteral("History"));
            ini.WriteInteger(QStringLiteral("History"), QStringLiteral("Count"), 0);
            // The accessor's own readings show its changes before they are written ...
            EXPECT_EQ(ini.ReadInteger(QStringLiteral("Display"), QStringLiteral("CardBack"), -1), 2);
            EXPECT_FALSE(ini.ValueExists(QStringLiteral("History"), QStringLiteral("Path3")));
            try {
                ini.Commit();
            } catch (const TGameError& e) {
                message = e.Message();
            }
            // ... and what the file holds once the write failed.
            EXPECT_EQ(ini.ReadInteger(QStringLiteral("Display"), QStringLiteral("CardBack"), -1), 7) << room;
            EXPECT_TRUE(ini.ValueExists(QStringLiteral("History"), QStringLiteral("Path3"))) << room;
        }
        EXPECT_EQ(message, "Unable to write to " + path) << room;
        EXPECT_EQ(FileBytesOnDisk(path), FullIni()) << room;
        EXPECT_EQ(Read(path, "TopScores", "Name9"), "Player 9") << room;
    }

    // With room enough the same changes go through, and the other sections stay.
    {
        TIniFile ini(path);
        ini.WriteInteger(QStringLiteral("Display"), QStringLiteral("CardBack"), 2);
        ini.EraseSection(QStringLiteral("History"));
        ini.WriteInteger(QStringLiteral("History"), QStringLiteral("Count"), 0);
        ini.Commit();
    }
    EXPECT_EQ(Read(path, "Display", "CardBack"), "2");
    EXPECT_EQ(Read(path, "Display", "SmallCards"), "1");
    EXPECT_EQ(Read(path, "History", "Path3"), "(missing)");
    EXPECT_EQ(Read(path, "TopScores", "Score9"), "2991");
}

TEST(IniFile, ARealFullDiskLeavesTheFileWhole) {
    SmallTmpfs disk(64);
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.FilePath(QStringLiteral("Tarnwell.ini"));
    ASSERT_TRUE(WriteFileByHand(path, FullIni()));
    for (const qint64 free : {0, 4096}) {
        disk.FillLeaving(free);
        TIniFile ini(path);
        ini.WriteString(QStringLiteral("TopScores"), QStringLiteral("Name0"), QStringLiteral("Someone new"));
        EXPECT_THROW(ini.Commit(), TGameError) << free;
        EXPECT_EQ(FileBytesOnDisk(path), FullIni()) << free;
    }
}

TEST(IniFile, DamagedFilesAreWrittenAnewWithoutAFalseAlarm) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tarnwell.ini"));
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray damaged[] = {
        QByteArray(utf16(QStringLiteral("[Display]\r\nCardBack=3\r\n[Sound]\r\nDisable=1\r\n"))),
        QByteArray("\x00\x01\xff\xfe junk = \"\\x\n[[[\n=\n\x80\x81;;,,\n", 32),
        QByteArray("[Display\nCardBack=3\n"),
    };
    for (const QByteArray& bytes : damaged) {
        ASSERT_TRUE(WriteFileByHand(path, bytes));
        TIniFile ini(path);
        ini.WriteInteger(QStringLiteral("Display"), QStringLiteral("CardBack"), 4);
        EXPECT_NO_THROW(ini.Commit()) << bytes.toHex().constData();
        EXPECT_EQ(Read(path, "Display", "CardBack"), "4") << bytes.toHex().constData();
    }
}

TEST(IniFile, ALockLeftByAKilledProcessHoldsNothingUp) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tarnwell.ini"));
    ASSERT_TRUE(WriteFileByHand(path, FullIni()));
    ASSERT_TRUE(WriteFileByHand(path + QStringLiteral(".lock"), QByteArray()));
    QElapsedTimer clock;
    clock.start();
    TIniFile ini(path);
    ini.WriteInteger(QStringLiteral("Sound"), QStringLiteral("Disable"), 1);
    ini.Commit();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(Read(path, "Sound", "Disable"), "1");
}

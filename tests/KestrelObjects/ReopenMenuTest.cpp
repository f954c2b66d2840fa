#include "KestrelObjects/GameError.h"
#include "KestrelObjects/TIniFile.h"
#include "KestrelObjects/TReopenMenu.h"
#include "support/FailingDisk.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The menu with its warning box recorded instead of shown.
class RecordingReopenMenu : public TReopenMenu {
public:
    QStringList Warnings;

protected:
    void ShowWarning(const QString& text) override { Warnings << text; }
};

class ReopenMenuTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString iniPath = dir.filePath(QStringLiteral("Tarnwell.ini"));
    QMenu menu{QStringLiteral("&Reload")};
    RecordingReopenMenu reopen;

    ReopenMenuTest() {
        reopen.SetLimit(10);
        reopen.SetINIFile(iniPath);
        reopen.SetINISection(QStringLiteral("History"));
        reopen.SetMenuItem(&menu);
    }

    QStringList Captions() const {
        QStringList captions;
        for (const QAction* a : menu.actions())
            captions << a->text();
        return captions;
    }

    static QString Game(int n) { return QStringLiteral("/home/player/games/Game%1.twl").arg(n); }

    // Writes an INI file of its own, so that no cached reading of an earlier one can answer,
    // and makes it the menu's file.
    void WriteIni(const QString& text) {
        iniPath = dir.filePath(QStringLiteral("Tarnwell%1.ini").arg(++iniFiles));
        QFile file(iniPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        reopen.SetINIFile(iniPath);
    }
    int iniFiles = 0;
};
} // namespace

TEST_F(ReopenMenuTest, NewFilesGoToTheTopAndEveryCaptionIsRenumbered) {
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_FALSE(menu.menuAction()->isEnabled()); // nothing to reopen yet
    reopen.AddFile(QStringLiteral("/home/player/A.twl"));
    EXPECT_EQ(Captions(), QStringList{"&1 A.twl"});
    EXPECT_TRUE(menu.menuAction()->isEnabled());
    reopen.AddFile(QStringLiteral("/home/player/B.twl"));
    reopen.AddFile(QStringLiteral("relative/R&D.twl"));
    EXPECT_EQ(Captions(), (QStringList{"&1 R&&D.twl", "&2 B.twl", "&3 A.twl"}));
    EXPECT_EQ(reopen.Paths(), (QStringList{"relative/R&D.twl", "/home/player/B.twl", "/home/player/A.twl"}));

    reopen.SetShowPath(true);
    EXPECT_EQ(Captions(),
              (QStringList{"&1 relative/R&&D.twl", "&2 /home/player/B.twl", "&3 /home/player/A.twl"}));
    reopen.SetShowPath(false);
    reopen.SetNumberItems(false);
    reopen.AddFile(QStringLiteral("/C.twl"));
    EXPECT_EQ(Captions(), (QStringList{"C.twl", "R&&D.twl", "B.twl", "A.twl"}));

    // Without a menu the component does nothing.
    TReopenMenu detached;
    detached.AddFile(Game(1));
    EXPECT_TRUE(detached.Paths().isEmpty());
}

TEST_F(ReopenMenuTest, ADuplicateInAnyLetterCaseMovesToTheTop) {
    for (int n = 1; n <= 3; ++n)
        reopen.AddFile(Game(n));
    reopen.AddFile(QStringLiteral("/HOME/player/games/game1.TWL"));
    EXPECT_EQ(reopen.Paths(), (QStringList{"/HOME/player/games/game1.TWL", Game(3), Game(2)}));
    EXPECT_EQ(Captions(), (QStringList{"&1 game1.TWL", "&2 Game3.twl", "&3 Game2.twl"}));

    reopen.SetNoDuplicates(false);
    reopen.AddFile(Game(2));
    EXPECT_EQ(reopen.Paths().size(), 4);
    EXPECT_EQ(menu.actions().size(), 4);
}

TEST_F(ReopenMenuTest, TheListKeepsTheLimitAndIsStoredWhole) {
    // Another owner's section and a stale key of ours in the shared file.
    WriteIni("[Display]\nCardBack=3\n[History]\nCount=1\nPath0=/old.twl\nPath7=/stale.twl\n");
    for (int n = 1; n <= 11; ++n)
        reopen.AddFile(Game(n));
    ASSERT_EQ(reopen.Paths().size(), 10);
    EXPECT_EQ(reopen.Paths().front(), Game(11));
    EXPECT_EQ(reopen.Paths().back(), Game(2)); // the oldest, Game1, dropped
    EXPECT_EQ(Captions().back(), "&10 Game2.twl");

    reopen.SaveHistory();
    const TIniFile ini(iniPath);
    EXPECT_EQ(ini.ReadInteger("History", "Count", -1), 10);
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(ini.ReadString("History", QStringLiteral("Path%1").arg(k), QString()), Game(11 - k));
    EXPECT_FALSE(ini.ValueExists("History", "Path10"));
    EXPECT_EQ(ini.ReadInteger("Display", "CardBack", -1), 3);

    // And back, into a fresh menu.
    QMenu other;
    RecordingReopenMenu again;
    again.SetINIFile(iniPath);
    again.SetINISection(QStringLiteral("History"));
    again.SetMenuItem(&other);
    again.LoadHistory();
    EXPECT_EQ(again.Paths(), reopen.Paths());
    EXPECT_EQ(other.actions().front()->text(), "&1 Game11.twl");
    EXPECT_TRUE(again.Warnings.isEmpty());
}

TEST_F(ReopenMenuTest, LoadingKeepsWhatTheFileHoldsUntilTheNextAdd) {
    QString text = QStringLiteral("[History]\nCount=12\n");
    for (int k = 0; k < 12; ++k)
        text += QStringLiteral("Path%1=%2\n").arg(k).arg(Game(k));
    WriteIni(text);
    reopen.AddFile(QStringLiteral("/replaced/by/loading.twl"));
    reopen.LoadHistory();
    EXPECT_EQ(reopen.Paths().size(), 12); // not trimmed to the limit
    EXPECT_EQ(Captions()[11], "&12 Game11.twl");
    reopen.AddFile(QStringLiteral("/new.twl"));
    EXPECT_EQ(reopen.Paths().size(), 10);
    EXPECT_EQ(reopen.Paths()[0], "/new.twl");
    EXPECT_EQ(reopen.Paths()[9], Game(8));

    // A count beyond the keys lists empty entries; a damaged or hostile count is bounded.
    WriteIni("[History]\nCount=4\nPath0=/a.twl\nPath1=/b.twl\n");
    reopen.SetNoDuplicates(false);
    reopen.LoadHistory();
    EXPECT_EQ(Captions(), (QStringList{"&1 a.twl", "&2 b.twl", "&3 ", "&4 "}));
    WriteIni("[History]\nCount=2000000000\n");
    reopen.LoadHistory();
    EXPECT_EQ(reopen.Paths().size(), TReopenMenu::MaxLoadedEntries);
    for (const char* count : {"-3", "many"}) {
        WriteIni(QStringLiteral("[History]\nCount=%1\nPath0=/a.twl\n").arg(count));
        reopen.LoadHistory();
        EXPECT_TRUE(reopen.Paths().isEmpty()) << count;
        EXPECT_FALSE(menu.menuAction()->isEnabled());
    }
}

TEST_F(ReopenMenuTest, ChoosingAnEntryPassesItsPathOn) {
    for (int n = 1; n <= 3; ++n)
        reopen.AddFile(Game(n));
    QStringList chosen;
    reopen.OnMenuClick = [&](const QString& path) { chosen << path; };
    menu.actions()[2]->trigger();
    EXPECT_EQ(chosen, QStringList{Game(1)});
    EXPECT_EQ(reopen.Paths(), (QStringList{Game(3), Game(2), Game(1)})); // no reordering

    reopen.SetUpdateOnClick(true);
    reopen.ItemClick(menu.actions()[2]);
    EXPECT_EQ(reopen.Paths(), (QStringList{Game(1), Game(3), Game(2)}));
    EXPECT_EQ(Captions()[0], "&1 Game1.twl");

    // A load that fails leaves the list as it was; from the menu its message is shown.
    reopen.OnMenuClick = [](const QString& path) {
        throw TGameError(QStringLiteral("Unable to open ") + path);
    };
    EXPECT_THROW(reopen.ItemClick(menu.actions()[1]), TGameError);
    EXPECT_EQ(reopen.Paths(), (QStringList{Game(1), Game(3), Game(2)}));
    menu.actions()[2]->trigger();
    EXPECT_EQ(reopen.Paths(), (QStringList{Game(1), Game(3), Game(2)}));
    EXPECT_EQ(reopen.Warnings, QStringList{"Unable to open " + Game(2)});
}

TEST_F(ReopenMenuTest, IniFailuresAreSilentUnlessShownAndLoseNothing) {
    // A file where the INI file's folder should be: nothing can be written below it.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = dir.filePath(QStringLiteral("blocker/Tarnwell.ini"));
    reopen.SetINIFile(unwritable);
    reopen.AddFile(Game(1));
    EXPECT_NO_THROW(reopen.SaveHistory());
    EXPECT_TRUE(reopen.Warnings.isEmpty());
    reopen.SetShowErrors(true);
    reopen.SaveHistory();
    EXPECT_EQ(reopen.Warnings, QStringList{"Unable to access: " + unwritable +
                                           "\r\nYou may not permission to access the Windows folder"});
    EXPECT_EQ(reopen.Paths(), QStringList{Game(1)});

    // On a full disk the file keeps the list it had.
    WriteIni("[History]\nCount=1\nPath0=/home/player/games/Old.twl\n[Display]\nCardBack=3\n");
    const QByteArray before = [this] {
        QFile f(iniPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    reopen.Warnings.clear();
    {
        DiskFullAfter disk(10);
        reopen.SaveHistory();
    }
    QFile after(iniPath);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_EQ(reopen.Warnings.size(), 1);

    // A folder where the file should be cannot be read, and is not written over.
    reopen.Warnings.clear();
    reopen.SetINIFile(dir.path());
    reopen.LoadHistory();
    reopen.SaveHistory();
    EXPECT_EQ(reopen.Warnings.size(), 2);

    // With no section named, the shared file is neither read as a list nor erased.
    WriteIni("[Display]\nCardBack=3\n");
    reopen.SetINISection(QString());
    reopen.AddFile(Game(2));
    reopen.SaveHistory();
    EXPECT_EQ(TIniFile(iniPath).ReadInteger("Display", "CardBack", -1), 3);
}

TEST_F(ReopenMenuTest, ABareFileNameIsTheGamesOwnIniFile) {
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    reopen.SetINIFile(QStringLiteral("Tarnwell.ini"));
    EXPECT_EQ(reopen.INIPath(), TIniFile::DefaultPath());
    reopen.AddFile(Game(5));
    reopen.SaveHistory();
    EXPECT_EQ(TIniFile(TIniFile::DefaultPath()).ReadString("History", "Path0", QString()), Game(5));
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", saved);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

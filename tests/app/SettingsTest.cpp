#include "app/TForm1.h"
#include "app/TwGlobal.h"
#include "engine/TwGame.h"
#include "scores/ConfigFolder.h"
#include "support/FailingDisk.h"
#include "support/VirtualTimeSource.h"

#include <QAction>
#include <QScreen>
#include <QSettings>
#include <gtest/gtest.h>
#include <map>

namespace {
using KeyValues = std::map<QString, QString>;

// The keys and values of one section, as the file holds them.
KeyValues Section(const QString& path, const QString& section) {
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(section);
    KeyValues values;
    for (const QString& key : ini.childKeys())
        values[key] = ini.value(key).toString();
    return values;
}

struct Preferences {
    int Back;
    bool Small;
    QRect Frame; // left, top, width, height
    bool Silent;
};

class SettingsTest : public ::testing::Test {
protected:
    ConfigFolder config;
    VirtualTimeSource clock;
    TForm1 form;
    TGame& game = form.Game();

    void Apply(const Preferences& p) {
        game.Deck->SetBack(p.Back);
        game.SmallCards = p.Small;
        game.SetCardSize(p.Small);
        form.resize(p.Frame.size());
        form.move(p.Frame.topLeft());
        game.Sound.SoundDisabled = p.Silent;
        form.DisableSoundMnu->setChecked(p.Silent);
    }
    // The preferences in force, checked against the menu marks and the card pictures.
    Preferences InForce() {
        EXPECT_EQ(form.SmallCardsMnu->isChecked(), game.SmallCards);
        EXPECT_EQ(game.Deck->LargeCards, !game.SmallCards);
        EXPECT_EQ(form.DisableSoundMnu->isChecked(), game.Sound.SoundDisabled);
        return {game.Deck->BackIndex, game.SmallCards, QRect(form.pos(), form.size()), game.Sound.SoundDisabled};
    }
    // Writes a hand-edited file; every call gives a file of a new length, so that no cached
    // reading of an earlier one can stand in for it.
    void WriteByHand(const QByteArray& text) {
        ++edits;
        config.Write(text + "\n[Padding]\nPad=" + QByteArray(edits, 'x') + "\n");
    }

private:
    int edits = 0;
};

// The main window's three commands, without the message box that reports a failure.
void LoadSettings(TForm1& form) { form.ApplySettings(::LoadSettings(form.CurrentSettings())); }
void SaveSettings(TForm1& form) { ::SaveSettings(form.CurrentSettings()); }
void FactorySettings(TForm1& form) { form.ApplySettings(::FactorySettings()); }

void ExpectSame(const Preferences& a, const Preferences& b) {
    EXPECT_EQ(a.Back, b.Back);
    EXPECT_EQ(a.Small, b.Small);
    EXPECT_EQ(a.Frame, b.Frame);
    EXPECT_EQ(a.Silent, b.Silent);
}
} // namespace

TEST_F(SettingsTest, FactoryThenRestoreBringsBackTheSavedValues) {
    const Preferences saved{7, true, QRect(20, 30, 700, 500), true};
    Apply(saved);
    SaveSettings(form);
    const QByteArray file = config.Read();

    FactorySettings(form);
    // Built-in values, the window centred in the 800 x 800 test screen.
    ExpectSame(InForce(), {5, false, QRect(3, 98, 794, 603), false});
    EXPECT_EQ(config.Read(), file) << "factory values are not written";

    LoadSettings(form);
    ExpectSame(InForce(), saved);
}

TEST_F(SettingsTest, FitToWindowIsSavedRestoredAndOffAtTheFactory) {
    // A fresh program lays the cards out as it always has.
    EXPECT_FALSE(game.FitToWindow);
    EXPECT_FALSE(form.FitToWindowMnu->isChecked());
    EXPECT_TRUE(form.SmallCardsMnu->isEnabled());
    form.FitToWindowMnu->trigger();
    EXPECT_TRUE(game.FitToWindow);
    EXPECT_TRUE(form.FitToWindowMnu->isChecked());
    // Small Cards has no say while the cards follow the window; its choice is kept.
    EXPECT_FALSE(form.SmallCardsMnu->isEnabled());
    EXPECT_EQ(game.Deck->CardSize(), QPoint(game.Geometry.Card.width(), game.Geometry.Card.height()));
    SaveSettings(form);
    EXPECT_EQ(Section(config.IniPath(), "Display")["FitToWindow"], "1");

    FactorySettings(form);
    EXPECT_FALSE(game.FitToWindow);
    EXPECT_FALSE(form.FitToWindowMnu->isChecked());
    EXPECT_TRUE(form.SmallCardsMnu->isEnabled());
    EXPECT_EQ(game.Deck->CardSize(), QPoint(71, 96));
    LoadSettings(form);
    EXPECT_TRUE(game.FitToWindow);
    EXPECT_TRUE(form.FitToWindowMnu->isChecked());

    // Edited by hand: a number counts, anything else keeps the value in force.
    WriteByHand("[Display]\nFitToWindow=0x0\n");
    LoadSettings(form);
    EXPECT_FALSE(game.FitToWindow);
    WriteByHand("[Display]\nFitToWindow=on\n");
    LoadSettings(form);
    EXPECT_FALSE(game.FitToWindow);
}

// The seven keys of the card back, size, window and sound, and the added "FitToWindow",
// "ResumeGame" and "WinnableOnly".
TEST_F(SettingsTest, SavingWritesExactlyItsKeys) {
    config.Write("[History]\nFile0=/home/p/a.twl\nFile1=/home/p/b.twl\n\n"
                 "[TopScores]\nCount=10\nDate0=46000.5\nName0=\"Ann, the best\"\nScore0=50\n");
    const KeyValues history = Section(config.IniPath(), "History");
    const KeyValues scores = Section(config.IniPath(), "TopScores");
    Apply({12, true, QRect(-20, 40, 640, 480), false});
    SaveSettings(form);

    EXPECT_EQ(Section(config.IniPath(), "Display"),
              KeyValues({{"CardBack", "12"}, {"SmallCards", "1"}, {"FitToWindow", "0"}, {"ResumeGame", "1"},
                         {"WinnableOnly", "0"}}));
    EXPECT_EQ(Section(config.IniPath(), "Layout"),
              KeyValues({{"ScreenWidth", "640"}, {"ScreenHeight", "480"}, {"PositionX", "-20"}, {"PositionY", "40"}}));
    EXPECT_EQ(Section(config.IniPath(), "Sound"), KeyValues({{"Disable", "0"}}));
    EXPECT_EQ(Section(config.IniPath(), "History"), history);
    EXPECT_EQ(Section(config.IniPath(), "TopScores"), scores);
    EXPECT_EQ(QSettings(config.IniPath(), QSettings::IniFormat).allKeys().size(), 10 + 2 + 4);
}

TEST_F(SettingsTest, ValuesAsEditedByHand) {
    struct {
        const char* text;
        bool smallBefore, silentBefore;
        int back;
        bool small, silent;
    } const cases[] = {
        {"[Display]\nSmallCards=0x1\n", false, false, 5, true, false},
        {"[Display]\nSmallCards=0\n[Sound]\nDisable=$10\n", true, false, 5, false, true},
        // Not a number: the value in force stays, either way.
        {"[Sound]\nDisable=yes\n", false, true, 5, false, true},
        {"[Sound]\nDisable=yes\n", true, false, 5, true, false},
        {"[Display]\nCardBack=$A\n", false, false, 10, false, false},
        {"[Display]\nCardBack=0x0C\n", false, false, 12, false, false},
        {"[Display]\nCardBack=0\n", false, false, 0, false, false},
        // There is no back 13 or -1: the standard back is used.
        {"[Display]\nCardBack=13\n", false, false, 5, false, false},
        {"[Display]\nCardBack=-1\n", false, false, 5, false, false},
        {"[Display]\nCardBack=abc\n", false, false, 5, false, false},
    };
    for (const auto& c : cases) {
        Apply({2, c.smallBefore, QRect(10, 10, 700, 500), c.silentBefore});
        WriteByHand(c.text);
        LoadSettings(form);
        const Preferences now = InForce();
        EXPECT_EQ(now.Back, c.back) << c.text;
        EXPECT_EQ(now.Small, c.small) << c.text;
        EXPECT_EQ(now.Silent, c.silent) << c.text;
        EXPECT_EQ(now.Frame, QRect(10, 10, 700, 500)) << c.text;
    }
}

TEST_F(SettingsTest, NoFileKeepsTheValuesInForce) {
    // As the program starts: the built-in window size and place, moved in from (451, 160) so
    // that the whole window is on the 800 x 800 test screen.
    LoadSettings(form);
    ExpectSame(InForce(), {5, false, QRect(6, 160, 794, 603), false});

    Apply({9, true, QRect(10, 20, 650, 450), true});
    // The card size is applied again even though it did not change.
    form.SmallCardsMnu->setChecked(false);
    LoadSettings(form);
    EXPECT_TRUE(form.SmallCardsMnu->isChecked());
    // Only the card back has a fixed default; the rest keeps what is in force.
    ExpectSame(InForce(), {5, true, QRect(10, 20, 650, 450), true});
    EXPECT_FALSE(config.Exists()) << "reading creates no file";
}

TEST_F(SettingsTest, StoredWindowIsBroughtBackOntoTheScreen) {
    struct {
        QRect stored;
        QRect shown;
    } const cases[] = {
        {{-5000, -5000, 700, 500}, {0, 0, 700, 500}},
        {{5000, 300, 700, 500}, {100, 300, 700, 500}},
        {{790, 790, 700, 500}, {100, 300, 700, 500}}, // a corner on screen is too little to grab
        {{-650, 10, 700, 500}, {0, 10, 700, 500}},
        {{-600, 10, 700, 500}, {-600, 10, 700, 500}}, // 100 pixels of the title are enough
        {{0, -5, 700, 500}, {0, -5, 700, 500}},
        {{0, -20, 700, 500}, {0, 0, 700, 500}},
        {{100, 100, 200, 100}, {100, 100, 400, 300}}, // raised to the smallest usable size
        {{10, 10, 3000, 2000}, {10, 10, 3000, 2000}},
    };
    for (const auto& c : cases) {
        const QRect& s = c.stored;
        WriteByHand(QStringLiteral("[Layout]\nScreenWidth=%1\nScreenHeight=%2\nPositionX=%3\nPositionY=%4\n")
                        .arg(s.width())
                        .arg(s.height())
                        .arg(s.x())
                        .arg(s.y())
                        .toLatin1());
        LoadSettings(form);
        EXPECT_EQ(QRect(form.pos(), form.size()), c.shown)
            << s.x() << "," << s.y() << " " << s.width() << "x" << s.height();
    }

    // Two screens side by side, the right one shorter.
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    struct {
        QRect stored;
        QRect shown;
    } const fits[] = {
        {{2500, 100, 700, 500}, {2500, 100, 700, 500}},
        {{1800, 100, 700, 500}, {1800, 100, 700, 500}}, // across both screens
        // Only 20 pixels of its title on the left screen; the rest below the right one.
        {{1900, 1050, 700, 500}, {1220, 580, 700, 500}},
        // Far away: into the screen nearest to it.
        {{10000, -10000, 700, 500}, {2500, 0, 700, 500}},
        {{-3000, 0, 2000, 1500}, {0, 0, 1920, 1080}},
        {{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {1920, 0, 1280, 1024}},
    };
    for (const auto& c : fits)
        EXPECT_EQ(FitWindowToScreens(c.stored, screens), c.shown) << c.stored.x() << "," << c.stored.y();
    EXPECT_EQ(FitWindowToScreens(QRect(5, 5, 10, 10), {}), QRect(5, 5, 400, 300));
}

TEST_F(SettingsTest, BuiltInWindowFitsTheScreen) {
    // The program's window as it opens lies wholly on the screen.
    const QRect area = form.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(QRect(form.pos(), form.size()))) << form.x() << "," << form.y();

    struct {
        QRect frame;
        QRect area;
        QRect fitted;
    } const cases[] = {
        // 794 x 603 with its frame on a 1600 x 1000 screen magnified twice: 800 x 500 to fill.
        {{451, 160, 802, 637}, {0, 0, 800, 500}, {0, 0, 800, 500}},
        // On a screen it fits, it stays where it is.
        {{451, 160, 802, 637}, {0, 0, 1280, 1024}, {451, 160, 802, 637}},
        {{451, 160, 802, 637}, {0, 0, 1024, 768}, {222, 131, 802, 637}},
        // A screen left of and above the first, with a panel along its top.
        {{-1500, -900, 802, 637}, {-1280, -1024, 1280, 1000}, {-1280, -900, 802, 637}},
        {{100, 100, 802, 637}, {0, 30, 640, 450}, {0, 30, 640, 450}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitWindowIntoArea(c.frame, c.area), c.fitted) << c.area.width() << "x" << c.area.height();
}

TEST_F(SettingsTest, FailedSaveLosesNothing) {
    Apply({7, true, QRect(20, 30, 700, 500), true});
    SaveSettings(form);
    const QByteArray file = config.Read();
    const Preferences changed{3, false, QRect(40, 50, 600, 400), false};
    Apply(changed);
    for (bool folder : {false, true}) {
        if (folder)
            config.MakeFolderReadOnly();
        else
            config.MakeFileReadOnly();
        // After the failure the file is read as it is, not as the failed save would have made it.
        const QString report = AsOrdinaryUser([this] {
            return ErrorOf([this] { SaveSettings(form); }) + " | " + TIniFile().ReadString("Display", "CardBack", "?");
        });
        EXPECT_EQ(report, "Unable to write to " + config.IniPath() + " | 7") << folder;
        EXPECT_EQ(config.Read(), file) << folder;
        ExpectSame(InForce(), changed);
    }
    // "Save Defaults" on a full disk: the message, and every other setting stays in the file.
    config.MakeFileReadOnly();
    QFile::setPermissions(config.IniPath(), QFile::Permissions(0x6666));
    for (const qint64 room : {0, 100}) {
        DiskFullAfter disk(room);
        EXPECT_EQ(ErrorOf([this] { SaveSettings(form); }), "Unable to write to " + config.IniPath()) << room;
        EXPECT_EQ(config.Read(), file) << room;
    }
}

TEST_F(SettingsTest, DamagedLineDoesNotBlockSaving) {
    // A section header that lost its closing bracket. The file is still read as far as it
    // goes; saving succeeds without a false alarm and keeps the other sections.
    config.Write("[Display\nCardBack=3\n\n[History]\nFile0=/home/p/a.twl\n");
    Apply({4, false, QRect(20, 30, 700, 500), false});
    EXPECT_NO_THROW(SaveSettings(form));
    EXPECT_EQ(Section(config.IniPath(), "Display"),
              KeyValues({{"CardBack", "4"}, {"SmallCards", "0"}, {"FitToWindow", "0"}, {"ResumeGame", "1"},
                         {"WinnableOnly", "0"}}));
    EXPECT_EQ(Section(config.IniPath(), "History"), KeyValues({{"File0", "/home/p/a.twl"}}));

    WriteByHand("[Display\nCardBack=3\n[Sound]\nDisable=1\n");
    LoadSettings(form);
    EXPECT_EQ(game.Deck->BackIndex, 3);
    EXPECT_TRUE(game.Sound.SoundDisabled);

    // Damaged and read-only: the failure is still reported.
    WriteByHand("[Display\nCardBack=2\n");
    const QByteArray file = config.Read();
    config.MakeFileReadOnly();
    EXPECT_EQ(AsOrdinaryUser([this] { return ErrorOf([this] { SaveSettings(form); }); }),
              "Unable to write to " + config.IniPath());
    EXPECT_EQ(config.Read(), file);
}

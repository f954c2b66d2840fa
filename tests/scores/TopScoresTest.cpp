#include "scores/ConfigFolder.h"
#include "support/FailingDisk.h"
#include "scores/TwTopScores.h"
#include "support/VirtualTimeSource.h"

#include <QLocale>
#include <QSettings>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {
struct PromptCall {
    QString Caption, Label, Default;
};

// 8 December 2026, 20:15:30 (the virtual clock's local time) as a day count.
constexpr double ClockDay = 46364.0 + 72930.0 / 86400.0;

class TopScoresTest : public ::testing::Test {
protected:
    ConfigFolder config;
    VirtualTimeSource clock;
    std::vector<PromptCall> prompts;
    // What the prompt answers; a null text answers as Cancel does, with the default.
    QString answer;

    TopScoresTest() { TopScoreTable = {}; }
    ~TopScoresTest() override { TopScoreTable = {}; }

    // A won game's score offered as the main window offers it: the name asked, and the table
    // written when its dialog closes.
    void AddTopScore(int32_t score, int64_t elapsed) {
        const int entry = ::AddTopScore(score, elapsed, [this](const QString& caption, const QString& label,
                                                               const QString& def) {
            prompts.push_back({caption, label, def});
            return answer.isNull() ? def : answer;
        });
        if (entry >= 0)
            SaveTopScores();
    }

    // Entries 0 on, each in use, with an elapsed time telling them apart.
    static void Fill(std::initializer_list<std::pair<const char*, int>> entries) {
        int i = 0;
        for (const auto& [name, score] : entries) {
            TopScoreTable[size_t(i)] = {QString::fromLatin1(name), 40000.0 + i, 1000 * (i + 1), score};
            ++i;
        }
    }
    static QString Names() {
        QString names;
        for (const TScoreInfo& e : TopScoreTable)
            names += e.Name.isEmpty() ? QStringLiteral("-") : e.Name;
        return names;
    }
    QString Value(const QString& key) const {
        QSettings ini(config.IniPath(), QSettings::IniFormat);
        return ini.value(QStringLiteral("TopScores/") + key).toString();
    }
};
} // namespace

TEST_F(TopScoresTest, QualificationAgainstEmptyAndFullTables) {
    // Free entries score 0: any positive score enters, at the bottom.
    EXPECT_EQ(ClaimTopScoreSlot(0), -1);
    EXPECT_EQ(ClaimTopScoreSlot(-5), -1);
    EXPECT_EQ(ClaimTopScoreSlot(1), 9);
    EXPECT_EQ(TopScoreTable[9].Score, 1);

    Fill({{"A", 100}, {"B", 90}, {"C", 80}, {"D", 70}, {"E", 60}, {"F", 50}, {"G", 40}, {"H", 30}, {"I", 20}, {"J", 10}});
    EXPECT_EQ(ClaimTopScoreSlot(10), -1) << "a tie with the tenth entry does not enter";
    EXPECT_EQ(Names(), "ABCDEFGHIJ");
    EXPECT_EQ(ClaimTopScoreSlot(11), 9);
    EXPECT_EQ(TopScoreTable[9].Score, 11);
    EXPECT_EQ(TopScoreTable[9].Name, "");
    EXPECT_EQ(TopScoreTable[9].Date, 40009.0) << "the date is set only when the name is known";

    // A table as a file gave it, unsorted: the scan from the bottom takes the first lower entry.
    Fill({{"A", 5}, {"B", 90}, {"C", 80}, {"D", 70}, {"E", 60}, {"F", 50}, {"G", 40}, {"H", 30}, {"I", 20}, {"J", 10}});
    EXPECT_EQ(ClaimTopScoreSlot(8), 0);
    EXPECT_EQ(Names(), "-BCDEFGHIJ");
}

TEST_F(TopScoresTest, SortOrderOfEqualScores) {
    // Ten equal scores A..J. Sort(0,9), pivot 50: nothing passes the pivot, so every step
    // swaps the ends: (0,9) (1,8) (2,7) (3,6) (4,5) gives J I H G F E D C B A, I=5, J=4.
    // Sort(0,4) on J I H G F: swaps (0,4) (1,3) (2,2) -> F G H I J, I=3, J=1;
    //   Sort(0,1): F G -> G F; then L=3: positions 3,4 (I J) swap -> J I. Left: G F H J I.
    // L=5, positions 5..9 are E D C B A: swaps (5,9) (6,8) (7,7) -> A B C D E, I=8, J=6;
    //   Sort(5,6): A B -> B A; then L=8: positions 8,9 (D E) swap -> E D. Right: B A C E D.
    Fill({{"A", 50}, {"B", 50}, {"C", 50}, {"D", 50}, {"E", 50}, {"F", 50}, {"G", 50}, {"H", 50}, {"I", 50}, {"J", 50}});
    SortTopScores();
    EXPECT_EQ(Names(), "GFHJIBACED");

    // A new 80 (N) at the bottom beside two older 80s. Sort(0,9), pivot E (60): I stops at E
    // (4), J at N (9); swap -> A B C D N F G H I E, I=5; J runs down to N at 4; I > J.
    //   Sort(0,4) on A90 B80 C80 D70 N80, pivot C: I stops at B (1), J at N (4): swap ->
    //   A N C D B; I=2 stops at C, J=3 runs down to C (2): swap in place, I=3, J=1.
    //     Sort(0,1) on A N: pivot A, no change. Then L=3: D70 B80 swap -> B D. Left: A N C B D.
    //   L=5 on F50 G40 H30 I20 E60, pivot H: I stops at H (7), J at E (9): swap -> F G E I H,
    //   I=8; J runs down to E (7); I > J. Sort(5,7) on F G E, pivot G: swap (6,7) -> F E G;
    //     Sort(5,6) on F E: swap -> E F. Then L=8: I20 H30 swap -> H I.
    // The newcomer goes above the 80s already there, and those two change places.
    Fill({{"A", 90}, {"B", 80}, {"C", 80}, {"D", 70}, {"E", 60}, {"F", 50}, {"G", 40}, {"H", 30}, {"I", 20}, {"N", 80}});
    SortTopScores();
    EXPECT_EQ(Names(), "ANCBDEFGHI");
    EXPECT_EQ(TopScoreTable[1].Elapsed, 10000) << "entries move whole";
    EXPECT_EQ(TopScoreTable[1].Date, 40009.0);

    // Rising distinct scores come out falling.
    Fill({{"A", -10}, {"B", 20}, {"C", 30}, {"D", 40}, {"E", 50}, {"F", 60}, {"G", 70}, {"H", 80}, {"I", 90}, {"J", 2000000000}});
    SortTopScores();
    EXPECT_EQ(Names(), "JIHGFEDCBA");
    // Scores far apart compare without overflow.
    EXPECT_LT(CompareScores({QString(), 1, 0, INT32_MAX}, {QString(), 1, 0, INT32_MIN}), 0);
    EXPECT_GT(CompareScores({QString(), 1, 0, INT32_MIN}, {QString(), 1, 0, INT32_MAX}), 0);
}

TEST_F(TopScoresTest, AddTopScoreAsksNameThenSortsAndSaves) {
    // An empty table: the default name is "???", and Cancel keeps it.
    AddTopScore(1250, 90'000'000);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].Caption, "New Top-Ten Score: 1250");
    EXPECT_EQ(prompts[0].Label, "Enter Name: ");
    EXPECT_EQ(prompts[0].Default, "???");
    EXPECT_EQ(TopScoreTable[0].Name, "???");
    EXPECT_EQ(TopScoreTable[0].Score, 1250);
    EXPECT_EQ(TopScoreTable[0].Date, ClockDay);
    EXPECT_EQ(TopScoreTable[0].Elapsed, 90'000'000);
    EXPECT_EQ(Value("Name0"), "???") << "the table is written when its dialog closes";

    // A full table: the best entry's name is offered; the new entry takes its place in order.
    Fill({{"A", 90}, {"B", 80}, {"C", 80}, {"D", 70}, {"E", 60}, {"F", 50}, {"G", 40}, {"H", 30}, {"I", 20}, {"J", 10}});
    answer = QStringLiteral("Nina");
    AddTopScore(80, 5);
    EXPECT_EQ(prompts.back().Default, "A");
    EXPECT_EQ(Names(), "ANinaCBDEFGHI");
    EXPECT_EQ(Value("Name1"), "Nina");
    EXPECT_EQ(Value("Score1"), "80");

    // A score that does not beat the tenth entry asks nothing and writes nothing.
    QFile::remove(config.IniPath());
    const size_t asked = prompts.size();
    AddTopScore(20, 5);
    EXPECT_EQ(prompts.size(), asked);
    EXPECT_FALSE(config.Exists());

    // An emptied name is kept empty, and the entry is still in use.
    answer = QStringLiteral("");
    AddTopScore(1000, 5);
    EXPECT_EQ(TopScoreTable[0].Name, "");
    EXPECT_EQ(TopScoreTable[0].Score, 1000);
    EXPECT_TRUE(TopScoreTable[0].InUse());
}

TEST_F(TopScoresTest, DefaultNameIsReadAfterTheClaim) {
    // The claim takes entry 0 itself and empties its name, so "???" is offered, not "Old".
    Fill({{"Old", 5}, {"B", 90}, {"C", 80}, {"D", 70}, {"E", 60}, {"F", 50}, {"G", 40}, {"H", 30}, {"I", 20}, {"J", 10}});
    AddTopScore(8, 1);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].Default, "???");
}

TEST_F(TopScoresTest, StoredCountAndDamagedValues) {
    config.Write("[TopScores]\nCount=3\n"
                 "Score0=0x10\nName0=Ann\nDate0=46364,5\nElapsed0=-1894967296\n"
                 "Score1=abc\nName1=Bob\nDate1=garbage\nElapsed1=xyz\n"
                 "Score2=7\nName2=Cy\nDate2=nan\nElapsed2=3\n"
                 "Score3=99\nName3=Dee\nDate3=46000\nElapsed3=4\n");
    TopScoreTable[5].Name = QStringLiteral("left from before");
    LoadTopScores();
    EXPECT_EQ(TopScoreTable[0].Score, 16);
    EXPECT_EQ(TopScoreTable[0].Date, 46364.5) << "a comma reads as the decimal separator";
    EXPECT_EQ(TopScoreTable[0].Elapsed, -1894967296) << "older files read as they always did";
    EXPECT_EQ(TopScoreTable[1].Score, 0);
    EXPECT_EQ(TopScoreTable[1].Name, "Bob");
    EXPECT_FALSE(TopScoreTable[1].InUse()) << "an unreadable date makes the entry free";
    EXPECT_EQ(TopScoreTable[1].Elapsed, 0);
    EXPECT_FALSE(TopScoreTable[2].InUse());
    EXPECT_EQ(Names(), "AnnBobCy-------") << "entries beyond the count stay empty";

    // The next save writes the whole table.
    SaveTopScores();
    EXPECT_EQ(Value("Count"), "10");
    for (int i = 0; i < 10; ++i)
        for (const char* key : {"Score", "Name", "Date", "Elapsed"})
            EXPECT_TRUE(QSettings(config.IniPath(), QSettings::IniFormat)
                            .contains(QStringLiteral("TopScores/%1%2").arg(QLatin1String(key)).arg(i)))
                << key << i;
    EXPECT_EQ(Value("Score3"), "0");
    EXPECT_EQ(Value("Name3"), "");

    // A count beyond the ten places reads the ten; a negative one reads none.
    QByteArray text = "[TopScores]\nCount=12\n";
    for (int i = 0; i < 12; ++i)
        text += QStringLiteral("Score%1=%2\nName%1=P%1\nDate%1=4000%1\n").arg(i).arg(100 - i).toLatin1();
    config.Write(text);
    LoadTopScores();
    EXPECT_EQ(Names(), "P0P1P2P3P4P5P6P7P8P9");
    EXPECT_EQ(TopScoreTable[9].Score, 91);
    config.Write("[TopScores]\nCount=-3\nScore0=5\nName0=X\nDate0=1\n");
    LoadTopScores();
    EXPECT_EQ(Names(), "----------");

    // A date no calendar holds is damage too.
    config.Write("[TopScores]\nDate0=1e300\nName0=Far\nDate1=-1e9\n");
    LoadTopScores();
    EXPECT_FALSE(TopScoreTable[0].InUse());
    EXPECT_FALSE(TopScoreTable[1].InUse());
}

TEST_F(TopScoresTest, RoundTripKeepsLongGamesAndLocaleFreeDates) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    config.Write("[Display]\nCardBack=7\n\n[History]\nFile0=/home/p/Game.twl\n");
    // 40 minutes and 27 hours: both beyond what 32 bits of microseconds hold.
    TopScoreTable[0] = {QStringLiteral("Long, game"), ClockDay, 2'400'000'000LL, 300};
    TopScoreTable[1] = {QStringLiteral(" spaced "), 0.5, 97'200'000'000LL, 200};
    SaveTopScores();
    QLocale::setDefault(saved);

    const QByteArray text = config.Read();
    EXPECT_TRUE(text.contains("Date0=46364.8440972222\n")) << text.constData();
    EXPECT_TRUE(text.contains("Elapsed0=2400000000\n")) << text.constData();
    EXPECT_TRUE(text.contains("Elapsed1=97200000000\n")) << text.constData();
    EXPECT_TRUE(text.contains("CardBack=7")) << "other sections stay";
    EXPECT_TRUE(text.contains("File0=/home/p/Game.twl"));

    const TTopScoreTable before = TopScoreTable;
    TopScoreTable = {};
    LoadTopScores();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(TopScoreTable[size_t(i)].Name, before[size_t(i)].Name);
        EXPECT_EQ(TopScoreTable[size_t(i)].Score, before[size_t(i)].Score);
        EXPECT_EQ(TopScoreTable[size_t(i)].Elapsed, before[size_t(i)].Elapsed);
        EXPECT_NEAR(TopScoreTable[size_t(i)].Date, before[size_t(i)].Date, 1e-9);
    }
    EXPECT_EQ(FromDayCount(TopScoreTable[0].Date), QDateTime(QDate(2026, 12, 8), QTime(20, 15, 30)));
}

TEST_F(TopScoresTest, ClearingKeepsElapsedTimes) {
    Fill({{"A", 90}, {"B", 80}, {"C", 70}});
    ClearTopScores();
    for (const TScoreInfo& e : TopScoreTable) {
        EXPECT_EQ(e.Name, "");
        EXPECT_EQ(e.Score, 0);
        EXPECT_FALSE(e.InUse());
    }
    EXPECT_EQ(TopScoreTable[2].Elapsed, 3000);
    SaveTopScores();
    EXPECT_EQ(Value("Date0"), "0");
    EXPECT_EQ(Value("Score2"), "0");
    EXPECT_EQ(Value("Elapsed2"), "3000");
    // A cleared table takes any positive score again.
    EXPECT_EQ(ClaimTopScoreSlot(1), 9);
}

TEST_F(TopScoresTest, FailedSaveLosesNothing) {
    Fill({{"A", 90}});
    SaveTopScores();
    const QByteArray saved = config.Read();
    Fill({{"Z", 95}});
    for (bool folder : {false, true}) {
        if (folder)
            config.MakeFolderReadOnly();
        else
            config.MakeFileReadOnly();
        // After the failure the file is read as it is, not as the failed save would have made it.
        const QString report = AsOrdinaryUser([] {
            return ErrorOf(SaveTopScores) + " | " + TIniFile().ReadString("TopScores", "Name0", "?");
        });
        EXPECT_EQ(report, "Unable to write to " + config.IniPath() + " | A") << folder;
        EXPECT_EQ(config.Read(), saved) << folder;
        EXPECT_EQ(TopScoreTable[0].Name, "Z");
    }
    // A full disk, as the dialog closes: the message, and the old table stays in the file.
    config.MakeFileReadOnly();
    QFile::setPermissions(config.IniPath(), QFile::Permissions(0x6666));
    for (const qint64 room : {0, 4096}) {
        DiskFullAfter disk(room);
        EXPECT_EQ(ErrorOf(SaveTopScores), "Unable to write to " + config.IniPath()) << room;
        EXPECT_EQ(config.Read(), saved) << room;
    }
}

TEST(DayCount, DatesAndTimesOfDay) {
    struct {
        double days;
        QDateTime local;
    } const cases[] = {
        {0.5, QDateTime(QDate(1899, 12, 30), QTime(12, 0))},
        {1.0, QDateTime(QDate(1899, 12, 31), QTime(0, 0))},
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))}, // before the origin the time still counts forward
        {36526.75, QDateTime(QDate(2000, 1, 1), QTime(18, 0))},
        {ClockDay, QDateTime(QDate(2026, 12, 8), QTime(20, 15, 30))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FromDayCount(c.days), c.local) << c.days;
        EXPECT_DOUBLE_EQ(ToDayCount(c.local), c.days) << c.days;
    }
    // A hair before midnight rounds to the next day, not to a 24th hour.
    EXPECT_EQ(FromDayCount(1.0 - 1e-12), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
    EXPECT_FALSE(FromDayCount(std::nan("")).isValid());
}

#include "scores/ConfigFolder.h"
#include "scores/TwStatistics.h"

#include <QSettings>
#include <gtest/gtest.h>

TEST(StatisticsTest, StreaksBestAndFastestAcrossWonAndLostGames) {
    TStatistics s;
    EXPECT_EQ(s.WonPercent(), 0);
    // W W L L L W: streaks of 2 wins, 3 losses, then 1 win.
    s.RecordWin(900, 300'000'000);
    s.RecordWin(1200, 450'000'000);
    s.RecordLoss(60'000'000);
    s.RecordLoss(10'000'000);
    s.RecordLoss(5'000'000);
    s.RecordWin(700, 200'000'000);
    EXPECT_EQ(s.Played, 6);
    EXPECT_EQ(s.Won, 3);
    EXPECT_EQ(s.WonPercent(), 50);
    EXPECT_EQ(s.CurrentStreak, 1);
    EXPECT_EQ(s.LongestWinningStreak, 2);
    EXPECT_EQ(s.LongestLosingStreak, 3);
    EXPECT_EQ(s.BestScore, 1200);
    EXPECT_EQ(s.FastestWin, 200'000'000);
    EXPECT_EQ(s.TotalTime, 1'025'000'000);
    s.RecordLoss(1);
    EXPECT_EQ(s.CurrentStreak, -1);
    EXPECT_EQ(s.WonPercent(), 43); // 3 of 7
    // A first win with a negative score is still the best score.
    TStatistics low;
    low.RecordWin(-40, 10);
    EXPECT_EQ(low.BestScore, -40);
}

TEST(StatisticsTest, KeptInASectionOfTheirOwnAndDamageReadsAsNothing) {
    ConfigFolder config;
    config.Write("[TopScores]\nCount=10\nName0=Ann\n\n[History]\nCount=1\nPath0=/home/p/a.twl\n");
    EXPECT_EQ(LoadStatistics(), TStatistics{}); // no section: nothing played yet

    TStatistics s;
    s.RecordWin(1500, 123'456'789);
    s.RecordLoss(5'000'000'000); // over an hour: beyond 32 bits of microseconds
    SaveStatistics(s);
    EXPECT_EQ(LoadStatistics(), s);
    QSettings ini(config.IniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("TopScores/Name0").toString(), "Ann");
    EXPECT_EQ(ini.value("History/Path0").toString(), "/home/p/a.twl");
    EXPECT_EQ(ini.value("Statistics/TotalTime").toString(), "5123456789");

    const char* damaged[] = {
        "[Statistics]\nPlayed=abc\nWon=1\nCurrentStreak=1\nLongestWinningStreak=1\n", // wins without games
        "[Statistics]\nPlayed=3\nWon=5\n",
        "[Statistics]\nPlayed=-2\n",
        "[Statistics]\nPlayed=4\nWon=1\nCurrentStreak=-7\nLongestLosingStreak=7\n",
        "[Statistics]\nPlayed=2\nWon=2\nLongestWinningStreak=2\nFastestWin=-5\n",
        "[Statistics]\nPlayed=99999999999\n",
    };
    for (const char* text : damaged) {
        config.Write(text);
        EXPECT_EQ(LoadStatistics(), TStatistics{}) << text;
    }
    // A hand-edited section that can be true is taken as it stands.
    config.Write("[Statistics]\nPlayed=0x10\nWon=4\nCurrentStreak=-2\nLongestWinningStreak=3\nLongestLosingStreak=5\n");
    const TStatistics edited = LoadStatistics();
    EXPECT_EQ(edited.Played, 16);
    EXPECT_EQ(edited.CurrentStreak, -2);
}

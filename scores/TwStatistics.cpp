#include "TwStatistics.h"

#include "KestrelObjects/TIniFile.h"

#include <algorithm>
#include <climits>

namespace {
const QString Section = QStringLiteral("Statistics");

// Counts stop far below overflow; no player gets near them.
constexpr int32_t MaxGames = 1000000000;
constexpr int64_t MaxMicros = int64_t(1) << 62;

int32_t CountUp(int32_t n) { return n < MaxGames ? n + 1 : n; }
int64_t AddTime(int64_t total, int64_t micros) { return std::min(total + std::clamp<int64_t>(micros, 0, MaxMicros), MaxMicros); }

// A record that can be true: counts and times in range, wins within games, streaks within
// the games they count.
bool Consistent(const TStatistics& s) {
    auto games = [](int64_t n) { return n >= 0 && n <= MaxGames; };
    auto time = [](int64_t t) { return t >= 0 && t <= MaxMicros; };
    return games(s.Played) && games(s.Won) && s.Won <= s.Played && games(s.LongestWinningStreak) &&
           games(s.LongestLosingStreak) && s.LongestWinningStreak <= s.Won &&
           s.LongestLosingStreak <= s.Played - s.Won && s.CurrentStreak <= s.LongestWinningStreak &&
           -s.CurrentStreak <= s.LongestLosingStreak && time(s.FastestWin) && time(s.TotalTime) &&
           s.BestScore >= INT32_MIN + 1;
}
} // namespace

void TStatistics::RecordWin(int32_t score, int64_t elapsedMicros) {
    BestScore = Won == 0 ? score : std::max(BestScore, score);
    FastestWin = Won == 0 ? std::max<int64_t>(elapsedMicros, 0) : std::min(FastestWin, std::max<int64_t>(elapsedMicros, 0));
    Played = CountUp(Played);
    Won = CountUp(Won);
    CurrentStreak = CurrentStreak > 0 ? CountUp(CurrentStreak) : 1;
    LongestWinningStreak = std::max(LongestWinningStreak, CurrentStreak);
    TotalTime = AddTime(TotalTime, elapsedMicros);
}

void TStatistics::RecordLoss(int64_t elapsedMicros) {
    Played = CountUp(Played);
    CurrentStreak = CurrentStreak < 0 ? -CountUp(-CurrentStreak) : -1;
    LongestLosingStreak = std::max(LongestLosingStreak, -CurrentStreak);
    TotalTime = AddTime(TotalTime, elapsedMicros);
}

int TStatistics::WonPercent() const { return Played > 0 ? int((int64_t(Won) * 200 + Played) / (2 * int64_t(Played))) : 0; }

TStatistics LoadStatistics() {
    const TIniFile ini;
    TStatistics s;
    auto count = [&](const char* key) { return ini.ReadInteger(Section, QLatin1String(key), 0); };
    s.Played = count("Played");
    s.Won = count("Won");
    s.CurrentStreak = count("CurrentStreak");
    s.LongestWinningStreak = count("LongestWinningStreak");
    s.LongestLosingStreak = count("LongestLosingStreak");
    s.BestScore = count("BestScore");
    s.FastestWin = ini.ReadInt64(Section, QStringLiteral("FastestWin"), 0);
    s.TotalTime = ini.ReadInt64(Section, QStringLiteral("TotalTime"), 0);
    return Consistent(s) ? s : TStatistics{};
}

void SaveStatistics(const TStatistics& s) {
    TIniFile ini;
    ini.WriteInteger(Section, QStringLiteral("Played"), s.Played);
    ini.WriteInteger(Section, QStringLiteral("Won"), s.Won);
    ini.WriteInteger(Section, QStringLiteral("CurrentStreak"), s.CurrentStreak);
    ini.WriteInteger(Section, QStringLiteral("LongestWinningStreak"), s.LongestWinningStreak);
    ini.WriteInteger(Section, QStringLiteral("LongestLosingStreak"), s.LongestLosingStreak);
    ini.WriteInteger(Section, QStringLiteral("BestScore"), s.BestScore);
    ini.WriteInteger(Section, QStringLiteral("FastestWin"), s.FastestWin);
    ini.WriteInteger(Section, QStringLiteral("TotalTime"), s.TotalTime);
    ini.Commit();
}

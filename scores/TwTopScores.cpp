#include "TwTopScores.h"

#include "KestrelObjects/TIniFile.h"
#include "KestrelObjects/TimeSource.h"

#include <cmath>
#include <vector>

TTopScoreTable TopScoreTable;

namespace {
const QString Section = QStringLiteral("TopScores");
constexpr int64_t MsPerDay = 86'400'000;
// 1 January 100 and the last millisecond of 31 December 9999.
constexpr double FirstDay = -657434.0;
constexpr double LastDay = 2958466.0;

const QDate& DayZero() {
    static const QDate zero(1899, 12, 30);
    return zero;
}

QString Key(const char* name, int i) { return QLatin1String(name) + QString::number(i); }

// An entry with the table position it had before sorting, so that a sort can tell where an
// entry went even when two entries are alike.
struct Placed {
    TScoreInfo Info;
    int From;
};

void QuickSort(std::vector<Placed>& list, int l, int r) {
    int i;
    do {
        i = l;
        int j = r;
        const TScoreInfo p = list[size_t((l + r) / 2)].Info;
        do {
            while (CompareScores(list[size_t(i)].Info, p) < 0)
                ++i;
            while (CompareScores(list[size_t(j)].Info, p) > 0)
                --j;
            if (i <= j) {
                std::swap(list[size_t(i)], list[size_t(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(list, l, j);
        l = i;
    } while (i < r);
}

// Sorts the table and returns, for each old index, the index the entry now has.
std::array<int, TopScoreCount> SortTracked() {
    std::vector<Placed> list;
    list.reserve(TopScoreCount);
    for (int i = 0; i < TopScoreCount; ++i)
        list.push_back({TopScoreTable[size_t(i)], i});
    QuickSort(list, 0, TopScoreCount - 1);
    std::array<int, TopScoreCount> moved{};
    for (int i = 0; i < TopScoreCount; ++i) {
        TopScoreTable[size_t(i)] = list[size_t(i)].Info;
        moved[size_t(list[size_t(i)].From)] = i;
    }
    return moved;
}
} // namespace

double ToDayCount(const QDateTime& local) {
    if (!local.isValid())
        return 0;
    const double days = double(DayZero().daysTo(local.date()));
    const double time = double(local.time().msecsSinceStartOfDay()) / double(MsPerDay);
    return days >= 0 ? days + time : days - time;
}

QDateTime FromDayCount(double days) {
    if (!IsValidDayCount(days))
        return {};
    int64_t wholeDays, ms;
    if (days >= 0) {
        const int64_t total = std::llround(days * double(MsPerDay));
        wholeDays = total / MsPerDay;
        ms = total % MsPerDay;
    } else {
        const double whole = std::trunc(days);
        wholeDays = int64_t(whole);
        ms = std::min<int64_t>(std::llround((whole - days) * double(MsPerDay)), MsPerDay - 1);
    }
    return QDateTime(DayZero().addDays(wholeDays), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

bool IsValidDayCount(double days) { return std::isfinite(days) && days >= FirstDay && days < LastDay; }

void LoadTopScores() {
    TIniFile ini;
    TopScoreTable = {};
    // The table has ten places whatever count a file claims.
    const int count = std::clamp(ini.ReadInteger(Section, QStringLiteral("Count"), TopScoreCount), 0, TopScoreCount);
    for (int i = 0; i < count; ++i) {
        TScoreInfo& entry = TopScoreTable[size_t(i)];
        entry.Score = ini.ReadInteger(Section, Key("Score", i), 0);
        entry.Name = ini.ReadString(Section, Key("Name", i), QString());
        const double date = ini.ReadFloat(Section, Key("Date", i), 0);
        entry.Date = IsValidDayCount(date) ? date : 0;
        entry.Elapsed = ini.ReadInt64(Section, Key("Elapsed", i), 0);
    }
}

void SaveTopScores() {
    TIniFile ini;
    ini.WriteInteger(Section, QStringLiteral("Count"), TopScoreCount);
    for (int i = 0; i < TopScoreCount; ++i) {
        const TScoreInfo& entry = TopScoreTable[size_t(i)];
        ini.WriteInteger(Section, Key("Score", i), entry.Score);
        ini.WriteString(Section, Key("Name", i), entry.Name);
        // Always with a full stop, so that the file reads the same under any locale.
        ini.WriteFloat(Section, Key("Date", i), entry.Date);
        // The whole 64-bit count: games longer than 35 min 47 s keep their time.
        ini.WriteInteger(Section, Key("Elapsed", i), entry.Elapsed);
    }
    ini.Commit();
}

void ClearTopScores() {
    for (TScoreInfo& entry : TopScoreTable) {
        entry.Name.clear();
        entry.Score = 0;
        entry.Date = 0;
    }
}

int ClaimTopScoreSlot(int32_t score) {
    for (int i = TopScoreCount - 1; i >= 0; --i) {
        TScoreInfo& entry = TopScoreTable[size_t(i)];
        if (entry.Score < score) {
            entry.Score = score;
            entry.Name.clear();
            return i;
        }
    }
    return -1;
}

int64_t CompareScores(const TScoreInfo& a, const TScoreInfo& b) { return int64_t(b.Score) - int64_t(a.Score); }

void SortTopScores() { SortTracked(); }

int AddTopScore(int32_t score, int64_t elapsedMicros, const TNamePrompt& askName) {
    const int index = ClaimTopScoreSlot(score);
    if (index < 0)
        return -1;
    // The best entry's name, read after the claim (which may have emptied it).
    QString name = TopScoreTable[0].Name;
    if (name.isEmpty())
        name = QStringLiteral("???");
    name = askName(QStringLiteral("New Top-Ten Score: ") + QString::number(score), QStringLiteral("Enter Name: "), name);

    TScoreInfo& entry = TopScoreTable[size_t(index)];
    entry.Name = name;
    entry.Date = ToDayCount(CurrentTimeSource().LocalNow());
    entry.Elapsed = elapsedMicros;
    return SortTracked()[size_t(index)];
}

#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// One entry of the top-ten table.
struct TScoreInfo {
    QString Name;
    // Local date and time the entry was made: days since 30 December 1899, the time of day as
    // the fraction. 0 marks a free entry.
    double Date = 0;
    // Game time of the winning game, microseconds.
    int64_t Elapsed = 0;
    int32_t Score = 0;

    bool InUse() const { return Date != 0; }
};

constexpr int TopScoreCount = 10;
using TTopScoreTable = std::array<TScoreInfo, TopScoreCount>;

// The program's one table, index 0 the best. Empty at start; read once at start-up, changed
// only by AddTopScore and ClearTopScores, and written after each showing of the dialog.
extern TTopScoreTable TopScoreTable;

// Section "TopScores" of the shared INI file. A missing or unreadable value reads as its
// default; entries beyond the stored count stay empty.
void LoadTopScores();
// Writes all ten entries. Throws TGameError "Unable to write to <path>"; the file is then
// unchanged.
void SaveTopScores();
// Empties every entry's name, score and date; the elapsed times stay.
void ClearTopScores();
// Takes the lowest-placed entry (scanning from the bottom) that the score beats: sets its
// score, empties its name and returns its index; -1 when the score does not qualify.
int ClaimTopScoreSlot(int32_t score);
// Negative when a comes first: the higher score comes first.
int64_t CompareScores(const TScoreInfo& a, const TScoreInfo& b);
// Sorts the table by descending score. The quicksort is not stable; it fixes where equal
// scores end up, and files and players have seen that order, so it stays as it is.
void SortTopScores();
// Asks for a new entry's name: returns the edited text on OK, the default unchanged on Cancel.
using TNamePrompt = std::function<QString(const QString& caption, const QString& label, const QString& defaultName)>;
// Offers a won game's score: a qualifying score asks for the player's name through the prompt
// and is entered with the current local time. Returns the entry's index once the table is
// sorted, or -1 when the score does not qualify (nothing is asked then).
int AddTopScore(int32_t score, int64_t elapsedMicros, const TNamePrompt& askName);

// Day counts from 30 December 1899 with the time of day as the fraction (local time). Days
// before that date are negative with the time of day still counted forward.
double ToDayCount(const QDateTime& local);
QDateTime FromDayCount(double days);
// Whether a day count names a date between the years 100 and 9999 (anything else in a file is
// damage and makes the entry free).
bool IsValidDayCount(double days);

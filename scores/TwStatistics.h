#pragma once

#include <cstdint>

// The player's record over all games: kept in section "Statistics" of the shared INI file and
// written when a game ends. A game counts once its first move is made; it is won, or lost when
// it is given up (a new deal or a load over it, or the program closed without keeping it).
struct TStatistics {
    int32_t Played = 0;
    int32_t Won = 0;
    // Games in a row with the same end: above 0 wins, below 0 losses.
    int32_t CurrentStreak = 0;
    int32_t LongestWinningStreak = 0;
    int32_t LongestLosingStreak = 0;
    // The best score and the fastest time of the won games (meaningful once Won is above 0).
    int32_t BestScore = 0;
    int64_t FastestWin = 0; // microseconds
    // The game time of every game ended, won or lost.
    int64_t TotalTime = 0; // microseconds

    void RecordWin(int32_t score, int64_t elapsedMicros);
    void RecordLoss(int64_t elapsedMicros);
    // The share of the games played that were won, in whole percent (0 before any game).
    int WonPercent() const;

    bool operator==(const TStatistics&) const = default;
};

// Reads the section; a missing, damaged or hand-edited value that cannot be right reads as 0
// (and a record that contradicts itself as no record at all).
TStatistics LoadStatistics();
// Writes the section and nothing else. Throws TGameError "Unable to write to <path>"; the file
// is then unchanged.
void SaveStatistics(const TStatistics& statistics);

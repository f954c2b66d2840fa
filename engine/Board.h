#pragma once

#include "cards/TCard.h"

#include <array>
#include <cstdint>

// The board's layout: 4 home pockets, then 8 columns of 52 rows.
constexpr int HomeCount = 4;
constexpr int ColumnCountMax = 8;
constexpr int RowCountMax = 52;
constexpr int PileSize = ColumnCountMax * RowCountMax;
constexpr int BoardSize = HomeCount + PileSize;
constexpr int DeckSize = 52;

// A board laid out slot by slot: pockets 0..3 hold their top card, then the pile.
using TBoard = std::array<TCard*, BoardSize>;

// The counters of a game (moves, undos, hints) stop at this many: no game gets near it, and
// the score's arithmetic stays far from overflowing. A saved game with more is damaged.
constexpr int32_t MaxCount = 1000000000;
constexpr int32_t CountUp(int32_t n) { return n < MaxCount ? n + 1 : n; }

constexpr int PileSlot(int column, int row) { return HomeCount + column * RowCountMax + row; }

// A place on the board as hit by the mouse: a pile cell (Column 0..7), a pocket (Column -1,
// Row the pocket) or nothing (both -1).
struct BoardSlot {
    int32_t Column = -1;
    int32_t Row = -1;
    TCard* Card = nullptr;
};

// A board of card references read the way the rules read a board (see Rules.h): cards by their
// Index, NoCard for an empty place.
class LiveBoard {
public:
    explicit LiveBoard(const TBoard& cells) : cells(cells) {}

    int CardAt(int column, int row) const {
        const TCard* card = row < RowCountMax ? cells[size_t(PileSlot(column, row))] : nullptr;
        return card ? card->Index : -1;
    }
    bool IsFaceUp(int column, int row) const { return cells[size_t(PileSlot(column, row))]->FaceUp; }
    int PocketTop(int pocket) const {
        const TCard* top = cells[size_t(pocket)];
        return top ? top->Index : -1;
    }

private:
    const TBoard& cells;
};

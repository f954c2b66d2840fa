#pragma once

// A compact board for the solver: the eight columns of the pile with each card's face, and the
// four home pockets. It answers the rules' board questions (Rules::RuleBoard), so every move it
// allows is one the rules of Rules.h allow, and it keeps a fingerprint of itself that does not
// depend on the order of the columns (columns are interchangeable for winning a game).
//
// A position knows where every face-down card lies: the solver decides whether a game can be
// won "with the cards as they lie".

#include "engine/Rules.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Solver {

// One move as the player makes it with two clicks: first the card at (Column, Row), which takes
// with it every card below it in its column; then the destination, the last card of column
// TargetColumn (or the empty column itself), or home pocket Pocket. The solver's moves home
// take a single card, the last one of its column (clicked, then its pocket).
struct Move {
    int Column = -1;
    int Row = -1;
    int TargetColumn = -1; // -1 for a move home
    int Pocket = -1;       // 0..3 for a move home, else -1
    int Card = Rules::NoCard; // the card clicked first

    bool IsHome() const { return TargetColumn < 0; }
    bool operator==(const Move&) const = default;
};

// A board as plain values, as the engine or a test lays it out: the top card of each pocket
// (or NoCard), and each column's cards from the top with whether each lies face up.
struct Description {
    std::array<int, HomeCount> Pockets{Rules::NoCard, Rules::NoCard, Rules::NoCard, Rules::NoCard};
    std::array<std::vector<std::pair<int, bool>>, ColumnCountMax> Columns;

    bool operator==(const Description&) const = default;
};

// The position's key for the table of positions already seen: 128 bits, equal for two
// positions whose columns hold the same cards with the same faces in any column order.
struct Fingerprint {
    uint64_t A = 0, B = 0;
    bool operator==(const Fingerprint&) const = default;
};

class Position {
public:
    // A board with every card home (a won game).
    Position();

    // The position of a new deal, from the deal's number (its shuffle seed).
    static Position FromDeal(uint32_t seed);
    // The position a description lays out, or nothing (with the reason in error) when it is
    // not a board of this game: every card must lie exactly once in a column or under a
    // pocket's top card, and no two pockets may hold one suit.
    static std::optional<Position> FromDescription(const Description& description, std::string* error = nullptr);
    Description Describe() const;

    // ---- the rules' view of the board (Rules::RuleBoard)
    int CardAt(int column, int row) const {
        return row < Count(column) ? cells[size_t(column)][size_t(row)] & CardBits : Rules::NoCard;
    }
    bool IsFaceUp(int column, int row) const { return (cells[size_t(column)][size_t(row)] & FaceDownBit) == 0; }
    int PocketTop(int pocket) const {
        const int suit = pocketSuit[size_t(pocket)];
        return suit < 0 ? Rules::NoCard : suit * 13 + homeCount[size_t(suit)] - 1;
    }

    int Count(int column) const { return counts[size_t(column)]; }
    // Cards of the suit already home (0..13).
    int CardsHome(int suit) const { return homeCount[size_t(suit)]; }
    bool IsHome(int card) const { return place[size_t(card)] == Home; }
    // Where a card lies in the pile; {-1, -1} when it is home.
    std::pair<int, int> PlaceOf(int card) const {
        const uint16_t at = place[size_t(card)];
        if (at == Home)
            return {-1, -1};
        return {at >> PlaceShift, at & ((1 << PlaceShift) - 1)};
    }
    bool IsWon() const;

    // Every move the rules allow here: each face-up card to each other column, and the last
    // card of each column home. A King heading its column may go into an empty column, which
    // changes nothing that matters; it is left out.
    std::vector<Move> LegalMoves() const;
    // Calls visit(move) for each of the moves LegalMoves lists; a King goes only into the first
    // empty column unless everyEmptyColumn (empty columns are all alike).
    template <class Visit>
    void ForEachMove(Visit&& visit, bool everyEmptyColumn = true) const;
    // Makes a move if the rules allow it, then turns up a face-down card left at the bottom of
    // the source column, as the game does; false (and nothing changed) when refused. A move
    // home from a card above the last one takes the whole run home, bottom card first, as the
    // game does.
    bool Apply(const Move& move);

    Fingerprint Key() const;

private:
    friend class Search;
    friend class Deadlock;

    static constexpr uint8_t CardBits = 0x3F;
    static constexpr uint8_t FaceDownBit = 0x80;
    static constexpr uint16_t Home = 0xFFFF;
    // place[] packs a pile cell as column * 64 + row.
    static constexpr int PlaceShift = 6;

    // Low-level steps, unchecked: the search has decided them with the rules already.
    // Moves rows row.. of column from to the end of column to.
    void MoveRun(int from, int row, int to);
    // The last card of the column to the pocket (empty for an Ace, else the one of its suit).
    void SendHome(int column, int pocket);
    // The top card of the suit's pocket back to the end of the column, face up.
    void ReturnHome(int column, int suit);
    // Turns the column's last card face up; false when it was face up already.
    bool TurnUpBottom(int column);
    void TurnDownBottom(int column);

    void Put(int column, int row, int card, bool faceUp);
    void HashCell(int column, int row);

    std::array<std::array<uint8_t, RowCountMax>, ColumnCountMax> cells{};
    std::array<uint8_t, ColumnCountMax> counts{};
    std::array<uint8_t, 4> homeCount{};
    std::array<int8_t, HomeCount> pocketSuit{};
    std::array<uint16_t, DeckSize> place{};
    // Per column, the exclusive-or of a pair of keys of (card, row, face) over its cells.
    std::array<uint64_t, ColumnCountMax> hashA{}, hashB{};
};

static_assert(Rules::RuleBoard<Position>);

// Only the cards that can be the move's first card are looked at (the two cards that join a
// column's last card, a King at the bottom of a column, a column's last card for home); the
// rules' predicates decide each of them.
template <class Visit>
void Position::ForEachMove(Visit&& visit, bool everyEmptyColumn) const {
    using Rules::Refusal;
    int empty[ColumnCountMax];
    int empties = 0;
    for (int target = 0; target < ColumnCountMax; ++target) {
        const int count = Count(target);
        if (count == 0) {
            empty[empties++] = target;
            continue;
        }
        const int last = CardAt(target, count - 1);
        for (const int head : {last - 1, last + 1}) {
            if (head < 0 || head >= DeckSize || !Rules::Joins(head, last) || IsHome(head))
                continue;
            const auto [column, row] = PlaceOf(head);
            if (column != target && Rules::CheckChoice(*this, column, row) == Refusal::None &&
                Rules::CheckColumnMove(*this, column, row, target) == Refusal::None)
                visit(Move{column, row, target, -1, head});
        }
    }
    if (empties > 1 && !everyEmptyColumn)
        empties = 1;
    for (int column = 0; column < ColumnCountMax; ++column) {
        const int count = Count(column);
        if (count == 0)
            continue;
        const int row = count - 1;
        const int last = CardAt(column, row);
        if (Rules::CheckChoice(*this, column, row) != Refusal::None)
            continue;
        if (row > 0 && Rules::IsKing(last))
            for (int i = 0; i < empties; ++i)
                if (Rules::CheckColumnMove(*this, column, row, empty[i]) == Refusal::None)
                    visit(Move{column, row, empty[i], -1, last});
        const int pocket = Rules::PocketFor(*this, last);
        if (pocket >= 0 && Rules::CheckHomeMove(*this, column, row, pocket) == Refusal::None)
            visit(Move{column, row, -1, pocket, last});
    }
}

// A card in words, as a sentence uses it: "the jack of diamonds".
std::string CardInWords(int card);

} // namespace Solver

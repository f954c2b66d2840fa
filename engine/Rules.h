#pragma once

// The rules of the game as pure predicates over a board: no drawing, no sound, no undo, no
// window. Whatever decides a rule (the moves, the move search, the score, the solver) asks
// these, and nothing else does.
//
// Cards are named by their deck Index (suit-major: hearts Ace..King 0..12, diamonds, clubs,
// spades). A board is any value that answers three questions (the RuleBoard concept): the card
// in a pile cell, or NoCard (rows from 52 on hold none); whether a card in the pile lies face
// up; the top card of a home pocket, or NoCard. The live game reads its card references through
// LiveBoard (Board.h); the solver keeps a compact board of its own.

#include "Board.h"

#include <QString>
#include <array>
#include <concepts>
#include <cstdint>

namespace Rules {

constexpr int NoCard = -1;

constexpr int RankOf(int card) { return card % 13; }
constexpr int SuitOf(int card) { return (card / 13) % 4; }
constexpr bool IsAce(int card) { return RankOf(card) == Ace; }
constexpr bool IsKing(int card) { return RankOf(card) == King; }

// lower is the card one rank below upper in upper's suit: one step of a descending run.
constexpr bool Descends(int upper, int lower) {
    return SuitOf(upper) == SuitOf(lower) && RankOf(lower) + 1 == RankOf(upper);
}
// lower is the card one rank above upper in upper's suit.
constexpr bool Ascends(int upper, int lower) { return Descends(lower, upper); }
// One card joins another: the same suit, ranks one apart either way. A King and the next
// suit's Ace are neighbours by Index but never join.
constexpr bool Joins(int a, int b) { return Descends(a, b) || Ascends(a, b); }

template <class B>
concept RuleBoard = requires(const B& board, int column, int row, int pocket) {
    { board.CardAt(column, row) } -> std::convertible_to<int>;
    { board.IsFaceUp(column, row) } -> std::convertible_to<bool>;
    { board.PocketTop(pocket) } -> std::convertible_to<int>;
};

// ---------------------------------------------------------------- the deal

// The deal goes out row by row, left to right; column c takes rows 0..c+2 (3 cards in the first
// column, 10 in the last), face up where column + row is even, so every column ends face up.
constexpr int DealRows = 10;
constexpr bool IsDealtCell(int column, int row) { return row <= column + 2; }
constexpr bool DealsFaceUp(int column, int row) { return (column + row) % 2 == 0; }

struct DealtCard {
    int Column = 0, Row = 0, Card = 0;
    bool FaceUp = false;
};

// The 52 cards of the deal whose shuffle was seeded with this number, in the order they go out.
// It draws from a generator of its own, so it may run anywhere, on any thread.
std::array<DealtCard, DeckSize> DealFromSeed(uint32_t seed);

// ---------------------------------------------------------------- board queries

// Cards in the column: the first row that holds none.
template <RuleBoard B>
int ColumnCount(const B& board, int column) {
    int row = 0;
    while (row < RowCountMax && board.CardAt(column, row) != NoCard)
        ++row;
    return row;
}

// Row of the column's lowest card; 0 both for an empty column and for a column of one card.
template <RuleBoard B>
int BottomRow(const B& board, int column) {
    const int count = ColumnCount(board, column);
    return count > 0 ? count - 1 : 0;
}

template <RuleBoard B>
int FirstEmptyColumn(const B& board) {
    for (int column = 0; column < ColumnCountMax; ++column)
        if (board.CardAt(column, 0) == NoCard)
            return column;
    return -1;
}

// ---------------------------------------------------------------- what may move where

// The pocket that takes a card: an Ace the first empty one, any other card the first whose
// top card is the one just below it in its suit; -1 when none does.
template <RuleBoard B>
int PocketFor(const B& board, int card) {
    for (int pocket = 0; pocket < HomeCount; ++pocket) {
        const int top = board.PocketTop(pocket);
        if (IsAce(card) ? top == NoCard : top != NoCard && top == card - 1)
            return pocket;
    }
    return -1;
}

// Rows first..last of a column may go home: all face up, all of the suit of the first, and
// every card above the last one, Aces excepted, exactly one rank above the card below it.
template <RuleBoard B>
bool RunFitsHome(const B& board, int column, int first, int last) {
    if (first > last)
        return true;
    const int head = board.CardAt(column, first);
    if (head == NoCard)
        return false;
    for (int row = first; row <= last; ++row) {
        const int card = board.CardAt(column, row);
        if (card == NoCard || !board.IsFaceUp(column, row) || SuitOf(card) != SuitOf(head))
            return false;
        if (row < last && !IsAce(card) && !Descends(card, board.CardAt(column, row + 1)))
            return false;
    }
    return true;
}

// Why a move is refused; None when it is allowed. RefusalText gives the words shown.
enum class Refusal {
    None,
    NotAValidCard,
    SelectFromPile,
    OnlyFaceUp,
    SameColumn,
    NotInSequence,
    OnlyKing,
    KingNotAtBottom,
    NotAtBottom,
    NotInSequenceWithHome,
    PocketFull,
    OnlyAce,
};

QString RefusalText(Refusal refusal);

// The first click of a move: may the card in the cell (column -1 for a pocket) be chosen?
template <RuleBoard B>
Refusal CheckChoice(const B& board, int column, int row) {
    if (column < 0 || row < 0 || board.CardAt(column, row) == NoCard)
        return Refusal::SelectFromPile;
    if (!board.IsFaceUp(column, row))
        return Refusal::OnlyFaceUp;
    return Refusal::None;
}

// The run headed by the card at (column, row) to the bottom of another column, in the order
// the checks are made: onto a card it joins, or, as a King with nothing below it or heading its
// column, into an empty column. Only the head is compared; the cards below it go as they lie.
template <RuleBoard B>
Refusal CheckColumnMove(const B& board, int column, int row, int target) {
    const int chosen = board.CardAt(column, row);
    const int count = ColumnCount(board, target);
    if (count > 0)
        return Joins(chosen, board.CardAt(target, count - 1)) ? Refusal::None : Refusal::NotInSequence;
    if (!IsKing(chosen))
        return Refusal::OnlyKing;
    if (row != 0 && board.CardAt(column, row + 1) != NoCard)
        return Refusal::KingNotAtBottom;
    return Refusal::None;
}

// The run from (column, row) to the column's last card into a pocket, bottom card first, in
// the order the checks are made.
template <RuleBoard B>
Refusal CheckHomeMove(const B& board, int column, int row, int pocket) {
    const int last = BottomRow(board, column);
    if (!RunFitsHome(board, column, row, last))
        return Refusal::NotAtBottom;
    const int bottom = board.CardAt(column, last);
    const int top = board.PocketTop(pocket);
    if (top != NoCard && bottom != top + 1)
        return Refusal::NotInSequenceWithHome;
    if (top != NoCard && IsKing(top))
        return Refusal::PocketFull;
    if (top == NoCard && !IsAce(bottom))
        return Refusal::OnlyAce;
    // Each card must then follow the one sent before it. On a board that holds every card
    // once this always holds when the checks above pass (an Ace above the bottom card would
    // have to lie in the pocket already); it keeps a damaged board from burying a pocket.
    for (int r = last - 1; r >= row; --r)
        if (board.CardAt(column, r) != board.CardAt(column, r + 1) + 1)
            return Refusal::NotAtBottom;
    return Refusal::None;
}

} // namespace Rules

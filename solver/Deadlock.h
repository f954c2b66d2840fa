#pragma once

// Proof that a game is lost because some cards can never come apart.
//
// Every card goes home from the bottom of a column, so every card must one day leave its place:
// a card that lies on another must leave that card, and a card at the top of a column must go
// home or onto another card. A card leaves as the head of a run onto its suit neighbour at the
// bottom of another column, as a King with nothing below it into an empty column, or home; and
// each of these needs other cards to have left their places first. The analysis starts by
// assuming that no card ever leaves its place, and lets go of that assumption for each card
// that has a way out while the cards still held stay where they are, until nothing changes.
// The cards still held then can truly never leave: the first of them to leave would have
// needed another of them to leave before it. One of them is enough to lose the game.

#include "Position.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Solver {

class Deadlock {
public:
    explicit Deadlock(const Position& position);

    // Quick test for the search: is some card held for ever?
    static bool Exists(const Position& position);

    bool Found() const { return held != 0; }
    // How many cards the proof holds: none of them can ever go home.
    int HeldCards() const { return __builtin_popcountll(held); }
    // A small set of cards that hold one another, as runs of cells down their columns, top
    // card first: the cards of a chain can never come apart.
    const std::vector<std::vector<int>>& Chains() const { return chains; }
    // The proof in words, or empty when none was found or it would take too many words:
    // "The jack of diamonds lies face down above the king of diamonds, and the queen of
    // diamonds below it: none of them can ever get free."
    std::string Reason() const;

private:
    // What each card in the pile needs to leave its place, as sets of cards (a bit per Index)
    // that must have left their own places before.
    struct Needs {
        explicit Needs(const Position& position);
        // The cards that stay held, starting from the cards in held and letting every other
        // card leave as it likes.
        uint64_t Settle(uint64_t held) const;
        bool CanLeave(int card, uint64_t held) const;

        uint64_t Pile = 0;                                     // every card in the pile
        uint64_t Tops = 0;                                     // the top card of each column
        bool EmptyColumn = false;                              // a column is empty already
        // Set for the cards in the pile only.
        std::array<uint64_t, DeckSize> Home;                   // all must leave first
        std::array<uint64_t, DeckSize> Alone;                  // a King into an empty column
        std::array<std::array<uint64_t, 2>, DeckSize> Onto;    // per neighbour: all must leave
        std::array<std::array<uint64_t, 2>, DeckSize> Apart;   // per neighbour: one must leave
        std::array<uint8_t, DeckSize> Ways;                    // which of those ways exist
        std::array<uint8_t, DeckSize> Order{};                 // the cards, each column upwards
        int Cards = 0;
    };

    const Position& position;
    Needs needs;
    uint64_t held = 0;
    std::vector<std::vector<int>> chains;
};

} // namespace Solver

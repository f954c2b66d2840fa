#include "Deadlock.h"

#include "cards/TRandom.h"

#include <utility>

namespace Solver {

namespace {
constexpr uint64_t Bit(int card) { return uint64_t(1) << card; }
// A reason longer than this is no short reason.
constexpr size_t MostChains = 3;
constexpr size_t MostCards = 9;
// Orders in which to try shrinking a proof.
constexpr int ShrinkAttempts = 24;
} // namespace

Deadlock::Deadlock(const Position& board) : position(board), needs(board) {
    held = needs.Settle(needs.Pile);
    if (!held)
        return;
    // Shrink the proof: drop each card in turn while what remains still holds itself. The
    // order of dropping decides which proof is left; a few orders are tried, the smallest
    // proof kept.
    const uint64_t all = held;
    TRandom order(uint32_t(all ^ (all >> 32)));
    for (int attempt = 0; attempt < ShrinkAttempts; ++attempt) {
        std::array<int, DeckSize> cards{};
        int count = 0;
        for (uint64_t rest = all; rest; rest &= rest - 1)
            cards[size_t(count++)] = __builtin_ctzll(rest);
        if (attempt > 0)
            for (int i = count - 1; i > 0; --i)
                std::swap(cards[size_t(i)], cards[size_t(order.RandomInt(i + 1))]);
        uint64_t proof = all;
        for (int i = 0; i < count; ++i) {
            const uint64_t card = Bit(cards[size_t(i)]);
            if (!(proof & card))
                continue;
            if (const uint64_t smaller = needs.Settle(proof & ~card))
                proof = smaller;
        }
        if (attempt == 0 || __builtin_popcountll(proof) < __builtin_popcountll(held))
            held = proof;
    }
    // Chains: each held card with the card it lies on, joined down the columns.
    for (int column = 0; column < ColumnCountMax; ++column) {
        std::vector<int> chain;
        for (int row = 0; row < position.Count(column); ++row) {
            const int card = position.CardAt(column, row);
            if (held & Bit(card)) {
                if (chain.empty() && row > 0)
                    chain.push_back(position.CardAt(column, row - 1));
                chain.push_back(card);
            } else if (!chain.empty()) {
                chains.push_back(std::move(chain));
                chain.clear();
            }
        }
        if (!chain.empty())
            chains.push_back(std::move(chain));
    }
}

bool Deadlock::Exists(const Position& position) {
    const Needs needs(position);
    return needs.Settle(needs.Pile) != 0;
}

// Every way for a card to leave its place needs other cards out of the way first; each
// condition below is necessary, so a card that can meet none of them never leaves.
Deadlock::Needs::Needs(const Position& position) {
    // below[card]: the card lying on it (none at the bottom of a column), as a bit;
    // under[column][row]: the cards from that row to the bottom of the column.
    std::array<uint64_t, DeckSize> below;
    std::array<std::array<uint64_t, RowCountMax + 1>, ColumnCountMax> under;
    for (int column = 0; column < ColumnCountMax; ++column) {
        const int count = position.Count(column);
        uint64_t rest = 0;
        under[size_t(column)][size_t(count)] = 0;
        for (int row = count - 1; row >= 0; --row) {
            const int card = position.CardAt(column, row);
            below[size_t(card)] = row + 1 < count ? uint64_t(1) << position.CardAt(column, row + 1) : 0;
            rest |= Bit(card);
            under[size_t(column)][size_t(row)] = rest;
            // Deepest cards first: most cards wait for the card lying on them.
            Order[size_t(Cards++)] = uint8_t(card);
        }
        Pile |= rest;
        if (count == 0)
            EmptyColumn = true;
        else
            Tops |= Bit(position.CardAt(column, 0));
    }
    // lowerNeeds[card]: the lower cards of its suit still in the pile, which must go home
    // first, and the cards lying on them.
    std::array<uint64_t, DeckSize> lowerNeeds;
    for (int suit = 0; suit < 4; ++suit) {
        uint64_t needed = 0;
        for (int card = suit * 13 + position.CardsHome(suit); card < suit * 13 + 13; ++card) {
            lowerNeeds[size_t(card)] = needed;
            needed |= Bit(card) | below[size_t(card)];
        }
    }

    for (int column = 0; column < ColumnCountMax; ++column)
        for (int row = 0; row < position.Count(column); ++row) {
            const int card = position.CardAt(column, row);
            const size_t at = size_t(card);
            uint8_t ways = 0;

            // Home: the card itself uncovered, and before it every lower card of its suit
            // uncovered and sent home.
            Home[at] = below[at] | lowerNeeds[at];

            // Onto a neighbour at the bottom of another column, uncovered. Only a face-up card
            // can head a run, and a face-down one turns up only at the bottom of its column.
            const uint64_t toTurnUp = position.IsFaceUp(column, row) ? 0 : below[at];
            for (size_t side = 0; side < 2; ++side) {
                const int neighbour = side == 0 ? card - 1 : card + 1;
                Apart[at][side] = 0;
                if (neighbour < 0 || neighbour >= DeckSize || !Rules::Joins(card, neighbour) ||
                    position.IsHome(neighbour))
                    continue;
                ways |= uint8_t(1 << side);
                Onto[at][side] = below[size_t(neighbour)] | toTurnUp;
                // A neighbour lying below the card in its column must first get out of the
                // run the card heads: some card between them must leave the card it lies on.
                const auto [c, r] = position.PlaceOf(neighbour);
                if (c == column && r > row)
                    Apart[at][side] = under[size_t(column)][size_t(row + 1)] & ~under[size_t(column)][size_t(r + 1)];
            }

            // A King lying on another card, with nothing below it, may go into an empty
            // column; a column only empties when its top card goes home or onto another card.
            // (A King at the top of its column going into another empty column leaves its
            // place no better.)
            if (Rules::IsKing(card) && row > 0) {
                ways |= 4;
                Alone[at] = below[at];
            }
            Ways[at] = ways;
        }
}

bool Deadlock::Needs::CanLeave(int card, uint64_t held) const {
    const size_t at = size_t(card);
    if (!(held & Home[at]))
        return true;
    for (size_t side = 0; side < 2; ++side)
        if ((Ways[at] & (1 << side)) && !(held & Onto[at][side]) && (!Apart[at][side] || (Apart[at][side] & ~held)))
            return true;
    return (Ways[at] & 4) && !(held & Alone[at]) && (EmptyColumn || (Tops & ~held));
}

uint64_t Deadlock::Needs::Settle(uint64_t held) const {
    for (bool changed = true; changed && held;) {
        changed = false;
        for (int i = 0; i < Cards; ++i) {
            const int card = Order[size_t(i)];
            if ((held & Bit(card)) && CanLeave(card, held)) {
                held &= ~Bit(card);
                changed = true;
            }
        }
    }
    return held;
}

std::string Deadlock::Reason() const {
    if (chains.empty() || chains.size() > MostChains)
        return {};
    size_t cards = 0;
    for (const auto& chain : chains)
        cards += chain.size();
    if (cards > MostCards)
        return {};
    auto named = [this](int card, bool first) {
        const auto [column, row] = position.PlaceOf(card);
        std::string words = CardInWords(card);
        if (!first && !position.IsFaceUp(column, row))
            words += " (face down)";
        return words;
    };
    std::string text;
    for (const auto& chain : chains) {
        if (!text.empty())
            text += "; ";
        const auto [column, row] = position.PlaceOf(chain[0]);
        const char* face = position.IsFaceUp(column, row) ? " lies" : " lies face down";
        if (chain.size() == 1) {
            // A card at the top of its column with nothing held below it.
            text += named(chain[0], true) + face + " at the top of its column";
            continue;
        }
        text += named(chain[0], true) + face + " above " + named(chain[1], false);
        for (size_t i = 2; i < chain.size(); ++i) {
            text += i == 2 ? ", and " : i + 1 == chain.size() ? " and " : ", ";
            text += named(chain[i], false);
        }
        if (chain.size() > 2)
            text += " below it";
    }
    text += cards == 2 ? ": neither can ever get free." : cards == 1 ? ": it can never get free."
                                                     : ": none of them can ever get free.";
    text[0] = 'T';
    return text;
}

} // namespace Solver

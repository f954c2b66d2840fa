#include "Rules.h"

#include "cards/TRandom.h"
#include "cards/TShuffler.h"

namespace Rules {

std::array<DealtCard, DeckSize> DealFromSeed(uint32_t seed) {
    TRandom random(seed);
    TShuffler shuffler;
    shuffler.Permute(random);
    std::array<DealtCard, DeckSize> cards{};
    size_t next = 0;
    for (int row = 0; row < DealRows; ++row)
        for (int column = 0; column < ColumnCountMax; ++column)
            if (IsDealtCell(column, row)) {
                int32_t card = 0;
                shuffler.NextCard(card);
                cards[next++] = {column, row, card, DealsFaceUp(column, row)};
            }
    return cards;
}

QString RefusalText(Refusal refusal) {
    switch (refusal) {
    case Refusal::None: return {};
    case Refusal::NotAValidCard: return QStringLiteral("Not A Valid Card");
    case Refusal::SelectFromPile: return QStringLiteral("Select a card from the pile");
    case Refusal::OnlyFaceUp: return QStringLiteral("Only face-up cards can move");
    case Refusal::SameColumn: return QStringLiteral("Can't move to same column");
    case Refusal::NotInSequence: return QStringLiteral("Cards must be in sequence");
    case Refusal::OnlyKing: return QStringLiteral("Only a king can move here");
    case Refusal::KingNotAtBottom: return QStringLiteral("King must be at the bottom");
    case Refusal::NotAtBottom: return QStringLiteral("Card not at bottom/in Sequence");
    case Refusal::NotInSequenceWithHome: return QStringLiteral("Card not in sequence with Home");
    case Refusal::PocketFull: return QStringLiteral("Home Pocket is Full.");
    case Refusal::OnlyAce: return QStringLiteral("Only an Ace can move here");
    }
    return {};
}

} // namespace Rules

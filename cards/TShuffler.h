#pragma once

#include <cstdint>
#include <vector>

class TRandom;

// The random order in which a new game's cards are dealt.
class TShuffler {
public:
    TShuffler() { SetDeckCount(1); }

    // Resizes the deal order for n decks of 52 cards; no reshuffle.
    void SetDeckCount(int32_t n);
    // Seeds the game's generator from the time of day and makes a new permutation. Returns the
    // seed: the deal's number.
    uint32_t Shuffle();
    // Seeds the game's generator with a deal's number and makes that deal's permutation.
    void Shuffle(uint32_t number);
    // The inside-out Fisher-Yates permutation, drawn from the game's generator as it stands.
    void Permute();
    // The same, drawn from another generator (a deal made away from the table).
    void Permute(TRandom& random);
    // Hands out the next card Index; false (and index untouched) once all are handed out.
    bool NextCard(int32_t& index);

    std::vector<int32_t> DealOrder;
    int32_t DeckCount = 0;
    int32_t NextPos = 0;
};

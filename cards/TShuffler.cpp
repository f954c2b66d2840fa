#include "TShuffler.h"

#include "TRandom.h"
#include "KestrelObjects/TimeSource.h"

void TShuffler::SetDeckCount(int32_t n) {
    if (n == DeckCount)
        return;
    DeckCount = n;
    DealOrder.assign(size_t(52 * n), 0);
}

uint32_t TShuffler::Shuffle() {
    const auto number = uint32_t(CurrentTimeSource().MillisecondsOfDayUtc());
    Shuffle(number);
    return number;
}

void TShuffler::Shuffle(uint32_t number) {
    GameRandom().Seed = number;
    Permute();
}

void TShuffler::Permute() { Permute(GameRandom()); }

void TShuffler::Permute(TRandom& random) {
    const auto n = int32_t(DealOrder.size());
    if (n == 0) {
        NextPos = -1;
        return;
    }
    DealOrder[0] = 0;
    for (int32_t i = 1; i < n; ++i) {
        const int32_t j = random.RandomInt(i + 1);
        if (j != i)
            DealOrder[size_t(i)] = DealOrder[size_t(j)];
        DealOrder[size_t(j)] = i;
    }
    NextPos = n - 1;
}

bool TShuffler::NextCard(int32_t& index) {
    if (NextPos < 0)
        return false;
    index = DealOrder[size_t(NextPos)];
    --NextPos;
    return true;
}

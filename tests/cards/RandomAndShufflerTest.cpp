#include "cards/TRandom.h"
#include "cards/TShuffler.h"
#include "support/VirtualTimeSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
// The deal order for a seed, written out from the generator's formula and the inside-out
// shuffle (computed separately from the game's code).
std::vector<int32_t> ExpectedOrder(uint32_t seed) {
    std::vector<int32_t> order(52, 0);
    uint64_t s = seed;
    for (int i = 1; i < 52; ++i) {
        s = (s * 134775813ull + 1ull) & 0xFFFFFFFFull;
        const int j = int((s * uint64_t(i + 1)) >> 32);
        if (j != i)
            order[size_t(i)] = order[size_t(j)];
        order[size_t(j)] = i;
    }
    return order;
}
} // namespace

TEST(Random, FollowsTheDocumentedFormulas) {
    TRandom r(1);
    EXPECT_EQ(r.Next(), 134775814u);
    r.Seed = 0xFFFFFFFFu;
    EXPECT_EQ(r.Next(), uint32_t(0xFFFFFFFFull * 134775813ull + 1ull));
    // A draw below n is the high half of seed * n.
    r.Seed = 0;
    const uint32_t next = 1; // 0 * a + 1
    EXPECT_EQ(r.RandomInt(52), int32_t((uint64_t(next) * 52) >> 32));
    r.Seed = 0x7FFFFFFFu;
    const uint32_t seed2 = 0x7FFFFFFFu * 134775813u + 1u;
    EXPECT_EQ(r.RandomInt(1000), int32_t((uint64_t(seed2) * 1000) >> 32));
    r.Seed = 0x7FFFFFFFu;
    EXPECT_DOUBLE_EQ(r.RandomReal(), double(seed2) / 4294967296.0);
}

TEST(Random, DrawsStayInRange) {
    TRandom r(987654321u);
    for (int i = 0; i < 10000; ++i) {
        const int v = r.RandomInt(6);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 6);
        const double u = r.RandomReal();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

TEST(Shuffler, PermutationIsPinnedForFixedSeeds) {
    // Literal orders, worked out by hand from the formulas for two seeds.
    const std::vector<int32_t> seed12345 = {9,  38, 42, 13, 32, 2,  4,  16, 28, 44, 47, 14, 1,  7,  29, 41, 23, 3,
                                            20, 35, 17, 12, 0,  5,  31, 21, 39, 43, 50, 51, 37, 10, 40, 49, 8,  26,
                                            6,  36, 46, 18, 25, 19, 45, 24, 34, 30, 22, 48, 27, 11, 15, 33};
    for (uint32_t seed : {12345u, 43200000u, 0u, 0xDEADBEEFu}) {
        TShuffler shuffler;
        GameRandom().Seed = seed;
        shuffler.Permute();
        EXPECT_EQ(shuffler.DealOrder, ExpectedOrder(seed)) << "seed " << seed;
        if (seed == 12345u) {
            EXPECT_EQ(shuffler.DealOrder, seed12345);
        }
    }
}

TEST(Shuffler, ShuffleSeedsFromTheTimeOfDayAndHandsOutEveryCardOnce) {
    VirtualTimeSource clock;
    clock.MsOfDayUtc = ((13 * 60 + 7) * 60 + 42) * 1000 + 345; // 13:07:42.345 UTC
    TShuffler shuffler;
    shuffler.Shuffle();
    EXPECT_EQ(shuffler.DealOrder, ExpectedOrder(uint32_t(clock.MsOfDayUtc)));

    std::vector<int32_t> dealt;
    int32_t index = -7;
    while (shuffler.NextCard(index))
        dealt.push_back(index);
    ASSERT_EQ(dealt.size(), 52u);
    // The first card handed out is the last of the order.
    EXPECT_EQ(dealt.front(), shuffler.DealOrder.back());
    std::sort(dealt.begin(), dealt.end());
    for (int i = 0; i < 52; ++i)
        EXPECT_EQ(dealt[size_t(i)], i);
    // Exhausted: false, and the output is left alone.
    index = -7;
    EXPECT_FALSE(shuffler.NextCard(index));
    EXPECT_EQ(index, -7);
}

TEST(Shuffler, DeckCountResizesWithoutReshuffling) {
    TShuffler shuffler;
    EXPECT_EQ(shuffler.DealOrder.size(), 52u);
    shuffler.SetDeckCount(2);
    EXPECT_EQ(shuffler.DealOrder.size(), 104u);
    EXPECT_TRUE(std::all_of(shuffler.DealOrder.begin(), shuffler.DealOrder.end(), [](int v) { return v == 0; }));
}

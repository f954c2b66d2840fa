#include "cards/TDeck.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Deck, CardIdentityAndNames) {
    TDeck deck;
    ASSERT_EQ(deck.Count(), 52);
    struct {
        int index;
        const char* name;
        int rank, suit;
    } const cases[] = {{0, "AH", 0, 0}, {9, "10H", 9, 0}, {12, "KH", 12, 0}, {13, "AD", 0, 1}, {25, "KD", 12, 1},
                       {26, "AC", 0, 2}, {38, "KC", 12, 2}, {39, "AS", 0, 3}, {50, "QS", 11, 3}, {51, "KS", 12, 3}};
    for (const auto& c : cases) {
        const TCard& card = deck.Card(c.index);
        EXPECT_EQ(card.Index, c.index);
        EXPECT_EQ(card.Value, c.index);
        EXPECT_EQ(card.Name, c.name);
        EXPECT_EQ(card.Rank, c.rank);
        EXPECT_EQ(card.Suit, c.suit);
        EXPECT_EQ(deck.NameOf(c.index), c.name);
    }
    EXPECT_EQ(deck.NameOf(-1), "??");
    EXPECT_EQ(deck.NameOf(52), "??");
    // A new card: face up, visible, stacked by its Index, at the origin.
    EXPECT_TRUE(deck.Card(7).FaceUp);
    EXPECT_TRUE(deck.Card(7).Visible);
    EXPECT_EQ(deck.Card(7).Depth, 7);
    EXPECT_FALSE(deck.Card(7).DealFaceUp || deck.Card(7).Highlighted || deck.Card(7).Lifted);
}

TEST(Deck, CardSizesFollowTheImageSet) {
    TDeck deck;
    EXPECT_EQ(deck.CardSize(), QPoint(71, 96));
    deck.SetLargeCards(false);
    EXPECT_EQ(deck.CardSize(), QPoint(54, 72));
    EXPECT_EQ(deck.Card(51).HighlightImage.size(), QSize(60, 76));
    EXPECT_EQ(deck.Card(51).ShadowImage.size(), QSize(66, 84));
    deck.SetLargeCards(true);
    EXPECT_EQ(deck.CardSize(), QPoint(71, 96));
    EXPECT_EQ(deck.Card(0).HighlightImage.size(), QSize(77, 102));
    EXPECT_EQ(deck.Card(0).ShadowImage.size(), QSize(83, 108));
}

TEST(Deck, UnchangedSizeOrBackReloadsNothing) {
    TDeck deck;
    const int loads = deck.ImageLoads();
    deck.SetBack(5);
    deck.SetLargeCards(true);
    EXPECT_EQ(deck.ImageLoads(), loads);
    deck.SetBack(3);
    EXPECT_EQ(deck.ImageLoads(), loads + 1);
    EXPECT_EQ(deck.BackIndex, 3);
}

TEST(Deck, CardAtTakesTheHighestDepthAndLowerIndexOnTies) {
    TDeck deck;
    for (auto& card : deck.Cards) {
        card->Position = QPoint(1000, 1000);
        card->Depth = 0;
    }
    deck.Card(4).Position = QPoint(10, 10);
    deck.Card(9).Position = QPoint(20, 20);
    deck.Card(4).Depth = deck.Card(9).Depth = 3;
    EXPECT_EQ(deck.CardAt({30, 30}), 4);
    EXPECT_EQ(deck.GrabOffset, QPoint(20, 20));
    deck.Card(9).Depth = 4;
    EXPECT_EQ(deck.CardAt({30, 30}), 9);
    EXPECT_EQ(deck.GrabOffset, QPoint(10, 10));
    // The right and bottom edge lines lie outside a card.
    EXPECT_EQ(deck.CardAt({20 + 71, 40}), -1);
    EXPECT_EQ(deck.GrabOffset, QPoint(0, 0));
    EXPECT_EQ(deck.CardAt({20 + 70, 20 + 95}), 9);
    EXPECT_EQ(deck.CardAt({15, 100}), 4);
}

TEST(Deck, RestackAndGroupMoves) {
    TDeck deck;
    for (auto& card : deck.Cards)
        card->Position = QPoint(2000, 2000);
    TCard& lone = deck.Card(0);
    lone.Position = QPoint(500, 500);
    deck.Restack(lone);
    EXPECT_EQ(lone.Depth, 1);

    // Touching edges count as overlap.
    deck.Card(1).Position = QPoint(500 + 71, 500);
    deck.Card(1).Depth = 41;
    deck.Restack(lone);
    EXPECT_EQ(lone.Depth, 42);

    for (int i : {10, 11, 12})
        deck.Card(i).Position = QPoint(100, 100 + 30 * (i - 10));
    deck.GrabOffset = QPoint(5, 6);
    deck.MoveCardsTo({305, 406}, {10, 11, 12}, true);
    EXPECT_EQ(deck.Card(10).Depth, INT_MAX - 2);
    EXPECT_EQ(deck.Card(11).Depth, INT_MAX - 1);
    EXPECT_EQ(deck.Card(12).Depth, INT_MAX);
    EXPECT_EQ(deck.Card(10).Position, QPoint(300, 400));
    EXPECT_EQ(deck.Card(12).Position, QPoint(300, 460));
    EXPECT_TRUE(deck.Card(11).Lifted);

    // Put down, each lands on the ones before it.
    deck.MoveCardsTo({305, 406}, {10, 11, 12}, false);
    EXPECT_FALSE(deck.Card(12).Lifted);
    EXPECT_LT(deck.Card(10).Depth, deck.Card(11).Depth);
    EXPECT_LT(deck.Card(11).Depth, deck.Card(12).Depth);
}

#include "support/EngineFixture.h"

using BoardTest = EngineFixture;

TEST_F(BoardTest, SlotNumbering) {
    EXPECT_EQ(BoardSize, 420);
    EXPECT_EQ(PileSlot(0, 0), 4);
    EXPECT_EQ(PileSlot(0, 51), 55);
    EXPECT_EQ(PileSlot(1, 0), 56);
    EXPECT_EQ(PileSlot(7, 51), 419);
    game.Cell(2, 5) = Card(17);
    EXPECT_EQ(game.GameArray[size_t(4 + 2 * 52 + 5)], Card(17));
}

TEST_F(BoardTest, ColumnQueries) {
    EmptyBoardInPlay();
    EXPECT_EQ(game.ColumnCount(3), 0);
    EXPECT_EQ(game.BottomRow(3), 0); // empty column
    EXPECT_EQ(game.FirstEmptyColumn(), 0);
    PutColumn(0, {5});
    EXPECT_EQ(game.BottomRow(0), 0); // one card: told apart by the card in row 0
    EXPECT_EQ(game.ColumnCount(0), 1);
    EXPECT_EQ(game.FirstEmptyColumn(), 1);
    PutColumn(1, {1, 2, 3, 4});
    EXPECT_EQ(game.BottomRow(1), 3);
    EXPECT_EQ(game.ColumnCount(1), 4);
    for (int c = 2; c < 8; ++c)
        PutColumn(c, {10 + c});
    EXPECT_EQ(game.FirstEmptyColumn(), -1);
    // A full column of 52 rows.
    for (int r = 0; r < 52; ++r)
        game.Cell(7, r) = Card(r);
    EXPECT_EQ(game.ColumnCount(7), 52);
    EXPECT_EQ(game.BottomRow(7), 51);
    TGame::ClearBoard(game.GameArray);
    EXPECT_TRUE(std::all_of(game.GameArray.begin(), game.GameArray.end(), [](TCard* c) { return !c; }));
}

TEST_F(BoardTest, EngineStartLeavesTheDeckGatheredAndNothingDealt) {
    EXPECT_EQ(game.GameState, TGameState::NotDealt);
    EXPECT_FALSE(game.GameActive);
    EXPECT_EQ(game.UndoRing.UndoHead(), 0);
    EXPECT_EQ(game.UndoRing.UndoTail(), 0);
    EXPECT_FALSE(game.SmallCards); // a wide screen
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Please Deal Cards");
    EXPECT_EQ(host.Panel(StatusPanel::ScoreDis), "0 Pts.");
    EXPECT_EQ(host.Panel(StatusPanel::ErrorDis), "");
    for (const auto& card : game.Deck->Cards) {
        EXPECT_FALSE(card->FaceUp);
        EXPECT_TRUE(card->Visible);
        const QPoint d = card->Position - game.Geometry.HomeOrigin;
        EXPECT_TRUE(d.x() >= -3 && d.x() <= 2 && d.y() >= -3 && d.y() <= 2);
    }
    EXPECT_TRUE(host.Sounds.empty()); // clearing the error panel is silent
}

TEST(BoardStart, NarrowScreenStartsWithSmallCards) {
    VirtualTimeSource clock;
    FakeHost host;
    host.Screen = 640;
    TGame game(host);
    game.BoardImage = QImage(640, 400, QImage::Format_ARGB32_Premultiplied);
    game.EngineStart();
    EXPECT_TRUE(game.SmallCards);
    EXPECT_TRUE(host.SmallCardsCheck);
    EXPECT_EQ(game.Deck->CardWidth(), 54);
}

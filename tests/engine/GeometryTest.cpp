#include "support/EngineFixture.h"

using GeometryTest = EngineFixture;

TEST_F(GeometryTest, PocketAndColumnPositionsForBothSizes) {
    struct {
        bool small;
        std::array<int, 4> pocketY;
        int pocketX, firstColumn, columnPitch, top, width, height;
    } const sizes[] = {{false, {30, 142, 254, 366}, 30, 110, 80, 30, 71, 96},
                       {true, {23, 107, 191, 275}, 23, 84, 61, 23, 54, 72}};
    for (const auto& s : sizes) {
        game.SetCardSize(s.small);
        EXPECT_EQ(game.Deck->CardSize(), QPoint(s.width, s.height));
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(game.PocketPosition(p), QPoint(s.pocketX, s.pocketY[size_t(p)]));
        for (int c = 0; c < 8; ++c)
            EXPECT_EQ(game.CellPosition(c, 0), QPoint(s.firstColumn + c * s.columnPitch, s.top));
        EXPECT_EQ(game.CellPosition(7, 0).x(), s.small ? 511 : 670);
        EXPECT_EQ(game.Geometry.HomeOrigin, QPoint(s.pocketX, s.pocketX));
        EXPECT_EQ(game.Geometry.DeckRect, (TRect{s.pocketX, s.pocketX, s.pocketX + s.width, s.pocketX + s.height}));
        EXPECT_EQ(host.SmallCardsCheck, s.small);
        // Before any deal the deck follows the card size to the new top-left pocket.
        const QPoint d = game.Deck->Card(30).Position - game.Geometry.HomeOrigin;
        EXPECT_TRUE(std::abs(d.x()) <= 3 && std::abs(d.y()) <= 3);
    }
}

TEST_F(GeometryTest, LongColumnsCloseUpAndNeverBelowOnePixel) {
    EmptyBoardInPlay();
    // Large cards on a 508-pixel board: 508 - 30 - 96 - 10 = 372 pixels for the rows.
    for (int r = 0; r < 12; ++r)
        game.Cell(0, r) = Card(r);
    for (int r = 0; r < 13; ++r)
        game.Cell(1, r) = Card(13 + r);
    for (int r = 0; r < 20; ++r)
        game.Cell(2, r) = Card(26 + r);
    game.LayoutBoard();
    EXPECT_EQ(game.Geometry.ColumnStep[0], 30); // 12 x 30 = 360 fits
    EXPECT_EQ(game.Geometry.ColumnStep[1], 372 / 13);
    EXPECT_EQ(game.Geometry.ColumnStep[2], 372 / 20);
    EXPECT_EQ(game.Geometry.ColumnStep[3], 30); // empty column
    EXPECT_EQ(Card(13 + 12)->Position, game.CellPosition(1, 12));
    EXPECT_EQ(game.CellPosition(1, 12).y(), 30 + 12 * 28);

    // A board too low for even one row keeps the rows a pixel apart: no division by zero.
    game.BoardResize(794, 60);
    for (int c = 0; c < 8; ++c)
        EXPECT_GE(game.Geometry.ColumnStep[size_t(c)], 1);
    const BoardSlot slot = game.HitTest(115, 59);
    EXPECT_EQ(slot.Column, 0);
}

TEST_F(GeometryTest, HitTestEdges) {
    EmptyBoardInPlay();
    PutColumn(0, {0, 1, 2}); // rows at y 30, 60, 90; the last card covers y 90..185
    game.Pocket(1) = Card(13);
    game.LayoutBoard();
    struct {
        int x, y, column, row;
        int card; // -1: none
    } const cases[] = {
        {110, 30, 0, 0, 0},   {180, 59, 0, 0, 0},     // column 0 from its left edge to its last pixel
        {181, 100, -1, -1, -1},                        // the 9-pixel gap: nothing
        {189, 100, -1, -1, -1},  {190, 100, 1, 0, -1}, // next column starts at 190: empty, row 0
        {150, 185, 0, 2, 2},                           // the uncovered lower part of the last card
        {150, 186, 0, 5, -1},                          // just below it: the column with no card
        {150, 507, 0, 15, -1},                         // far down the strip
        {30, 142, -1, 1, 13},    {100, 237, -1, 1, 13}, // a pocket, edges included
        {101, 142, -1, -1, -1},  {30, 238, -1, -1, -1}, // right and bottom edge pixels are outside
        {50, 250, -1, -1, -1},                          // between two pockets
        {30, 30, -1, 0, -1},                            // an empty pocket
        {740, 30, 7, 0, -1},     {741, 30, -1, -1, -1}, // the last column's right edge
    };
    for (const auto& c : cases) {
        const BoardSlot slot = game.HitTest(c.x, c.y);
        EXPECT_EQ(slot.Column, c.column) << c.x << "," << c.y;
        EXPECT_EQ(slot.Row, c.row) << c.x << "," << c.y;
        EXPECT_EQ(slot.Card, c.card < 0 ? nullptr : Card(c.card)) << c.x << "," << c.y;
    }
    EXPECT_EQ(game.HitPocket(30, 366), 3);
    EXPECT_EQ(game.HitPocket(29, 366), -1);
}

TEST_F(GeometryTest, LayoutStacksPocketsAndColumns) {
    EmptyBoardInPlay();
    game.Pocket(0) = Card(3); // 4 of hearts: the Ace to the 4 lie there, the 4 on top
    PutColumn(2, {40, 41});
    game.LayoutBoard();
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(Card(i)->Position, game.PocketPosition(0));
        EXPECT_TRUE(Card(i)->Visible);
    }
    EXPECT_GT(Card(3)->Depth, Card(2)->Depth);
    EXPECT_GT(Card(2)->Depth, Card(0)->Depth);
    EXPECT_GT(Card(41)->Depth, Card(40)->Depth);
    game.Deck->CardAt(game.PocketPosition(0) + QPoint(5, 5));
    EXPECT_EQ(game.Deck->CardAt(game.PocketPosition(0) + QPoint(5, 5)), 3);
}

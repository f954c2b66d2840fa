#include "engine/BoardGeometry.h"
#include "support/ValueBoard.h"

#include <gtest/gtest.h>

// The geometry as a value, at both card sizes, hit-tested against a board value: columns of
// 1, 3 and 0 cards and one pocket in use.
TEST(BoardGeometryTest, PlacesAndHitsAtBothCardSizes) {
    ValueBoard board;
    board.Columns[0] = {{5, true}};
    board.Columns[1] = {{0, false}, {1, true}, {2, true}};
    board.Home[1] = 13;

    struct Row {
        bool small;
        int x, y;
        int column, row;
    };
    const Row rows[] = {
        // Large cards 71 x 96: pockets at x 30, columns from x 110 every 80 pixels from y 30.
        {false, 110, 30, 0, 0},   {false, 180, 125, 0, 0},  // the one card, corner to corner
        {false, 150, 126, 0, 3},  {false, 181, 40, -1, -1}, // below it: no card; the gap
        {false, 190, 89, 1, 1},   {false, 200, 185, 1, 2},  // rows of column 1; its last card's lower part
        {false, 200, 186, 1, 5},  {false, 270, 30, 2, 0},   // below it; the empty column
        {false, 30, 142, -1, 1},  {false, 100, 237, -1, 1}, // a pocket, edges included
        {false, 101, 142, -1, -1}, {false, 29, 142, -1, -1},
        {false, 740, 30, 7, 0},   {false, 741, 30, -1, -1},
        // Small cards 54 x 72: pockets at x 23, columns from x 84 every 61 pixels from y 23.
        {true, 84, 23, 0, 0},     {true, 137, 94, 0, 0},
        {true, 138, 40, -1, -1},  {true, 145, 46, 1, 1},    // the 7-pixel gap; column 1, row 1
        {true, 150, 140, 1, 2},   {true, 150, 141, 1, 5},   // 23 + 2 x 23 + 72 = 141 is below the last card
        {true, 23, 107, -1, 1},   {true, 76, 178, -1, 1},   {true, 77, 178, -1, -1},
        {true, 511 + 53, 23, 7, 0}, {true, 511 + 54, 23, -1, -1},
    };
    for (const Row& r : rows) {
        const TBoardGeometry g =
            TBoardGeometry::ForCards(r.small ? QSize(54, 72) : QSize(71, 96), r.small, 508);
        const BoardSlot slot = g.HitTest({r.x, r.y}, board);
        EXPECT_EQ(slot.Column, r.column) << (r.small ? "small " : "large ") << r.x << "," << r.y;
        EXPECT_EQ(slot.Row, r.row) << (r.small ? "small " : "large ") << r.x << "," << r.y;
    }
}

TEST(BoardGeometryTest, ColumnsCloseUpToFitTheBoard) {
    TBoardGeometry g = TBoardGeometry::ForCards(QSize(54, 72), true, 300);
    // 300 - 23 - 72 - 10 = 195 pixels for the rows of small cards.
    std::array<int, ColumnCountMax> bottom{};
    bottom[0] = 7;  // 8 rows of 23 = 184: fit
    bottom[1] = 8;  // 9 rows: 195 / 9 = 21
    bottom[2] = 51; // 52 rows: 3
    g.FitColumns(bottom);
    EXPECT_EQ(g.ColumnStep[0], 23);
    EXPECT_EQ(g.ColumnStep[1], 21);
    EXPECT_EQ(g.ColumnStep[2], 3);
    EXPECT_EQ(g.CellPosition(1, 4), QPoint(84 + 61, 23 + 4 * 21));
    g.BoardHeight = 10;
    g.FitColumns(bottom);
    EXPECT_EQ(g.ColumnStep[2], 1); // never closer than a pixel
}

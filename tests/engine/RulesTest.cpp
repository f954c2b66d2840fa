#include "engine/Rules.h"
#include "support/ValueBoard.h"

#include <gtest/gtest.h>


namespace {
constexpr int H(int rank) { return rank - 1; }
constexpr int D(int rank) { return 13 + rank - 1; }
constexpr int S(int rank) { return 39 + rank - 1; }

} // namespace

TEST(RulesTest, CardsJoinWithinTheirSuitOnly) {
    EXPECT_TRUE(Rules::Joins(H(5), H(6)));
    EXPECT_TRUE(Rules::Joins(H(6), H(5)));
    EXPECT_FALSE(Rules::Joins(H(5), H(7)));
    EXPECT_FALSE(Rules::Joins(H(5), D(6)));
    EXPECT_FALSE(Rules::Joins(H(13), D(1))); // neighbours by Index, not by rank
    EXPECT_FALSE(Rules::Joins(D(1), H(13)));
    EXPECT_TRUE(Rules::Descends(S(9), S(8)));
    EXPECT_FALSE(Rules::Descends(S(8), S(9)));
    EXPECT_TRUE(Rules::Ascends(S(8), S(9)));
}

TEST(RulesTest, ChecksOnABoardValueInTheirOrder) {
    ValueBoard board;
    board.Columns[0] = {{S(2), false}, {H(1), true}, {H(5), true}};
    board.Columns[1] = {{D(7), true}, {S(13), true}, {S(12), true}};
    board.Columns[2] = {{H(4), true}};

    EXPECT_EQ(Rules::ColumnCount(board, 0), 3);
    EXPECT_EQ(Rules::BottomRow(board, 3), 0);
    EXPECT_EQ(Rules::FirstEmptyColumn(board), 3);

    EXPECT_EQ(Rules::CheckChoice(board, -1, 0), Rules::Refusal::SelectFromPile);
    EXPECT_EQ(Rules::CheckChoice(board, 3, 0), Rules::Refusal::SelectFromPile);
    EXPECT_EQ(Rules::CheckChoice(board, 0, 0), Rules::Refusal::OnlyFaceUp);
    EXPECT_EQ(Rules::CheckChoice(board, 0, 2), Rules::Refusal::None);

    EXPECT_EQ(Rules::CheckColumnMove(board, 0, 2, 2), Rules::Refusal::None); // 5H onto 4H
    EXPECT_EQ(Rules::CheckColumnMove(board, 2, 0, 0), Rules::Refusal::None); // 4H onto 5H
    EXPECT_EQ(Rules::CheckColumnMove(board, 0, 1, 2), Rules::Refusal::NotInSequence);
    EXPECT_EQ(Rules::CheckColumnMove(board, 0, 2, 4), Rules::Refusal::OnlyKing);
    EXPECT_EQ(Rules::CheckColumnMove(board, 1, 1, 4), Rules::Refusal::KingNotAtBottom);

    // The Ace above the Five is exempt from the run test; the pocket then decides.
    EXPECT_TRUE(Rules::RunFitsHome(board, 0, 1, 2));
    EXPECT_EQ(Rules::CheckHomeMove(board, 0, 1, 0), Rules::Refusal::OnlyAce);
    board.Home[0] = D(3);
    EXPECT_EQ(Rules::CheckHomeMove(board, 0, 1, 0), Rules::Refusal::NotInSequenceWithHome);
    board.Home[0] = H(13);
    board.Columns[5] = {{D(1), true}};
    EXPECT_EQ(Rules::CheckHomeMove(board, 5, 0, 0), Rules::Refusal::PocketFull);
    EXPECT_EQ(Rules::PocketFor(board, D(1)), 1);
    board.Home[1] = D(6);
    EXPECT_EQ(Rules::PocketFor(board, D(7)), 1);
    EXPECT_EQ(Rules::PocketFor(board, D(8)), -1);
    EXPECT_EQ(Rules::CheckHomeMove(board, 1, 0, 1), Rules::Refusal::NotAtBottom); // 7D over the spades
    EXPECT_EQ(Rules::RefusalText(Rules::Refusal::PocketFull), "Home Pocket is Full.");
}

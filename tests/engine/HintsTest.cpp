#include "support/BoardClicks.h"
#include "support/EngineFixture.h"

#include "cards/TRandom.h"

namespace {
// The move search as its rules read, written out plainly for comparison.
std::vector<std::pair<int, int>> ReferencePairs(const TGame& g) {
    auto neighbours = [](const TCard& t, const TCard& o) {
        return o.Suit == t.Suit && ((t.Rank != 0 && o.Rank == t.Rank - 1) || (t.Rank != 12 && o.Rank == t.Rank + 1));
    };
    std::vector<std::pair<int, int>> pairs;
    bool emptyColumn = false;
    for (int c = 0; c < 8; ++c)
        emptyColumn = emptyColumn || !g.Cell(c, 0);
    for (int c = 0; c < 8; ++c) {
        int last = -1;
        for (int r = 0; r < 52 && g.Cell(c, r); ++r)
            last = r;
        if (last < 0)
            continue;
        const TCard& t = *g.Cell(c, last);
        std::vector<int> found;
        for (int o = 0; o < 8; ++o) {
            if (o == c)
                continue;
            for (int r = 0; r < 52 && g.Cell(o, r); ++r)
                if (found.size() < 2 && g.Cell(o, r)->FaceUp && neighbours(t, *g.Cell(o, r)))
                    found.push_back(g.Cell(o, r)->Index);
        }
        for (int f : found)
            pairs.emplace_back(t.Index, f);
        for (int p = 0; p < 4; ++p) {
            const TCard* top = g.GameArray[size_t(p)];
            if (top && neighbours(t, *top)) {
                pairs.emplace_back(t.Index, top->Index);
                break;
            }
        }
        if (t.Rank == 0)
            pairs.emplace_back(t.Index, -1);
        if (t.Rank == 12 && last != 0 && emptyColumn)
            pairs.emplace_back(t.Index, -1);
    }
    return pairs;
}

std::vector<std::pair<int, int>> Found(const TGame& g) {
    std::vector<std::pair<int, int>> pairs;
    for (const HintPair& p : g.HintList)
        pairs.emplace_back(p.First->Index, p.Second ? p.Second->Index : -1);
    return pairs;
}
} // namespace

using HintsTest = EngineFixture;

TEST_F(HintsTest, SearchMatchesItsRulesOnRandomBoards) {
    TRandom rng(2024);
    for (int trial = 0; trial < 400; ++trial) {
        EmptyBoardInPlay();
        std::vector<int> loose;
        for (int suit = 0; suit < 4; ++suit) {
            const int home = rng.RandomInt(3) == 0 ? rng.RandomInt(13) : -1; // some suits partly home
            const int pocket = rng.RandomInt(4);
            if (home >= 0 && !game.Pocket(pocket))
                game.Pocket(pocket) = Card(suit * 13 + home);
            else
                for (int r = 0; r <= home; ++r)
                    loose.push_back(suit * 13 + r);
            for (int r = home + 1; r < 13; ++r)
                loose.push_back(suit * 13 + r);
        }
        for (size_t i = loose.size(); i > 1; --i)
            std::swap(loose[i - 1], loose[size_t(rng.RandomInt(int(i)))]);
        for (int index : loose) {
            const int c = rng.RandomInt(8);
            const int row = game.ColumnCount(c);
            game.Cell(c, row) = Card(index);
            Card(index)->FaceUp = rng.RandomInt(3) != 0;
        }
        const bool any = game.FindMoves();
        ASSERT_EQ(Found(game), ReferencePairs(game)) << "trial " << trial;
        EXPECT_EQ(any, !game.HintList.empty());
        EXPECT_EQ(host.Panel(StatusPanel::MoveCntDis), QString::number(game.HintList.size()));
        EXPECT_EQ(game.HintCursor, 0);
    }
}

TEST_F(HintsTest, AcesKingsAndFaceDownCards) {
    EmptyBoardInPlay();
    PutColumn(0, {13});        // an Ace at the bottom: (Ace, none)
    PutColumn(1, {51});        // a King alone: no King pair
    PutColumn(2, {3, 38});     // a King below another card: (King, none) while a column is empty
    PutColumn(3, {37, 20}, {37}); // the face-down Queen of clubs is not counted
    game.FindMoves();
    EXPECT_EQ(Found(game), (std::vector<std::pair<int, int>>{{13, -1}, {38, -1}}));
    const int unrelated[] = {23, 9, 45, 30}; // no neighbours anywhere: JD, 10H, 7S, 5C
    for (int c = 4; c < 8; ++c)
        PutColumn(c, {unrelated[c - 4]});
    game.FindMoves();
    EXPECT_EQ(Found(game), (std::vector<std::pair<int, int>>{{13, -1}}));
}

TEST_F(HintsTest, HintsFlashAndCycleAndCostPointsPastTen) {
    EmptyBoardInPlay();
    PutColumn(0, {5});
    PutColumn(1, {4});
    PutColumn(2, {6});
    game.LayoutBoard();
    game.FindMoves();
    ASSERT_EQ(Found(game), (std::vector<std::pair<int, int>>{{5, 4}, {5, 6}, {4, 5}, {6, 5}}));
    const int shows = host.BoardShows;
    game.ShowNextHint();
    EXPECT_EQ(clock.BusyWaitedMs, 10 * 150);
    EXPECT_EQ(host.BoardShows - shows, 10);
    EXPECT_FALSE(Card(5)->Highlighted || Card(4)->Highlighted);
    EXPECT_EQ(game.HintCursor, 1);
    EXPECT_EQ(game.HintCount, 1);
    for (int i = 0; i < 3; ++i)
        game.ShowNextHint();
    EXPECT_EQ(game.HintCursor, 0); // back to the first pair
    const int score = game.ComputeScore();
    while (game.HintCount < 10)
        game.ShowNextHint();
    EXPECT_EQ(game.ComputeScore(), score);
    game.ShowNextHint();
    EXPECT_EQ(game.ComputeScore(), score - 22);
    EXPECT_TRUE(host.Messages.empty());
}

TEST_F(HintsTest, NoMoreMoves) {
    EmptyBoardInPlay();
    PutColumn(0, {5});
    PutColumn(1, {30});
    game.LayoutBoard();
    game.FindMoves();
    game.ShowNextHint();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Caption, "Hints");
    EXPECT_EQ(host.Messages[0].Text, "No More Moves");
    EXPECT_EQ(host.Messages[0].Ok, "OK");
    EXPECT_EQ(host.Messages[0].Cancel, "");
    EXPECT_EQ(game.HintCount, 0);
    // A refused destination click announces it as well; the count follows the board.
    Click(game, OnCell(game, 0, 0));
    Click(game, OnCell(game, 1, 0));
    EXPECT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(host.Panel(StatusPanel::MoveCntDis), "0");
}

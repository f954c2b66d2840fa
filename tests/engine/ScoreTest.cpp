#include "support/EngineFixture.h"

class ScoreTest : public EngineFixture {
protected:
    ScoreTest() { EmptyBoardInPlay(); }
    int Rank(int suit, int rank) { return suit * 13 + rank; }
};

TEST_F(ScoreTest, SameSuitRunsInColumns) {
    // 9 8 7 of hearts from the top: 2x8 + 2x9 for 9/8, then 2x7 for 8/7.
    PutColumn(0, {8, 7, 6});
    EXPECT_EQ(game.ComputeScore(), 48);
    // The same cards ascending: 8 + 7 + 9.
    TGame::ClearBoard(game.GameArray);
    PutColumn(0, {6, 7, 8});
    EXPECT_EQ(game.ComputeScore(), 24);
}

TEST_F(ScoreTest, PairsThatDoNotCountAndRunsAfterABreak) {
    struct {
        std::initializer_list<int> cards;
        std::initializer_list<int> down;
        int score;
    } const cases[] = {
        {{8, 7}, {7}, 0},                       // a face-down card breaks nothing but scores nothing
        {{8, 20}, {}, 0},                       // 9H over 8D: other suit
        {{0, 12}, {}, 0},                       // Ace over King of one suit is no run
        {{12, 0}, {}, 0},                       // nor King over Ace
        {{8, 7, 30, 5, 4}, {}, 2 * 8 + 2 * 9 + 2 * 5}, // second descending run does not count its top card
        {{8, 7, 30, 4, 5}, {}, 2 * 8 + 2 * 9 + 6 + 5}, // a run of the other direction does
        {{4, 5, 4}, {}, (6 + 5) + (2 * 5 + 2 * 6)},    // direction changes reopen the other flag
    };
    for (const auto& c : cases) {
        TGame::ClearBoard(game.GameArray);
        PutColumn(2, c.cards, c.down);
        EXPECT_EQ(game.ComputeScore(), c.score);
    }
}

TEST_F(ScoreTest, PocketsAndPenalties) {
    for (int p = 0; p < 4; ++p)
        game.Pocket(p) = Card(p * 13 + 12);
    EXPECT_EQ(game.ComputeScore(), 1092);
    TGame::ClearBoard(game.GameArray);
    game.Pocket(2) = Card(Rank(1, 2)); // three of diamonds: 3 x 3 x 4 / 2
    EXPECT_EQ(game.ComputeScore(), 18);
    game.UndoCount = 10;
    game.HintCount = 10;
    EXPECT_EQ(game.ComputeScore(), 18);
    game.UndoCount = 11;
    EXPECT_EQ(game.ComputeScore(), 18 - 22);
    game.HintCount = 12;
    EXPECT_EQ(game.ComputeScore(), 18 - 22 - 24);
    game.ShowStatus();
    EXPECT_EQ(host.Panel(StatusPanel::ScoreDis), "-28 Pts.");
}

TEST_F(ScoreTest, WinBonusesAndFinalResults) {
    game.GameState = TGameState::Won;
    game.GameActive = false;
    for (int p = 0; p < 4; ++p)
        game.Pocket(p) = Card(p * 13 + 12);
    struct {
        double seconds;
        int moves;
        int bonus;
    } const cases[] = {{0, 52, 2184},   {600.5, 121, 0}, {300, 120, 546 + 473},
                       {600, 52, 1092}, {1.0, 200, 1090}, {0, 121, 1092},
                       // Bonuses landing exactly on a half go to the even neighbour:
                       // 75/600 x 1092 = 136.5, 225/600 x 1092 = 409.5, 75/120 x 1092 = 682.5,
                       // 105/120 x 1092 = 955.5.
                       {525, 121, 136}, {375, 121, 410}, {601, 97, 682}, {601, 67, 956}};
    for (const auto& c : cases) {
        host.Clock.Reset();
        host.Clock.SetTime(c.seconds);
        game.MoveCount = c.moves;
        EXPECT_EQ(game.ComputeScore(), 1092 + c.bonus) << c.seconds << " s, " << c.moves << " moves";
        EXPECT_EQ(game.FinalScore, 1092 + c.bonus);
        EXPECT_EQ(game.FinalTime, int64_t(c.seconds * 1000000));
    }
    game.ShowStatus();
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Please Deal Cards");
}

TEST_F(ScoreTest, CountersStopShortOfOverflow) {
    game.MoveCount = MaxCount;
    game.UndoCount = MaxCount;
    game.HintCount = MaxCount;
    EXPECT_EQ(CountUp(game.MoveCount), MaxCount);
    // Both penalties at their largest still give a score, not an overflow.
    EXPECT_EQ(game.ComputeScore(), INT32_MIN);
    EXPECT_EQ(CountUp(41), 42);
}

TEST_F(ScoreTest, Prompts) {
    game.ShowStatus();
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Click On Card From Pile");
    game.Protocol.ClickPhase = 1;
    game.ShowStatus();
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Click On Destination");
}

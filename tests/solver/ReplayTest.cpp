// The solver's winning lines, played through the engine's own move code as a player's clicks,
// win the game.
#include "Boards.h"

#include "solver/Solver.h"
#include "support/BoardClicks.h"
#include "support/EngineFixture.h"

using namespace Boards;

namespace {
// The engine's board as the solver describes boards.
Solver::Description Described(const TGame& game) {
    Solver::Description description;
    for (int pocket = 0; pocket < 4; ++pocket) {
        const TCard* top = game.GameArray[size_t(pocket)];
        description.Pockets[size_t(pocket)] = top ? top->Index : Rules::NoCard;
    }
    for (int column = 0; column < 8; ++column)
        for (int row = 0; row < game.ColumnCount(column); ++row)
            description.Columns[size_t(column)].emplace_back(game.Cell(column, row)->Index,
                                                            game.Cell(column, row)->FaceUp);
    return description;
}
} // namespace

class SolverReplayTest : public EngineFixture {
protected:
    // Plays the line by clicks, the card and then its destination, checking after every move
    // that the engine's board is the solver's. The winning click starts the celebration, whose
    // fade costs more than a whole game of moves: unless finish is set, the line stops one move
    // short, and the engine's rules must then accept that move of the last card home.
    void PlayOut(Solver::Position position, const std::vector<Solver::Move>& line, uint32_t deal, bool finish) {
        ASSERT_FALSE(line.empty());
        const size_t played = finish ? line.size() : line.size() - 1;
        for (size_t i = 0; i < played; ++i) {
            const Solver::Move& move = line[i];
            ASSERT_TRUE(position.Apply(move)) << "deal " << deal << ", move " << i;
            // The last move wins: a program closing skips the fireworks and the top-ten prompt.
            host.Closing = i + 1 == line.size();
            Click(game, OnCell(game, move.Column, move.Row));
            const int target = move.TargetColumn;
            Click(game, move.IsHome() ? OnPocket(game, move.Pocket)
                                      : OnCell(game, target, std::max(0, game.ColumnCount(target) - 1)));
            // A refused move leaves the board as it was: the boards differ, and the panel says why.
            ASSERT_EQ(Described(game), position.Describe())
                << "deal " << deal << ", move " << i << ": " << host.Panel(StatusPanel::ErrorDis).toStdString();
        }
        host.Closing = false;
        if (!finish) {
            const Solver::Move& last = line.back();
            ASSERT_TRUE(last.IsHome());
            EXPECT_EQ(game.CardCounter, 1) << "deal " << deal;
            EXPECT_EQ(Rules::CheckHomeMove(game.Board(), last.Column, last.Row, last.Pocket), Rules::Refusal::None);
            return;
        }
        EXPECT_EQ(game.CardCounter, 0) << "deal " << deal;
        EXPECT_EQ(game.GameState, TGameState::Won) << "deal " << deal;
    }
};

TEST_F(SolverReplayTest, WinningLinesOfDealsWinInTheEngine) {
    game.DrawBoard = false;
    Solver::Budget budget;
    budget.Nodes = 100'000;
    int won = 0;
    for (uint32_t deal = 1; deal <= 300; ++deal) {
        const Solver::Position position = Solver::Position::FromDeal(deal);
        const Solver::Result result = Solver::Solve(position, budget);
        if (result.Answer != Solver::Verdict::Winnable)
            continue;
        game.DealGame(deal);
        ASSERT_EQ(Described(game), position.Describe()) << "deal " << deal;
        PlayOut(position, result.Moves, deal, deal % 25 == 0);
        if (HasFatalFailure())
            return;
        ++won;
        host.Messages.clear();
        host.Sounds.clear();
    }
    EXPECT_GE(won, 280);
}

TEST_F(SolverReplayTest, AHandLaidPositionIsWonAsTheSolverSays) {
    // The near-won position of the solver's tests, laid into the engine: hearts up to the eight
    // home in pocket 2, the other suits home in pockets 0, 1 and 3.
    EmptyBoardInPlay();
    game.Pocket(0) = Card(D(13));
    game.Pocket(1) = Card(C(13));
    game.Pocket(2) = Card(H(8));
    game.Pocket(3) = Card(S(13));
    game.CardCounter = 5;
    PutColumn(0, {H(10), H(11)}, {H(10)});
    PutColumn(1, {H(9)});
    PutColumn(2, {H(13), H(12)});
    game.LayoutBoard();
    const auto position = Solver::Position::FromDescription(Described(game));
    ASSERT_TRUE(position);
    const Solver::Result result = Solver::Solve(*position);
    ASSERT_EQ(result.Answer, Solver::Verdict::Winnable);
    for (const Solver::Move& move : result.Moves)
        EXPECT_TRUE(!move.IsHome() || move.Pocket == 2);
    PlayOut(*position, result.Moves, 0, true);
}

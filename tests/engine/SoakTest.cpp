// Thousands of seeded games of random clicks, drags, undos, restarts, hints and deals, with the
// board's invariants checked after every action. TARNWELL_SOAK_GAMES sets the number of games
// (2000 by default) for longer runs before a release.
#include "support/BoardClicks.h"
#include "support/EngineFixture.h"

#include "cards/TRandom.h"

namespace {
int SoakGames() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("TARNWELL_SOAK_GAMES", &ok);
    return ok && n > 0 ? n : 2000;
}
constexpr int ActionsPerGame = 300;

// Every card in exactly one place, no holes, the counter and the ring consistent.
void CheckInvariants(const TGame& g, const char* action) {
    std::array<int, 52> seen{};
    int home = 0;
    for (int p = 0; p < 4; ++p) {
        if (const TCard* top = g.GameArray[size_t(p)]) {
            for (int i = top->Index - top->Rank; i <= top->Index; ++i)
                ++seen[size_t(i)];
            home += top->Rank + 1;
        }
    }
    for (int c = 0; c < 8; ++c) {
        bool ended = false;
        for (int r = 0; r < 52; ++r) {
            const TCard* card = g.Cell(c, r);
            if (!card) {
                ended = true;
                continue;
            }
            ASSERT_FALSE(ended) << "hole in column " << c << " after " << action;
            ++seen[size_t(card->Index)];
        }
    }
    for (int i = 0; i < 52; ++i)
        ASSERT_EQ(seen[size_t(i)], 1) << "card " << i << " after " << action;
    if (g.GameState != TGameState::NotDealt) {
        ASSERT_EQ(g.CardCounter, 52 - home) << action;
    }
    const int records = g.UndoRing.Count();
    ASSERT_GE(records, 0);
    ASSERT_LE(records, UndoRingSize - 1);
    ASSERT_TRUE(g.Protocol.ClickPhase == 0 || g.Protocol.ClickPhase == 1);
}

QPoint RandomCell(TGame& g, TRandom& rng) {
    const int c = rng.RandomInt(8);
    const int r = rng.RandomInt(g.ColumnCount(c) + 1);
    return OnCell(g, c, std::min(r, 51));
}
} // namespace

class SoakTest : public EngineFixture {
protected:
    void Act(TRandom& rng, const char*& action) {
        const int roll = rng.RandomInt(100);
        if (roll < 45) {
            action = "click on a cell";
            Click(game, RandomCell(game, rng));
        } else if (roll < 58) {
            action = "click on a pocket";
            Click(game, OnPocket(game, rng.RandomInt(4)));
        } else if (roll < 62) {
            action = "click anywhere";
            Click(game, QPoint(rng.RandomInt(BoardWidth), rng.RandomInt(BoardHeight)));
        } else if (roll < 75) {
            action = "drag";
            const QPoint from = RandomCell(game, rng);
            const QPoint to = rng.RandomInt(4) == 0 ? OnPocket(game, rng.RandomInt(4)) : RandomCell(game, rng);
            game.BoardMouseDown(true, from.x(), from.y());
            for (int step = 1; step <= 3; ++step)
                game.BoardMouseMove(from.x() + (to.x() - from.x()) * step / 3, from.y() + (to.y() - from.y()) * step / 3);
            game.BoardMouseUp(to.x(), to.y());
        } else if (roll < 88) {
            action = "undo";
            game.UndoMove();
        } else if (roll < 93) {
            action = "hint";
            game.ShowNextHint();
        } else if (roll < 96) {
            action = "restart";
            host.Answers = {uint8_t(rng.RandomInt(2) ? GameMessageResult::OkChosen : GameMessageResult::CancelChosen)};
            game.ConfirmRestart();
        } else {
            action = "deal command";
            static constexpr uint8_t choices[] = {GameMessageResult::NewGameChosen, GameMessageResult::RestartChosen,
                                                  GameMessageResult::KeepPlayingChosen};
            host.Answers = {uint8_t(GameMessageResult::OkChosen | choices[rng.RandomInt(3)])};
            clock.MsOfDayUtc += 1;
            game.ConfirmDeal();
        }
        host.Answers.clear();
    }

    // Takes back everything the ring holds and expects the position it started from.
    void UndoAllTheWay() {
        if (!game.GameActive || game.UndoRing.UndoTail() != 0)
            return; // won, or the ring has overwritten its oldest records
        while (game.UndoRing.UndoHead() != game.UndoRing.UndoTail())
            game.UndoMove();
        ASSERT_EQ(game.GameArray, game.GameCopy);
        for (const auto& card : game.Deck->Cards)
            ASSERT_EQ(card->FaceUp, card->DealFaceUp) << card->Name.toStdString();
        ASSERT_EQ(game.CardCounter, 52);
    }
};

TEST_F(SoakTest, RandomPlayKeepsTheBoardWhole) {
    game.DrawBoard = false;
    const int games = SoakGames();
    for (int n = 0; n < games; ++n) {
        clock.MsOfDayUtc = int64_t(n) * 7919 % 86400000;
        game.DealGame();
        TRandom rng(uint32_t(n) * 2654435761u + 1u);
        for (int a = 0; a < ActionsPerGame; ++a) {
            const char* action = "";
            Act(rng, action);
            CheckInvariants(game, action);
            if (HasFatalFailure())
                FAIL() << "game " << n << ", action " << a;
        }
        UndoAllTheWay();
        if (HasFatalFailure())
            FAIL() << "undoing game " << n;
        host.Messages.clear();
        host.Sounds.clear();
    }
}

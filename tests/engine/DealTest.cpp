#include "support/BoardClicks.h"
#include "support/EngineFixture.h"

using DealTest = EngineFixture;

TEST_F(DealTest, StaircaseCheckerboardAndCounters) {
    game.UndoCount = 7;
    game.HintCount = 3;
    game.DealGame();
    int faceUp = 0;
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(game.ColumnCount(c), c + 3);
        for (int r = 0; r < game.ColumnCount(c); ++r) {
            const TCard* card = game.Cell(c, r);
            EXPECT_EQ(card->FaceUp, (c + r) % 2 == 0);
            EXPECT_EQ(card->DealFaceUp, card->FaceUp);
            EXPECT_EQ(card->Position, game.CellPosition(c, r));
            faceUp += card->FaceUp;
        }
        EXPECT_TRUE(game.Cell(c, game.BottomRow(c))->FaceUp);
    }
    EXPECT_EQ(faceUp, 28);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(game.Pocket(p), nullptr);
    EXPECT_EQ(game.CardCounter, 52);
    EXPECT_EQ(game.MoveCount, 0);
    EXPECT_EQ(game.UndoCount, 0);
    EXPECT_EQ(game.HintCount, 0);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_TRUE(game.GameActive);
    EXPECT_FALSE(game.Dealing);
    EXPECT_EQ(game.GameCopy, game.GameArray);
    EXPECT_EQ(game.UndoRing.UndoHead(), 1);
    EXPECT_EQ(game.UndoRing.UndoTail(), 0);
    EXPECT_TRUE(host.Clock.Running());
    EXPECT_TRUE(host.DisplayTimer);
    EXPECT_EQ(host.Sounds.front(), "DEAL(loop)");
    EXPECT_EQ(host.Sounds.back(), "stop");
    EXPECT_EQ(host.Panel(StatusPanel::MoveCntDis), QString::number(game.HintList.size()));
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Click On Card From Pile");
}

TEST_F(DealTest, TheDealOfAFixedSeedIsPinned) {
    // At 12:00:00.000 UTC the shuffle seed is 43200000. Its deal order, read from the end, gives
    // the cards row by row, left to right.
    const int order[52] = {46, 20, 5,  14, 40, 49, 17, 47, 13, 29, 39, 7,  12, 16, 3,  23, 30, 24,
                           41, 6,  8,  9,  1,  31, 42, 28, 22, 25, 0,  48, 4,  38, 15, 43, 45, 33,
                           35, 44, 37, 10, 11, 32, 2,  26, 34, 21, 18, 19, 50, 27, 36, 51};
    game.DealGame();
    int next = 51;
    for (int row = 0; row <= 9; ++row)
        for (int c = 0; c < 8; ++c) {
            if (row <= c + 2) {
                EXPECT_EQ(game.Cell(c, row)->Index, order[next--]) << c << "," << row;
            }
        }
    EXPECT_EQ(game.Cell(0, 0)->Name, "KS");
    // The same deal made away from the table, from its number alone.
    for (const Rules::DealtCard& dealt : Rules::DealFromSeed(43200000)) {
        EXPECT_EQ(game.Cell(dealt.Column, dealt.Row)->Index, dealt.Card);
        EXPECT_EQ(game.Cell(dealt.Column, dealt.Row)->FaceUp, dealt.FaceUp);
    }
}

TEST_F(DealTest, DealIsAnimatedAndLetsMessagesThroughAndResetsTheProtocol) {
    game.DealGame();
    game.Protocol.ClickPhase = 1;
    game.Protocol.SourceSlot() = game.HitTest(OnCell(game, 0, 2).x(), OnCell(game, 0, 2).y());
    clock.BusyWaits = 0;
    clock.BusyWaitedMs = 0;
    clock.ProcessingWaits = 0;
    // A second deal asked for while the cards go out is ignored, and so are board clicks.
    int nested = 0;
    clock.OnProcessing = [&] {
        if (nested++ == 10) {
            const TBoard during = game.GameArray;
            game.DealGame();
            Click(game, OnCell(game, 0, 0));
            EXPECT_EQ(game.GameArray, during);
        }
    };
    game.DealGame();
    EXPECT_EQ(game.Protocol.ClickPhase, 0);
    EXPECT_EQ(game.Protocol.SourceSlot().Card, nullptr);
    EXPECT_EQ(clock.ProcessingWaits, 53);
    // Even columns slide in 4 steps of 1 ms (5 frames), odd columns in 1 step with no wait.
    EXPECT_EQ(clock.BusyWaitedMs, (3 + 5 + 7 + 9) * 5);
    EXPECT_EQ(clock.BusyWaits, (3 + 5 + 7 + 9) * 5 + (4 + 6 + 8 + 10) * 2);
}

TEST_F(DealTest, ADealDuringTheCelebrationIsIgnored) {
    game.CelebrationRunning = true;
    game.DealGame();
    EXPECT_EQ(game.GameState, TGameState::NotDealt);
    game.CelebrationRunning = false;
    // Before any deal, a click on the deck deals; elsewhere it does nothing.
    Click(game, QPoint(400, 300));
    EXPECT_EQ(game.GameState, TGameState::NotDealt);
    Click(game, game.Geometry.HomeOrigin + QPoint(1, 1));
    EXPECT_EQ(game.GameState, TGameState::Playing);
}

TEST_F(DealTest, TheDealCommandAsksDuringAGame) {
    game.ConfirmDeal(); // nothing dealt yet: deals at once
    EXPECT_TRUE(host.Messages.empty());
    const TBoard first = game.GameArray;
    host.Answers = {GameMessageResult::OkChosen | GameMessageResult::KeepPlayingChosen,
                    GameMessageResult::CancelChosen | GameMessageResult::NewGameChosen,
                    GameMessageResult::OkChosen | GameMessageResult::NewGameChosen};
    game.ConfirmDeal();
    game.ConfirmDeal();
    EXPECT_EQ(game.GameArray, first);
    ASSERT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(host.Messages[0].Page, GameMessagePage::Choice);
    EXPECT_EQ(host.Messages[0].Caption, "Deal?");
    EXPECT_EQ(host.Messages[0].Text, "");
    EXPECT_EQ(host.Messages[0].Ok, "OK");
    EXPECT_EQ(host.Messages[0].Cancel, "Cancel");
    clock.MsOfDayUtc += 1;
    game.ConfirmDeal();
    EXPECT_NE(game.GameArray, first);
}

TEST_F(DealTest, EveryDealHasANumberThatDealsItAgain) {
    game.DealGame();
    EXPECT_EQ(game.DealNumber, 43200000u); // the shuffle's seed: 12:00:00.000 UTC
    EXPECT_EQ(host.ShownDealNumber, 43200000u);
    const TBoard clockDeal = game.GameArray;

    for (uint32_t number : {1u, 1234567u, 4294967295u}) {
        game.DealGame(number);
        EXPECT_EQ(game.DealNumber, number);
        EXPECT_EQ(host.ShownDealNumber, number);
        for (const Rules::DealtCard& dealt : Rules::DealFromSeed(number))
            EXPECT_EQ(game.Cell(dealt.Column, dealt.Row)->Index, dealt.Card) << number;
        const TBoard board = game.GameArray;
        game.RestartGame();
        EXPECT_EQ(game.DealNumber, number); // a restart is the same deal
        game.DealGame(number);
        EXPECT_EQ(game.GameArray, board);
    }
    game.DealGame(43200000u);
    EXPECT_EQ(game.GameArray, clockDeal);
}

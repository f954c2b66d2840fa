#include "support/BoardClicks.h"
#include "support/EngineFixture.h"

#include <QTemporaryDir>
#include <algorithm>
#include <set>
#include <stdexcept>

namespace {
constexpr int FadeWaits = 256; // waits of the celebration's fade; wait 256 + f follows frame f
const QRgb TableGreen = qRgb(0, 128, 0);
} // namespace

// One move from the win: the King of hearts in the first column, everything else home, five
// minutes on the clock and 63 moves made. The move home is the 64th.
class GameEndTest : public EngineFixture {
protected:
    // What the engine and its window looked like in the first wait of the celebration.
    struct Inside {
        bool seen = false;
        QString prompt, score, error;
        TColor errorColour = 0;
        size_t flashRepaints = 0;
        size_t topScores = 0;
        bool clockRunning = true;
        bool cardsStillHome = false;
    } inside;
    int celebrationWaits = 0;
    // Runs in the celebration's wait number n (from 0).
    std::function<void(int n)> duringCelebration;

    GameEndTest() {
        EmptyBoardInPlay();
        game.Pocket(0) = Card(11); // QH
        for (int p = 1; p < 4; ++p)
            game.Pocket(p) = Card(p * 13 + 12);
        PutColumn(0, {12});
        game.CardCounter = 1;
        game.MoveCount = 63;
        game.LayoutBoard();
        host.Clock.Reset();
        host.Clock.Start();
        clock.Advance(300000);
        host.Sounds.clear();
        clock.OnProcessing = [this] {
            if (!game.CelebrationRunning)
                return;
            if (!inside.seen) {
                inside.seen = true;
                inside.prompt = host.Panel(StatusPanel::MessageDis);
                inside.score = host.Panel(StatusPanel::ScoreDis);
                inside.error = host.Panel(StatusPanel::ErrorDis);
                inside.errorColour = host.PanelFontColor(StatusPanel::ErrorDis);
                inside.flashRepaints = host.PanelRepaints.size();
                inside.topScores = host.TopScores.size();
                inside.clockRunning = host.Clock.Running();
                inside.cardsStillHome = Card(12)->FaceUp && Card(12)->Position == game.PocketPosition(0);
            }
            if (duringCelebration)
                duringCelebration(celebrationWaits);
            ++celebrationWaits;
        };
    }

    void MakeTheWinningMove() {
        Click(game, OnCell(game, 0, 0));
        Click(game, OnCell(game, 0, 0));
    }

    QStringList Sounds() const { return QStringList(host.Sounds.begin(), host.Sounds.end()); }
    QStringList CelebrationSounds() const {
        QStringList sounds = Sounds();
        while (!sounds.isEmpty() && sounds.front() != "ROCKET" && sounds.front() != "stop")
            sounds.removeFirst();
        return sounds;
    }

    void ExpectDeckGathered() {
        for (const auto& card : game.Deck->Cards) {
            EXPECT_FALSE(card->FaceUp) << card->Index;
            EXPECT_LE((card->Position - game.Geometry.HomeOrigin).manhattanLength(), 6) << card->Index;
        }
        // The slots keep the won position until the next deal.
        EXPECT_EQ(game.Pocket(0), Card(12));
        EXPECT_EQ(game.CardCounter, 0);
    }
};

TEST_F(GameEndTest, FlashThenCelebrationThenTopTenThenTheDeckGathered) {
    MakeTheWinningMove();
    EXPECT_EQ(game.GameState, TGameState::Won);
    EXPECT_FALSE(game.GameActive);
    EXPECT_FALSE(game.CelebrationRunning);

    // The whole celebration ran: fade and frames, rockets, fanfare, silence.
    EXPECT_GT(celebrationWaits, FadeWaits + 100);
    EXPECT_EQ(CelebrationSounds(), QStringList({"ROCKET", "ROCKET", "ROCKET", "ROCKET", "WINNER", "stop"}));
    EXPECT_LT(Sounds().indexOf("MOVEHOME"), Sounds().indexOf("ROCKET")); // the card lands first

    // While it ran: the flash was over, its text stayed in the former colour, the prompt and the
    // score with both bonuses (1092 home + 546 for 300 s + 983 for 64 moves) were up, the clock
    // stood still, and neither the top ten nor the deck had been touched yet.
    ASSERT_TRUE(inside.seen);
    EXPECT_EQ(inside.flashRepaints, 15u);
    EXPECT_EQ(inside.error, "Congratulations!!");
    EXPECT_EQ(inside.errorColour, MakeColor(0, 191, 0));
    EXPECT_EQ(inside.prompt, "Please Deal Cards");
    EXPECT_EQ(inside.score, "2621 Pts.");
    EXPECT_FALSE(inside.clockRunning);
    EXPECT_EQ(inside.topScores, 0u);
    EXPECT_TRUE(inside.cardsStillHome);

    // Then the top ten, with the time the game took (the celebration does not count).
    EXPECT_EQ(game.FinalScore, 2621);
    EXPECT_GE(game.FinalTime, 300000000);
    EXPECT_LT(game.FinalTime, 301000000);
    EXPECT_EQ(game.FinalTime, host.Clock.AccumulatedMicros());
    ASSERT_EQ(host.TopScores.size(), 1u);
    EXPECT_EQ(host.TopScores[0], std::make_pair(int32_t(2621), game.FinalTime));
    ExpectDeckGathered();
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Please Deal Cards");
    EXPECT_EQ(host.Panel(StatusPanel::ScoreDis), "2621 Pts.");
    // The board on screen is the table again, not the fireworks.
    EXPECT_EQ(host.LastBoard.pixel(BoardWidth - 3, BoardHeight - 3), TableGreen);

    // The next Deal deals at once.
    game.ConfirmDeal();
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.CardCounter, 52);
}

TEST_F(GameEndTest, DealsDuringTheCelebrationAreIgnored) {
    const QPoint onDeck = game.Geometry.HomeOrigin + QPoint(10, 10);
    duringCelebration = [&](int n) {
        if (n == FadeWaits + 5) // the Deal command from the keyboard: no press, the display goes on
            game.ConfirmDeal();
        if (n == FadeWaits + 8) { // a press on the deck: the hook sees it, then the board
            game.StopRequested = true;
            game.BoardMouseDown(true, onDeck.x(), onDeck.y());
        }
    };
    MakeTheWinningMove();
    EXPECT_EQ(celebrationWaits, FadeWaits + 9); // ended after the frame of the click
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_FALSE(host.Sounds.empty());
    EXPECT_EQ(std::count(host.Sounds.begin(), host.Sounds.end(), "DEAL(loop)"), 0);
    EXPECT_EQ(CelebrationSounds(), QStringList({"ROCKET", "stop"}));
    EXPECT_EQ(game.GameState, TGameState::Won);
    ASSERT_EQ(host.TopScores.size(), 1u);
    ExpectDeckGathered();
    // Afterwards the deck deals again.
    Click(game, onDeck);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_FALSE(game.CelebrationRunning);
}

TEST_F(GameEndTest, ClosingTheProgramEndsTheCelebrationWithoutTheTopTenPrompt) {
    const struct {
        const char* what;
        int atWait;
        QStringList sounds;
    } cases[] = {{"during the fade", 20, {"stop"}}, {"after frame 12", FadeWaits + 12, {"ROCKET", "ROCKET", "stop"}}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        celebrationWaits = 0;
        host.Closing = false;
        host.Sounds.clear();
        game.GameState = TGameState::Playing;
        game.GameActive = true;
        game.CardCounter = 1;
        game.Pocket(0) = Card(11);
        PutColumn(0, {12});
        game.LayoutBoard();
        duringCelebration = [&](int n) {
            if (n == k.atWait)
                host.Closing = true;
        };
        MakeTheWinningMove();
        EXPECT_EQ(celebrationWaits, k.atWait < FadeWaits ? FadeWaits : k.atWait + 1);
        EXPECT_EQ(CelebrationSounds(), k.sounds);
        EXPECT_FALSE(game.CelebrationRunning);
        EXPECT_TRUE(host.TopScores.empty());
        EXPECT_EQ(game.GameState, TGameState::Won);
        ExpectDeckGathered();
    }
}

TEST_F(GameEndTest, AFailingCelebrationStillOffersTheScoreAndGathersTheDeck) {
    duringCelebration = [](int n) {
        if (n == FadeWaits + 3)
            throw std::runtime_error("no display");
    };
    EXPECT_THROW(MakeTheWinningMove(), std::runtime_error);
    EXPECT_FALSE(game.CelebrationRunning);
    EXPECT_EQ(host.Sounds.back(), "stop");
    EXPECT_EQ(game.GameState, TGameState::Won);
    ASSERT_EQ(host.TopScores.size(), 1u);
    EXPECT_EQ(host.TopScores[0].first, 2621);
    ExpectDeckGathered();
    EXPECT_EQ(host.LastBoard.pixel(BoardWidth - 3, BoardHeight - 3), TableGreen);
    // Nothing is left stuck: the next Deal deals.
    duringCelebration = nullptr;
    game.ConfirmDeal();
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.CardCounter, 52);
}

TEST_F(GameEndTest, TheDealCommandWhileTheCardsGoOutIsIgnored) {
    game.DealGame();
    clock.MsOfDayUtc += 1;
    // Asked in the middle of the next deal, "Restart Current Game" would put the old deal back
    // under the new one.
    host.Answers = {GameMessageResult::OkChosen | GameMessageResult::RestartChosen};
    int waits = 0;
    clock.OnProcessing = [&] {
        if (game.Dealing && ++waits == 20)
            game.ConfirmDeal();
    };
    game.DealGame();
    EXPECT_EQ(waits, 53);
    EXPECT_TRUE(host.Messages.empty());
    std::set<const TCard*> onTable;
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(game.ColumnCount(c), c + 3);
        for (int r = 0; r < game.ColumnCount(c); ++r)
            onTable.insert(game.Cell(c, r));
    }
    EXPECT_EQ(onTable.size(), 52u);
    EXPECT_EQ(game.GameCopy, game.GameArray);

    // Once the cards are out, the same answer restarts the deal.
    clock.OnProcessing = nullptr;
    const TBoard dealt = game.GameArray;
    std::swap(game.Cell(0, 0), game.Cell(1, 0));
    game.MoveCount = 7;
    game.ConfirmDeal();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Caption, "Deal?");
    EXPECT_EQ(game.GameArray, dealt);
    EXPECT_EQ(game.MoveCount, 0);
    EXPECT_EQ(game.GameState, TGameState::Playing);
}

TEST_F(GameEndTest, GamesThatEndGoToTheStatistics) {
    using Ended = FakeHost::EndedGame;
    // The won game: its final score and time.
    Click(game, OnCell(game, 0, 0));
    Click(game, OnPocket(game, 0));
    ASSERT_EQ(game.GameState, TGameState::Won);
    ASSERT_EQ(host.EndedGames.size(), 1u);
    EXPECT_EQ(host.EndedGames[0], (Ended{true, game.FinalScore, game.FinalTime}));

    // A deal given up before any move is no game played.
    game.DealGame(11u);
    game.DealGame(12u);
    EXPECT_EQ(host.EndedGames.size(), 1u);

    // Plays the first move the search lists, as a player would click it.
    auto playFirstMove = [this] {
        ASSERT_FALSE(game.HintList.empty());
        const HintPair pair = game.HintList.front();
        const QPoint corner(5, 5);
        if (pair.Second && game.HitTest(pair.Second->Position.x() + 5, pair.Second->Position.y() + 5).Column >= 0) {
            Click(game, pair.Second->Position + corner); // its run onto the column's last card
            Click(game, pair.First->Position + corner);
        } else {
            Click(game, pair.First->Position + corner); // the last card home or to an empty place
            Click(game, pair.Second ? pair.Second->Position + corner
                                    : game.PocketPosition(game.PocketFor(*pair.First)) + corner);
        }
    };
    // A move makes it a game; a new deal over it gives it up, with its score and time.
    const int moves = game.MoveCount;
    playFirstMove();
    ASSERT_GT(game.MoveCount, moves);
    clock.Advance(42000);
    const int32_t score = game.ComputeScore();
    const int64_t elapsed = host.Clock.ElapsedMicros();
    game.DealGame(13u);
    ASSERT_EQ(host.EndedGames.size(), 2u);
    EXPECT_EQ(host.EndedGames[1], (Ended{false, score, elapsed}));

    // A restart is the same game; a load over it gives it up.
    playFirstMove();
    game.RestartGame();
    EXPECT_EQ(host.EndedGames.size(), 2u);
    QTemporaryDir dir;
    const QString file = dir.filePath("g.twl");
    game.SaveGameFile(file);
    game.LoadGameFile(file);
    ASSERT_EQ(host.EndedGames.size(), 3u);
    EXPECT_FALSE(host.EndedGames[2].Won);
    game.LoadGameFile(file); // the loaded game had no move yet
    EXPECT_EQ(host.EndedGames.size(), 3u);
}

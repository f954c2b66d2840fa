#include "support/BoardClicks.h"
#include "support/EngineFixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <array>

class UndoTest : public EngineFixture {
protected:
    int Records() const { return game.UndoRing.Count(); }
    QStringList Sounds() const { return QStringList(host.Sounds.begin(), host.Sounds.end()); }
    void MoveCard(QPoint from, QPoint to) {
        Click(game, from);
        Click(game, to);
    }
};

TEST_F(UndoTest, ARunSentHomeComesBackOneCardPerUndo) {
    EmptyBoardInPlay();
    PutColumn(0, {40, 2, 1, 0}, {40}); // a face-down spade over the 3, 2 and Ace of hearts
    game.LayoutBoard();
    game.TakeSnapshot();
    MoveCard(OnCell(game, 0, 1), OnPocket(game, 0));
    ASSERT_EQ(game.Pocket(0), Card(2));
    ASSERT_TRUE(Card(40)->FaceUp);
    EXPECT_EQ(Records(), 4);
    const int moves = game.MoveCount;
    struct {
        TCard* pocket;
        int columnCount;
    } const steps[] = {{Card(1), 2}, {Card(0), 3}, {nullptr, 4}};
    for (const auto& s : steps) {
        host.Sounds.clear();
        std::vector<QPoint> slide;
        game.UndoMove();
        EXPECT_EQ(game.Pocket(0), s.pocket);
        EXPECT_EQ(game.ColumnCount(0), s.columnCount);
        EXPECT_EQ(game.MoveCount, moves); // undo never lowers the move count
        EXPECT_EQ(Sounds(), QStringList({"UNDO"}));
    }
    EXPECT_EQ(game.CardCounter, 52);
    // The card that was turned up when the run left is face down again.
    EXPECT_FALSE(Card(40)->FaceUp);
    EXPECT_EQ(game.UndoCount, 3);
    EXPECT_EQ(Card(2)->Position, game.CellPosition(0, 1));
}

TEST_F(UndoTest, UndoRightAfterADealAndOnceMore) {
    game.DealGame();
    const TBoard dealt = game.GameArray;
    host.Sounds.clear();
    game.UndoMove();
    EXPECT_EQ(game.GameArray, dealt);
    EXPECT_EQ(game.CardCounter, 52);
    EXPECT_EQ(game.UndoCount, 1);
    EXPECT_EQ(Records(), 0);
    game.UndoMove(); // nothing left: only the sound
    EXPECT_EQ(game.UndoCount, 1);
    EXPECT_EQ(game.GameArray, dealt);
    EXPECT_EQ(Sounds(), QStringList({"UNDO", "UNDO"}));
}

// A slot is made when the head first reaches it, and a record stays where it was made: the
// ring hands out references to its records.
TEST(UndoRing, SlotsAreMadeAsTheHeadFirstReachesThemAndNeverMove) {
    TUndoRing ring;
    EXPECT_TRUE(ring.Slots().empty());
    ring.Push().CardCounter = 1;
    const BoardSnapshot* oldest = &ring.Record(0);
    for (int i = 2; i <= 499; ++i)
        ring.Push().CardCounter = i;
    EXPECT_EQ(ring.Count(), 499);
    EXPECT_EQ(ring.Slots().size(), 499u);
    EXPECT_EQ(&ring.Record(0), oldest);
    ring.Push().CardCounter = 500; // the last slot; the ring is full and drops the oldest
    EXPECT_EQ(ring.Slots().size(), size_t(UndoRingSize));
    EXPECT_EQ(ring.Record(0).CardCounter, 2);
    ring.Push().CardCounter = 501; // round to the first slot again
    EXPECT_EQ(ring.Slots().size(), size_t(UndoRingSize));
    EXPECT_EQ(&ring.Newest(), oldest);
    EXPECT_EQ(ring.Newest().CardCounter, 501);
    EXPECT_EQ(ring.Pop().CardCounter, 501);
    ring.Clear();
    ring.Push().CardCounter = 7;
    EXPECT_EQ(ring.Slots().size(), size_t(UndoRingSize));
    EXPECT_EQ(&ring.Newest(), oldest);
}

TEST_F(UndoTest, TheRingKeepsTheNewest499Records) {
    EmptyBoardInPlay();
    PutColumn(0, {51}); // a lone King goes back and forth between two columns
    game.DrawBoard = false;
    game.LayoutBoard();
    game.TakeSnapshot();
    for (int i = 0; i < 520; ++i) {
        const int from = i % 2, to = 1 - from;
        MoveCard(OnCell(game, from, 0), OnCell(game, to, 0));
        ASSERT_EQ(game.Cell(to, 0), Card(51)) << i;
    }
    EXPECT_EQ(game.MoveCount, 520);
    EXPECT_EQ(Records(), 499);
    for (int i = 0; i < 499; ++i)
        game.UndoMove();
    EXPECT_EQ(Records(), 0);
    // 520 boards were recorded (the start and the board before each move but the last); the
    // oldest 21 were overwritten, so the King stands where the 21st move put it.
    const int column = game.Cell(0, 0) ? 0 : 1;
    EXPECT_EQ(column, 21 % 2);
    const TBoard reached = game.GameArray;
    game.UndoMove();
    EXPECT_EQ(game.GameArray, reached);
    EXPECT_EQ(game.UndoCount, 499);
    EXPECT_EQ(game.MoveCount, 520);
}

TEST_F(UndoTest, RestartAndUndoBackToTheRestartedPosition) {
    game.DealGame();
    const TBoard dealt = game.GameArray;
    // Play whatever the first hint offers between columns, if anything.
    for (int c = 0; c < 8; ++c) {
        const int r = game.BottomRow(c);
        Click(game, OnCell(game, c, r));
        Click(game, OnCell(game, c, r));
    }
    game.Protocol.ClickPhase = 1; // a card chosen before the restart ...
    game.Protocol.SourceSlot() = game.HitTest(OnCell(game, 0, 2).x(), OnCell(game, 0, 2).y());
    host.Answers = {GameMessageResult::OkChosen};
    game.ConfirmRestart();
    ASSERT_EQ(host.Messages.back().Text, "Restart Game?");
    EXPECT_EQ(host.Messages.back().Ok, "Yes");
    EXPECT_EQ(host.Messages.back().Cancel, "No");
    EXPECT_EQ(game.GameArray, dealt);
    EXPECT_EQ(game.Protocol.ClickPhase, 0); // ... is not moved by the next click
    EXPECT_EQ(game.MoveCount, 0);
    EXPECT_EQ(Records(), 1);
    for (const auto& card : game.Deck->Cards)
        EXPECT_EQ(card->FaceUp, card->DealFaceUp);
    EXPECT_TRUE(host.Clock.Running());
    EXPECT_EQ(host.Clock.ElapsedMicros(), 0);
    game.UndoMove();
    EXPECT_EQ(game.GameArray, dealt);
    EXPECT_EQ(game.CardCounter, 52);
    // "No" keeps the game; without a game there is nothing to restart.
    host.Answers = {GameMessageResult::CancelChosen};
    game.ConfirmRestart();
    game.GameActive = false;
    game.ConfirmRestart();
    EXPECT_EQ(host.Messages.back().Text, "No Game To Restart");
    EXPECT_EQ(host.Messages.back().Cancel, "");
}

TEST_F(UndoTest, TheEleventhUndoCostsPointsAlsoAcrossARestart) {
    game.DealGame();
    for (int i = 0; i < 6; ++i)
        game.UndoMove();
    EXPECT_EQ(game.UndoCount, 1); // only the first one had something to undo
    game.UndoCount = 6;
    const int score = game.ComputeScore();
    host.Answers = {GameMessageResult::OkChosen};
    game.ConfirmRestart();
    for (int i = 0; i < 4; ++i) {
        game.TakeSnapshot();
        game.UndoMove();
    }
    EXPECT_EQ(game.UndoCount, 10);
    EXPECT_EQ(game.ComputeScore(), score);
    game.TakeSnapshot();
    game.UndoMove();
    EXPECT_EQ(game.UndoCount, 11);
    EXPECT_EQ(game.ComputeScore(), score - 22);
    EXPECT_EQ(host.Panel(StatusPanel::ScoreDis), QString::number(score - 22) + " Pts.");
}

TEST_F(UndoTest, AfterAWinAndBeforeAnyDealUndoChangesNothing) {
    game.UndoMove();
    EXPECT_EQ(game.GameState, TGameState::NotDealt);
    EXPECT_EQ(host.Sounds.back(), "UNDO");
    EmptyBoardInPlay();
    for (int p = 0; p < 4; ++p)
        game.Pocket(p) = Card(p * 13 + 11);
    PutColumn(0, {12});
    game.CardCounter = 1;
    game.LayoutBoard();
    game.TakeSnapshot();
    MoveCard(OnCell(game, 0, 0), OnPocket(game, 0));
    ASSERT_EQ(game.GameState, TGameState::Won);
    const TBoard won = game.GameArray;
    game.UndoMove();
    EXPECT_EQ(game.GameArray, won);
    EXPECT_EQ(game.CardCounter, 0);
    EXPECT_EQ(game.UndoCount, 0);
}

TEST_F(UndoTest, AChoiceMadeBeforeAnUndoIsForgotten) {
    EmptyBoardInPlay();
    PutColumn(0, {5});
    PutColumn(1, {6, 4});
    game.LayoutBoard();
    game.TakeSnapshot();
    MoveCard(OnCell(game, 1, 1), OnCell(game, 0, 0)); // 5H under the 6H
    Click(game, OnCell(game, 0, 1));                  // choose it again ...
    game.UndoMove();                                  // ... and take the move back
    EXPECT_EQ(game.Protocol.ClickPhase, 0);
    Click(game, OnCell(game, 0, 0));
    EXPECT_EQ(game.Protocol.ClickPhase, 1); // the next click chooses afresh
    EXPECT_EQ(game.Protocol.DragList, std::vector<int>({5}));
}

TEST_F(UndoTest, CommandsInTheMiddleOfADragPutTheRunDown) {
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("Game.twl"));
    game.DealGame();
    game.SaveGameFile(saved);
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"undo", [this] { game.UndoMove(); }},
        {"restart", [this] { game.RestartGame(); }},
        {"load", [&] { game.LoadGameFile(saved); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        // Pick up the run of column 7 from its row 3 (face up) and carry it a little way.
        const QPoint press = OnCell(game, 7, 3);
        game.BoardMouseDown(true, press.x(), press.y());
        game.BoardMouseMove(press.x() + 40, press.y() + 60);
        ASSERT_TRUE(game.Cell(7, 9)->Lifted);
        command();
        for (const auto& card : game.Deck->Cards)
            EXPECT_FALSE(card->Lifted) << card->Name.toStdString();
        EXPECT_FALSE(game.Protocol.DragActive);
        // The release that ends the drag changes nothing more.
        const TBoard board = game.GameArray;
        game.BoardMouseUp(press.x() + 40, press.y() + 60);
        EXPECT_EQ(game.GameArray, board);
        EXPECT_EQ(game.Cell(7, 9)->Position, game.CellPosition(7, 9));
    }
}

TEST_F(UndoTest, RedoMakesUndoneMovesAgainWithTheirOwnSlidesAndFlips) {
    EmptyBoardInPlay();
    PutColumn(0, {40, 2, 1}, {40}); // a face-down spade over the 3 and 2 of hearts
    PutColumn(1, {3});              // the 4 of hearts
    PutColumn(2, {0});              // the Ace of hearts
    game.LayoutBoard();
    game.TakeSnapshot();
    MoveCard(OnCell(game, 0, 1), OnCell(game, 1, 0)); // 3H, 2H under the 4H: the spade turns up
    MoveCard(OnCell(game, 2, 0), OnPocket(game, 0));  // the Ace home
    const TBoard played = game.GameArray;
    ASSERT_TRUE(Card(40)->FaceUp);
    ASSERT_EQ(game.MoveCount, 2);

    game.UndoMove();
    game.UndoMove();
    ASSERT_FALSE(Card(40)->FaceUp);
    ASSERT_EQ(game.RedoList.size(), 2u);
    const int undos = game.UndoCount;

    // The run first: its slide of 8 steps of 10 ms, then the flip of 20 steps of 5 ms.
    host.Sounds.clear();
    clock.BusyWaitedMs = 0;
    game.RedoMove();
    EXPECT_EQ(clock.BusyWaitedMs, 90 + 105);
    EXPECT_EQ(Sounds(), QStringList({"MOVETO"}));
    EXPECT_TRUE(Card(40)->FaceUp);
    EXPECT_EQ(game.Cell(1, 2), Card(1));
    EXPECT_EQ(Card(1)->Position, game.CellPosition(1, 2));
    // Then the card home: 10 steps of 10 ms.
    host.Sounds.clear();
    clock.BusyWaitedMs = 0;
    game.RedoMove();
    EXPECT_EQ(clock.BusyWaitedMs, 110);
    EXPECT_EQ(Sounds(), QStringList({"MOVETO", "MOVEHOME"}));
    EXPECT_EQ(game.GameArray, played);
    EXPECT_EQ(game.CardCounter, 51);
    EXPECT_EQ(game.MoveCount, 4);       // a redone move counts as a move
    EXPECT_EQ(game.UndoCount, undos);   // and the undos stay made
    EXPECT_EQ(Records(), 3);            // each redone move can be undone again
    EXPECT_FALSE(game.CanRedo());
    game.RedoMove(); // nothing left: nothing happens
    EXPECT_EQ(game.MoveCount, 4);

    // Undone again, then a new move: what was undone is gone.
    game.UndoMove();
    ASSERT_TRUE(game.CanRedo());
    MoveCard(OnCell(game, 2, 0), OnPocket(game, 0));
    EXPECT_FALSE(game.CanRedo());
    // A deal, a restart and a load forget it too; taking back the starting position leaves
    // nothing to make again.
    game.DealGame();
    game.UndoMove();
    EXPECT_FALSE(game.CanRedo());
}

TEST_F(UndoTest, RedoingTheLastCardHomeWinsTheGame) {
    EmptyBoardInPlay();
    for (int p = 0; p < 3; ++p)
        game.Pocket(p) = Card(p * 13 + 12);
    game.Pocket(3) = Card(50); // spades up to the Queen
    PutColumn(0, {51});
    game.CardCounter = 1;
    game.LayoutBoard();
    game.TakeSnapshot();
    MoveCard(OnCell(game, 0, 0), OnPocket(game, 3));
    ASSERT_EQ(game.GameState, TGameState::Won);
    // A won game takes no undo; a game undone before its last move can still be won by redo.
    game.GameState = TGameState::Playing;
    game.GameActive = true;
    game.UndoMove();
    ASSERT_EQ(game.CardCounter, 1);
    game.RedoMove();
    EXPECT_EQ(game.CardCounter, 0);
    EXPECT_EQ(game.GameState, TGameState::Won);
    EXPECT_FALSE(game.GameActive);
}

namespace {
// The board of the redo test with the rest of the deck laid face up in columns 3 to 7, so that
// it is a whole game that can be kept in a file.
void WholeDeckInPlay(TGame& game) {
    const std::array<int, 5> placed{40, 2, 1, 3, 0};
    int column = 3, row = 0;
    for (int index = 0; index < 52; ++index) {
        if (std::find(placed.begin(), placed.end(), index) != placed.end())
            continue;
        game.Deck->Card(index).FaceUp = true;
        game.Cell(column, row++) = &game.Deck->Card(index);
        if (row == 10) {
            ++column;
            row = 0;
        }
    }
    for (auto& card : game.Deck->Cards)
        card->DealFaceUp = card->FaceUp;
    game.GameCopy = game.GameArray;
}

// Puts the given steps in place of a kept game's undo or redo history.
void ReplaceHistory(const QString& path, const QString& name, const QStringList& steps) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    const QRegularExpression element(QStringLiteral("<%1\\s*/>|<%1>.*</%1>").arg(name),
                                     QRegularExpression::DotMatchesEverythingOption);
    ASSERT_TRUE(text.contains(element)) << name.toStdString();
    QString history = QStringLiteral("<%1>").arg(name);
    for (const QString& step : steps)
        history += QStringLiteral("<Step>%1</Step>").arg(step);
    text.replace(element, history + QStringLiteral("</%1>").arg(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}
} // namespace

TEST_F(UndoTest, AGameKeptOverClosingKeepsItsUndoAndRedo) {
    EmptyBoardInPlay();
    PutColumn(0, {40, 2, 1}, {40}); // a face-down spade over the 3 and 2 of hearts
    PutColumn(1, {3});              // the 4 of hearts
    PutColumn(2, {0});              // the Ace of hearts
    WholeDeckInPlay(game);
    game.LayoutBoard();
    game.TakeSnapshot();
    const TBoard start = game.GameArray;
    MoveCard(OnCell(game, 0, 1), OnCell(game, 1, 0)); // the spade turns up
    MoveCard(OnCell(game, 2, 0), OnPocket(game, 0));  // the Ace home
    const TBoard played = game.GameArray;
    game.UndoMove(); // the Ace back: one move to redo
    const TBoard undone = game.GameArray;
    const int records = Records();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Resume.twl"));
    game.SaveGameFile(path, TGame::TKeep::GameAndPlay);
    game.DealGame(5u);
    EXPECT_EQ(game.LoadGameFile(path, TGame::TKeep::GameAndPlay), QString());
    EXPECT_EQ(game.GameArray, undone);
    EXPECT_EQ(Records(), records);
    ASSERT_TRUE(game.CanRedo());

    // The move to redo slides home again; both moves come back with their slides, and the
    // spade turns face down again as it lay.
    host.Sounds.clear();
    game.RedoMove();
    EXPECT_EQ(game.GameArray, played);
    EXPECT_EQ(Sounds(), QStringList({"MOVETO", "MOVEHOME"}));
    clock.BusyWaitedMs = 0;
    game.UndoMove();
    EXPECT_GT(clock.BusyWaitedMs, 0);
    game.UndoMove();
    EXPECT_EQ(game.GameArray, start);
    EXPECT_FALSE(Card(40)->FaceUp);
    EXPECT_EQ(game.CardCounter, 52);

    // An ordinary load of the same file starts a history of its own.
    game.LoadGameFile(path);
    EXPECT_EQ(Records(), 1);
    EXPECT_FALSE(game.CanRedo());
}

TEST_F(UndoTest, AKeptHistoryThatIsDamagedIsLeftBehindAndOneThatIsOddNeverCrashes) {
    EmptyBoardInPlay();
    PutColumn(0, {40, 2, 1}, {40});
    PutColumn(1, {3});
    PutColumn(2, {0});
    WholeDeckInPlay(game);
    game.LayoutBoard();
    game.TakeSnapshot();
    MoveCard(OnCell(game, 0, 1), OnCell(game, 1, 0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Resume.twl"));
    game.SaveGameFile(path, TGame::TKeep::GameAndPlay);
    const TBoard kept = game.GameArray;
    // The other columns as the kept board has them: cards 4 to 51 but the 2 of spades.
    QStringList rest;
    for (int column = 3; column < 8; ++column) {
        QStringList cards;
        for (int row = 0; game.Cell(column, row); ++row)
            cards << QString::number(game.Cell(column, row)->Index);
        rest << cards.join(' ');
    }
    const QString others = rest.join('/');

    // Damage of every kind: the game is taken up, without its history, and says why.
    const QStringList damaged{
        QStringLiteral("- - - -/40d 2 1/3/0/") + others + QStringLiteral("/extra"),
        QStringLiteral("- - -/40d 2 1/3/0/") + others,
        QStringLiteral("- - - -/40d 2 1/3/0 0/") + others,
        QStringLiteral("- - - -/40d 2 1/3/x/") + others,
        QStringLiteral("- - - -/40d 2 1/3/52/") + others,
        QStringLiteral("- - - -/40d 2 1/3//") + others,
    };
    for (const QString& step : damaged) {
        SCOPED_TRACE(step.left(30).toStdString());
        ReplaceHistory(path, QStringLiteral("UndoHistory"), {step});
        game.DealGame(5u);
        const QString fault = game.LoadGameFile(path, TGame::TKeep::GameAndPlay);
        EXPECT_TRUE(fault.startsWith(QStringLiteral("The Step on line "))) << fault.toStdString();
        EXPECT_EQ(game.GameArray, kept);
        EXPECT_EQ(Records(), 1);
    }
    ReplaceHistory(path, QStringLiteral("UndoHistory"), QStringList(500, QStringLiteral("- - - -/40d 2 1/3/0/") + others));
    EXPECT_TRUE(game.LoadGameFile(path, TGame::TKeep::GameAndPlay).contains(QStringLiteral("more than 499 steps")));

    // Whole boards that no single move joins: taken back and made again without a slide.
    const QString aceHome = QStringLiteral("0 - - -/40d 2 1/3//") + others;
    ReplaceHistory(path, QStringLiteral("UndoHistory"), {aceHome});
    ReplaceHistory(path, QStringLiteral("RedoHistory"), {aceHome});
    EXPECT_EQ(game.LoadGameFile(path, TGame::TKeep::GameAndPlay), QString());
    game.RedoMove();
    EXPECT_EQ(game.Pocket(0), Card(0));
    EXPECT_EQ(game.ColumnCount(0), 3);
    EXPECT_EQ(game.CardCounter, 51);
    game.UndoMove();
    game.UndoMove();
    EXPECT_EQ(game.Pocket(0), Card(0));
    EXPECT_EQ(game.ColumnCount(2), 0);
    EXPECT_FALSE(Card(40)->FaceUp);
}

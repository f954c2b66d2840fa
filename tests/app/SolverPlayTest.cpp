#include "app/TBoardView.h"
#include "app/TForm1.h"
#include "app/TSolverWatch.h"
#include "engine/TwGame.h"
#include "scores/TwTopScores.h"
#include "solver/Solver.h"
#include "support/PlayPosition.h"
#include "support/VirtualTimeSource.h"
#include "KestrelObjects/Timings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
using Solver::Position;

// Lets the window's events run until the solver has answered (a few milliseconds for these
// positions); false after ten seconds.
bool Settled(const TSolverWatch& watch) {
    QElapsedTimer waited;
    waited.start();
    while (watch.Answer().State == TSolverState::Searching && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return watch.Answer().State != TSolverState::Searching;
}

// Answers the message boxes that come up, one answer each, in order: the button with the
// given text is clicked, its box's text kept.
void AnswerBoxes(std::vector<QString> buttons, QStringList& texts) {
    QTimer::singleShot(0, [buttons = std::move(buttons), &texts]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        texts << box->text();
        const QString wanted = buttons.front();
        buttons.erase(buttons.begin());
        if (!buttons.empty())
            AnswerBoxes(buttons, texts);
        for (QAbstractButton* button : box->buttons())
            if (button->text().remove('&') == wanted)
                button->click();
    });
}

class SolverPlayTest : public ::testing::Test {
protected:
    VirtualTimeSource clock;
    TForm1 form;
    TGame& game = form.Game();
    TSolverWatch& watch = *form.findChild<TSolverWatch*>();

    SolverPlayTest() {
        form.CreateDialogs();
        form.show();
    }
};
} // namespace

TEST(SolverWatchTest, AnswersOnlyForTheLatestPositionAndFollowsItsOwnLine) {
    TSolverWatch watch;
    QSignalSpy changes(&watch, &TSolverWatch::Changed);
    watch.Watch(Position::FromDeal(359)); // lost, but overtaken at once
    watch.Watch(Position::FromDeal(1));
    EXPECT_EQ(watch.Answer().State, TSolverState::Searching);
    ASSERT_TRUE(Settled(watch));
    QApplication::processEvents();
    EXPECT_EQ(watch.Answer().State, TSolverState::Winnable);
    EXPECT_EQ(changes.size(), 3); // searching twice, then the one answer that counts
    const std::vector<Solver::Move> line = watch.Answer().Moves;
    EXPECT_EQ(line, Solver::Solve(Position::FromDeal(1)).Moves);

    // The position the line's next move makes is answered at once, with the rest of the line.
    Position next = Position::FromDeal(1);
    ASSERT_TRUE(next.Apply(line.front()));
    watch.Watch(next);
    EXPECT_EQ(watch.Answer().State, TSolverState::Winnable);
    EXPECT_EQ(watch.Answer().Moves, std::vector<Solver::Move>(line.begin() + 1, line.end()));

    watch.Watch(Position::FromDeal(359));
    ASSERT_TRUE(Settled(watch));
    EXPECT_EQ(watch.Answer().State, TSolverState::Lost);
    EXPECT_EQ(watch.Answer().Reason, Solver::WhyLost(Position::FromDeal(359)));
    watch.Forget();
    EXPECT_EQ(watch.Answer().State, TSolverState::Idle);

    // A search cut short by its budget is too hard to tell.
    Solver::Budget tiny;
    tiny.Nodes = 10;
    TSolverWatch hurried(tiny);
    hurried.Watch(Position::FromDeal(1));
    ASSERT_TRUE(Settled(hurried));
    EXPECT_EQ(hurried.Answer().State, TSolverState::TooHard);
}

TEST_F(SolverPlayTest, TheAnswerShowsAndBestMoveFlashesTheLinesNextMove) {
    EXPECT_EQ(form.SolverDis->text(), "") << "no game, no answer";
    game.DealGame(1u);
    ASSERT_TRUE(Settled(watch));
    EXPECT_EQ(form.SolverDis->text(), "Winnable");
    const Solver::Move next = watch.Answer().Moves.front();

    // Both cards of the move flash as a hint's do, and it counts as a hint.
    std::vector<const TCard*> flashed;
    const int waits = clock.BusyWaits;
    form.BestMoveMnuClick();
    EXPECT_EQ(game.HintCount, 1);
    EXPECT_EQ(clock.BusyWaits - waits, 10);
    EXPECT_EQ(game.Cell(next.Column, next.Row)->Index, next.Card);

    game.DealGame(359u);
    ASSERT_TRUE(Settled(watch));
    EXPECT_TRUE(form.SolverDis->text().startsWith("Cannot be won")) << form.SolverDis->text().toStdString();
    EXPECT_TRUE(form.SolverDis->text().contains("Why?"));
    // Asked to play or show a line there is none of: said so, with the reason on request.
    QStringList texts;
    AnswerBoxes({"Why?", "OK"}, texts);
    form.SolveMnuClick();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], "This game cannot be won from here, with the cards as they lie.");
    EXPECT_EQ(texts[1], QString::fromStdString(Solver::WhyLost(Position::FromDeal(359))));
    EXPECT_FALSE(form.Solving());
}

TEST_F(SolverPlayTest, SolvePlaysTheLineThroughTheGamesOwnMovesUntilAKeyStopsIt) {
    game.DealGame(1u);
    ASSERT_TRUE(Settled(watch));
    const std::vector<Solver::Move> line = watch.Answer().Moves;
    form.SolveMnuClick();
    // The first move at once, as the player's two clicks: counted, undoable.
    EXPECT_TRUE(form.Solving());
    EXPECT_EQ(game.MoveCount, 1);
    EXPECT_EQ(game.UndoRing.Count(), 2);
    ASSERT_EQ(watch.Answer().Moves.size(), line.size() - 1);
    // The next ones after their pause.
    QElapsedTimer waited;
    waited.start();
    while (game.MoveCount < 3 && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(game.MoveCount, 3);
    // A key stops it, and does nothing else.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_H, Qt::NoModifier, QStringLiteral("h"));
    QApplication::sendEvent(form.Image1, &press);
    EXPECT_FALSE(form.Solving());
    const int moves = game.MoveCount;
    EXPECT_EQ(game.HintCount, 0);
    QTest::qWait(2 * Timing::SolveStepPauseMs);
    EXPECT_EQ(game.MoveCount, moves);
}

TEST_F(SolverPlayTest, WinnableDealsOnlyDealsANumberTheSolverWins) {
    EXPECT_EQ(form.NextDealNumber(), std::nullopt) << "off: the clock's shuffle";
    form.WinnableOnlyMnu->trigger();
    const std::optional<uint32_t> number = form.NextDealNumber();
    ASSERT_TRUE(number);
    EXPECT_GE(*number, 43200000u); // from the clock's number up
    EXPECT_EQ(Solver::Solve(Position::FromDeal(*number)).Answer, Solver::Verdict::Winnable);
    game.DealGame();
    EXPECT_EQ(game.DealNumber, number);
}

TEST_F(SolverPlayTest, TheWinningMoveEndsThePlayingSoTheNamePromptGetsEveryKey) {
    // One King to go home: the line is that one move, and it wins.
    constexpr int Queen = 11, King = 12;
    PileColumns columns;
    columns[0] = {{CardOf(0, King)}};
    PlayPosition(game, {CardOf(0, Queen), CardOf(1, King), CardOf(2, King), CardOf(3, King)}, columns);
    form.PositionChanged();
    ASSERT_TRUE(Settled(watch));
    ASSERT_EQ(watch.Answer().Moves.size(), 1u);

    // The name is typed into the prompt key by key; the table that follows is closed.
    QStringList titles;
    QWidget* answered = nullptr;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == answered)
            return;
        answered = modal;
        titles << modal->windowTitle();
        if (qobject_cast<QInputDialog*>(modal)) {
            auto* edit = modal->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            QTest::keyClicks(edit, QStringLiteral("Ann"));
            QTest::keyClick(edit, Qt::Key_Return);
        } else {
            modal->close();
        }
    });
    answer.start();
    form.SolveMnuClick();
    answer.stop();

    EXPECT_EQ(game.GameState, TGameState::Won);
    EXPECT_FALSE(form.Solving());
    ASSERT_EQ(titles.size(), 2) << titles.join(" / ").toStdString();
    EXPECT_EQ(titles[1], "Top Scores");
    const auto entry = std::find_if(TopScoreTable.begin(), TopScoreTable.end(),
                                    [&](const TScoreInfo& e) { return e.InUse() && e.Score == game.FinalScore; });
    ASSERT_NE(entry, TopScoreTable.end());
    EXPECT_EQ(entry->Name, "Ann");
}

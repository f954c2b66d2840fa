// The end of a won game.
#include "TwGame.h"

#include "celebration/TwWinner.h"
#include "KestrelObjects/TimeSource.h"

#include <exception>

void TGame::WinGame() {
    Protocol.DragActive = false;
    SetClock(false);
    GameActive = false;
    GameState = TGameState::Won;
    Host().PositionChanged();
    FlashText(QStringLiteral("Congratulations!!"), Timing::CongratulationIntervalMs, Timing::CongratulationTotalMs, clWhite, MakeColor(255, 0, 0));
    FinishWin();
}

void TGame::FlashText(const QString& text, int intervalMs, int totalMs, TColor colourA, TColor colourB) {
    Host().SetPanelText(StatusPanel::ErrorDis, text);
    const TColor old = Host().PanelFontColor(StatusPanel::ErrorDis);
    const int times = intervalMs > 0 ? totalMs / (2 * intervalMs) : 0;
    for (int i = 0; i < times; ++i) {
        for (TColor colour : {colourA, colourB}) {
            Host().SetPanelFontColor(StatusPanel::ErrorDis, colour);
            Host().RepaintPanel(StatusPanel::ErrorDis);
            BusyWait(intervalMs);
        }
    }
    Host().SetPanelFontColor(StatusPanel::ErrorDis, old);
    Host().RepaintPanel(StatusPanel::ErrorDis);
}

void TGame::FinishWin() {
    // The prompt and the score with its bonuses are up while the fireworks run; this also fixes
    // FinalScore and FinalTime.
    ShowStatus();
    if (GamePlayed)
        Host().GameEnded(true, FinalScore, FinalTime);
    GamePlayed = false;
    // The fireworks are only the decoration of the win: should they fail, the score is still
    // offered and the deck still gathered before the failure is reported.
    std::exception_ptr failure;
    try {
        RunWinnerSequence(TWinnerStage{
            BoardImage,
            [this] { Host().ShowBoard(BoardImage); },
            [this] { PaintBoard(); },
            Sound,
            [this] { return Host().Terminating(); },
            CelebrationRunning,
            StopRequested,
            // Fitted to the window, the display grows with the cards.
            FitToWindow ? Geometry.Card.height() / 96.0 : 1.0,
        });
    } catch (...) {
        failure = std::current_exception();
    }
    // A name prompt must not pop up while the program is on its way out.
    if (!Host().Terminating())
        Host().AddTopScore(FinalScore, FinalTime);
    GatherDeck();
    PaintBoard();
    if (failure)
        std::rethrow_exception(failure);
}

// The end of a won game.
#include "TwGame.h"

#include "KestrelObjects/TimeSource.h"

namespace {
constexpr int FlashIntervalMs = 70;
constexpr int FlashTotalMs = 1000;
} // namespace

void TGame::WinGame() {
    DragActive = false;
    SetClock(false);
    GameActive = false;
    GameState = TGameState::Won;
    FlashText(QStringLiteral("Congratulations!!"), FlashIntervalMs, FlashTotalMs, clWhite, MakeColor(255, 0, 0));
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
    ShowStatus();
    Host().AddTopScore(FinalScore, FinalTime);
    GatherDeck();
    PaintBoard();
}

// Dealing a new game, gathering the cards onto the deck, and the game clock.
#include "TwGame.h"

#include "Rules.h"

#include "cards/TRandom.h"
#include "KestrelObjects/TimeSource.h"

namespace {
// Clears the flag however the deal ends.
struct DealingGuard {
    bool& flag;
    explicit DealingGuard(bool& f) : flag(f) { flag = true; }
    ~DealingGuard() { flag = false; }
};
} // namespace

void TGame::DealGame(std::optional<uint32_t> number) {
    if (Dealing || CelebrationRunning)
        return;
    if (!number)
        number = host.NextDealNumber();
    AbandonGame();
    DealingGuard guard(Dealing);
    HintCount = 0;
    UndoCount = 0;
    // A card chosen before the deal must not be taken for a move on the new board.
    ResetMoveProtocol();
    SetClock(false);
    if (number)
        Deck->Shuffler.Shuffle(*number);
    else
        number = Deck->Shuffler.Shuffle();
    DealNumber = number;
    host.ShowDealNumber(DealNumber);
    GameState = TGameState::Playing;
    ClearBoard(GameArray);
    GatherDeck();
    Deck->ClearHighlights();
    Sound.PlayEffect(SoundEffect::Deal, true);
    WaitProcessing(Timing::DealMessagesMs);
    for (int row = 0; row < Rules::DealRows; ++row) {
        for (int column = 0; column < ColumnCountMax; ++column) {
            Geometry.ColumnStep[size_t(column)] = Geometry.RowStep;
            if (Rules::IsDealtCell(column, row))
                DealCard(column, row);
        }
    }
    Sound.StopEffects();
    CardCounter = 52;
    MoveCount = 0;
    GameActive = true;
    UndoRing.Clear();
    TakeSnapshot();
    ShowStatus();
    GameCopy = GameArray;
    FindMoves();
    SetClock(true);
    host.PositionChanged();
}

void TGame::DealCard(int column, int row) {
    int32_t index = 0;
    if (!Deck->Shuffler.NextCard(index))
        return;
    TCard& card = Deck->Card(index);
    Cell(column, row) = &card;
    card.FaceUp = card.DealFaceUp = Rules::DealsFaceUp(column, row);
    card.Visible = true;
    const bool even = column % 2 == 0;
    Slide({index}, Geometry.HomeOrigin, CellPosition(column, row), even ? Timing::DealToEvenColumn : Timing::DealToOddColumn);
    WaitProcessing(Timing::DealMessagesMs);
}

void TGame::GatherDeck() {
    Deck->SetAllVisible(false);
    for (auto& card : Deck->Cards) {
        card->FaceUp = false;
        const int y = GameRandom().RandomInt(6);
        const int x = GameRandom().RandomInt(6);
        card->Position = Geometry.HomeOrigin + QPoint(x - 3, y - 3);
    }
    Deck->SetAllVisible(true);
}

void TGame::SetClock(bool on) {
    TStopwatch& clock = host.GameTime();
    if (on) {
        clock.Reset();
        clock.Start();
    } else {
        clock.Stop();
        clock.UpdateDisplay();
    }
    host.SetDisplayTimer(on);
}

void TGame::AbandonGame() {
    if (GameState == TGameState::Playing && GamePlayed)
        host.GameEnded(false, ComputeScore(), host.GameTime().ElapsedMicros());
    GamePlayed = false;
}

void TGame::ConfirmDeal() {
    // Asked while the cards are still going out (the deal lets commands in), a restart would put
    // the old deal back under the one being laid out; a new deal is refused anyway.
    if (Dealing)
        return;
    if (GameState == TGameState::NotDealt || GameState == TGameState::Won) {
        DealGame();
        return;
    }
    const uint8_t result = host.ShowGameMessage(GameMessagePage::Choice, QStringLiteral("Deal?"), QString(),
                                                QStringLiteral("OK"), QStringLiteral("Cancel"));
    if (!(result & GameMessageResult::OkChosen))
        return;
    if (result & GameMessageResult::NewGameChosen)
        DealGame();
    else if (result & GameMessageResult::RestartChosen)
        RestartGame();
}

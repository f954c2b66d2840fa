// The move rules and the two-click move protocol, with dragging.
#include "TwGame.h"

#include "Rules.h"

bool TGame::Refuse(Rules::Refusal refusal) {
    if (refusal == Rules::Refusal::None)
        return false;
    ShowError(Rules::RefusalText(refusal));
    return true;
}

void TGame::ResetMoveProtocol() {
    Protocol.Reset();
    if (Deck) {
        Deck->ClearHighlights();
        // A run dragged when the command came is put down with the rest of the board.
        for (auto& card : Deck->Cards)
            card->Lifted = false;
    }
}

void TGame::BoardMouseDown(bool leftButton, int x, int y) {
    if (!leftButton)
        return;
    BoardClick(x, y);
    PaintBoard();
    const int index = Deck->CardAt({x, y});
    Protocol.PressedCard = index >= 0 ? &Deck->Card(index) : nullptr;
    if (Protocol.PressedCard)
        Protocol.PressedPosition = Protocol.PressedCard->Position;
}

void TGame::BoardMouseMove(int x, int y) {
    if (Protocol.DragActive) {
        if (Protocol.DragSteps == 0)
            Sound.PlayEffect(SoundEffect::StartMove);
        Deck->MoveCardsTo({x, y}, Protocol.DragList, true);
        PaintBoard();
        ++Protocol.DragSteps;
        return;
    }
    const int index = Deck->CardAt({x, y});
    QString text = QStringLiteral("None");
    if (index >= 0 && Deck->Card(index).Visible)
        text = Deck->Card(index).FaceUp ? Deck->Card(index).Name : QStringLiteral("Down");
    Host().SetPanelText(StatusPanel::CurCardDis, text);
}

void TGame::BoardMouseUp(int x, int y) {
    if (!Protocol.DragActive)
        return;
    Deck->MoveCardsTo({x, y}, Protocol.DragList, false);
    if (Protocol.DragSteps > 0 && Protocol.PressedCard && !Protocol.DragList.empty()) {
        const std::vector<int> run = Protocol.DragList;
        const QPoint dropped = Deck->Card(run.front()).Position;
        BoardClick(x, y);
        if (!Protocol.LastMoveMade)
            Slide(run, dropped, Protocol.PressedPosition, Timing::DropBack);
    }
    PaintBoard();
    Protocol.DragActive = false;
}

void TGame::BoardClick(int x, int y) {
    // While the cards are going out, the board is not yet a game to play on.
    if (Dealing)
        return;
    if (!GameActive) {
        if (Geometry.DeckRect.Contains({x, y}))
            DealGame();
        ShowStatus();
        return;
    }
    if (Protocol.ClickPhase == 0) {
        for (BoardSlot& slot : Protocol.Slots)
            if (slot.Card)
                slot.Card->Highlighted = false;
    }
    BoardSlot& slot = Protocol.Slots[size_t(Protocol.ClickPhase)];
    slot = HitTest(x, y);
    if (slot.Card && slot.Card->FaceUp) {
        slot.Card->Highlighted = true;
        Host().SetPanelText(StatusPanel::CardDis, slot.Card->Name);
    }
    if (slot.Column == -1 && slot.Row == -1) {
        // The choice is forgotten, so nothing stays marked as chosen.
        Protocol.ClickPhase = 0;
        Deck->ClearHighlights();
        Refuse(Rules::Refusal::NotAValidCard);
        Protocol.LastMoveMade = false;
        ShowStatus();
        return;
    }
    if (Protocol.ClickPhase == 0)
        SelectSource();
    else
        PlaceRun();
    if (CardCounter <= 0)
        WinGame();
    ShowStatus();
}

void TGame::SelectSource() {
    const BoardSlot& source = Protocol.SourceSlot();
    if (Refuse(Rules::CheckChoice(Board(), source.Column, source.Row)))
        return;
    Protocol.ClickPhase = 1;
    Sound.PlayEffect(SoundEffect::PlayCard);
    Protocol.DragActive = true;
    Protocol.DragSteps = 0;
    Protocol.DragList.clear();
    for (int row = source.Row; row < RowCountMax && Cell(source.Column, row); ++row)
        Protocol.DragList.push_back(Cell(source.Column, row)->Index);
}

void TGame::PlaceRun() {
    const BoardSlot source = Protocol.SourceSlot();
    const BoardSlot target = Protocol.TargetSlot();
    Protocol.LastMoveMade = target.Column == -1 ? MoveToPocket(source, target) : MoveToColumn(source, target);
    if (Protocol.LastMoveMade)
        ShowError(QString());
    TCard* last = Cell(source.Column, BottomRow(source.Column));
    if (last && !last->FaceUp)
        Flip(*last);
    LayoutBoard();
    Protocol.ClickPhase = 0;
    Deck->ClearHighlights();
    CheckBlocked();
    if (Protocol.LastMoveMade)
        Host().PositionChanged();
}

bool TGame::MoveToColumn(const BoardSlot& source, BoardSlot target) {
    target.Row = BottomRow(target.Column);
    target.Card = Cell(target.Column, target.Row);
    if (target.Card && target.Column == source.Column) {
        // Clicking a run's own column sends it home.
        const int pocket = PocketFor(*target.Card);
        if (pocket < 0)
            return !Refuse(Rules::Refusal::SameColumn);
        return MoveToPocket(source, BoardSlot{-1, pocket, Pocket(pocket)});
    }
    if (Refuse(Rules::CheckColumnMove(Board(), source.Column, source.Row, target.Column)))
        return false;
    if (target.Card)
        target.Row += 1;
    TakeSnapshot();
    Sound.PlayEffect(SoundEffect::MoveTo);
    ShiftRun(source, target);
    return true;
}

void TGame::ShiftRun(const BoardSlot& source, const BoardSlot& target) {
    Slide(Protocol.DragList, source.Card->Position, CellPosition(target.Column, target.Row), Timing::MoveToColumn);
    for (int i = 0; source.Row + i < RowCountMax && Cell(source.Column, source.Row + i); ++i) {
        Cell(target.Column, target.Row + i) = Cell(source.Column, source.Row + i);
        Cell(source.Column, source.Row + i) = nullptr;
    }
    MoveCount = CountUp(MoveCount);
    GamePlayed = true;
}

bool TGame::MoveToPocket(const BoardSlot& source, BoardSlot target) {
    if (Refuse(Rules::CheckHomeMove(Board(), source.Column, source.Row, target.Row)))
        return false;
    for (int row = BottomRow(source.Column); row >= source.Row; --row) {
        MoveCardHome(*Cell(source.Column, row), source.Column, row, target.Row);
        MoveCount = CountUp(MoveCount);
    }
    return true;
}

bool TGame::RunFitsHome(int column, int first, int last) const {
    return Rules::RunFitsHome(Board(), column, first, last);
}

void TGame::MoveCardHome(TCard& card, int column, int row, int pocket) {
    TakeSnapshot();
    Sound.PlayEffect(SoundEffect::MoveTo);
    Slide({card.Index}, card.Position, PocketPosition(pocket), Timing::MoveHome);
    Sound.PlayEffect(SoundEffect::MoveHome);
    Pocket(pocket) = &card;
    Cell(column, row) = nullptr;
    CardCounter -= 1;
    GamePlayed = true;
}

int TGame::PocketFor(const TCard& card) const { return Rules::PocketFor(Board(), card.Index); }

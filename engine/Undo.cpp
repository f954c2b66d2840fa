// Undo from a ring of whole-board snapshots, redo of undone moves, and restart of the deal.
#include "TwGame.h"

namespace {
int RecordedCount(const BoardSnapshot& record, int column) {
    for (int row = 0; row < RowCountMax; ++row)
        if (!record.Pile[size_t(column * RowCountMax + row)])
            return row;
    return RowCountMax;
}

// The one move that leads from the board before it to the board after it: the first pocket
// whose top card differs (a card went home), the column that lost cards and the one that got
// them, with how many.
struct MoveBetween {
    int Pocket = -1, Source = -1, Target = -1, Moved = 0;

    MoveBetween(const BoardSnapshot& after, const BoardSnapshot& before) {
        for (int p = 0; p < HomeCount && Pocket < 0; ++p)
            if (after.Home[size_t(p)] != before.Home[size_t(p)])
                Pocket = p;
        for (int c = 0; c < ColumnCountMax && (Source < 0 || Target < 0); ++c) {
            const int now = RecordedCount(after, c), then = RecordedCount(before, c);
            if (now < then && Source < 0)
                Source = c;
            else if (now > then && Target < 0) {
                Target = c;
                Moved = now - then;
            }
        }
    }
    // Nothing that a move would have done.
    bool None() const { return Source < 0 || (Pocket < 0 && Target < 0); }

    // Whether the boards differ by this one move as play makes it: the cards leave the foot of
    // their column and lie, in their order, on the target column or the pocket, and nothing
    // else changes but the face of the card they uncover. Records of this program's own play
    // always do; a kept game's history read from a file need not, and is then not animated.
    bool Made(const BoardSnapshot& after, const BoardSnapshot& before) const {
        if (None() || (Pocket >= 0) == (Target >= 0))
            return false;
        const int moved = Pocket >= 0 ? 1 : Moved;
        const int from = RecordedCount(before, Source);
        if (moved > from || RecordedCount(after, Source) != from - moved)
            return false;
        for (int i = 0; i < moved; ++i) {
            const TCard* card = before.Pile[Cell(Source, from - moved + i)];
            const TCard* landed = Pocket >= 0 ? after.Home[size_t(Pocket)]
                                              : after.Pile[Cell(Target, RecordedCount(before, Target) + i)];
            if (card != landed)
                return false;
        }
        for (int p = 0; p < HomeCount; ++p)
            if (p != Pocket && after.Home[size_t(p)] != before.Home[size_t(p)])
                return false;
        for (int c = 0; c < ColumnCountMax; ++c)
            for (int row = 0; row < RowCountMax && c != Source && c != Target; ++row)
                if (after.Pile[Cell(c, row)] != before.Pile[Cell(c, row)])
                    return false;
        return true;
    }

private:
    static size_t Cell(int column, int row) { return size_t(column * RowCountMax + row); }
};
} // namespace

BoardSnapshot TGame::Snapshot() const {
    BoardSnapshot record;
    record.CardCounter = CardCounter;
    for (int p = 0; p < HomeCount; ++p)
        record.Home[size_t(p)] = GameArray[size_t(p)];
    for (int i = 0; i < PileSize; ++i) {
        TCard* card = GameArray[size_t(HomeCount + i)];
        record.Pile[size_t(i)] = card;
        record.FaceUp[size_t(i)] = card && card->FaceUp;
    }
    return record;
}

void TGame::Restore(const BoardSnapshot& record) {
    CardCounter = record.CardCounter;
    for (int p = 0; p < HomeCount; ++p)
        Pocket(p) = record.Home[size_t(p)];
    for (int i = 0; i < PileSize; ++i) {
        TCard* card = record.Pile[size_t(i)];
        GameArray[size_t(HomeCount + i)] = card;
        if (card)
            card->FaceUp = record.FaceUp[size_t(i)];
    }
}

void TGame::TakeSnapshot() {
    UndoRing.Push() = Snapshot();
    // A new move, deal, restart or load: what was undone before can no longer come back.
    RedoList.clear();
}

void TGame::UndoMove() {
    // The cards going out of a deal are no move to take back.
    if (Dealing)
        return;
    Sound.PlayEffect(SoundEffect::Undo);
    // Only a game in play can be taken back: a won game stays won and shown as it ended.
    if (!GameActive)
        return;
    AnimateUndo();
    if (UndoRing.Empty())
        return;
    const BoardSnapshot undone = Snapshot();
    Restore(UndoRing.Pop());
    // The move taken back can be made again; taking back the starting position made none.
    if (!MoveBetween(undone, Snapshot()).None())
        RedoList.push_back(undone);
    // A card chosen before the undo may no longer lie where it was chosen.
    ResetMoveProtocol();
    LayoutBoard();
    PaintBoard();
    UndoCount = CountUp(UndoCount);
    ShowStatus();
    FindMoves();
    host.PositionChanged();
}

void TGame::AnimateUndo() {
    if (UndoRing.Empty())
        return;
    const BoardSnapshot& record = UndoRing.Newest();
    const BoardSnapshot now = Snapshot();
    const MoveBetween move(now, record);
    if (!move.Made(now, record))
        return;
    std::vector<int> cards;
    QPoint start;
    if (move.Pocket >= 0) {
        cards.push_back(Pocket(move.Pocket)->Index);
        start = PocketPosition(move.Pocket);
    } else {
        const int count = ColumnCount(move.Target);
        for (int row = count - move.Moved; row < count; ++row)
            cards.push_back(Cell(move.Target, row)->Index);
        start = CellPosition(move.Target, count - move.Moved);
    }
    const int bottom = BottomRow(move.Source);
    TCard* last = Cell(move.Source, bottom);
    if (bottom > 0 && last && last->FaceUp != bool(record.FaceUp[size_t(move.Source * RowCountMax + bottom)]))
        Flip(*last);
    Slide(cards, start, CellPosition(move.Source, ColumnCount(move.Source)), Timing::UndoSlide);
}

void TGame::RedoMove() {
    if (Dealing || !GameActive || RedoList.empty())
        return;
    const BoardSnapshot after = RedoList.back();
    RedoList.pop_back();
    const BoardSnapshot before = Snapshot();
    // Recorded as the move itself was, without forgetting the moves still to redo.
    UndoRing.Push() = before;
    ResetMoveProtocol();
    if (const MoveBetween move(after, before); move.Made(after, before))
        AnimateRedo(move.Source, move.Pocket, move.Target, move.Pocket >= 0 ? 1 : move.Moved, after);
    else
        Restore(after);
    MoveCount = CountUp(MoveCount);
    GamePlayed = true;
    LayoutBoard();
    PaintBoard();
    CheckBlocked();
    host.PositionChanged();
    if (CardCounter <= 0)
        WinGame();
    ShowStatus();
}

void TGame::AnimateRedo(int source, int pocket, int target, int moved, const BoardSnapshot& after) {
    const int sourceRow = ColumnCount(source) - moved;
    std::vector<int> cards;
    for (int row = sourceRow; row < ColumnCount(source); ++row)
        cards.push_back(Cell(source, row)->Index);
    Sound.PlayEffect(SoundEffect::MoveTo);
    if (pocket >= 0) {
        Slide(cards, Cell(source, sourceRow)->Position, PocketPosition(pocket), Timing::MoveHome);
        Sound.PlayEffect(SoundEffect::MoveHome);
    } else {
        Slide(cards, Cell(source, sourceRow)->Position, CellPosition(target, ColumnCount(target)),
              Timing::MoveToColumn);
    }
    // The card the move turned up is turned up again before the eyes of the player.
    TCard* uncovered = sourceRow > 0 ? Cell(source, sourceRow - 1) : nullptr;
    const bool wasDown = uncovered && !uncovered->FaceUp;
    Restore(after);
    if (wasDown && uncovered->FaceUp) {
        uncovered->FaceUp = false;
        LayoutBoard();
        Flip(*uncovered);
    }
}

void TGame::RestartGame() {
    SetClock(false);
    GameArray = GameCopy;
    for (auto& card : Deck->Cards)
        card->FaceUp = card->DealFaceUp;
    // A card chosen before the restart must not be moved by the next click.
    ResetMoveProtocol();
    LayoutBoard();
    PaintBoard();
    // Cards that the starting position already has home (possible in a loaded game) count.
    CardCounter = 52;
    for (int p = 0; p < HomeCount; ++p)
        if (const TCard* top = Pocket(p))
            CardCounter -= top->Rank + 1;
    MoveCount = 0;
    UndoRing.Clear();
    TakeSnapshot();
    ShowStatus();
    FindMoves();
    SetClock(true);
    host.PositionChanged();
}

void TGame::ConfirmRestart() {
    if (Dealing)
        return;
    if (!GameActive) {
        Host().ShowGameMessage(GameMessagePage::Message, QStringLiteral("Restart"),
                               QStringLiteral("No Game To Restart"), QStringLiteral("OK"), QString());
        return;
    }
    const uint8_t result = Host().ShowGameMessage(GameMessagePage::Message, QStringLiteral("Restart"),
                                                  QStringLiteral("Restart Game?"), QStringLiteral("Yes"),
                                                  QStringLiteral("No"));
    if (result & GameMessageResult::OkChosen)
        RestartGame();
}

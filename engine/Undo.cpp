// Undo from a ring of whole-board snapshots, and restart of the deal.
#include "TwGame.h"

namespace {
int RecordedCount(const BoardSnapshot& record, int column) {
    for (int row = 0; row < RowCountMax; ++row)
        if (!record.Pile[size_t(column * RowCountMax + row)])
            return row;
    return RowCountMax;
}
} // namespace

void TGame::TakeSnapshot() {
    BoardSnapshot& record = UndoRing.Push();
    record.CardCounter = CardCounter;
    for (int p = 0; p < HomeCount; ++p)
        record.Home[size_t(p)] = Pocket(p);
    for (int i = 0; i < PileSize; ++i) {
        TCard* card = GameArray[size_t(HomeCount + i)];
        record.Pile[size_t(i)] = card;
        record.FaceUp[size_t(i)] = card && card->FaceUp;
    }
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
    const BoardSnapshot& record = UndoRing.Pop();
    CardCounter = record.CardCounter;
    for (int p = 0; p < HomeCount; ++p)
        Pocket(p) = record.Home[size_t(p)];
    for (int i = 0; i < PileSize; ++i) {
        TCard* card = record.Pile[size_t(i)];
        GameArray[size_t(HomeCount + i)] = card;
        if (card)
            card->FaceUp = record.FaceUp[size_t(i)];
    }
    // A card chosen before the undo may no longer lie where it was chosen.
    ResetMoveProtocol();
    LayoutBoard();
    PaintBoard();
    UndoCount = CountUp(UndoCount);
    ShowStatus();
    FindMoves();
}

void TGame::AnimateUndo() {
    if (UndoRing.Empty())
        return;
    const BoardSnapshot& record = UndoRing.Newest();
    int pocket = -1;
    for (int p = 0; p < HomeCount && pocket < 0; ++p)
        if (Pocket(p) != record.Home[size_t(p)])
            pocket = p;
    int source = -1, target = -1, moved = 0;
    for (int c = 0; c < ColumnCountMax && (source < 0 || target < 0); ++c) {
        const int now = ColumnCount(c), then = RecordedCount(record, c);
        if (now < then && source < 0)
            source = c;
        else if (now > then && target < 0) {
            target = c;
            moved = now - then;
        }
    }
    if (source < 0 || (pocket < 0 && target < 0))
        return;
    std::vector<int> cards;
    QPoint start;
    if (pocket >= 0) {
        cards.push_back(Pocket(pocket)->Index);
        start = PocketPosition(pocket);
    } else {
        const int count = ColumnCount(target);
        for (int row = count - moved; row < count; ++row)
            cards.push_back(Cell(target, row)->Index);
        start = CellPosition(target, count - moved);
    }
    const int bottom = BottomRow(source);
    TCard* last = Cell(source, bottom);
    if (bottom > 0 && last && last->FaceUp != bool(record.FaceUp[size_t(source * RowCountMax + bottom)]))
        Flip(*last);
    Slide(cards, start, CellPosition(source, ColumnCount(source)), Timing::UndoSlide);
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

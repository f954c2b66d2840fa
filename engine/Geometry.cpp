// Where pockets, columns and cards lie for each card size, painting, and hit-testing.
#include "TwGame.h"

#include "KestrelObjects/BitmapHelpers.h"

#include <algorithm>

void TGame::SetCardSize(bool small) {
    host.SetSmallCardsCheck(small);
    Deck->SetLargeCards(!small);
    Geometry = TBoardGeometry::ForCards(QSize(Deck->CardWidth(), Deck->CardHeight()), small, BoardImage.height());
    if (GameState == TGameState::NotDealt)
        GatherDeck();
    LayoutBoard();
    PaintBoard();
}

void TGame::LayoutBoard() {
    // Each pocket shows its suit from the Ace up to the top card, the top card uppermost.
    for (int p = 0; p < HomeCount; ++p) {
        const TCard* top = Pocket(p);
        if (!top)
            continue;
        const int first = top->Index - top->Index % 13;
        for (int i = first; i <= top->Index; ++i)
            Deck->Card(i).Visible = false;
        for (int i = first; i <= top->Index; ++i) {
            TCard& card = Deck->Card(i);
            card.Position = PocketPosition(p);
            card.Visible = true;
            Deck->Restack(card);
        }
    }
    // A long column closes up so that it fits the board.
    Geometry.BoardHeight = BoardImage.height();
    std::array<int, ColumnCountMax> bottomRows{};
    for (int c = 0; c < ColumnCountMax; ++c)
        bottomRows[size_t(c)] = BottomRow(c);
    Geometry.FitColumns(bottomRows);
    for (int c = 0; c < ColumnCountMax; ++c) {
        for (int row = 0; row < RowCountMax; ++row)
            if (TCard* card = Cell(c, row))
                card->Visible = false;
        for (int row = 0; row < RowCountMax && Cell(c, row); ++row) {
            TCard& card = *Cell(c, row);
            card.Position = CellPosition(c, row);
            card.Visible = true;
            Deck->Restack(card);
        }
    }
}

void TGame::PaintBoard() {
    if (!DrawBoard)
        return;
    if (!BoardImage.isNull()) {
        FillBitmap(BoardImage, clTableGreen);
        QPainter canvas(&BoardImage);
        DrawSlots(canvas);
        Deck->DrawAll(canvas);
    }
    host.ShowBoard(BoardImage);
}

void TGame::DrawSlots(QPainter& canvas) const {
    for (int p = 0; p < HomeCount; ++p) {
        const QPoint at = PocketPosition(p) - QPoint(1, 1);
        Deck->DrawSlot(canvas, at.x(), at.y());
    }
    for (int c = 0; c < ColumnCountMax; ++c) {
        const QPoint at = CellPosition(c, 0) - QPoint(1, 1);
        Deck->DrawSlot(canvas, at.x(), at.y());
    }
}

BoardSlot TGame::HitTest(int x, int y) const {
    BoardSlot slot = Geometry.HitTest({x, y}, Board());
    if (slot.Column >= 0)
        slot.Card = slot.Row < RowCountMax ? Cell(slot.Column, slot.Row) : nullptr;
    else if (slot.Row >= 0)
        slot.Card = GameArray[size_t(slot.Row)];
    return slot;
}

void TGame::BoardResize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (BoardImage.width() != width || BoardImage.height() != height)
        BoardImage = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    LayoutBoard();
    PaintBoard();
}

RepaintProc TGame::Repaint() {
    return [this](bool redraw) {
        if (redraw)
            PaintBoard();
        else
            host.ShowBoard(BoardImage);
    };
}

void TGame::Slide(const std::vector<int>& cards, QPoint from, QPoint to, Timing::Animation timing) {
    Deck->AnimateMove(from, to, timing.Steps, timing.DelayMs, cards, Repaint());
}

void TGame::Flip(TCard& card) {
    if (DrawBoard)
        Deck->FlipCard(card, BoardImage, Timing::Flip.Steps, Timing::Flip.DelayMs, Repaint());
    else
        card.FaceUp = !card.FaceUp;
}

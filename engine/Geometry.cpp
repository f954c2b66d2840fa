// Where pockets, columns and cards lie for each card size, painting, and hit-testing.
#include "TwGame.h"

#include "KestrelObjects/BitmapHelpers.h"

#include <algorithm>

namespace {
struct SizeConstants {
    int margin, columnGap, pocketGap, rowStep;
};
constexpr SizeConstants SmallConstants{23, 7, 12, 23};
constexpr SizeConstants LargeConstants{30, 9, 16, 30};
} // namespace

QPoint TGame::PocketPosition(int pocket) const {
    return {HomeOrigin.x() + (pocket / 4) * (Deck->CardWidth() + ColumnGap),
            HomeOrigin.y() + (pocket % 4) * (Deck->CardHeight() + PocketGap)};
}

QPoint TGame::CellPosition(int column, int row) const {
    return {PileOrigin.x() + column * (Deck->CardWidth() + ColumnGap), PileOrigin.y() + row * ColumnStep[size_t(column)]};
}

void TGame::SetCardSize(bool small) {
    host.SetSmallCardsCheck(small);
    Deck->SetLargeCards(!small);
    const SizeConstants& k = small ? SmallConstants : LargeConstants;
    BoardMargin = k.margin;
    ColumnGap = k.columnGap;
    PocketGap = k.pocketGap;
    RowStep = k.rowStep;
    ColumnStep.fill(RowStep);
    HomeOrigin = QPoint(BoardMargin, BoardMargin);
    PileOrigin = QPoint(Deck->CardWidth() + ColumnGap + BoardMargin, BoardMargin);
    DeckRect = TRect::FromSize(HomeOrigin, Deck->CardSize());
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
    // A long column closes up so that it fits the board. However low the board, rows stay at
    // least a pixel apart, so the hit test never divides by zero.
    const int avail = BoardImage.height() - PileOrigin.y() - Deck->CardHeight() - 10;
    for (int c = 0; c < ColumnCountMax; ++c) {
        const int n = BottomRow(c) + 1;
        ColumnStep[size_t(c)] = avail >= n * RowStep ? RowStep : std::max(1, avail / n);
    }
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
    BoardSlot slot;
    const int w = Deck->CardWidth(), h = Deck->CardHeight();
    const int pitch = w + ColumnGap;
    const TRect pile{PileOrigin.x(), PileOrigin.y(), PileOrigin.x() + ColumnCountMax * pitch - 1, BoardImage.height()};
    if (pile.Contains({x, y})) {
        const int d = x - PileOrigin.x();
        const int g = d / pitch;
        if (d < g * pitch + w) {
            const int step = ColumnStep[size_t(g)];
            slot.Column = g;
            slot.Row = (y - PileOrigin.y()) / step;
            const bool empty = slot.Row >= RowCountMax || !Cell(g, slot.Row);
            if (slot.Row > 0 && empty) {
                const int b = BottomRow(g);
                if (y - PileOrigin.y() < h + b * step)
                    slot.Row = b;
            }
            slot.Card = slot.Row < RowCountMax ? Cell(g, slot.Row) : nullptr;
        }
    }
    const int pocket = HitPocket(x, y);
    if (pocket >= 0) {
        slot.Row = pocket;
        slot.Card = GameArray[size_t(pocket)];
    }
    return slot;
}

int TGame::HitPocket(int x, int y) const {
    for (int p = 0; p < HomeCount; ++p)
        if (TRect::FromSize(PocketPosition(p), Deck->CardSize()).Contains({x, y}))
            return p;
    return -1;
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

// Where pockets, columns and cards lie for each card size, painting, and hit-testing.
#include "TwGame.h"

#include "cards/TCardPictures.h"
#include "KestrelObjects/BitmapHelpers.h"

#include <algorithm>

void TGame::SetCardSize(bool small) {
    host.SetSmallCardsCheck(small);
    PlaceCards(small);
    if (GameState == TGameState::NotDealt)
        GatherDeck();
    LayoutBoard();
    PaintBoard();
}

void TGame::SetFitToWindow(bool on) {
    FitToWindow = on;
    SetCardSize(SmallCards);
}

void TGame::PlaceCards(bool small) {
    // The set chosen stays for when Fit to Window goes off.
    Deck->LargeCards = !small;
    if (FitToWindow) {
        Geometry = TBoardGeometry::FitBoard(BoardPixels());
        Deck->SetPictureSize(Geometry.Card, PixelRatio());
        return;
    }
    Deck->SetPictureSize(TDeck::SetCardSize(!small), PixelRatio());
    Geometry = TBoardGeometry::ForCards(QSize(Deck->CardWidth(), Deck->CardHeight()), small, BoardPixels().height());
}

QSize TGame::BoardPixels() const {
    const QSizeF size = BoardImage.deviceIndependentSize();
    return QSize(qRound(size.width()), qRound(size.height()));
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
    Geometry.BoardHeight = BoardPixels().height();
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
        // The whole board is drawn afresh, but work that the picture would not show is left
        // out: the table is filled only where the last paint drew something (unless anything
        // else has drawn on the board since), and nothing is drawn where a card will cover it.
        const QRect whole(QPoint(0, 0), BoardPixels());
        const TDeck::Cover cards = Deck->CardCover();
        const QRegion table = (BoardImage.cacheKey() == paintedKey ? drawnOverTable : QRegion(whole)) - cards.Opaque;
        QRegion slotArea;
        {
            QPainter canvas(&BoardImage);
            canvas.setCompositionMode(QPainter::CompositionMode_Source);
            for (const QRect& r : table)
                canvas.fillRect(r, ToQColor(clTableGreen));
            canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
            slotArea = DrawSlots(canvas, cards.Opaque);
            Deck->DrawAll(canvas);
        }
        drawnOverTable = (cards.Touched | slotArea) & whole;
        paintedKey = BoardImage.cacheKey();
    }
    host.ShowBoard(BoardImage);
}

QRegion TGame::DrawSlots(QPainter& canvas, const QRegion& covered) const {
    QRegion drawn;
    auto draw = [&](QPoint at) {
        const QRect r(at, LogicalSize(Deck->SlotImage));
        if (covered.intersects(r))
            DrawClipped(canvas, QRegion(r) - covered, [&] { Deck->DrawSlot(canvas, at.x(), at.y()); });
        else
            Deck->DrawSlot(canvas, at.x(), at.y());
        drawn += r;
    };
    for (int p = 0; p < HomeCount; ++p)
        draw(PocketPosition(p) - QPoint(1, 1));
    for (int c = 0; c < ColumnCountMax; ++c)
        draw(CellPosition(c, 0) - QPoint(1, 1));
    return drawn;
}

BoardSlot TGame::HitTest(int x, int y) const {
    BoardSlot slot = Geometry.HitTest({x, y}, Board());
    if (slot.Column >= 0)
        slot.Card = slot.Row < RowCountMax ? Cell(slot.Column, slot.Row) : nullptr;
    else if (slot.Row >= 0)
        slot.Card = GameArray[size_t(slot.Row)];
    return slot;
}

void TGame::BoardResize(int width, int height, qreal ratio) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    ratio = ratio > 0 ? ratio : 1.0;
    const bool newRatio = ratio != PixelRatio();
    if (BoardPixels() != QSize(width, height) || newRatio || BoardImage.isNull()) {
        BoardImage = QImage(qRound(width * ratio), qRound(height * ratio), QImage::Format_ARGB32_Premultiplied);
        BoardImage.setDevicePixelRatio(ratio);
    }
    if (FitToWindow || newRatio) {
        // The deck keeps its untidy stack, moved with the first pocket.
        const QPoint home = Geometry.HomeOrigin;
        PlaceCards(SmallCards);
        if (GameState == TGameState::NotDealt)
            for (auto& card : Deck->Cards)
                card->Position += Geometry.HomeOrigin - home;
    }
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

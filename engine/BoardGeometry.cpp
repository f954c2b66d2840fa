#include "BoardGeometry.h"

#include <algorithm>

namespace {
struct Spacing {
    int margin, columnGap, pocketGap, rowStep;
};
constexpr Spacing SmallSpacing{23, 7, 12, 23};
constexpr Spacing LargeSpacing{30, 9, 16, 30};
} // namespace

TBoardGeometry TBoardGeometry::ForCards(QSize card, bool small, int boardHeight) {
    const Spacing& k = small ? SmallSpacing : LargeSpacing;
    TBoardGeometry g;
    g.Card = card;
    g.BoardMargin = k.margin;
    g.ColumnGap = k.columnGap;
    g.PocketGap = k.pocketGap;
    g.RowStep = k.rowStep;
    g.ColumnStep.fill(g.RowStep);
    g.HomeOrigin = QPoint(g.BoardMargin, g.BoardMargin);
    g.PileOrigin = QPoint(card.width() + g.ColumnGap + g.BoardMargin, g.BoardMargin);
    g.DeckRect = TRect::FromSize(g.HomeOrigin, QPoint(card.width(), card.height()));
    g.BoardHeight = boardHeight;
    return g;
}

QPoint TBoardGeometry::PocketPosition(int pocket) const {
    return {HomeOrigin.x() + (pocket / 4) * Pitch(), HomeOrigin.y() + (pocket % 4) * (Card.height() + PocketGap)};
}

QPoint TBoardGeometry::CellPosition(int column, int row) const {
    return {PileOrigin.x() + column * Pitch(), PileOrigin.y() + row * ColumnStep[size_t(column)]};
}

void TBoardGeometry::FitColumns(const std::array<int, ColumnCountMax>& bottomRows) {
    // However low the board, rows stay at least a pixel apart, so the hit test never divides by
    // zero.
    const int avail = BoardHeight - PileOrigin.y() - Card.height() - 10;
    for (int c = 0; c < ColumnCountMax; ++c) {
        const int n = bottomRows[size_t(c)] + 1;
        ColumnStep[size_t(c)] = avail >= n * RowStep ? RowStep : std::max(1, avail / n);
    }
}

int TBoardGeometry::HitPocket(QPoint p) const {
    for (int pocket = 0; pocket < HomeCount; ++pocket)
        if (TRect::FromSize(PocketPosition(pocket), QPoint(Card.width(), Card.height())).Contains(p))
            return pocket;
    return -1;
}

int TBoardGeometry::HitColumn(QPoint p) const {
    const TRect pile{PileOrigin.x(), PileOrigin.y(), PileOrigin.x() + ColumnCountMax * Pitch() - 1, BoardHeight};
    if (!pile.Contains(p))
        return -1;
    const int d = p.x() - PileOrigin.x();
    const int column = d / Pitch();
    return d < column * Pitch() + Card.width() ? column : -1;
}

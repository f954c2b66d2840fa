#include "BoardGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
struct Spacing {
    int width, height, margin, columnGap, pocketGap, rowStep, bottomGap;
};
constexpr Spacing SmallSpacing{54, 72, 23, 7, 12, 23, 10};
constexpr Spacing LargeSpacing{71, 96, 30, 9, 16, 30, 10};

// The spacing for cards of any height: each value of the large layout in proportion to the
// height, and between the two sets the value in between theirs, so that both sets come out
// exactly.
Spacing SpacingFor(int height) {
    if (height == SmallSpacing.height)
        return SmallSpacing;
    auto value = [height](int small, int large) {
        if (height >= LargeSpacing.height)
            return int(std::lround(double(large) * height / LargeSpacing.height));
        const double t = double(height - SmallSpacing.height) / (LargeSpacing.height - SmallSpacing.height);
        return int(std::lround(small + t * (large - small)));
    };
    const Spacing& s = SmallSpacing;
    const Spacing& l = LargeSpacing;
    return {value(s.width, l.width),         height,
            value(s.margin, l.margin),       value(s.columnGap, l.columnGap),
            value(s.pocketGap, l.pocketGap), value(s.rowStep, l.rowStep),
            value(s.bottomGap, l.bottomGap)};
}

TBoardGeometry Layout(const Spacing& k, int boardHeight, int left) {
    TBoardGeometry g;
    g.Card = QSize(k.width, k.height);
    g.BoardMargin = k.margin;
    g.ColumnGap = k.columnGap;
    g.PocketGap = k.pocketGap;
    g.RowStep = k.rowStep;
    g.BottomGap = k.bottomGap;
    g.ColumnStep.fill(g.RowStep);
    g.HomeOrigin = QPoint(left + g.BoardMargin, g.BoardMargin);
    g.PileOrigin = QPoint(left + k.width + g.ColumnGap + g.BoardMargin, g.BoardMargin);
    g.DeckRect = TRect::FromSize(g.HomeOrigin, QPoint(k.width, k.height));
    g.BoardHeight = boardHeight;
    return g;
}
} // namespace

TBoardGeometry TBoardGeometry::ForCards(QSize card, bool small, int boardHeight) {
    Spacing k = small ? SmallSpacing : LargeSpacing;
    k.width = card.width();
    k.height = card.height();
    return Layout(k, boardHeight, 0);
}

TBoardGeometry TBoardGeometry::ForCardHeight(int cardHeight, int boardHeight, int left) {
    return Layout(SpacingFor(cardHeight), boardHeight, left);
}

TBoardGeometry TBoardGeometry::FitBoard(QSize board) {
    for (int height = LargestFitHeight; height > SmallestFitHeight; --height) {
        const TBoardGeometry g = ForCardHeight(height, board.height());
        if (g.LayoutWidth() <= board.width() && g.LayoutHeight() <= board.height())
            return ForCardHeight(height, board.height(), (board.width() - g.LayoutWidth()) / 2);
    }
    const TBoardGeometry small = ForCardHeight(SmallestFitHeight, board.height());
    return ForCardHeight(SmallestFitHeight, board.height(), std::max(0, (board.width() - small.LayoutWidth()) / 2));
}

int TBoardGeometry::LayoutWidth() const {
    // Margin, the pockets' column, eight columns with the gaps between them, margin.
    return 2 * BoardMargin + Card.width() + ColumnCountMax * Pitch();
}

int TBoardGeometry::LayoutHeight() const {
    // The four pockets between the margins, and a column of 13 cards that keeps its RowStep.
    const int pockets = 2 * BoardMargin + HomeCount * Card.height() + (HomeCount - 1) * PocketGap;
    const int column = BoardMargin + Card.height() + BottomGap + 13 * RowStep;
    return std::max(pockets, column);
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
    const int avail = BoardHeight - PileOrigin.y() - Card.height() - BottomGap;
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

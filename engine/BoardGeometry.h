#pragma once

#include "Board.h"
#include "Rules.h"
#include "KestrelObjects/IntVector.h"

#include <QPoint>
#include <QSize>
#include <array>

// Where everything lies on the board image, in board pixels: the four pockets in one column at
// the left, the eight columns to their right, and the deck over the first pocket. A value: it
// is made for one card size and board height, asked where a pocket or a cell lies, and which
// place a point hits.
//
// The two card sets have their own layouts. Any other card size (Fit Cards to Window) has the
// large layout's margins, gaps and steps scaled with the card's height, and between the two
// sets the values in between theirs.
struct TBoardGeometry {
    QSize Card{71, 96};
    int BoardMargin = 30;
    int ColumnGap = 9;
    int PocketGap = 16;
    int RowStep = 30;
    // Room kept below a column's last card when long columns close up.
    int BottomGap = 10;
    // Distance between the rows of each column: RowStep, or less for a column too long for the
    // board (FitColumns).
    std::array<int, ColumnCountMax> ColumnStep{30, 30, 30, 30, 30, 30, 30, 30};
    QPoint HomeOrigin{30, 30};
    QPoint PileOrigin{110, 30};
    TRect DeckRect{30, 30, 101, 126};
    // Height of the board image; long columns close up to fit it.
    int BoardHeight = 0;

    // The layout of the large (71 x 96) or small (54 x 72) cards, every column at RowStep.
    static TBoardGeometry ForCards(QSize card, bool small, int boardHeight);
    // The layout for cards of the given height (the width follows), every column at RowStep,
    // shifted right by `left` pixels.
    static TBoardGeometry ForCardHeight(int cardHeight, int boardHeight, int left = 0);
    // Fit to Window: the largest layout in which the four pockets, the eight columns and a
    // column of 13 cards at RowStep fit the board, with cards from the small set's height up to
    // three times the large one's; centred across the board. The small set's layout when not
    // even that fits.
    static TBoardGeometry FitBoard(QSize board);
    // Card heights Fit to Window chooses from.
    static constexpr int SmallestFitHeight = 72;
    static constexpr int LargestFitHeight = 3 * 96;

    // The width of the whole layout, margins included, and the height it needs.
    int LayoutWidth() const;
    int LayoutHeight() const;

    // Horizontal distance from one column (or pocket column) to the next.
    int Pitch() const { return Card.width() + ColumnGap; }
    QPoint PocketPosition(int pocket) const;
    QPoint CellPosition(int column, int row) const;
    // Each column's row distance for columns whose lowest cards lie in the given rows: RowStep
    // while the column fits the board, otherwise what fits, but never under one pixel.
    void FitColumns(const std::array<int, ColumnCountMax>& bottomRows);
    // The pocket whose card-sized place holds the point, or -1.
    int HitPocket(QPoint p) const;
    // The place a point hits on a board: a pile cell (also the uncovered lower part of a
    // column's last card, and the strip below it with no card), a pocket, or nothing (-1, -1).
    // The card is left for the caller to fill in.
    template <Rules::RuleBoard B> BoardSlot HitTest(QPoint p, const B& board) const;

private:
    // The column whose strip (not the gap beside it) holds x, or -1.
    int HitColumn(QPoint p) const;
};

template <Rules::RuleBoard B> BoardSlot TBoardGeometry::HitTest(QPoint p, const B& board) const {
    BoardSlot slot;
    if (const int column = HitColumn(p); column >= 0) {
        const int step = ColumnStep[size_t(column)];
        const int y = p.y() - PileOrigin.y();
        slot.Column = column;
        slot.Row = y / step;
        if (slot.Row > 0 && board.CardAt(column, slot.Row) == Rules::NoCard) {
            const int bottom = Rules::BottomRow(board, column);
            if (y < Card.height() + bottom * step)
                slot.Row = bottom;
        }
    }
    if (const int pocket = HitPocket(p); pocket >= 0)
        slot.Row = pocket;
    return slot;
}

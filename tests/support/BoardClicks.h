#pragma once

#include "engine/TwGame.h"

// Board pixels to click on, from the game's own geometry.
inline QPoint OnCell(const TGame& g, int column, int row) { return g.CellPosition(column, row) + QPoint(5, 5); }
inline QPoint OnPocket(const TGame& g, int pocket) { return g.PocketPosition(pocket) + QPoint(5, 5); }
// Just below the last card of a column.
inline QPoint BelowColumn(const TGame& g, int column) {
    return g.CellPosition(column, g.BottomRow(column)) + QPoint(5, g.Deck->CardHeight() + 3);
}
inline void Click(TGame& g, QPoint p) { g.BoardClick(p.x(), p.y()); }

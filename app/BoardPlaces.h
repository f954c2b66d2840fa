#pragma once

#include "engine/Board.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

class TGame;

// The places of the board that the keyboard cursor rests on and a screen reader reads: the four
// home pockets, the eight columns, and the cards in them. A place is a BoardSlot as the hit test
// gives it: Column -1 with the pocket in Row, or a column with the row of a card (row 0 with no
// card for an empty column). Everything here is read from the engine's board and geometry, in
// board pixels; nothing here changes the game.
namespace BoardPlaces {

// A card in words: "Queen of Hearts", "Ten of Spades".
QString CardWords(int index);
// What a screen reader says for a card on the table: its words, or "face-down card".
QString CardSpoken(const TCard& card);
// "Home 1: Queen of Hearts", "Home 2: empty"; the first pocket is "Deck" while no game is on
// the table, since the deck lies over it then.
QString PocketName(const TGame& game, int pocket);
// "Column 3: 5 cards, 2 face down", "Column 1: 1 card", "Column 8: empty".
QString ColumnName(const TGame& game, int column);

// Rows of a column the cursor may rest on: the face-up cards and the last card. Empty for an
// empty column.
std::vector<int> RestingRows(const TGame& game, int column);
// The place brought onto the board as it is now: a pocket stays, a row the cursor may not rest
// on (gone, or face down) becomes the next resting row below it, or the last card. The card is
// filled in.
BoardSlot Clamp(const TGame& game, BoardSlot place);
// The place of the column the cursor lands on when it comes from another column: its last card,
// or its empty place.
BoardSlot ColumnPlace(const TGame& game, int column);
// Where a card lies now: its pile cell, the pocket that holds it, or nothing (both -1).
BoardSlot Locate(const TGame& game, const TCard& card);

// Board pixels. A pocket and a column's last card are whole cards; a covered card is the strip
// of it that shows above the next card; a column runs from its top to the foot of its last card.
QRect PocketRect(const TGame& game, int pocket);
QRect CardRect(const TGame& game, int column, int row);
QRect ColumnRect(const TGame& game, int column);
QRect PlaceRect(const TGame& game, const BoardSlot& place);
// The point a click on the place goes to: the middle of the pocket, or the middle of the part
// of the card (or the empty place) that shows, which the hit test maps back to the place.
QPoint ClickPoint(const TGame& game, const BoardSlot& place);

} // namespace BoardPlaces

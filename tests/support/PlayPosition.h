#pragma once

#include "engine/TwGame.h"

#include <array>
#include <vector>

// Cards by Index: hearts 0..12, diamonds 13..25, clubs 26..38, spades 39..51; rank 0 the Ace.
constexpr int CardOf(int suit, int rank) { return suit * 13 + rank; }

struct LaidCard {
    int Card;
    bool FaceUp = true;
};
using PileColumns = std::array<std::vector<LaidCard>, ColumnCountMax>;

// A game in play on a position of the test's choosing: the top card of each pocket (-1 for an
// empty one; the suit below it lies home face up) and the columns from the top. Laid out, shown
// and counted as a loaded game would be, with one undo record and nothing chosen.
inline void PlayPosition(TGame& g, const std::array<int, HomeCount>& pockets, const PileColumns& columns) {
    TGame::ClearBoard(g.GameArray);
    g.CardCounter = DeckSize;
    for (int p = 0; p < HomeCount; ++p) {
        const int top = pockets[size_t(p)];
        g.Pocket(p) = top >= 0 ? &g.Deck->Card(top) : nullptr;
        for (int index = top - top % 13; top >= 0 && index <= top; ++index) {
            g.Deck->Card(index).FaceUp = true;
            --g.CardCounter;
        }
    }
    for (int c = 0; c < ColumnCountMax; ++c)
        for (size_t r = 0; r < columns[size_t(c)].size(); ++r) {
            TCard& card = g.Deck->Card(columns[size_t(c)][r].Card);
            card.FaceUp = card.DealFaceUp = columns[size_t(c)][r].FaceUp;
            g.Cell(c, int(r)) = &card;
        }
    g.GameState = TGameState::Playing;
    g.GameActive = true;
    g.MoveCount = 0;
    g.ResetMoveProtocol();
    g.GameCopy = g.GameArray;
    g.UndoRing.Clear();
    g.TakeSnapshot();
    g.LayoutBoard();
    g.PaintBoard();
    g.FindMoves();
    g.ShowStatus();
    g.ShowError(QString());
}

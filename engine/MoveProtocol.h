#pragma once

#include "Board.h"

#include <QPoint>
#include <array>
#include <vector>

// Where a move stands between its clicks, and the run being dragged.
struct TMoveProtocol {
    // 0: the next board click chooses the card to move; 1: it chooses the destination.
    int ClickPhase = 0;
    // What the clicks of phase 0 and 1 hit.
    std::array<BoardSlot, 2> Slots;
    BoardSlot& SourceSlot() { return Slots[0]; }
    BoardSlot& TargetSlot() { return Slots[1]; }
    const BoardSlot& SourceSlot() const { return Slots[0]; }
    const BoardSlot& TargetSlot() const { return Slots[1]; }
    // The run being moved, top card first, by card Index.
    std::vector<int> DragList;
    // The run was picked by a press and follows the mouse while the button is held.
    bool DragActive = false;
    // Mouse moves seen since the run was picked.
    int DragSteps = 0;
    // The topmost card under the mouse when the button went down, and where it lay then.
    TCard* PressedCard = nullptr;
    QPoint PressedPosition;
    // Whether the last destination click made a move.
    bool LastMoveMade = false;

    // Back to choosing a card: nothing chosen, nothing dragged.
    void Reset() { *this = TMoveProtocol{}; }
};

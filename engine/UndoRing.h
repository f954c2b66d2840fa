#pragma once

#include "Board.h"

#include <array>
#include <cstdint>
#include <vector>

// The whole board as it was before a move: the cards not yet home, each pocket's top card and
// every pile cell with the face its card showed.
struct BoardSnapshot {
    int32_t CardCounter = 0;
    std::array<TCard*, HomeCount> Home{};
    std::array<TCard*, PileSize> Pile{};
    std::array<uint8_t, PileSize> FaceUp{};
};

constexpr int UndoRingSize = 500;

// The undo records, in a ring of 500 slots. The records lie in slots UndoTail .. UndoHead - 1
// (counting round the ring), oldest first; the ring is empty when the two are equal, so it
// keeps at most 499 records, and a new record on a full ring drops the oldest.
// A slot comes into being when the head first reaches it: the room for all of them is set
// aside at once, so a record never moves, but nothing is written until a move is made (the
// whole ring is 750 KB, too much to clear at start for a game that may never use it).
class TUndoRing {
public:
    TUndoRing() { records.reserve(UndoRingSize); }

    int UndoHead() const { return head; }
    int UndoTail() const { return tail; }
    bool Empty() const { return head == tail; }
    int Count() const { return Wrap(head - tail); }
    void Clear() { head = tail = 0; }

    // Claims the slot for a new record at the head, dropping the oldest record of a full ring;
    // the caller fills it in.
    BoardSnapshot& Push() {
        if (size_t(head) == records.size())
            records.emplace_back();
        BoardSnapshot& record = records[size_t(head)];
        head = Wrap(head + 1);
        if (head == tail)
            tail = Wrap(tail + 1);
        return record;
    }
    // The newest record; the ring must not be empty.
    const BoardSnapshot& Newest() const { return records[size_t(Wrap(head - 1))]; }
    // Takes the newest record off the ring; it stays readable until the next Push.
    const BoardSnapshot& Pop() {
        head = Wrap(head - 1);
        return records[size_t(head)];
    }
    // The records oldest first: 0 is the oldest, Count() - 1 the newest.
    const BoardSnapshot& Record(int i) const { return records[size_t(Wrap(tail + i))]; }
    // Every slot the head has reached so far, in slot order, used or not.
    const std::vector<BoardSnapshot>& Slots() const { return records; }

private:
    static int Wrap(int slot) { return (slot % UndoRingSize + UndoRingSize) % UndoRingSize; }

    std::vector<BoardSnapshot> records;
    int head = 0;
    int tail = 0;
};

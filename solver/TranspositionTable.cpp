#include "TranspositionTable.h"

#include <algorithm>

namespace Solver {

namespace {
constexpr size_t FirstSlots = size_t(1) << 12;
// Grow past 5/8 full; refuse new positions past 7/8 when growing is no longer allowed.
bool Crowded(size_t size, size_t cells) { return size * 8 >= cells * 5; }
bool Packed(size_t size, size_t cells) { return size * 8 >= cells * 7; }
} // namespace

TranspositionTable::TranspositionTable(size_t memoryLimit) : limit(memoryLimit) {
    size_t first = FirstSlots;
    while (first > 16 && first * sizeof(Fingerprint) > limit)
        first /= 2;
    cells.assign(first, Fingerprint{});
    peak = Bytes();
}

Fingerprint TranspositionTable::Stored(const Fingerprint& key) {
    // {0, 0} marks a free slot; a position whose fingerprint is zero is stored as {1, 0}.
    return key.A == 0 && key.B == 0 ? Fingerprint{1, 0} : key;
}

size_t TranspositionTable::SlotOf(const Fingerprint& key) const {
    const Fingerprint stored = Stored(key);
    const size_t mask = cells.size() - 1;
    size_t slot = size_t(stored.A) & mask;
    while (!(cells[slot] == Fingerprint{}) && !(cells[slot] == stored))
        slot = (slot + 1) & mask;
    return slot;
}

bool TranspositionTable::Contains(const Fingerprint& key) const { return cells[SlotOf(key)] == Stored(key); }

TranspositionTable::Outcome TranspositionTable::Add(const Fingerprint& key) {
    size_t slot = SlotOf(key);
    if (cells[slot] == Stored(key))
        return Outcome::Seen;
    if (Crowded(size + 1, cells.size())) {
        if (Grow())
            slot = SlotOf(key);
        else if (Packed(size + 1, cells.size()))
            return Outcome::Full;
    }
    cells[slot] = Stored(key);
    ++size;
    return Outcome::Added;
}

void TranspositionTable::Clear() {
    std::fill(cells.begin(), cells.end(), Fingerprint{});
    size = 0;
}

bool TranspositionTable::Grow() {
    const size_t bigger = cells.size() * 2;
    const size_t during = (cells.size() + bigger) * sizeof(Fingerprint);
    if (during > limit)
        return false;
    std::vector<Fingerprint> old(bigger, Fingerprint{});
    old.swap(cells);
    peak = std::max(peak, during);
    const size_t mask = cells.size() - 1;
    for (const Fingerprint& key : old) {
        if (key == Fingerprint{})
            continue;
        size_t slot = size_t(key.A) & mask;
        while (!(cells[slot] == Fingerprint{}))
            slot = (slot + 1) & mask;
        cells[slot] = key;
    }
    return true;
}

} // namespace Solver

#pragma once

#include "Position.h"

#include <cstddef>
#include <vector>

namespace Solver {

// The set of positions the search has already seen, by their 128-bit fingerprints, in an open
// hash table that doubles while it stays within its share of memory. A fingerprint is the
// position up to the order of its columns, so a position reached again with its columns in
// another order is found too.
class TranspositionTable {
public:
    enum class Outcome { Added, Seen, Full };

    // memoryLimit bounds the table's bytes, counting the old and the new table while it grows.
    explicit TranspositionTable(size_t memoryLimit);

    // Records the position; Seen when it was there already, Full when there is no room left.
    Outcome Add(const Fingerprint& key);
    bool Contains(const Fingerprint& key) const;
    // Forgets every position, keeping the memory.
    void Clear();
    // The slot the position occupies or would occupy.
    size_t SlotOf(const Fingerprint& key) const;

    size_t Size() const { return size; }
    size_t Bytes() const { return cells.size() * sizeof(Fingerprint); }
    // The most bytes held at once so far, growth included.
    size_t PeakBytes() const { return peak; }

private:
    static Fingerprint Stored(const Fingerprint& key);
    bool Grow();

    std::vector<Fingerprint> cells; // {0, 0} marks a free slot
    size_t size = 0;
    size_t limit;
    size_t peak = 0;
};

} // namespace Solver

#pragma once

// The solver run over a range of numbered deals, with what it answered and what it took: the
// figures of the solver's benchmark and of the tarnwell_solve tool.

#include "Solver.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Solver {

// The position after one move the player might make from the deal: a move drawn from a
// generator seeded with the deal's number, so every run takes the same one.
Position AfterAMove(uint32_t deal);

struct Survey {
    struct Entry {
        uint32_t Deal = 0;
        Verdict Answer = Verdict::Undecided;
        double CpuMs = 0; // the solving thread's processor time
        size_t PeakBytes = 0;
        uint64_t Nodes = 0;
        size_t Moves = 0;
        std::string Reason;
    };
    std::vector<Entry> Entries;

    // Solves deals first..last, each from its first position or after a move.
    static Survey Run(uint32_t first, uint32_t last, bool afterMove, const Budget& budget);

    using Filter = std::function<bool(const Entry&)>;
    // Share of the entries that pass, 0..1.
    double Share(const Filter& keep) const;
    // The time below which the given share (0..1) of the passing entries were answered.
    double CpuMsAt(double share, const Filter& keep) const;
    // Decided (winnable or lost) within the time.
    double DecidedWithin(double ms) const;
    size_t MostBytes() const;
    // The table of answers and times, in plain text.
    std::string Table() const;
};

} // namespace Solver

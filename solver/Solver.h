#pragma once

// The solver: can this position still be won, with every card where it lies (face-down cards
// included), and how?
//
// Use:
//   Solver::Position position = Solver::Position::FromDeal(seed);        // a new deal, or
//   auto position = Solver::Position::FromDescription(description, &error); // any board
//   std::atomic<bool> cancel = false;
//   Solver::Result result = Solver::Solve(position, Solver::Budget{}, &cancel);
//   switch (result.Answer) {
//   case Solver::Verdict::Winnable:  // result.Moves wins from here; result.FirstMove() is the
//                                    // best next move
//   case Solver::Verdict::Lost:      // result.Reason says why in words, when a short reason is known
//   case Solver::Verdict::Undecided: // the budget ran out first
//   case Solver::Verdict::Cancelled: // cancel was set
//   }
//
// Each move is the player's two clicks (Move in Position.h): the card at (Column, Row), then
// the last card of TargetColumn (or that empty column), or home pocket Pocket. Played one
// after another from the position, through the game's own move code, they win the game.
//
// Solve keeps all its state in its own call: it may run on any thread, several at once, and
// uses no window, no global and no shared random generator. It reads the cancel flag every few
// hundred positions (well under a millisecond apart) and returns Cancelled soon after it is set.
// The same position and budget always give the same answer and the same moves.
//
// How it searches: depth first over the moves the rules allow (asking the predicates of
// Rules.h), with a table of the positions already seen that finds a position again whatever
// the order of its columns. A few moves home are made at once, without searching the
// alternatives, because they can never hurt (see SafeMovesHome in Solver.cpp); a King goes
// into one empty column only (they are all alike); and a position in which some cards can never come apart
// (Deadlock.h) is not searched further. The search is made in attempts of growing size: the
// first tries the moves that turn up face-down cards first, the others try them in random
// orders, which keeps one misleading early choice from costing millions of positions.
// Positions proven lost in one attempt are skipped in the next.

#include "Position.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Solver {

enum class Verdict { Winnable, Lost, Undecided, Cancelled };

struct Budget {
    // Positions the search may make before it gives up, all attempts together; about a second
    // of work at the default.
    uint64_t Nodes = 1'500'000;
    // Memory for the table of positions seen and the search's path together.
    size_t MemoryBytes = size_t(64) << 20;
    // Make the moves home that can never hurt without searching their alternatives, and stop
    // at positions in which some cards can never come apart. Off only to check them against a
    // search without them.
    bool SafeMovesHome = true;
    bool PruneDeadlocks = true;
};

struct Result {
    Verdict Answer = Verdict::Undecided;
    // Winnable: the whole winning line from the position, in the order to play it.
    std::vector<Move> Moves;
    // Lost: why, in plain words, when a short reason is known; otherwise empty.
    std::string Reason;
    // What the search used: positions made, and the most memory held at once.
    uint64_t Nodes = 0;
    size_t PeakBytes = 0;

    // The next move of a winning line (for a hint); nothing unless Winnable with moves to make.
    std::optional<Move> FirstMove() const {
        if (Answer != Verdict::Winnable || Moves.empty())
            return std::nullopt;
        return Moves.front();
    }
};

Result Solve(const Position& position, const Budget& budget = {}, const std::atomic<bool>* cancel = nullptr);

// Why the position is lost, from its cards alone and without searching: some cards that can
// never come apart (Deadlock.h), named when they are few ("The jack of diamonds lies face down
// above the king of diamonds, and the queen of diamonds below it: none of them can ever get
// free.") and counted when they are many ("23 cards block one another so that none of them can
// ever go home."); or no move at all ("No card can move."). Empty when no such reason is known,
// which does not mean the position can be won.
std::string WhyLost(const Position& position);

} // namespace Solver

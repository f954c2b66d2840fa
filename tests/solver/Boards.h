#pragma once

#include "solver/Position.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

// Boards for the solver's tests, laid out by hand: cards by suit and rank (1 the Ace .. 13 the
// King), face down where marked with Down().
namespace Boards {
constexpr int H(int rank) { return rank - 1; }
constexpr int D(int rank) { return 13 + rank - 1; }
constexpr int C(int rank) { return 26 + rank - 1; }
constexpr int S(int rank) { return 39 + rank - 1; }
constexpr int DownMark = 0x100;
constexpr int Down(int card) { return card | DownMark; }
constexpr int None = -1;

inline Solver::Description Lay(std::array<int, 4> pockets, std::initializer_list<std::vector<int>> columns) {
    Solver::Description description;
    description.Pockets = pockets;
    size_t column = 0;
    for (const std::vector<int>& cards : columns) {
        for (const int card : cards)
            description.Columns[column].emplace_back(card & ~DownMark, (card & DownMark) == 0);
        ++column;
    }
    return description;
}

inline Solver::Position Build(std::array<int, 4> pockets, std::initializer_list<std::vector<int>> columns) {
    std::string error;
    const auto position = Solver::Position::FromDescription(Lay(pockets, columns), &error);
    EXPECT_TRUE(position) << error;
    return position ? *position : Solver::Position();
}

// Plays a line of moves on a copy of the position; each must be allowed.
inline Solver::Position Played(Solver::Position position, const std::vector<Solver::Move>& moves) {
    for (const Solver::Move& move : moves)
        EXPECT_TRUE(position.Apply(move)) << "move of card " << move.Card << " from column " << move.Column;
    return position;
}
} // namespace Boards

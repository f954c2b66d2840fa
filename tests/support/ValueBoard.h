#pragma once

#include "engine/Rules.h"

#include <array>
#include <utility>
#include <vector>

// A board value of its own, not the live game: columns of (card, face up) from the top, and the
// top card of each pocket.
struct ValueBoard {
    std::array<std::vector<std::pair<int, bool>>, ColumnCountMax> Columns;
    std::array<int, HomeCount> Home{-1, -1, -1, -1};

    int CardAt(int column, int row) const {
        const auto& cells = Columns[size_t(column)];
        return row < int(cells.size()) ? cells[size_t(row)].first : Rules::NoCard;
    }
    bool IsFaceUp(int column, int row) const { return Columns[size_t(column)][size_t(row)].second; }
    int PocketTop(int pocket) const { return Home[size_t(pocket)]; }
};
static_assert(Rules::RuleBoard<ValueBoard>);

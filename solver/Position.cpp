#include "Position.h"

#include <algorithm>

namespace Solver {

namespace {
// A 64-bit mixing function (the finaliser of a split-mix generator): every input bit changes
// about half the output bits.
constexpr uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The keys of one cell's content, one per half of the fingerprint.
constexpr uint64_t CellKeyA(uint64_t cell, uint64_t row) { return Mix(cell << 8 | row); }
constexpr uint64_t CellKeyB(uint64_t cell, uint64_t row) { return Mix((cell << 8 | row) ^ 0x5DEECE66Dull << 20); }

const char* const RankWords[13] = {"ace", "two", "three", "four", "five", "six", "seven",
                                   "eight", "nine", "ten", "jack", "queen", "king"};
const char* const SuitWords[4] = {"hearts", "diamonds", "clubs", "spades"};
} // namespace

std::string CardInWords(int card) {
    if (card < 0 || card >= DeckSize)
        return "an unknown card";
    return std::string("the ") + RankWords[Rules::RankOf(card)] + " of " + SuitWords[Rules::SuitOf(card)];
}

Position::Position() {
    homeCount.fill(13);
    for (int pocket = 0; pocket < HomeCount; ++pocket)
        pocketSuit[size_t(pocket)] = int8_t(pocket);
    place.fill(Home);
}

Position Position::FromDeal(uint32_t seed) {
    Position position;
    position.homeCount.fill(0);
    position.pocketSuit.fill(-1);
    for (const Rules::DealtCard& dealt : Rules::DealFromSeed(seed))
        position.Put(dealt.Column, dealt.Row, dealt.Card, dealt.FaceUp);
    return position;
}

std::optional<Position> Position::FromDescription(const Description& description, std::string* error) {
    auto refuse = [error](std::string text) -> std::optional<Position> {
        if (error)
            *error = std::move(text);
        return std::nullopt;
    };
    std::array<int, DeckSize> seen{};
    Position position;
    position.homeCount.fill(0);
    position.pocketSuit.fill(-1);
    for (int pocket = 0; pocket < HomeCount; ++pocket) {
        const int top = description.Pockets[size_t(pocket)];
        if (top == Rules::NoCard)
            continue;
        if (top < 0 || top >= DeckSize)
            return refuse("Pocket " + std::to_string(pocket + 1) + " holds " + std::to_string(top) +
                          ", which is no card of the deck.");
        const int suit = Rules::SuitOf(top);
        if (position.homeCount[size_t(suit)] > 0)
            return refuse(std::string("Two pockets hold the ") + SuitWords[suit] + ".");
        position.homeCount[size_t(suit)] = uint8_t(Rules::RankOf(top) + 1);
        position.pocketSuit[size_t(pocket)] = int8_t(suit);
        for (int card = top - Rules::RankOf(top); card <= top; ++card)
            ++seen[size_t(card)];
    }
    for (int column = 0; column < ColumnCountMax; ++column) {
        const auto& cells = description.Columns[size_t(column)];
        if (cells.size() > size_t(RowCountMax))
            return refuse("Column " + std::to_string(column + 1) + " holds more cards than the deck.");
        for (size_t row = 0; row < cells.size(); ++row) {
            const int card = cells[row].first;
            if (card < 0 || card >= DeckSize)
                return refuse("Column " + std::to_string(column + 1) + " holds " + std::to_string(card) +
                              ", which is no card of the deck.");
            ++seen[size_t(card)];
            position.Put(column, int(row), card, cells[row].second);
        }
    }
    for (int card = 0; card < DeckSize; ++card) {
        std::string name = CardInWords(card);
        name[0] = 'T';
        if (seen[size_t(card)] == 0)
            return refuse(name + " is missing from the board.");
        if (seen[size_t(card)] > 1)
            return refuse(name + " lies on the board more than once.");
    }
    return position;
}

Description Position::Describe() const {
    Description description;
    for (int pocket = 0; pocket < HomeCount; ++pocket)
        description.Pockets[size_t(pocket)] = PocketTop(pocket);
    for (int column = 0; column < ColumnCountMax; ++column)
        for (int row = 0; row < Count(column); ++row)
            description.Columns[size_t(column)].emplace_back(CardAt(column, row), IsFaceUp(column, row));
    return description;
}

bool Position::IsWon() const {
    return std::all_of(homeCount.begin(), homeCount.end(), [](uint8_t n) { return n == 13; });
}

std::vector<Move> Position::LegalMoves() const {
    std::vector<Move> moves;
    ForEachMove([&moves](const Move& move) { moves.push_back(move); });
    return moves;
}

bool Position::Apply(const Move& move) {
    if (move.Column < 0 || move.Column >= ColumnCountMax || move.Row < 0 || move.Row >= Count(move.Column))
        return false;
    if (Rules::CheckChoice(*this, move.Column, move.Row) != Rules::Refusal::None)
        return false;
    if (move.IsHome()) {
        if (move.Pocket < 0 || move.Pocket >= HomeCount ||
            Rules::CheckHomeMove(*this, move.Column, move.Row, move.Pocket) != Rules::Refusal::None)
            return false;
        while (Count(move.Column) > move.Row)
            SendHome(move.Column, move.Pocket);
    } else {
        if (move.TargetColumn >= ColumnCountMax || move.TargetColumn == move.Column ||
            Rules::CheckColumnMove(*this, move.Column, move.Row, move.TargetColumn) != Rules::Refusal::None)
            return false;
        MoveRun(move.Column, move.Row, move.TargetColumn);
    }
    TurnUpBottom(move.Column);
    return true;
}

Fingerprint Position::Key() const {
    // Each column's hash is mixed again before the columns are added up: the sum does not
    // depend on their order, and the mixing keeps cards of one column from cancelling
    // against the same cards in another.
    Fingerprint key;
    for (int column = 0; column < ColumnCountMax; ++column) {
        key.A += Mix(hashA[size_t(column)]);
        key.B += Mix(hashB[size_t(column)] ^ 0xC2B2AE3D27D4EB4Full);
    }
    return key;
}

void Position::HashCell(int column, int row) {
    const uint64_t cell = cells[size_t(column)][size_t(row)];
    hashA[size_t(column)] ^= CellKeyA(cell, uint64_t(row));
    hashB[size_t(column)] ^= CellKeyB(cell, uint64_t(row));
}

void Position::Put(int column, int row, int card, bool faceUp) {
    cells[size_t(column)][size_t(row)] = uint8_t(card | (faceUp ? 0 : FaceDownBit));
    counts[size_t(column)] = uint8_t(std::max<int>(counts[size_t(column)], row + 1));
    place[size_t(card)] = uint16_t(column << PlaceShift | row);
    HashCell(column, row);
}

void Position::MoveRun(int from, int row, int to) {
    const int fromCount = counts[size_t(from)];
    int next = counts[size_t(to)];
    for (int r = row; r < fromCount; ++r, ++next) {
        HashCell(from, r);
        const uint8_t cell = cells[size_t(from)][size_t(r)];
        cells[size_t(to)][size_t(next)] = cell;
        place[size_t(cell & CardBits)] = uint16_t(to << PlaceShift | next);
        HashCell(to, next);
    }
    counts[size_t(from)] = uint8_t(row);
    counts[size_t(to)] = uint8_t(next);
}

void Position::SendHome(int column, int pocket) {
    const int row = counts[size_t(column)] - 1;
    HashCell(column, row);
    const int card = cells[size_t(column)][size_t(row)] & CardBits;
    const int suit = Rules::SuitOf(card);
    counts[size_t(column)] = uint8_t(row);
    place[size_t(card)] = Home;
    pocketSuit[size_t(pocket)] = int8_t(suit);
    ++homeCount[size_t(suit)];
}

void Position::ReturnHome(int column, int suit) {
    const int card = suit * 13 + --homeCount[size_t(suit)];
    if (homeCount[size_t(suit)] == 0)
        for (int8_t& held : pocketSuit)
            if (held == suit)
                held = -1;
    const int row = counts[size_t(column)]++;
    cells[size_t(column)][size_t(row)] = uint8_t(card);
    place[size_t(card)] = uint16_t(column << PlaceShift | row);
    HashCell(column, row);
}

bool Position::TurnUpBottom(int column) {
    const int row = counts[size_t(column)] - 1;
    if (row < 0 || (cells[size_t(column)][size_t(row)] & FaceDownBit) == 0)
        return false;
    HashCell(column, row);
    cells[size_t(column)][size_t(row)] &= CardBits;
    HashCell(column, row);
    return true;
}

void Position::TurnDownBottom(int column) {
    const int row = counts[size_t(column)] - 1;
    HashCell(column, row);
    cells[size_t(column)][size_t(row)] |= FaceDownBit;
    HashCell(column, row);
}

} // namespace Solver

#include "Boards.h"

#include "solver/TranspositionTable.h"

#include "cards/TRandom.h"

#include <algorithm>
#include <tuple>

using namespace Boards;
using Solver::Position;

TEST(SolverPositionTest, ADescriptionMustHoldTheWholeDeckOnce) {
    // Hearts and clubs home, diamonds up to the five; the rest in three columns.
    std::vector<int> rest;
    for (int rank = 6; rank <= 13; ++rank)
        rest.push_back(D(rank));
    const Solver::Description good =
        Lay({H(13), D(5), None, C(13)}, {{Down(S(1)), S(2), S(3)}, {}, rest, {S(4), S(5), S(6), S(7), S(8), S(9)},
                                         {S(10), S(11), S(12), S(13)}});
    std::string error;
    const auto position = Position::FromDescription(good, &error);
    ASSERT_TRUE(position) << error;
    EXPECT_EQ(position->Describe(), good);
    EXPECT_EQ(position->CardsHome(1), 5);
    EXPECT_EQ(position->PocketTop(1), D(5));
    EXPECT_EQ(position->PocketTop(2), Rules::NoCard);
    EXPECT_FALSE(position->IsFaceUp(0, 0));
    EXPECT_EQ(position->PlaceOf(D(7)), std::make_pair(2, 1));
    EXPECT_EQ(position->PlaceOf(D(5)), std::make_pair(-1, -1));

    struct Case {
        Solver::Description description;
        const char* message;
    };
    Solver::Description missing = good, twice = good, suits = good, noCard = good, pocket = good;
    missing.Columns[0].erase(missing.Columns[0].begin());
    twice.Columns[1].emplace_back(S(2), true);
    suits.Pockets[2] = H(1);
    noCard.Columns[1].emplace_back(60, true);
    pocket.Pockets[2] = 52;
    for (const Case& c : {Case{missing, "The ace of spades is missing from the board."},
                          Case{twice, "The two of spades lies on the board more than once."},
                          Case{suits, "Two pockets hold the hearts."},
                          Case{noCard, "Column 2 holds 60, which is no card of the deck."},
                          Case{pocket, "Pocket 3 holds 52, which is no card of the deck."}}) {
        error.clear();
        EXPECT_FALSE(Position::FromDescription(c.description, &error));
        EXPECT_EQ(error, c.message);
    }
}

TEST(SolverPositionTest, ADealIsLaidAsTheGameDealsIt) {
    const Position position = Position::FromDeal(43200000);
    for (const Rules::DealtCard& dealt : Rules::DealFromSeed(43200000)) {
        EXPECT_EQ(position.CardAt(dealt.Column, dealt.Row), dealt.Card);
        EXPECT_EQ(position.IsFaceUp(dealt.Column, dealt.Row), dealt.FaceUp);
    }
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(position.Count(column), column + 3);
    EXPECT_EQ(position.CardAt(0, 0), S(13)); // the pinned deal of the engine's tests
}

TEST(SolverPositionTest, ColumnsInAnyOrderAreOnePositionToTheTable) {
    auto lay = [](std::array<int, 4> pockets, std::vector<std::vector<int>> columns) {
        Solver::Description description;
        description.Pockets = pockets;
        for (size_t c = 0; c < columns.size(); ++c)
            for (const int card : columns[c])
                description.Columns[c].emplace_back(card & ~DownMark, (card & DownMark) == 0);
        return *Position::FromDescription(description);
    };
    std::vector<std::vector<int>> columns = {{}, {S(1), Down(S(2))}, {S(4), S(3)}, {}, {S(5), S(6), S(7)},
                                             {S(8), S(9), S(10)}, {S(11), S(12)}, {S(13)}};
    const Position original = lay({H(13), D(13), C(13), None}, columns);
    std::vector<std::vector<int>> reversed(columns.rbegin(), columns.rend());
    const Position permuted = lay({None, C(13), H(13), D(13)}, reversed);
    EXPECT_EQ(original.Key(), permuted.Key());

    Solver::TranspositionTable table(size_t(1) << 20);
    EXPECT_EQ(table.Add(original.Key()), Solver::TranspositionTable::Outcome::Added);
    EXPECT_EQ(table.SlotOf(permuted.Key()), table.SlotOf(original.Key()));
    EXPECT_EQ(table.Add(permuted.Key()), Solver::TranspositionTable::Outcome::Seen);
    EXPECT_EQ(table.Size(), 1u);

    // Not the same position: a card face up instead of down, and the same cards in the same
    // rows but shared out differently between two columns.
    columns[1][1] = S(2);
    const Position turned = lay({H(13), D(13), C(13), None}, columns);
    EXPECT_NE(turned.Key(), original.Key());
    EXPECT_FALSE(table.Contains(turned.Key()));
    columns[1][1] = Down(S(2));
    std::swap(columns[2][0], columns[1][0]);
    const Position shared = lay({H(13), D(13), C(13), None}, columns);
    EXPECT_NE(shared.Key(), original.Key());
    EXPECT_EQ(table.Add(shared.Key()), Solver::TranspositionTable::Outcome::Added);
}

TEST(SolverPositionTest, TheTableGrowsWithinItsMemoryAndThenSaysFull) {
    // 200 KiB: the first table of 64 KiB may grow to 128 KiB (192 KiB held while it grows),
    // not to 256 KiB.
    Solver::TranspositionTable table(size_t(200) << 10);
    size_t added = 0;
    for (uint64_t i = 1;; ++i) {
        const auto outcome = table.Add({i * 0x9E3779B97F4A7C15ull, i});
        if (outcome == Solver::TranspositionTable::Outcome::Full)
            break;
        ASSERT_EQ(outcome, Solver::TranspositionTable::Outcome::Added);
        ++added;
    }
    EXPECT_EQ(table.Bytes(), size_t(128) << 10);
    EXPECT_EQ(table.PeakBytes(), size_t(192) << 10);
    EXPECT_EQ(added, 8192u * 7 / 8 - 1);
    EXPECT_TRUE(table.Contains({0x9E3779B97F4A7C15ull, 1}));
}

TEST(SolverPositionTest, MovesAreTheRulesMoves) {
    // Hearts and diamonds home; clubs and spades in the columns, two of them empty.
    Position position = Build({H(13), D(13), None, None},
                              {{Down(C(9)), C(5), S(1)},
                               {C(4)},
                               {S(13)},
                               {Down(S(2)), C(6), C(1)},
                               {},
                               {C(2), C(3), C(7), C(8), C(10), C(11), C(12), C(13)},
                               {S(3), S(4), S(5), S(6), S(7), S(8), S(9), S(10), S(11), S(12)}});
    // Onto 4C: 3C, and 5C with the Ace of spades; onto the King of spades its Queen; onto the
    // Ace of clubs 2C with all below it; the King of spades from the top of its column onto its
    // Queen; the King of clubs alone at the bottom into either empty column; both Aces home to
    // the first empty pocket. Not the face-down two of spades, nor the King of spades into an
    // empty column from the top of its own (that changes nothing).
    std::vector<Solver::Move> expected = {
        {5, 1, 1, -1, C(3)}, {0, 1, 1, -1, C(5)}, {6, 9, 2, -1, S(12)}, {5, 0, 3, -1, C(2)}, {2, 0, 6, -1, S(13)},
        {5, 7, 4, -1, C(13)}, {5, 7, 7, -1, C(13)}, {0, 2, -1, 2, S(1)}, {3, 2, -1, 2, C(1)},
    };
    std::vector<Solver::Move> legal = position.LegalMoves();
    auto order = [](const Solver::Move& a, const Solver::Move& b) {
        return std::tie(a.Column, a.Row, a.TargetColumn, a.Pocket) < std::tie(b.Column, b.Row, b.TargetColumn, b.Pocket);
    };
    std::sort(legal.begin(), legal.end(), order);
    std::sort(expected.begin(), expected.end(), order);
    EXPECT_EQ(legal, expected);

    // Refused, and nothing changes: a card that joins nothing there, a face-down card, a card
    // out of turn for home, a column that does not exist.
    const Solver::Description before = position.Describe();
    EXPECT_FALSE(position.Apply({1, 0, 2, -1, C(4)}));
    EXPECT_FALSE(position.Apply({0, 0, 1, -1, C(9)}));
    EXPECT_FALSE(position.Apply({1, 0, -1, 2, C(4)}));
    EXPECT_FALSE(position.Apply({2, 0, 9, -1, S(13)}));
    EXPECT_EQ(position.Describe(), before);

    // 5C takes the Ace of spades along onto 4C; the nine of clubs left at the bottom turns up.
    ASSERT_TRUE(position.Apply({0, 1, 1, -1, C(5)}));
    EXPECT_EQ(position.Count(0), 1);
    EXPECT_TRUE(position.IsFaceUp(0, 0));
    EXPECT_EQ(position.Describe().Columns[1],
              (std::vector<std::pair<int, bool>>{{C(4), true}, {C(5), true}, {S(1), true}}));
    // Each Ace opens the pocket it is sent to.
    ASSERT_TRUE(position.Apply({1, 2, -1, 3, S(1)}));
    ASSERT_TRUE(position.Apply({3, 2, -1, 2, C(1)}));
    EXPECT_EQ(position.PocketTop(3), S(1));
    EXPECT_EQ(position.PocketTop(2), C(1));
    EXPECT_EQ(position.CardsHome(3), 1);
}

// LegalMoves looks only at the cards that can start a move; on positions reached by random play,
// it must list exactly the moves found by asking the rules about every card and every target.
TEST(SolverPositionTest, TheMovesListedAreEveryMoveTheRulesAllow) {
    auto everyMove = [](const Position& position) {
        std::vector<Solver::Move> moves;
        for (int column = 0; column < 8; ++column)
            for (int row = 0; row < position.Count(column); ++row) {
                if (Rules::CheckChoice(position, column, row) != Rules::Refusal::None)
                    continue;
                const int card = position.CardAt(column, row);
                for (int target = 0; target < 8; ++target)
                    if (target != column && !(row == 0 && position.Count(target) == 0) &&
                        Rules::CheckColumnMove(position, column, row, target) == Rules::Refusal::None)
                        moves.push_back({column, row, target, -1, card});
                if (row + 1 == position.Count(column))
                    for (int pocket = 0; pocket < 4; ++pocket)
                        if (pocket == Rules::PocketFor(position, card) &&
                            Rules::CheckHomeMove(position, column, row, pocket) == Rules::Refusal::None)
                            moves.push_back({column, row, -1, pocket, card});
            }
        return moves;
    };
    auto order = [](const Solver::Move& a, const Solver::Move& b) {
        return std::tie(a.Column, a.Row, a.TargetColumn, a.Pocket) < std::tie(b.Column, b.Row, b.TargetColumn, b.Pocket);
    };
    int positions = 0, kings = 0;
    for (uint32_t deal = 1; deal <= 60; ++deal) {
        Position position = Position::FromDeal(deal);
        TRandom random(deal);
        for (int step = 0; step < 80; ++step, ++positions) {
            std::vector<Solver::Move> listed = position.LegalMoves(), expected = everyMove(position);
            std::sort(listed.begin(), listed.end(), order);
            std::sort(expected.begin(), expected.end(), order);
            ASSERT_EQ(listed, expected) << "deal " << deal << ", step " << step;
            if (listed.empty())
                break;
            for (const Solver::Move& move : listed)
                kings += !move.IsHome() && position.Count(move.TargetColumn) == 0;
            ASSERT_TRUE(position.Apply(listed[size_t(random.RandomInt(int32_t(listed.size())))]));
        }
    }
    EXPECT_GT(positions, 2000);
    EXPECT_GT(kings, 20);
}

TEST(SolverPositionTest, CardsInWords) {
    EXPECT_EQ(Solver::CardInWords(H(1)), "the ace of hearts");
    EXPECT_EQ(Solver::CardInWords(D(13)), "the king of diamonds");
    EXPECT_EQ(Solver::CardInWords(C(11)), "the jack of clubs");
    EXPECT_EQ(Solver::CardInWords(S(10)), "the ten of spades");
    EXPECT_EQ(Solver::CardInWords(52), "an unknown card");
}

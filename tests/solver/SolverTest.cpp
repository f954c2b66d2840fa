#include "Boards.h"

#include "solver/Deadlock.h"
#include "solver/Solver.h"

#include "cards/TRandom.h"

#include <chrono>
#include <optional>
#include <thread>
#include <unordered_set>

using namespace Boards;
using Solver::Position;
using Solver::Verdict;

namespace {
// Hearts up to the eight home, the other suits all home. The jack of hearts lies on the face-down
// ten; the nine is alone; the queen lies on the king.
Position NearWon() {
    return Build({H(8), D(13), C(13), S(13)}, {{Down(H(10)), H(11)}, {H(9)}, {H(13), H(12)}});
}
} // namespace

TEST(SolverTest, ANearWonPositionIsWinnableWithItsMoves) {
    const Position position = NearWon();
    const Solver::Result result = Solver::Solve(position);
    ASSERT_EQ(result.Answer, Verdict::Winnable);
    EXPECT_TRUE(Played(position, result.Moves).IsWon());
    EXPECT_GE(result.Moves.size(), 6u);
    // The jack must leave the ten, and its only way is onto the queen.
    const auto jack = std::find_if(result.Moves.begin(), result.Moves.end(),
                                   [](const Solver::Move& m) { return !m.IsHome(); });
    ASSERT_NE(jack, result.Moves.end());
    EXPECT_EQ(*jack, (Solver::Move{0, 1, 2, -1, H(11)}));
    ASSERT_TRUE(result.FirstMove());
    EXPECT_EQ(*result.FirstMove(), result.Moves.front());
    EXPECT_TRUE(result.Reason.empty());

    // Won already: nothing to do.
    const Solver::Result won = Solver::Solve(Position());
    EXPECT_EQ(won.Answer, Verdict::Winnable);
    EXPECT_TRUE(won.Moves.empty());
    EXPECT_FALSE(won.FirstMove());
}

TEST(SolverTest, AKingAboveItsOwnLowerCardsIsLost) {
    // Hearts up to the ten are home. The jack of hearts lies face down under the king, and the
    // queen lies on the king. The queen can go home only after the jack; it cannot go onto the
    // king (it lies on it) nor onto the jack (covered). The king can leave the jack only home
    // (after the queen), onto the queen (which lies below it, in the run it heads), or into an
    // empty column, which it may do only with nothing below it. So neither ever moves, and the
    // jack never goes home. The diamonds can all go home meanwhile: there are moves to make,
    // and none of them helps.
    const Position position = Build({H(10), D(3), C(13), S(13)},
                                    {{Down(H(11)), H(13), H(12)},
                                     {D(5)},
                                     {D(4)},
                                     {D(13), D(12), D(11), D(10), D(9), D(8), D(7), D(6)}});
    EXPECT_FALSE(position.LegalMoves().empty());
    const Solver::Result result = Solver::Solve(position);
    EXPECT_EQ(result.Answer, Verdict::Lost);
    EXPECT_TRUE(result.Moves.empty());
    EXPECT_FALSE(result.FirstMove());
    EXPECT_EQ(result.Reason, "The jack of hearts lies face down above the king of hearts, and the queen of "
                             "hearts below it: none of them can ever get free.");
    // The search alone, without the deadlock analysis, comes to the same answer.
    Solver::Budget plain;
    plain.PruneDeadlocks = false;
    EXPECT_EQ(Solver::Solve(position, plain).Answer, Verdict::Lost);
}

TEST(SolverTest, ReasonsNameTheCardsThatHoldOneAnother) {
    struct Case {
        Position position;
        const char* reason;
    };
    const Case cases[] = {
        {Build({H(13), D(10), C(13), S(13)}, {{Down(D(11)), D(13), D(12)}}),
         "The jack of diamonds lies face down above the king of diamonds, and the queen of diamonds below it: "
         "none of them can ever get free."},
        {Build({H(13), D(10), C(13), S(13)}, {{D(11), Down(D(13)), D(12)}}),
         "The jack of diamonds lies above the king of diamonds (face down), and the queen of diamonds below it: "
         "none of them can ever get free."},
        // Two locks, each enough: the reason needs only one.
        {Build({H(10), D(10), C(13), S(13)}, {{Down(H(11)), H(13), H(12)}, {}, {Down(D(11)), D(13), D(12)}}),
         "The jack of diamonds lies face down above the king of diamonds, and the queen of diamonds below it: "
         "none of them can ever get free."},
        // Deals lost from the start.
        {Position::FromDeal(359), "The jack of hearts lies face down above the king of hearts, and the five of "
                                  "hearts (face down) and the queen of hearts below it: none of them can ever "
                                  "get free."},
        {Position::FromDeal(1751), "The nine of clubs lies above the eight of clubs (face down); the seven of "
                                   "clubs lies above the jack of clubs (face down), and the ten of clubs below "
                                   "it: none of them can ever get free."},
        // Too many to name.
        {Position::FromDeal(23), "28 cards block one another so that none of them can ever go home."},
        // Lost, but only the search shows it.
        {Position::FromDeal(29), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Solver::WhyLost(c.position), c.reason);
    // A position that can be won has no reason to be lost.
    EXPECT_EQ(Solver::WhyLost(NearWon()), "");
    const Solver::Result searched = Solver::Solve(Position::FromDeal(29));
    EXPECT_EQ(searched.Answer, Verdict::Lost);
    EXPECT_EQ(searched.Reason, "");
}

TEST(SolverTest, BudgetsOfPositionsAndMemory) {
    const Position deal = Position::FromDeal(1);
    EXPECT_EQ(Solver::Solve(deal).Answer, Verdict::Winnable);
    Solver::Budget tiny;
    tiny.Nodes = 10;
    const Solver::Result cut = Solver::Solve(deal, tiny);
    EXPECT_EQ(cut.Answer, Verdict::Undecided);
    EXPECT_LE(cut.Nodes, 10u);
    EXPECT_TRUE(cut.Moves.empty());

    // A deal that takes millions of positions to decide, with a megabyte.
    Solver::Budget small;
    small.Nodes = 50'000'000;
    small.MemoryBytes = size_t(1) << 20;
    const Solver::Result full = Solver::Solve(Position::FromDeal(606), small);
    EXPECT_EQ(full.Answer, Verdict::Undecided);
    EXPECT_LE(full.PeakBytes, small.MemoryBytes);
    EXPECT_LT(full.Nodes, small.Nodes); // stopped for memory, not for positions
}

TEST(SolverTest, ACancelledSearchStopsSoon) {
    Solver::Budget endless;
    endless.Nodes = 1'000'000'000;
    const Position hard = Position::FromDeal(606);
    std::atomic<bool> cancel = true;
    const Solver::Result stopped = Solver::Solve(hard, endless, &cancel);
    EXPECT_EQ(stopped.Answer, Verdict::Cancelled);
    EXPECT_LE(stopped.Nodes, 256u);

    // From another thread, while it runs.
    cancel = false;
    Solver::Result result;
    std::thread worker([&] { result = Solver::Solve(hard, endless, &cancel); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    cancel = true;
    worker.join();
    EXPECT_EQ(result.Answer, Verdict::Cancelled);
}

// The moves made without search and the positions cut off by the deadlock analysis must never
// change an answer: positions reached by a few random moves from the deal are decided with
// them and by a plain search, and wherever both decide they agree.
TEST(SolverTest, SafeMovesAndDeadlocksNeverChangeTheAnswer) {
    Solver::Budget plain;
    plain.Nodes = 60'000;
    plain.SafeMovesHome = false;
    plain.PruneDeadlocks = false;
    int compared = 0, lost = 0;
    for (uint32_t deal = 1; deal <= 40; ++deal) {
        Position position = Position::FromDeal(deal);
        TRandom random(deal);
        for (int i = 0; i < int(deal % 12); ++i) {
            const std::vector<Solver::Move> moves = position.LegalMoves();
            if (moves.empty())
                break;
            ASSERT_TRUE(position.Apply(moves[size_t(random.RandomInt(int32_t(moves.size())))]));
        }
        const Solver::Result full = Solver::Solve(position);
        if (full.Answer == Verdict::Winnable) {
            EXPECT_TRUE(Played(position, full.Moves).IsWon()) << deal;
        }
        if (Solver::Deadlock::Exists(position)) {
            EXPECT_EQ(full.Answer, Verdict::Lost) << deal;
        }
        const Solver::Result bare = Solver::Solve(position, plain);
        if (bare.Answer == Verdict::Undecided || full.Answer == Verdict::Undecided)
            continue;
        EXPECT_EQ(bare.Answer, full.Answer) << deal;
        ++compared;
        lost += full.Answer == Verdict::Lost;
    }
    EXPECT_GE(compared, 25);
    EXPECT_GE(lost, 3);
}

namespace {
// Whether a position can be won, by the plainest search there is: every move the rules allow,
// every position reached remembered. Nothing when it meets more positions than the limit.
std::optional<bool> PlainlyWinnable(const Position& start, size_t limit) {
    auto hash = [](const Solver::Fingerprint& key) { return size_t(key.A ^ key.B); };
    std::unordered_set<Solver::Fingerprint, decltype(hash)> seen(64, hash);
    std::vector<Position> open{start};
    seen.insert(start.Key());
    while (!open.empty()) {
        const Position position = open.back();
        open.pop_back();
        if (position.IsWon())
            return true;
        for (const Solver::Move& move : position.LegalMoves()) {
            Position next = position;
            next.Apply(move);
            if (seen.insert(next.Key()).second)
                open.push_back(next);
        }
        if (seen.size() > limit)
            return std::nullopt;
    }
    return false;
}

// A deal with two suits home: the clubs and spades where the deal puts them.
Position HalfDeal(uint32_t deal) {
    Solver::Description description;
    description.Pockets = {H(13), D(13), None, None};
    for (const Rules::DealtCard& dealt : Rules::DealFromSeed(deal))
        if (Rules::SuitOf(dealt.Card) >= 2)
            description.Columns[size_t(dealt.Column)].emplace_back(dealt.Card, dealt.FaceUp);
    return *Position::FromDescription(description);
}
} // namespace

// The search's short cuts (moves made without searching, deadlocks, attempts in random orders,
// positions proven lost and skipped) against the plainest search, on half deals small enough
// to search through.
TEST(SolverTest, TheSearchAgreesWithAPlainSearch) {
    int compared = 0, lost = 0;
    for (uint32_t deal = 1; deal <= 150; ++deal) {
        const Position position = HalfDeal(deal);
        const std::optional<bool> plain = PlainlyWinnable(position, 20'000);
        if (!plain)
            continue;
        const Solver::Result result = Solver::Solve(position);
        ASSERT_NE(result.Answer, Verdict::Undecided) << deal;
        EXPECT_EQ(result.Answer == Verdict::Winnable, *plain) << deal;
        ++compared;
        lost += !*plain;
    }
    EXPECT_GE(compared, 100);
    EXPECT_GE(lost, 4);
}

#include "Solver.h"

#include "Deadlock.h"
#include "TranspositionTable.h"

#include "cards/TRandom.h"

#include <algorithm>
#include <unordered_map>

namespace Solver {

namespace {
// How many positions the search makes between two looks at the cancel flag.
constexpr uint64_t CheckEvery = 256;
// Targets 0..7 are columns, PocketTarget + p is pocket p.
constexpr int PocketTarget = 8;
// More moves than one position ever has: two cards join each column's last card, a King to
// an empty column from each column, one card home from each column.
constexpr int MostMoves = 3 * ColumnCountMax;

struct Candidate {
    uint8_t Column = 0, Row = 0, Target = 0;
    int Score = 0;
};

// One change to the board, kept to undo it and to read the winning line back.
struct Step {
    enum Kind : uint8_t { Run, Home, TurnUp };
    Kind What = Run;
    uint8_t Column = 0, Row = 0;
    uint8_t Target = 0;    // Run: the target column; Home: the pocket
    uint8_t TargetRow = 0; // Run: where the run's head lands in the target column
    uint8_t Card = 0;      // the head of the run, or the card sent home
};

// Preferences among the moves of one position; the search tries the highest first. Sending a
// card home gets no preference: a card home can no longer be a stepping stone for its suit
// neighbours, and searching those moves first loses far more time than it gains.
constexpr int TurnsUpACard = 60;
constexpr int GoesHome = 0;
constexpr int EmptiesAColumn = 10;
constexpr int BreaksASequence = -20;

// The search is made in attempts, each with a budget of positions a fifth larger than the one
// before, starting from this. The first tries the moves in the order of the preferences
// above, which wins most deals at once; the others try them in a random order of their own
// each. Where the preferences mislead, they mislead every attempt that follows them, and a
// search that is led wrong early can spend millions of positions before it comes back; short
// attempts in random orders find a way out of that far sooner.
constexpr uint64_t FirstAttempt = 300;
} // namespace

class Search {
public:
    // The memory is shared out in sixteenths: 7 for the positions seen in an attempt, 5 for
    // those proven lost, one each for the path's frames, its trail and the positions waiting
    // to be decided, one left for the rest.
    Search(const Position& position, const Budget& limits, const std::atomic<bool>* stop)
        : start(position), board(position), budget(limits), cancel(stop),
          seen(limits.MemoryBytes / 16 * 7), lost(limits.MemoryBytes / 16 * 5), pathLimit(limits.MemoryBytes / 16),
          waitLimit(limits.MemoryBytes / 16) {}

    Result Run();

private:
    enum class Outcome { Won, Lost, OutOfNodes, OutOfMemory, Cancelled };
    Outcome Attempt(uint64_t limit, uint32_t seed);

    struct Frame {
        std::array<Candidate, MostMoves> Moves;
        uint8_t Count = 0, Next = 0;
        size_t Mark = 0;   // the trail's length before the move that led here
        int LastHead = -1; // the head of that move, in the first attempt, when nothing followed
        Fingerprint Key;
        // Every move from here was searched to its end, led to a position known to be lost or
        // back to a position on the path: no move left out, none cut short by a position
        // searched before and not known to be lost.
        bool Clean = true;
        // The order in which this attempt reached the position, and the earliest position still
        // waiting to be decided that a move from here or below led back to.
        size_t Index = 0, Low = 0;
        // Where the positions reached below this one that still wait to be decided begin.
        size_t Waiting = 0;
    };
    struct KeyHash {
        size_t operator()(const Fingerprint& key) const { return size_t(key.A); }
    };
    void Push(const Frame& frame);
    // Done with the last position of the path: records what it proved.
    void Pop();

    void Generate(Frame& frame);
    int Preference(const Move& move) const;
    void Make(const Candidate& move);
    bool SafeMovesHome();
    void Undo(size_t mark);
    std::vector<Move> Line() const;
    // Room on the path for one more position, within the path's share of memory.
    bool Room();
    Result Finish(Verdict verdict);

    const Position start;
    Position board;
    Budget budget;
    const std::atomic<bool>* cancel;
    // The positions seen in this attempt, and those proven lost in any attempt (kept from one
    // attempt to the next, so that no attempt searches them again).
    TranspositionTable seen;
    TranspositionTable lost;
    // The positions of this attempt not yet decided: those on the path, and those searched to
    // their end that led back to one of them (they stand or fall together), with the order in
    // which they were reached.
    std::unordered_map<Fingerprint, size_t, KeyHash> undecided;
    std::vector<Fingerprint> waiting;
    size_t reached = 0;
    std::vector<Step> trail;
    std::vector<Frame> stack;
    uint64_t nodes = 0;
    // The path's frames and its trail may take this many bytes each.
    size_t pathLimit;
    size_t pathPeak = 0;
    // The positions not yet decided may take this many bytes; past that the attempt goes on
    // without proving positions lost.
    size_t waitLimit;
    size_t waitPeak = 0;
    bool proving = true;
    // The order of the moves in attempts after the first, different in every attempt.
    TRandom order;
    bool shuffle = false;
};

Result Search::Finish(Verdict verdict) {
    Result result;
    result.Answer = verdict;
    if (verdict == Verdict::Winnable)
        result.Moves = Line();
    result.Nodes = nodes;
    result.PeakBytes = seen.PeakBytes() + lost.PeakBytes() + pathPeak + waitPeak;
    return result;
}

Result Search::Run() {
    uint64_t limit = FirstAttempt;
    for (uint32_t attempt = 0;; ++attempt) {
        switch (Attempt(std::min(limit, budget.Nodes - nodes), attempt)) {
        case Outcome::Won: return Finish(Verdict::Winnable);
        case Outcome::Lost: return Finish(Verdict::Lost);
        case Outcome::Cancelled: return Finish(Verdict::Cancelled);
        case Outcome::OutOfMemory: return Finish(Verdict::Undecided);
        case Outcome::OutOfNodes:
            if (nodes >= budget.Nodes)
                return Finish(Verdict::Undecided);
            limit += limit / 5;
            break;
        }
    }
}

Search::Outcome Search::Attempt(uint64_t limit, uint32_t seed) {
    board = start;
    trail.clear();
    stack.clear();
    seen.Clear();
    undecided.clear();
    waiting.clear();
    proving = true;
    order = TRandom(seed);
    shuffle = seed != 0;
    const uint64_t end = nodes + limit;

    SafeMovesHome();
    if (board.IsWon())
        return Outcome::Won;
    if (lost.Contains(board.Key()) || (budget.PruneDeadlocks && Deadlock::Exists(board)))
        return Outcome::Lost;
    seen.Add(board.Key());
    Frame root;
    root.Mark = trail.size();
    root.Key = board.Key();
    Generate(root);
    Push(root);

    while (!stack.empty()) {
        if (!Room())
            return Outcome::OutOfMemory;
        Frame& top = stack.back();
        if (top.Next == top.Count) {
            Pop();
            continue;
        }
        const Candidate move = top.Moves[top.Next++];
        const size_t mark = trail.size();
        Make(move);
        const bool followed = SafeMovesHome();

        if (++nodes % CheckEvery == 0) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return Outcome::Cancelled;
        }
        if (board.IsWon())
            return Outcome::Won;
        if (nodes >= end)
            return Outcome::OutOfNodes;
        const Fingerprint key = board.Key();
        if (lost.Contains(key)) {
            Undo(mark);
            continue;
        }
        const TranspositionTable::Outcome outcome = seen.Add(key);
        if (outcome == TranspositionTable::Outcome::Full)
            return Outcome::OutOfMemory;
        if (outcome == TranspositionTable::Outcome::Seen) {
            const auto back = undecided.find(key);
            if (back != undecided.end())
                top.Low = std::min(top.Low, back->second);
            else
                top.Clean = false;
            Undo(mark);
            continue;
        }
        if (budget.PruneDeadlocks && Deadlock::Exists(board)) {
            Undo(mark);
            continue;
        }
        Frame next;
        next.Mark = mark;
        next.Key = key;
        if (move.Target < PocketTarget && !followed)
            next.LastHead = shuffle ? -1 : int(trail[mark].Card);
        Generate(next);
        Push(next);
    }
    return Outcome::Lost;
}

void Search::Push(const Frame& frame) {
    stack.push_back(frame);
    Frame& pushed = stack.back();
    pushed.Index = pushed.Low = reached++;
    pushed.Waiting = waiting.size();
    if (!proving)
        return;
    // A node of the map with its share of the buckets, and a place in the list.
    constexpr size_t EntryBytes = 64 + sizeof(Fingerprint);
    const size_t bytes = (undecided.size() + 1) * EntryBytes;
    if (bytes > waitLimit) {
        proving = false;
        std::unordered_map<Fingerprint, size_t, KeyHash>().swap(undecided);
        std::vector<Fingerprint>().swap(waiting);
        return;
    }
    waitPeak = std::max(waitPeak, bytes);
    undecided[pushed.Key] = pushed.Index;
}

// The positions reached from one position (searched depth first, with the positions that lead
// back to one another taken together) are lost together when every move from any of them led
// to a position lost or to one of them. A move to a position searched before and not proven
// lost proves nothing, for it or for any position above it.
void Search::Pop() {
    const Frame done = stack.back();
    Undo(done.Mark);
    stack.pop_back();
    if (!proving)
        return;
    if (!stack.empty()) {
        stack.back().Clean = stack.back().Clean && done.Clean;
        stack.back().Low = std::min(stack.back().Low, done.Low);
    }
    if (done.Low < done.Index) {
        waiting.push_back(done.Key); // decided with an earlier position
        return;
    }
    if (done.Clean)
        lost.Add(done.Key);
    undecided.erase(done.Key);
    for (size_t i = done.Waiting; i < waiting.size(); ++i) {
        if (done.Clean)
            lost.Add(waiting[i]);
        undecided.erase(waiting[i]);
    }
    waiting.resize(done.Waiting);
}

// The moves worth trying in the position, best first: the moves the rules allow, a King into
// one empty column only, and in the first attempt not the card just moved again (it could
// have gone straight to its new place: nothing else changed meanwhile). Later attempts keep
// that move, so that the positions they search to the end can be proven lost on their own.
void Search::Generate(Frame& frame) {
    board.ForEachMove(
        [&](const Move& move) {
            if (!move.IsHome() && move.Card == frame.LastHead) {
                frame.Clean = false; // not searched to the end from here
                return;
            }
            const int target = move.IsHome() ? PocketTarget + move.Pocket : move.TargetColumn;
            const int score = shuffle ? order.RandomInt(1 << 16) : Preference(move);
            frame.Moves[frame.Count++] = {uint8_t(move.Column), uint8_t(move.Row), uint8_t(target), score};
        },
        false);
    std::stable_sort(frame.Moves.begin(), frame.Moves.begin() + frame.Count,
                     [](const Candidate& a, const Candidate& b) { return a.Score > b.Score; });
}

int Search::Preference(const Move& move) const {
    const bool turnsUp = move.Row > 0 && !board.IsFaceUp(move.Column, move.Row - 1);
    int score = turnsUp ? TurnsUpACard : 0;
    if (move.IsHome())
        score += GoesHome;
    else if (move.Row == 0)
        score += EmptiesAColumn;
    else if (!turnsUp && Rules::Joins(board.CardAt(move.Column, move.Row - 1), move.Card))
        score += BreaksASequence;
    return score;
}

bool Search::Room() {
    // A move with the moves home that follow it adds at most two steps per card to the trail.
    constexpr size_t MostSteps = 2 + 2 * DeckSize;
    auto grow = [this](auto& items, size_t needed) {
        if (needed <= items.capacity())
            return true;
        const size_t wanted = std::max(needed, std::max<size_t>(64, items.capacity() * 2));
        if (wanted * sizeof(items[0]) > pathLimit)
            return false;
        items.reserve(wanted);
        pathPeak = std::max(pathPeak, stack.capacity() * sizeof(Frame) + trail.capacity() * sizeof(Step));
        return true;
    };
    return grow(stack, stack.size() + 1) && grow(trail, trail.size() + MostSteps);
}

void Search::Make(const Candidate& move) {
    Step step;
    step.Column = move.Column;
    step.Row = move.Row;
    step.Target = move.Target;
    step.Card = uint8_t(board.CardAt(move.Column, move.Row));
    if (move.Target >= PocketTarget) {
        step.What = Step::Home;
        step.Target = uint8_t(move.Target - PocketTarget);
        board.SendHome(move.Column, step.Target);
    } else {
        step.What = Step::Run;
        step.TargetRow = uint8_t(board.Count(move.Target));
        board.MoveRun(move.Column, move.Row, move.Target);
    }
    trail.push_back(step);
    if (board.TurnUpBottom(move.Column))
        trail.push_back({Step::TurnUp, move.Column, 0, 0, 0, 0});
}

// Moves home that can never hurt, made at once without searching their alternatives. Let X be
// a column's last card whose turn it is to go home (the card below it in rank is home, or it
// is an Ace). Cards join only their own suit, one rank apart; with the card below X home, the
// only card that can ever join X is the one above it in rank, X+1. Then:
//
// 1. X is a King. No card can ever join it, so it never serves as a place for another run;
//    and alone at the bottom it could only go into an empty column, which frees the card above
//    it no better than sending it home does.
// 2. X lies directly on X+1. X can never leave X+1 but home (its only other neighbour is
//    home), so it stays below X+1, where nothing else can ever be put on it, and X+1 can never
//    move onto it. X only waits there to go home, and sending it now only frees X+1 sooner.
//
// In both cases, whatever the game could do with X still on the table it can do with X home:
// every other move stays allowed (a column only gains a turned-up card or an empty place),
// and X's own moves change nothing the other cards need. An Ace or any other card that X+1
// might still need as a stepping stone is left to the search.
bool Search::SafeMovesHome() {
    bool any = false;
    if (!budget.SafeMovesHome)
        return false;
    for (bool changed = true; changed;) {
        changed = false;
        for (int column = 0; column < ColumnCountMax; ++column) {
            const int count = board.Count(column);
            if (count == 0)
                continue;
            const int card = board.CardAt(column, count - 1);
            const int suit = Rules::SuitOf(card);
            if (board.CardsHome(suit) != Rules::RankOf(card))
                continue;
            const bool safe = Rules::IsKing(card) || (count > 1 && board.CardAt(column, count - 2) == card + 1);
            const int pocket = Rules::PocketFor(board, card);
            if (!safe || pocket < 0 || Rules::CheckChoice(board, column, count - 1) != Rules::Refusal::None ||
                Rules::CheckHomeMove(board, column, count - 1, pocket) != Rules::Refusal::None)
                continue;
            Make({uint8_t(column), uint8_t(count - 1), uint8_t(PocketTarget + pocket), 0});
            changed = any = true;
        }
    }
    return any;
}

void Search::Undo(size_t mark) {
    while (trail.size() > mark) {
        const Step step = trail.back();
        trail.pop_back();
        switch (step.What) {
        case Step::TurnUp: board.TurnDownBottom(step.Column); break;
        case Step::Home: board.ReturnHome(step.Column, Rules::SuitOf(step.Card)); break;
        case Step::Run: board.MoveRun(step.Target, step.TargetRow, step.Column); break;
        }
    }
}

std::vector<Move> Search::Line() const {
    std::vector<Move> moves;
    for (const Step& step : trail) {
        if (step.What == Step::Run)
            moves.push_back({step.Column, step.Row, step.Target, -1, step.Card});
        else if (step.What == Step::Home)
            moves.push_back({step.Column, step.Row, -1, step.Target, step.Card});
    }
    return moves;
}

Result Solve(const Position& position, const Budget& budget, const std::atomic<bool>* cancel) {
    Result result = Search(position, budget, cancel).Run();
    if (result.Answer == Verdict::Lost)
        result.Reason = WhyLost(position);
    return result;
}

std::string WhyLost(const Position& position) {
    const Deadlock deadlock(position);
    if (deadlock.Found()) {
        if (std::string reason = deadlock.Reason(); !reason.empty())
            return reason;
        // Too many cards to name one by one.
        return std::to_string(deadlock.HeldCards()) + " cards block one another so that none of them can ever go home.";
    }
    if (!position.IsWon() && position.LegalMoves().empty())
        return "No card can move.";
    return {};
}

} // namespace Solver

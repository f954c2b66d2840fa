// tarnwell_solve: runs the solver over a range of deals and prints the table of answers and
// times, or one deal's answer in full.
//
//   tarnwell_solve                      deals 1..10000 from their first position
//   tarnwell_solve --first 1 --last 500 a smaller range
//   tarnwell_solve --after-move         the position after one move the player might make
//   tarnwell_solve --deal 1234          one deal: the answer, the winning line or the reason
//   tarnwell_solve --lost               also list every lost deal with its reason
//   tarnwell_solve --nodes N --memory MiB   another budget
//   tarnwell_solve --no-deadlocks       search on where some cards can never come apart
#include "Solver.h"

#include "cards/TRandom.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

const char* VerdictName(Solver::Verdict verdict) {
    switch (verdict) {
    case Solver::Verdict::Winnable: return "winnable";
    case Solver::Verdict::Lost: return "lost";
    case Solver::Verdict::Undecided: return "undecided";
    case Solver::Verdict::Cancelled: return "cancelled";
    }
    return "?";
}

std::string MoveText(const Solver::Move& move) {
    std::string text = Solver::CardInWords(move.Card) + " (column " + std::to_string(move.Column + 1) + ", row " +
                       std::to_string(move.Row + 1) + ")";
    if (move.IsHome())
        return text + " home to pocket " + std::to_string(move.Pocket + 1);
    return text + " to column " + std::to_string(move.TargetColumn + 1);
}

// The position after one move the player might make from the deal: a move drawn from a
// generator seeded with the deal's number, so every run takes the same one.
Solver::Position AfterAMove(uint32_t deal) {
    Solver::Position position = Solver::Position::FromDeal(deal);
    const std::vector<Solver::Move> moves = position.LegalMoves();
    if (!moves.empty()) {
        TRandom random(deal);
        position.Apply(moves[size_t(random.RandomInt(int32_t(moves.size())))]);
    }
    return position;
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(share * double(values.size())));
    return values[at];
}

struct Solved {
    uint32_t Deal;
    Solver::Verdict Answer;
    double Ms;
    size_t Bytes;
    size_t Moves;
    std::string Reason;
    uint64_t Nodes;
};
} // namespace

int main(int argc, char** argv) {
    uint32_t first = 1, last = 10000;
    long single = -1;
    bool afterMove = false, listLost = false;
    Solver::Budget budget;
    for (int i = 1; i < argc; ++i) {
        auto next = [&]() { return i + 1 < argc ? std::strtoull(argv[++i], nullptr, 10) : 0ull; };
        if (!std::strcmp(argv[i], "--first"))
            first = uint32_t(next());
        else if (!std::strcmp(argv[i], "--last"))
            last = uint32_t(next());
        else if (!std::strcmp(argv[i], "--deal"))
            single = long(next());
        else if (!std::strcmp(argv[i], "--nodes"))
            budget.Nodes = next();
        else if (!std::strcmp(argv[i], "--memory"))
            budget.MemoryBytes = size_t(next()) << 20;
        else if (!std::strcmp(argv[i], "--after-move"))
            afterMove = true;
        else if (!std::strcmp(argv[i], "--lost"))
            listLost = true;
        else if (!std::strcmp(argv[i], "--no-deadlocks"))
            budget.PruneDeadlocks = false;
        else {
            std::fprintf(stderr, "usage: %s [--first N] [--last N] [--deal N] [--after-move] [--lost] "
                                 "[--nodes N] [--memory MiB] [--no-deadlocks]\n", argv[0]);
            return 2;
        }
    }

    if (single >= 0) {
        const auto deal = uint32_t(single);
        const Solver::Position position = afterMove ? AfterAMove(deal) : Solver::Position::FromDeal(deal);
        const double start = ThreadCpuMs();
        const Solver::Result result = Solver::Solve(position, budget);
        const double ms = ThreadCpuMs() - start;
        std::printf("Deal %u: %s in %.3f ms, %llu positions, %.2f MiB\n", deal, VerdictName(result.Answer), ms,
                    static_cast<unsigned long long>(result.Nodes), double(result.PeakBytes) / 1048576.0);
        for (size_t i = 0; i < result.Moves.size(); ++i)
            std::printf("%4zu. %s\n", i + 1, MoveText(result.Moves[i]).c_str());
        if (!result.Reason.empty())
            std::printf("%s\n", result.Reason.c_str());
        return 0;
    }

    std::vector<Solved> all;
    for (uint32_t deal = first; deal <= last; ++deal) {
        const Solver::Position position = afterMove ? AfterAMove(deal) : Solver::Position::FromDeal(deal);
        const double start = ThreadCpuMs();
        const Solver::Result result = Solver::Solve(position, budget);
        const double ms = ThreadCpuMs() - start;
        all.push_back({deal, result.Answer, ms, result.PeakBytes, result.Moves.size(), result.Reason, result.Nodes});
    }

    std::printf("Deals %u..%u %s; budget %llu positions, %zu MiB\n\n", first, last,
                afterMove ? "after one move" : "from their first position",
                static_cast<unsigned long long>(budget.Nodes), budget.MemoryBytes >> 20);
    std::printf("%-10s %7s %8s %10s %9s %9s %9s %9s\n", "answer", "deals", "share", "median ms", "p90 ms",
                "p99 ms", "max ms", "max MiB");
    auto row = [&](const char* name, auto keep) {
        std::vector<double> times;
        size_t bytes = 0;
        for (const Solved& s : all)
            if (keep(s)) {
                times.push_back(s.Ms);
                bytes = std::max(bytes, s.Bytes);
            }
        std::printf("%-10s %7zu %7.2f%% %10.3f %9.3f %9.3f %9.3f %9.2f\n", name, times.size(),
                    100.0 * double(times.size()) / double(all.size()), Percentile(times, 0.5),
                    Percentile(times, 0.9), Percentile(times, 0.99), Percentile(times, 1.0),
                    double(bytes) / 1048576.0);
    };
    row("winnable", [](const Solved& s) { return s.Answer == Solver::Verdict::Winnable; });
    row("lost", [](const Solved& s) { return s.Answer == Solver::Verdict::Lost; });
    row("undecided", [](const Solved& s) { return s.Answer == Solver::Verdict::Undecided; });
    row("all", [](const Solved&) { return true; });

    size_t within100 = 0, within1000 = 0, lost = 0, reasons = 0, moves = 0, won = 0;
    std::vector<double> decided;
    for (const Solved& s : all) {
        const bool isDecided = s.Answer == Solver::Verdict::Winnable || s.Answer == Solver::Verdict::Lost;
        within100 += isDecided && s.Ms <= 100;
        within1000 += isDecided && s.Ms <= 1000;
        if (isDecided)
            decided.push_back(s.Ms);
        if (s.Answer == Solver::Verdict::Lost) {
            ++lost;
            reasons += !s.Reason.empty();
        }
        if (s.Answer == Solver::Verdict::Winnable) {
            ++won;
            moves += s.Moves;
        }
    }
    std::printf("\ndecided within 100 ms: %.2f%%; within 1 s: %.2f%%; median time to decide %.3f ms\n",
                100.0 * double(within100) / double(all.size()), 100.0 * double(within1000) / double(all.size()),
                Percentile(decided, 0.5));
    std::printf("lost with a reason in words: %zu of %zu\n", reasons, lost);
    std::printf("moves in a winning line: %.1f on average\n", won ? double(moves) / double(won) : 0.0);
    size_t over1k = 0, over10k = 0, over100k = 0;
    double total = 0;
    for (const Solved& s : all) {
        over1k += s.Nodes > 1000;
        over10k += s.Nodes > 10000;
        over100k += s.Nodes > 100000;
        total += double(s.Nodes);
    }
    std::printf("positions: %.0f in all; deals over 1000: %zu, over 10000: %zu, over 100000: %zu\n", total, over1k,
                over10k, over100k);
    if (listLost)
        for (const Solved& s : all)
            if (s.Answer != Solver::Verdict::Winnable)
                std::printf("%u %s: %s\n", s.Deal, VerdictName(s.Answer), s.Reason.c_str());
    return 0;
}

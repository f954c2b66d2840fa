#include "Survey.h"

#include "cards/TRandom.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace Solver {

namespace {
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

bool Decided(const Survey::Entry& entry) {
    return entry.Answer == Verdict::Winnable || entry.Answer == Verdict::Lost;
}
} // namespace

Position AfterAMove(uint32_t deal) {
    Position position = Position::FromDeal(deal);
    const std::vector<Move> moves = position.LegalMoves();
    if (!moves.empty()) {
        TRandom random(deal);
        position.Apply(moves[size_t(random.RandomInt(int32_t(moves.size())))]);
    }
    return position;
}

Survey Survey::Run(uint32_t first, uint32_t last, bool afterMove, const Budget& budget) {
    Survey survey;
    for (uint32_t deal = first; deal <= last && deal >= first; ++deal) {
        const Position position = afterMove ? AfterAMove(deal) : Position::FromDeal(deal);
        const double start = ThreadCpuMs();
        const Result result = Solve(position, budget);
        const double ms = ThreadCpuMs() - start;
        survey.Entries.push_back({deal, result.Answer, ms, result.PeakBytes, result.Nodes, result.Moves.size(),
                                  result.Reason});
    }
    return survey;
}

double Survey::Share(const Filter& keep) const {
    if (Entries.empty())
        return 0;
    return double(std::count_if(Entries.begin(), Entries.end(), keep)) / double(Entries.size());
}

double Survey::CpuMsAt(double share, const Filter& keep) const {
    std::vector<double> times;
    for (const Entry& entry : Entries)
        if (keep(entry))
            times.push_back(entry.CpuMs);
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, size_t(share * double(times.size())))];
}

double Survey::DecidedWithin(double ms) const {
    return Share([ms](const Entry& entry) { return Decided(entry) && entry.CpuMs <= ms; });
}

size_t Survey::MostBytes() const {
    size_t most = 0;
    for (const Entry& entry : Entries)
        most = std::max(most, entry.PeakBytes);
    return most;
}

std::string Survey::Table() const {
    std::string text;
    char line[200];
    auto add = [&](const char* format, auto... values) {
        std::snprintf(line, sizeof line, format, values...);
        text += line;
    };
    add("%-10s %7s %8s %10s %9s %9s %9s %9s\n", "answer", "deals", "share", "median ms", "p90 ms", "p99 ms",
        "max ms", "max MiB");
    auto row = [&](const char* name, const Filter& keep) {
        size_t bytes = 0, count = 0;
        for (const Entry& entry : Entries)
            if (keep(entry)) {
                bytes = std::max(bytes, entry.PeakBytes);
                ++count;
            }
        add("%-10s %7zu %7.2f%% %10.3f %9.3f %9.3f %9.3f %9.2f\n", name, count, 100 * Share(keep),
            CpuMsAt(0.5, keep), CpuMsAt(0.9, keep), CpuMsAt(0.99, keep), CpuMsAt(1, keep), double(bytes) / 1048576);
    };
    row("winnable", [](const Entry& e) { return e.Answer == Verdict::Winnable; });
    row("lost", [](const Entry& e) { return e.Answer == Verdict::Lost; });
    row("undecided", [](const Entry& e) { return e.Answer == Verdict::Undecided; });
    row("all", [](const Entry&) { return true; });

    size_t lost = 0, reasons = 0, won = 0, moves = 0;
    for (const Entry& entry : Entries) {
        lost += entry.Answer == Verdict::Lost;
        reasons += entry.Answer == Verdict::Lost && !entry.Reason.empty();
        won += entry.Answer == Verdict::Winnable;
        moves += entry.Answer == Verdict::Winnable ? entry.Moves : 0;
    }
    add("\ndecided within 100 ms: %.2f%%; within 1 s: %.2f%%; median time to decide %.3f ms\n",
        100 * DecidedWithin(100), 100 * DecidedWithin(1000), CpuMsAt(0.5, Decided));
    add("lost with a reason in words: %zu of %zu\n", reasons, lost);
    add("moves in a winning line: %.1f on average\n", won ? double(moves) / double(won) : 0.0);
    double positions = 0;
    size_t over10k = 0, over100k = 0;
    for (const Entry& entry : Entries) {
        positions += double(entry.Nodes);
        over10k += entry.Nodes > 10'000;
        over100k += entry.Nodes > 100'000;
    }
    add("positions searched: %.0f in all; deals over 10000: %zu, over 100000: %zu\n", positions, over10k, over100k);
    return text;
}

} // namespace Solver

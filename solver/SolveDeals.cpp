// tarnwell_solve: runs the solver over a range of deals and prints the table of answers and
// times, or one deal's answer in full.
//
//   tarnwell_solve                      deals 1..10000 from their first position
//   tarnwell_solve --first 1 --last 500 a smaller range
//   tarnwell_solve --after-move         the position after one move the player might make
//   tarnwell_solve --deal 1234          one deal: the answer, the winning line or the reason
//   tarnwell_solve --lost               also list every deal not found winnable, with its reason
//   tarnwell_solve --nodes N --memory MiB   another budget
#include "Survey.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
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
        else {
            std::fprintf(stderr, "usage: %s [--first N] [--last N] [--deal N] [--after-move] [--lost] "
                                 "[--nodes N] [--memory MiB]\n", argv[0]);
            return 2;
        }
    }
    if (single >= 0) {
        first = last = uint32_t(single);
        const Solver::Position position =
            afterMove ? Solver::AfterAMove(first) : Solver::Position::FromDeal(first);
        const Solver::Result result = Solver::Solve(position, budget);
        std::printf("Deal %u: %s, %llu positions, %.2f MiB\n", first, VerdictName(result.Answer),
                    static_cast<unsigned long long>(result.Nodes), double(result.PeakBytes) / 1048576.0);
        for (size_t i = 0; i < result.Moves.size(); ++i)
            std::printf("%4zu. %s\n", i + 1, MoveText(result.Moves[i]).c_str());
        if (!result.Reason.empty())
            std::printf("%s\n", result.Reason.c_str());
        return 0;
    }

    const Solver::Survey survey = Solver::Survey::Run(first, last, afterMove, budget);
    std::printf("Deals %u..%u %s; budget %llu positions, %zu MiB\n\n%s", first, last,
                afterMove ? "after one move" : "from their first position",
                static_cast<unsigned long long>(budget.Nodes), budget.MemoryBytes >> 20, survey.Table().c_str());
    if (listLost)
        for (const Solver::Survey::Entry& entry : survey.Entries)
            if (entry.Answer != Solver::Verdict::Winnable)
                std::printf("%u %s: %s\n", entry.Deal, VerdictName(entry.Answer), entry.Reason.c_str());
    return 0;
}

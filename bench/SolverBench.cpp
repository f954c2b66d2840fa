// Solver benchmarks over the numbered deals 1..10000: how many are decided and how fast, from
// the first position and after one move. Each runs its whole range once, reports the figures
// as counters and prints the table of answers. Run them alone, they take a minute or two:
//   ./bench.sh --benchmark_filter=Solve
#include "solver/Survey.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
void Report(benchmark::State& state, const Solver::Survey& survey, const char* title) {
    using Entry = Solver::Survey::Entry;
    auto decided = [](const Entry& e) {
        return e.Answer == Solver::Verdict::Winnable || e.Answer == Solver::Verdict::Lost;
    };
    auto all = [](const Entry&) { return true; };
    state.counters["winnable_%"] = 100 * survey.Share([](const Entry& e) { return e.Answer == Solver::Verdict::Winnable; });
    state.counters["lost_%"] = 100 * survey.Share([](const Entry& e) { return e.Answer == Solver::Verdict::Lost; });
    state.counters["undecided_%"] = 100 * survey.Share([](const Entry& e) { return e.Answer == Solver::Verdict::Undecided; });
    state.counters["decided_in_100ms_%"] = 100 * survey.DecidedWithin(100);
    state.counters["decided_in_1s_%"] = 100 * survey.DecidedWithin(1000);
    state.counters["median_ms"] = survey.CpuMsAt(0.5, decided);
    state.counters["p99.8_ms"] = survey.CpuMsAt(0.998, all);
    state.counters["p99.9_ms"] = survey.CpuMsAt(0.999, all);
    state.counters["peak_MiB"] = double(survey.MostBytes()) / 1048576;
    std::printf("\n%s\n%s\n", title, survey.Table().c_str());
}
} // namespace

static void BM_SolveDeals(benchmark::State& state) {
    Solver::Survey survey;
    for (auto _ : state)
        survey = Solver::Survey::Run(uint32_t(state.range(0)), uint32_t(state.range(1)), false, Solver::Budget{});
    Report(state, survey, "Deals from their first position");
}
BENCHMARK(BM_SolveDeals)->Args({1, 10000})->Iterations(1)->Unit(benchmark::kSecond);

static void BM_SolveAfterAMove(benchmark::State& state) {
    Solver::Survey survey;
    for (auto _ : state)
        survey = Solver::Survey::Run(uint32_t(state.range(0)), uint32_t(state.range(1)), true, Solver::Budget{});
    Report(state, survey, "Deals after one move");
}
BENCHMARK(BM_SolveAfterAMove)->Args({1, 10000})->Iterations(1)->Unit(benchmark::kSecond);

// One ordinary deal, again and again: a quick figure to compare changes by.
static void BM_SolveOneDeal(benchmark::State& state) {
    const Solver::Position deal = Solver::Position::FromDeal(uint32_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Solver::Solve(deal).Answer);
}
BENCHMARK(BM_SolveOneDeal)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

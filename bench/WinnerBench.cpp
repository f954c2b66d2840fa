// The celebration of a won game: one frame at the busiest moment of its four-rocket display,
// and the whole sequence (fade, display, repaint) with the waits taken out.
#include <benchmark/benchmark.h>

#include <QImage>

#include "FireworksPeak.h"
#include "celebration/TwWinner.h"
#include "support/VirtualTimeSource.h"

namespace {

using namespace fireworks_bench;

Rockets launchTable() {
    const TLaunchTable table = BuildLaunchTable();
    Rockets rockets;
    for (size_t i = 0; i < rockets.size(); ++i)
        rockets[i] = table[i];
    return rockets;
}

// On the board picture itself, in the board's format.
void BM_WinnerFrameAtPeak(benchmark::State& state) {
    static const PeakState peak = findPeak(launchTable());
    frameAtPeak(state, peak, QImage::Format_ARGB32_Premultiplied);
}
BENCHMARK(BM_WinnerFrameAtPeak)->Unit(benchmark::kMicrosecond);

class SilentPlayer : public ISoundPlayer {
public:
    void PlaySound(SoundEffect, bool) override {}
    void StopSound() override {}
};

// Everything the celebration computes and draws, on a clock that only moves when it waits.
void BM_WinnerWholeSequence(benchmark::State& state) {
    VirtualTimeSource clock;
    SilentPlayer player;
    TSoundEffects sound(player);
    QImage board(PictureWidth, PictureHeight, QImage::Format_ARGB32_Premultiplied);
    bool running = false, stop = false;
    int shows = 0;
    const TWinnerStage stage{board,   [&] { ++shows; }, [&] { board.fill(qRgb(0, 128, 0)); },
                             sound,   [] { return false; }, running, stop};
    for (auto _ : state) {
        state.PauseTiming();
        board.fill(qRgb(0, 128, 0));
        GameRandom().Seed = Seed;
        shows = 0;
        state.ResumeTiming();
        RunWinnerSequence(stage);
        benchmark::DoNotOptimize(board.constBits());
    }
    state.counters["frames"] = shows - 256; // the fade shows the board 256 times
    state.counters["virtual_s"] = double(clock.NowMs) / 1000.0 / double(state.iterations());
}
BENCHMARK(BM_WinnerWholeSequence)->Unit(benchmark::kMillisecond);

} // namespace

// The card pictures of a new size: every face, the back in use and the outline pictures, drawn
// as the worker thread draws them, measured in CPU time. The court cards are scaled down from
// the pictures kept since the program's first set was drawn, as after a start.
#include "cards/TCardPictures.h"
#include "cards/TPictureCache.h"

#include <benchmark/benchmark.h>

namespace {

// Not inlined, so that a profiler can count what one set costs (valgrind --tool=callgrind
// --collect-atstart=no --toggle-collect='*MakeSet*').
[[gnu::noinline]] void MakeSet(QSize card, qreal ratio) {
    TCardPictures set(card, ratio);
    for (int value = 0; value < 52; ++value)
        benchmark::DoNotOptimize(set.Face(value).constBits());
    benchmark::DoNotOptimize(set.Back(5).constBits());
}

// The program's first set, as drawn after a start (the deck read, the court cards kept).
void FirstSet() {
    static const bool made = [] {
        TCardPictures set(QSize(71, 96), 1.0);
        for (int value = 0; value < 52; ++value)
            set.Face(value);
        return true;
    }();
    benchmark::DoNotOptimize(made);
}

} // namespace

// Arguments: card height in board pixels, pixel ratio.
static void BM_PicturesForNewSize(benchmark::State& state) {
    FirstSet();
    const int height = int(state.range(0));
    const qreal ratio = qreal(state.range(1));
    const QSize card(qRound(71.0 * height / 96), height);
    for (auto _ : state)
        MakeSet(card, ratio);
    state.SetLabel(QStringLiteral("%1x%2 at ratio %3").arg(card.width()).arg(card.height()).arg(ratio).toStdString());
}
BENCHMARK(BM_PicturesForNewSize)
    ->Args({144, 1}) // 1.5 times the large card
    ->Args({96, 2})  // the large card on a screen of twice the density
    ->Args({192, 1})
    ->Args({288, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// What the first paint needs: the outline pictures of the large set and the back in use.
[[gnu::noinline]] static void MakeFirstPaintSet() {
    TCardPictures set(QSize(71, 96), 1.0);
    benchmark::DoNotOptimize(set.Back(5).constBits());
}

static void BM_FirstPaintPictures(benchmark::State& state) {
    for (auto _ : state)
        MakeFirstPaintSet();
}
BENCHMARK(BM_FirstPaintPictures)->Unit(benchmark::kMillisecond);

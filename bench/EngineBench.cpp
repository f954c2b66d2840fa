// Engine benchmarks: painting, the score, the move search and a whole deal, all on the
// virtual clock so that animations cost only their drawing.
#include "support/FakeHost.h"
#include "support/VirtualTimeSource.h"
#include "engine/TwGame.h"
#include "KestrelObjects/BitmapHelpers.h"

#include <benchmark/benchmark.h>

namespace {
struct DealtGame {
    VirtualTimeSource clock;
    FakeHost host;
    TGame game{host};
    explicit DealtGame(bool small = false, int width = 794, int height = 603) {
        game.BoardImage = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        game.EngineStart();
        game.SmallCards = small;
        game.SetCardSize(small);
        game.DealGame();
    }
};
} // namespace

static void BM_PaintBoard(benchmark::State& state) {
    DealtGame dealt(state.range(0) != 0);
    for (auto _ : state) {
        dealt.game.PaintBoard();
        benchmark::DoNotOptimize(dealt.game.BoardImage.constBits());
    }
    state.SetLabel(state.range(0) ? "small cards, 794x603" : "large cards, 794x603");
}
BENCHMARK(BM_PaintBoard)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

static void BM_FadeStep(benchmark::State& state) {
    QImage board(794, 603, QImage::Format_ARGB32_Premultiplied);
    board.fill(QColor(0, 128, 0));
    QImage black(board.size(), QImage::Format_RGB32);
    FillBitmap(black, clBlack);
    for (auto _ : state) {
        QPainter canvas(&board);
        AlphaDrawConst(canvas, TRect{0, 0, 794, 603}, black, 3);
    }
}
BENCHMARK(BM_FadeStep)->Unit(benchmark::kMicrosecond);

static void BM_ComputeScore(benchmark::State& state) {
    DealtGame dealt;
    // A mid-game board: some cards home, some same-suit runs in the columns.
    TGame& g = dealt.game;
    for (auto& card : g.Deck->Cards)
        card->FaceUp = true;
    for (int suit = 0; suit < 2; ++suit)
        g.Pocket(suit) = &g.Deck->Card(suit * 13 + 4);
    for (auto _ : state)
        benchmark::DoNotOptimize(g.ComputeScore());
}
BENCHMARK(BM_ComputeScore);

static void BM_FindMoves(benchmark::State& state) {
    DealtGame dealt;
    for (auto _ : state)
        benchmark::DoNotOptimize(dealt.game.FindMoves());
}
BENCHMARK(BM_FindMoves);

static void BM_Deal(benchmark::State& state) {
    DealtGame dealt;
    for (auto _ : state)
        dealt.game.DealGame();
}
BENCHMARK(BM_Deal)->Unit(benchmark::kMillisecond);

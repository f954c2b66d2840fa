// Engine benchmarks: painting, the score, the move search and a whole deal, all on the
// virtual clock so that animations cost only their drawing.
#include "support/FakeHost.h"
#include "support/VirtualTimeSource.h"
#include "engine/TwGame.h"
#include "cards/TPictureCache.h"
#include "KestrelObjects/BitmapHelpers.h"

#include <benchmark/benchmark.h>

namespace {
// The board is shown as the window shows it (the test host's copy would make every paint copy
// the whole board first).
struct DealtGame {
    VirtualTimeSource clock;
    WindowLikeHost host;
    TGame game{host};
    explicit DealtGame(bool small = false, int width = 794, int height = 603, bool fit = false, qreal ratio = 1.0) {
        game.BoardImage = QImage(qRound(width * ratio), qRound(height * ratio), QImage::Format_ARGB32_Premultiplied);
        game.BoardImage.setDevicePixelRatio(ratio);
        game.EngineStart();
        game.SmallCards = small;
        game.FitToWindow = fit;
        game.SetCardSize(small);
        game.DealGame();
        // Measured with every picture of its size, as the board looks once they are made.
        game.Deck->FinishPictures();
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

// A dealt board filling a large screen with Fit Cards to Window, at one and at two device
// pixels to a board pixel.
static void BM_PaintBoardFitted(benchmark::State& state) {
    const qreal ratio = qreal(state.range(2));
    DealtGame dealt(false, int(state.range(0)), int(state.range(1)), true, ratio);
    for (auto _ : state) {
        dealt.game.PaintBoard();
        benchmark::DoNotOptimize(dealt.game.BoardImage.constBits());
    }
    state.SetLabel(QStringLiteral("fitted %1x%2 at ratio %3, cards %4x%5")
                       .arg(state.range(0))
                       .arg(state.range(1))
                       .arg(ratio)
                       .arg(dealt.game.Geometry.Card.width())
                       .arg(dealt.game.Geometry.Card.height())
                       .toStdString());
}
BENCHMARK(BM_PaintBoardFitted)
    ->Args({2560, 1440, 1})
    ->Args({1280, 720, 2})
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

// What a resize of a fitted window costs the thread that handles the input: the new layout,
// the outline pictures of the new card size, and the board painted with the pictures at hand
// (the faces of the new size come from the worker thread). Every iteration is a size not seen
// before.
static void BM_ResizeFitted(benchmark::State& state) {
    const qreal ratio = qreal(state.range(0));
    DealtGame dealt(false, 794, 508, true, ratio);
    int width = 900;
    for (auto _ : state) {
        width = width >= 2400 ? 900 : width + 7;
        dealt.game.BoardResize(width, width * 9 / 16, ratio);
        benchmark::DoNotOptimize(dealt.game.BoardImage.constBits());
    }
    TPictureCache::Shared().WaitIdle();
    state.SetLabel(ratio == 1 ? "ratio 1" : "ratio 2");
}
BENCHMARK(BM_ResizeFitted)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

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

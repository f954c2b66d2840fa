// The fireworks at their busiest: four rockets launched a second apart on a board-sized
// picture, measured one frame (simulation and drawing) at the peak particle count.
#include <benchmark/benchmark.h>

#include <QImage>

#include "FireworksPeak.h"

namespace {

using namespace fireworks_bench;

// The basic rocket with the four thrusts and fuses of a celebration (colours do not change the
// work a frame does).
const Rockets& basicVariants() {
    static const Rockets rockets = [] {
        static const double thrust[4] = {88, 100, 120, 100};
        static const double fuse[4] = {5.0, 5.5, 4.0, 5.5};
        Rockets r;
        for (int n = 0; n < 4; ++n) {
            r[size_t(n)] = BasicTemplate;
            r[size_t(n)].ThrustForce = thrust[n];
            r[size_t(n)].Fuse = fuse[n];
        }
        return r;
    }();
    return rockets;
}

void BM_FireworksFrameAtPeak(benchmark::State& state) {
    static const PeakState peak = findPeak(basicVariants());
    frameAtPeak(state, peak, QImage::Format_RGB32);
}
BENCHMARK(BM_FireworksFrameAtPeak)->Unit(benchmark::kMicrosecond);

// A whole display from the first launch to the last particle, without the 100-ms waits.
void BM_FireworksWholeDisplay(benchmark::State& state) {
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    int frames = 0;
    for (auto _ : state) {
        GameRandom().Seed = Seed;
        TFireworks fw;
        frames = 0;
        for (int frame = 0; frame < 40 || fw.Rockets.Count() > 0; ++frame, ++frames)
            displayFrame(fw, picture, frame, basicVariants());
    }
    state.counters["frames"] = frames;
}
BENCHMARK(BM_FireworksWholeDisplay)->Unit(benchmark::kMillisecond);

} // namespace

// The fireworks at their busiest: four rockets launched a second apart on a board-sized
// picture, measured one frame (simulation and drawing) at the peak particle count.
#include <benchmark/benchmark.h>

#include <QImage>

#include "cards/TRandom.h"
#include "celebration/FireworksLib.h"

namespace {

constexpr int PictureWidth = 794;
constexpr int PictureHeight = 520;
constexpr uint32_t Seed = 20240601;

TRocket rocketNumber(int n) {
    static const double thrust[4] = {88, 100, 120, 100};
    static const double fuse[4] = {5.0, 5.5, 4.0, 5.5};
    TRocket r = BasicTemplate;
    r.ThrustForce = thrust[n];
    r.Fuse = fuse[n];
    return r;
}

// One frame of the display loop: launches at frames 0, 10, 20 and 30, then Frame.
void displayFrame(TFireworks& fw, QImage& picture, int frame) {
    if (frame % 10 == 0 && frame < 40)
        fw.Launch(picture, rocketNumber(frame / 10));
    fw.Frame(picture);
}

struct PeakState {
    TFireworks fireworks;
    uint32_t seed = 0;
    int frame = 0;
};

// The display just after the frame with the most particles, with the generator as it was then.
const PeakState& peakState() {
    static const PeakState peak = [] {
        PeakState best;
        GameRandom().Seed = Seed;
        TFireworks fw;
        QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
        for (int frame = 0; frame < 40 || fw.Rockets.Count() > 0; ++frame) {
            displayFrame(fw, picture, frame);
            if (fw.Rockets.Count() > best.fireworks.Rockets.Count()) {
                best.fireworks = fw;
                best.seed = GameRandom().Seed;
                best.frame = frame;
            }
        }
        return best;
    }();
    return peak;
}

void BM_FireworksFrameAtPeak(benchmark::State& state) {
    const PeakState& peak = peakState();
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    TFireworks fw;
    for (auto _ : state) {
        state.PauseTiming();
        fw = peak.fireworks;
        fw.Rockets.Reserve(peak.fireworks.Rockets.Count() * 2); // as in a running display
        GameRandom().Seed = peak.seed;
        state.ResumeTiming();
        fw.Frame(picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["particles"] = peak.fireworks.Rockets.Count();
    state.counters["peak_frame"] = peak.frame;
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
            displayFrame(fw, picture, frame);
    }
    state.counters["frames"] = frames;
}
BENCHMARK(BM_FireworksWholeDisplay)->Unit(benchmark::kMillisecond);

} // namespace

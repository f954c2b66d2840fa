#pragma once

// A seeded four-rocket display driven as the celebration drives it, and the state it is in
// at its busiest, for the benchmarks of the fireworks.
#include <array>
#include <cstdint>

#include <QImage>
#include <benchmark/benchmark.h>

#include "cards/TRandom.h"
#include "celebration/FireworksLib.h"

namespace fireworks_bench {

constexpr int PictureWidth = 794;
constexpr int PictureHeight = 520;
constexpr uint32_t Seed = 20240601;

using Rockets = std::array<TRocket, 4>;

// One frame of the display loop: launches at frames 0, 10, 20 and 30, then Frame.
inline void displayFrame(TFireworks& fw, QImage& picture, int frame, const Rockets& rockets) {
    if (frame % 10 == 0 && frame < 40)
        fw.Launch(picture, rockets[size_t(frame / 10)]);
    fw.Frame(picture);
}

struct PeakState {
    TFireworks fireworks;
    uint32_t seed = 0; // the generator as it was then
    int frame = 0;
};

// Runs the seeded display to its end and keeps it as it was just after its most crowded frame.
inline PeakState findPeak(const Rockets& rockets) {
    PeakState best;
    GameRandom().Seed = Seed;
    TFireworks fw;
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    for (int frame = 0; frame < 40 || fw.Rockets.Count() > 0; ++frame) {
        displayFrame(fw, picture, frame, rockets);
        if (fw.Rockets.Count() > best.fireworks.Rockets.Count()) {
            best.fireworks = fw;
            best.seed = GameRandom().Seed;
            best.frame = frame;
        }
    }
    return best;
}

// The timed loop of a frame-at-peak benchmark: each iteration starts from the peak state, with
// the generator where it was, and times one Frame on a picture in the given format.
template <class State>
void frameAtPeak(State& state, const PeakState& peak, QImage::Format format) {
    QImage picture(PictureWidth, PictureHeight, format);
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

} // namespace fireworks_bench

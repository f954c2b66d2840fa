#include "Dsp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

using namespace soundsynth;

namespace {

constexpr int kRate = 44100;

Buffer sine(double frequency, double seconds, int rate = kRate) {
    return additiveTone(framesFor(seconds, rate), rate, [frequency](double) { return frequency; },
                        {{1.0, 1.0}});
}

double rms(const Buffer& b, std::size_t from = 0, std::size_t to = std::size_t(-1)) {
    to = std::min(to, b.size());
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(b[i]) * b[i];
    return std::sqrt(sum / double(std::max<std::size_t>(to - from, 1)));
}

// Gain of a filter for a steady sine, measured after the filter has settled.
double gainAt(FilterKind kind, double cutoff, double frequency) {
    Buffer b = sine(frequency, 0.2);
    applyFilter(
        b, kRate, kind, [cutoff](double) { return cutoff; }, 0.707);
    return rms(b, b.size() / 2) / (1.0 / std::sqrt(2.0));
}

std::size_t upwardCrossings(const Buffer& b) {
    std::size_t n = 0;
    for (std::size_t i = 1; i < b.size(); ++i)
        n += b[i - 1] < 0 && b[i] >= 0;
    return n;
}

} // namespace

TEST(Dsp, NoiseIsReproducibleBoundedAndCentred) {
    Noise a(42), b(42), c(43);
    const Buffer x = whiteNoise(a, 20000), y = whiteNoise(b, 20000), z = whiteNoise(c, 20000);
    EXPECT_EQ(x, y);
    EXPECT_NE(x, z);
    EXPECT_LE(peakOf(x), 1.0f);
    EXPECT_NEAR(std::accumulate(x.begin(), x.end(), 0.0) / double(x.size()), 0.0, 0.02);
    EXPECT_NEAR(rms(x), 1.0 / std::sqrt(3.0), 0.02);
}

TEST(Dsp, FiltersPassAndStopTheRightBands) {
    EXPECT_NEAR(gainAt(FilterKind::LowPass, 1000, 100), 1.0, 0.05);
    EXPECT_LT(gainAt(FilterKind::LowPass, 1000, 8000), 0.03);
    EXPECT_NEAR(gainAt(FilterKind::HighPass, 1000, 8000), 1.0, 0.05);
    EXPECT_LT(gainAt(FilterKind::HighPass, 1000, 100), 0.03);
    EXPECT_NEAR(gainAt(FilterKind::BandPass, 2000, 2000), 1.0, 0.05);
    EXPECT_LT(gainAt(FilterKind::BandPass, 2000, 200), 0.2);
}

TEST(Dsp, LoopedFilterJoinsSeamlessly) {
    // Filtering the loop must equal the middle copy of the loop filtered three times over.
    Noise noise(7);
    const Buffer loop = whiteNoise(noise, 3000);
    Buffer looped = loop;
    applyFilterLooped(looped, kRate, FilterKind::BandPass, 1500, 2.0);
    Buffer tripled;
    for (int i = 0; i < 3; ++i)
        tripled.insert(tripled.end(), loop.begin(), loop.end());
    applyFilter(
        tripled, kRate, FilterKind::BandPass, [](double) { return 1500.0; }, 2.0);
    for (std::size_t i = 0; i < loop.size(); ++i)
        ASSERT_NEAR(looped[i], tripled[loop.size() + i], 1e-4) << i;
}

TEST(Dsp, AdditiveToneFollowsItsPitchAndDropsPartialsAboveNyquist) {
    const Buffer a = sine(441.0, 1.0);
    EXPECT_NEAR(double(upwardCrossings(a)), 441.0, 1.0);

    const Buffer rising =
        additiveTone(kRate, kRate, [](double t) { return 200.0 + 800.0 * t; }, {{1.0, 1.0}});
    const Buffer head(rising.begin(), rising.begin() + kRate / 10),
        tail(rising.end() - kRate / 10, rising.end());
    EXPECT_GT(upwardCrossings(tail), 4 * upwardCrossings(head));

    const Buffer guarded =
        additiveTone(4410, kRate, [](double) { return 1000.0; }, {{1.0, 1.0}, {21.0, 1.0}});
    const Buffer plain = sine(1000.0, 0.1);
    for (std::size_t i = 0; i < plain.size(); ++i)
        ASSERT_NEAR(guarded[i], plain[i], 1e-6);
}

TEST(Dsp, EnvelopesStartSilentAndJoinSmoothly) {
    const Adsr adsr{0.01, 0.05, 0.6, 0.1};
    EXPECT_EQ(adsr.at(0.0, 0.5), 0.0);
    EXPECT_NEAR(adsr.at(0.01, 0.5), 1.0, 1e-9);
    EXPECT_NEAR(adsr.at(0.3, 0.5), 0.6, 1e-9);
    EXPECT_NEAR(adsr.at(0.5 - 1e-9, 0.5), adsr.at(0.5 + 1e-9, 0.5), 1e-6);
    EXPECT_EQ(adsr.at(0.7, 0.5), 0.0);
    // Released during the attack, the note falls from where it had got to.
    EXPECT_NEAR(adsr.at(0.005 + 1e-9, 0.005), 0.5, 1e-3);
    EXPECT_EQ(strike(-0.001, 0.001, 0.01), 0.0);
    EXPECT_NEAR(strike(0.011, 0.001, 0.01), std::exp(-1.0), 1e-9);
}

TEST(Dsp, FadesReachSilenceAtBothEnds) {
    Buffer b(1000, 1.0f);
    fadeIn(b, kRate, 0.005);
    fadeOut(b, kRate, 0.005);
    EXPECT_EQ(b.front(), 0.0f);
    EXPECT_EQ(b.back(), 0.0f);
    EXPECT_EQ(b[500], 1.0f);
    EXPECT_TRUE(std::is_sorted(b.begin(), b.begin() + 220));
}

TEST(Dsp, MixingClipsToTheTargetOrWrapsRoundALoop) {
    Buffer dst(4, 0.0f);
    mixInto(dst, {1, 2, 3}, -1, 2.0f);
    mixInto(dst, {1, 1, 1}, 3);
    EXPECT_EQ(dst, (Buffer{4, 6, 0, 1}));
    Buffer loop(4, 0.0f);
    mixIntoLooped(loop, {1, 2, 3, 4, 5}, 2);
    EXPECT_EQ(loop, (Buffer{3 + 0, 4, 1 + 5, 2}));
}

TEST(Dsp, ReverbAddsATailWithoutChangingTheLength) {
    Buffer click(kRate / 2, 0.0f);
    click[0] = 1.0f;
    const Buffer wet = withReverb(click, kRate, {0.8, 0.3, 0.5});
    ASSERT_EQ(wet.size(), click.size());
    EXPECT_EQ(wet[0], 1.0f);
    EXPECT_GT(rms(wet, kRate / 10, kRate / 5), 1e-4);
    EXPECT_LT(rms(wet, kRate / 10, kRate / 5), rms(wet, kRate / 50, kRate / 10));
}

TEST(Dsp, LoopRotationStartsInTheQuietAtAZeroCrossing) {
    Buffer loop = sine(300, 0.5);
    for (std::size_t i = 0; i < loop.size(); ++i)
        loop[i] *= (i > 15000 && i < 17000) ? 0.01f : 1.0f;
    Buffer rotated = loop;
    rotateToQuietStart(rotated, kRate);
    EXPECT_LT(std::fabs(rotated.front()), 0.001f);
    EXPECT_LT(rms(rotated, 0, 200), 0.02);
    // Nothing added or lost: the result is the same loop, started elsewhere.
    Buffer twice = loop;
    twice.insert(twice.end(), loop.begin(), loop.end());
    EXPECT_NE(std::search(twice.begin(), twice.end(), rotated.begin(), rotated.end()), twice.end());
}

TEST(Dsp, DitherLeavesSilenceAloneAndStaysWithinAStep) {
    Buffer b(4000, 0.0f);
    for (std::size_t i = 1000; i < 3000; ++i)
        b[i] = 0.3f * float(std::sin(0.05 * double(i)));
    const Buffer before = b;
    Noise noise(1);
    addGatedDither(b, kRate, 8, noise);
    EXPECT_TRUE(std::all_of(b.begin(), b.begin() + 900, [](float x) { return x == 0.0f; }));
    EXPECT_TRUE(std::all_of(b.end() - 900, b.end(), [](float x) { return x == 0.0f; }));
    double largest = 0;
    for (std::size_t i = 0; i < b.size(); ++i)
        largest = std::max(largest, double(std::fabs(b[i] - before[i])));
    EXPECT_GT(largest, 0.0);
    EXPECT_LE(largest, 1.0 / 127.0 + 1e-6);
}

#pragma once

// Building blocks the sound recipes are assembled from: deterministic noise, filters,
// envelopes, oscillators, mixing and a small room reverb. Buffers hold one channel at full
// scale +-1.0; time is always in seconds.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace soundsynth {

using Buffer = std::vector<float>;
// A value that changes over time: a frequency, a gain, a modulation index.
using Curve = std::function<double(double seconds)>;

std::size_t framesFor(double seconds, int rate);

// Fixed-seed white noise (xorshift32), so every build renders the same bytes.
class Noise {
public:
    explicit Noise(uint32_t seed);
    double uniform(); // [0, 1)
    double range(double low, double high);
    float sample() { return float(range(-1.0, 1.0)); }

private:
    uint32_t state_;
};

Buffer whiteNoise(Noise& noise, std::size_t frames);

enum class FilterKind { LowPass, HighPass, BandPass };

// A second-order section (the usual cookbook designs; the band-pass peaks at 0 dB).
class Biquad {
public:
    Biquad(FilterKind kind, int rate) : kind_(kind), rate_(rate) {}
    void tune(double frequency, double q);
    float process(float x);

private:
    FilterKind kind_;
    int rate_;
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Filters in place; the frequency may sweep over time.
void applyFilter(Buffer& buffer, int rate, FilterKind kind, const Curve& frequency, double q);
// Filters a buffer that will be played as a loop: the filter is run round the loop twice so its
// state at the start is the state the end leaves behind, and the seam stays continuous.
void applyFilterLooped(Buffer& buffer, int rate, FilterKind kind, double frequency, double q);

void applyEnvelope(Buffer& buffer, int rate, const Curve& gain);

// Envelope shapes, each a plain function of time.
double smoothStep(double x);                        // raised cosine, 0 -> 1 over [0, 1]
double expDecay(double t, double tau);              // 1 at t = 0, 0 before
double strike(double t, double attack, double tau); // short smooth rise, exponential fall
// Attack, decay to the sustain level, hold until `held`, then release; all smooth.
struct Adsr {
    double attack, decay, sustain, release;
    double at(double t, double held) const;
};

// One component of an additive tone: frequency ratio to the fundamental, amplitude and an
// optional decay time constant (0 keeps it steady).
struct Partial {
    double ratio;
    double amplitude;
    double decay = 0.0;
};
// Sum of sine partials following a (possibly sweeping) fundamental; partials fade out
// smoothly as they approach the Nyquist frequency instead of aliasing.
Buffer additiveTone(std::size_t frames, int rate, const Curve& frequency,
                    const std::vector<Partial>& partials);
// Two-operator FM: a sine carrier phase-modulated by a sine at `ratio` times its frequency.
Buffer fmTone(std::size_t frames, int rate, const Curve& frequency, double ratio, const Curve& index);

// Adds src * gain into dst starting at `offset`; whatever falls outside dst is dropped.
void mixInto(Buffer& dst, const Buffer& src, std::ptrdiff_t offset, float gain = 1.0f);
// Same, but wraps round the end of dst, for loops.
void mixIntoLooped(Buffer& dst, const Buffer& src, std::size_t offset, float gain = 1.0f);

struct ReverbSettings {
    double roomSize = 0.75; // comb feedback, 0..0.95
    double damping = 0.35;  // high-frequency loss per reflection, 0..1
    double wet = 0.25;      // wet level relative to the dry signal's energy
};
// A small comb/all-pass room; returns dry plus wet, the same length as the input.
Buffer withReverb(const Buffer& dry, int rate, const ReverbSettings& settings);

void fadeIn(Buffer& buffer, int rate, double seconds);
void fadeOut(Buffer& buffer, int rate, double seconds);
float peakOf(const Buffer& buffer);
void scaleBy(Buffer& buffer, float gain);
// Rotates a loop so it starts at a zero crossing in its quietest stretch; the loop itself is
// unchanged, but playback begins and the seam sits where nothing can be heard to jump.
void rotateToQuietStart(Buffer& loop, int rate);
// Adds triangular dither of one quantisation step for `bits`-bit output, faded in and out with
// the signal so silence stays exactly silent.
void addGatedDither(Buffer& buffer, int rate, int bits, Noise& noise);

} // namespace soundsynth

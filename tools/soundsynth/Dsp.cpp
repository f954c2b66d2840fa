#include "Dsp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace soundsynth {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Swept filters are re-tuned this often; finer steps are inaudible and cost time.
constexpr std::size_t kRetuneInterval = 8;

// Keeps a phase in [0, 2pi) so long tones do not lose precision.
double wrapPhase(double phase) {
    phase = std::fmod(phase, kTwoPi);
    return phase < 0 ? phase + kTwoPi : phase;
}

// Gain that takes a partial smoothly to nothing between 40% and 45% of the sample rate.
double nyquistGuard(double frequency, int rate) {
    const double top = 0.45 * rate, knee = 0.05 * rate;
    return std::clamp((top - frequency) / knee, 0.0, 1.0);
}

double energyOf(const Buffer& buffer) {
    double sum = 0;
    for (float x : buffer)
        sum += double(x) * x;
    return sum;
}

// Feedback comb with a one-pole low-pass in the loop.
class DampedComb {
public:
    DampedComb(std::size_t length, double feedback, double damping)
        : line_(std::max<std::size_t>(length, 1), 0.0f), feedback_(feedback), damping_(damping) {}
    float process(float x) {
        const float out = line_[pos_];
        store_ = out * (1.0 - damping_) + store_ * damping_;
        line_[pos_] = float(x + store_ * feedback_);
        pos_ = (pos_ + 1) % line_.size();
        return out;
    }

private:
    std::vector<float> line_;
    std::size_t pos_ = 0;
    double feedback_, damping_, store_ = 0;
};

class AllPass {
public:
    explicit AllPass(std::size_t length) : line_(std::max<std::size_t>(length, 1), 0.0f) {}
    float process(float x) {
        const float delayed = line_[pos_];
        line_[pos_] = x + delayed * 0.5f;
        pos_ = (pos_ + 1) % line_.size();
        return delayed - x;
    }

private:
    std::vector<float> line_;
    std::size_t pos_ = 0;
};

Buffer reverbTail(const Buffer& dry, int rate, const ReverbSettings& settings) {
    // Mutually prime delays (in samples at 44.1 kHz), scaled to the sound's rate.
    static constexpr std::array<int, 6> kCombs{1116, 1188, 1277, 1356, 1422, 1491};
    static constexpr std::array<int, 3> kAllPasses{556, 441, 341};
    const double scale = rate / 44100.0;
    std::vector<DampedComb> combs;
    for (int length : kCombs)
        combs.emplace_back(std::size_t(length * scale), std::clamp(settings.roomSize, 0.0, 0.95),
                           std::clamp(settings.damping, 0.0, 1.0));
    std::vector<AllPass> allPasses;
    for (int length : kAllPasses)
        allPasses.emplace_back(std::size_t(length * scale));

    Buffer wet(dry.size());
    for (std::size_t i = 0; i < dry.size(); ++i) {
        float sum = 0;
        for (auto& comb : combs)
            sum += comb.process(dry[i]);
        for (auto& allPass : allPasses)
            sum = allPass.process(sum);
        wet[i] = sum;
    }
    return wet;
}

} // namespace

std::size_t framesFor(double seconds, int rate) {
    return std::size_t(std::lround(std::max(seconds, 0.0) * rate));
}

Noise::Noise(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}

double Noise::uniform() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return double(state_) * (1.0 / 4294967296.0);
}

double Noise::range(double low, double high) {
    return low + (high - low) * uniform();
}

Buffer whiteNoise(Noise& noise, std::size_t frames) {
    Buffer buffer(frames);
    for (float& x : buffer)
        x = noise.sample();
    return buffer;
}

void Biquad::tune(double frequency, double q) {
    const double f = std::clamp(frequency, 10.0, 0.49 * rate_);
    const double w0 = kTwoPi * f / rate_;
    const double cosW = std::cos(w0);
    const double alpha = std::sin(w0) / (2.0 * std::max(q, 0.05));
    const double a0 = 1.0 + alpha;
    switch (kind_) {
    case FilterKind::LowPass:
        b0_ = (1.0 - cosW) / 2.0, b1_ = 1.0 - cosW, b2_ = b0_;
        break;
    case FilterKind::HighPass:
        b0_ = (1.0 + cosW) / 2.0, b1_ = -(1.0 + cosW), b2_ = b0_;
        break;
    case FilterKind::BandPass:
        b0_ = alpha, b1_ = 0.0, b2_ = -alpha;
        break;
    }
    b0_ /= a0, b1_ /= a0, b2_ /= a0;
    a1_ = -2.0 * cosW / a0;
    a2_ = (1.0 - alpha) / a0;
}

float Biquad::process(float x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_, x1_ = x;
    y2_ = y1_, y1_ = y;
    return float(y);
}

void applyFilter(Buffer& buffer, int rate, FilterKind kind, const Curve& frequency, double q) {
    Biquad filter(kind, rate);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        if (i % kRetuneInterval == 0) filter.tune(frequency(double(i) / rate), q);
        buffer[i] = filter.process(buffer[i]);
    }
}

void applyFilterLooped(Buffer& buffer, int rate, FilterKind kind, double frequency, double q) {
    Biquad filter(kind, rate);
    filter.tune(frequency, q);
    for (float x : buffer) // settle the state on the loop itself, discarding the output
        filter.process(x);
    for (float& x : buffer)
        x = filter.process(x);
}

void applyEnvelope(Buffer& buffer, int rate, const Curve& gain) {
    for (std::size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = float(buffer[i] * gain(double(i) / rate));
}

double smoothStep(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

double expDecay(double t, double tau) {
    return t < 0 ? 0.0 : std::exp(-t / tau);
}

double strike(double t, double attack, double tau) {
    if (t < 0) return 0.0;
    return smoothStep(t / attack) * std::exp(-std::max(t - attack, 0.0) / tau);
}

double Adsr::at(double t, double held) const {
    if (t < 0) return 0.0;
    auto beforeRelease = [this](double u) {
        if (u < attack) return smoothStep(u / attack);
        return sustain + (1.0 - sustain) * (1.0 - smoothStep((u - attack) / decay));
    };
    if (t < held) return beforeRelease(t);
    return beforeRelease(held) * (1.0 - smoothStep((t - held) / release));
}

Buffer additiveTone(std::size_t frames, int rate, const Curve& frequency,
                    const std::vector<Partial>& partials) {
    Buffer out(frames, 0.0f);
    std::vector<double> phases(partials.size(), 0.0);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double f = frequency(t);
        double sum = 0;
        for (std::size_t k = 0; k < partials.size(); ++k) {
            const Partial& p = partials[k];
            const double level = p.decay > 0 ? p.amplitude * std::exp(-t / p.decay) : p.amplitude;
            sum += level * nyquistGuard(f * p.ratio, rate) * std::sin(phases[k]);
            phases[k] = wrapPhase(phases[k] + kTwoPi * f * p.ratio / rate);
        }
        out[i] = float(sum);
    }
    return out;
}

Buffer fmTone(std::size_t frames, int rate, const Curve& frequency, double ratio, const Curve& index) {
    Buffer out(frames, 0.0f);
    double carrier = 0, modulator = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double f = frequency(t);
        out[i] = float(std::sin(carrier + index(t) * std::sin(modulator)));
        carrier = wrapPhase(carrier + kTwoPi * f / rate);
        modulator = wrapPhase(modulator + kTwoPi * f * ratio / rate);
    }
    return out;
}

void mixInto(Buffer& dst, const Buffer& src, std::ptrdiff_t offset, float gain) {
    for (std::size_t i = 0; i < src.size(); ++i) {
        const std::ptrdiff_t j = offset + std::ptrdiff_t(i);
        if (j >= 0 && j < std::ptrdiff_t(dst.size())) dst[std::size_t(j)] += src[i] * gain;
    }
}

void mixIntoLooped(Buffer& dst, const Buffer& src, std::size_t offset, float gain) {
    if (dst.empty()) return;
    for (std::size_t i = 0; i < src.size(); ++i)
        dst[(offset + i) % dst.size()] += src[i] * gain;
}

Buffer withReverb(const Buffer& dry, int rate, const ReverbSettings& settings) {
    Buffer wet = reverbTail(dry, rate, settings);
    const double dryEnergy = energyOf(dry), wetEnergy = energyOf(wet);
    const double gain = wetEnergy > 0 ? settings.wet * std::sqrt(dryEnergy / wetEnergy) : 0.0;
    Buffer out(dry);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] += float(wet[i] * gain);
    return out;
}

void fadeIn(Buffer& buffer, int rate, double seconds) {
    const std::size_t n = std::min(buffer.size(), framesFor(seconds, rate));
    for (std::size_t i = 0; i < n; ++i)
        buffer[i] *= float(smoothStep(double(i) / double(n)));
}

void fadeOut(Buffer& buffer, int rate, double seconds) {
    const std::size_t n = std::min(buffer.size(), framesFor(seconds, rate));
    for (std::size_t i = 0; i < n; ++i)
        buffer[buffer.size() - 1 - i] *= float(smoothStep(double(i) / double(n)));
}

float peakOf(const Buffer& buffer) {
    float peak = 0;
    for (float x : buffer)
        peak = std::max(peak, std::fabs(x));
    return peak;
}

void scaleBy(Buffer& buffer, float gain) {
    for (float& x : buffer)
        x *= gain;
}

void rotateToQuietStart(Buffer& loop, int rate) {
    const std::size_t n = loop.size();
    const std::size_t window = std::clamp<std::size_t>(framesFor(0.01, rate), 1, n ? n : 1);
    if (n < 2 * window) return;
    // Sliding energy round the loop; the quietest window's centre is where the loop should start.
    double energy = 0;
    for (std::size_t i = 0; i < window; ++i)
        energy += double(loop[i]) * loop[i];
    double best = energy;
    std::size_t quietest = window / 2;
    for (std::size_t start = 1; start < n; ++start) {
        const float leaving = loop[start - 1], entering = loop[(start + window - 1) % n];
        energy += double(entering) * entering - double(leaving) * leaving;
        if (energy < best) best = energy, quietest = (start + window / 2) % n;
    }
    // The sample nearest to zero round that point, so playback begins from (almost) nothing.
    std::size_t start = quietest;
    for (std::size_t k = 0; k < window; ++k) {
        const std::size_t i = (quietest + n - window / 2 + k) % n;
        if (std::fabs(loop[i]) < std::fabs(loop[start])) start = i;
    }
    std::rotate(loop.begin(), loop.begin() + std::ptrdiff_t(start), loop.end());
}

void addGatedDither(Buffer& buffer, int rate, int bits, Noise& noise) {
    const double step = 1.0 / double((1 << (bits - 1)) - 1);
    const double threshold = 8.0 * step;
    const double release = std::exp(-1.0 / (0.02 * rate));
    // Envelope followed forwards and backwards; the smaller of the two falls to zero at the
    // edges of every silent stretch, wherever the signal sits.
    Buffer forward(buffer.size()), backward(buffer.size());
    double level = 0;
    for (std::size_t i = 0; i < buffer.size(); ++i)
        forward[i] = float(level = std::max(double(std::fabs(buffer[i])), level * release));
    level = 0;
    for (std::size_t i = buffer.size(); i-- > 0;)
        backward[i] = float(level = std::max(double(std::fabs(buffer[i])), level * release));
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const double gate = std::min(1.0, std::min(forward[i], backward[i]) / threshold);
        const double triangular = noise.uniform() - noise.uniform();
        buffer[i] += float(gate * triangular * step);
    }
}

} // namespace soundsynth

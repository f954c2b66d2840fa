#include "SoundRecogniser.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <stdexcept>

namespace sound {

namespace {

// An effect is found by its first 60 ms: long enough to tell the ten apart at once, short enough
// that a sound cut soon after it began is still found.
constexpr double OpeningSeconds = 0.06;
// How closely an opening must match (normalised correlation) to count as the effect starting.
constexpr double OnsetScore = 0.85;
// The level an effect may be heard at against the stored sound.
constexpr double MinGain = 0.5, MaxGain = 2.0;
constexpr double Silence = 3e-4;
// A stretch goes on as an effect while each 10 ms of it differs from the effect by at most this
// share of its energy.
constexpr double Tolerance = 0.1;

using Complex = std::complex<double>;

// In-place radix-2 transform; the size is a power of two.
void Fft(std::vector<Complex>& a, bool inverse) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = 2 * std::numbers::pi / double(len) * (inverse ? 1 : -1);
        const Complex step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            Complex w(1);
            for (size_t k = 0; k < len / 2; ++k, w *= step) {
                const Complex u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
    if (inverse)
        for (Complex& c : a)
            c /= double(n);
}

std::vector<Complex> Spectrum(const Samples& s, size_t size) {
    std::vector<Complex> a(size);
    std::copy(s.begin(), s.end(), a.begin());
    Fft(a, false);
    return a;
}

} // namespace

bool IsSilent(float sample) {
    return std::abs(sample) <= Silence;
}

Samples Resample(const Samples& in, int inRate, int outRate) {
    if (inRate == outRate)
        return in;
    // Blackman-windowed sinc, 32 zero crossings each side at the lower rate, looked up in a table
    // of 512 steps per zero crossing.
    constexpr int halfWidth = 32, steps = 512;
    static const std::vector<double> kernel = [] {
        std::vector<double> k(halfWidth * steps + 2);
        for (size_t i = 0; i < k.size(); ++i) {
            const double t = double(i) / steps;
            const double sinc = i == 0 ? 1.0 : std::sin(std::numbers::pi * t) / (std::numbers::pi * t);
            const double w = t >= halfWidth ? 0.0
                                            : 0.42 + 0.5 * std::cos(std::numbers::pi * t / halfWidth) +
                                                  0.08 * std::cos(2 * std::numbers::pi * t / halfWidth);
            k[i] = sinc * w;
        }
        return k;
    }();
    auto h = [](double t) {
        const double at = std::abs(t) * steps;
        const auto i = size_t(at);
        if (i + 1 >= kernel.size())
            return 0.0;
        return kernel[i] + (kernel[i + 1] - kernel[i]) * (at - double(i));
    };
    const double ratio = double(inRate) / outRate;
    const double cutoff = std::min(1.0, double(outRate) / inRate);
    const double reach = halfWidth / cutoff;
    const auto frames = size_t(std::llround(double(in.size()) / ratio));
    Samples out(frames);
    for (size_t n = 0; n < frames; ++n) {
        const double centre = double(n) * ratio;
        const auto first = std::max<int64_t>(0, int64_t(std::ceil(centre - reach)));
        const auto last = std::min<int64_t>(int64_t(in.size()) - 1, int64_t(std::floor(centre + reach)));
        double sum = 0;
        for (int64_t k = first; k <= last; ++k)
            sum += in[size_t(k)] * h((double(k) - centre) * cutoff);
        out[n] = float(sum * cutoff);
    }
    return out;
}

Recogniser::Recogniser(std::vector<Samples> effects_, std::vector<QString> names_, int rate_)
    : effects(std::move(effects_)), names(std::move(names_)), rate(rate_) {
    if (effects.size() != names.size())
        throw std::invalid_argument("one name for each effect");
    const auto opening = size_t(OpeningSeconds * rate);
    for (const Samples& e : effects) {
        if (e.size() < 2 * opening)
            throw std::invalid_argument("an effect shorter than its opening");
        openings.emplace_back(e.begin(), e.begin() + long(opening));
        int64_t end = int64_t(e.size());
        while (end > 0 && IsSilent(e[size_t(end - 1)]))
            --end;
        audibleEnd.push_back(end);
    }
}

// Where the opening of an effect matches the recording best, by normalised correlation computed
// through the spectrum; of the places closer together than half an opening, the best only.
std::vector<Recogniser::Onset> Recogniser::FindOnsets(const Samples& x) const {
    const size_t w = openings.front().size();
    if (x.size() < w)
        return {};
    size_t size = 1;
    while (size < x.size() + w)
        size <<= 1;
    const std::vector<Complex> xs = Spectrum(x, size);
    std::vector<double> energy(x.size() + 1, 0.0); // running sum of squares
    for (size_t i = 0; i < x.size(); ++i)
        energy[i + 1] = energy[i] + double(x[i]) * x[i];

    std::vector<Onset> found;
    for (size_t e = 0; e < openings.size(); ++e) {
        const Samples& p = openings[e];
        double pe = 0;
        for (float v : p)
            pe += double(v) * v;
        std::vector<Complex> c = Spectrum(p, size);
        for (size_t i = 0; i < size; ++i)
            c[i] = xs[i] * std::conj(c[i]);
        Fft(c, true);
        // Within each run of places above the threshold, the best.
        Onset best{-1, int(e), 0, 0};
        for (size_t t = 0; t + w <= x.size(); ++t) {
            const double xe = energy[t + w] - energy[t];
            double score = 0, gain = 0;
            if (xe > double(w) * Silence * Silence) {
                score = c[t].real() / std::sqrt(xe * pe);
                gain = c[t].real() / pe;
            }
            const bool good = score >= OnsetScore && gain >= MinGain && gain <= MaxGain;
            if (good && score > best.score)
                best = {int64_t(t), int(e), score, gain};
            if (!good && best.at >= 0 && int64_t(t) > best.at + int64_t(w / 2)) {
                found.push_back(best);
                best = {-1, int(e), 0, 0};
            }
        }
        if (best.at >= 0)
            found.push_back(best);
    }
    std::sort(found.begin(), found.end(), [](const Onset& a, const Onset& b) { return a.score > b.score; });
    std::vector<Onset> kept;
    for (const Onset& o : found)
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const Onset& k) { return std::abs(k.at - o.at) < int64_t(w / 2); }))
            kept.push_back(o);
    std::sort(kept.begin(), kept.end(), [](const Onset& a, const Onset& b) { return a.at < b.at; });
    return kept;
}

Heard Recogniser::Follow(const Samples& x, const Onset& onset, const std::vector<Onset>& onsets) const {
    const Samples& r = Effect(onset.effect);
    const auto period = int64_t(r.size());
    const int64_t block = rate / 100;
    const auto n = int64_t(x.size());
    const double g = onset.gain;
    Heard h;
    h.effect = onset.effect;
    h.start = onset.at;
    h.gain = g;
    int64_t at = onset.at; // in the recording
    int64_t played = 0;    // into the effect, going round its start again as a loop
    for (;;) {
        // Block by block while the recording is the effect.
        while (at < n) {
            const int64_t m = std::min(block, n - at);
            double err = 0, ref = 0, sig = 0;
            for (int64_t i = 0; i < m; ++i) {
                const double rv = g * r[size_t((played + i) % period)];
                const double xv = x[size_t(at + i)];
                err += (xv - rv) * (xv - rv);
                ref += rv * rv;
                sig += xv * xv;
            }
            if (err > Tolerance * std::max(ref, sig) + double(m) * Silence * Silence)
                break;
            at += m;
            played += m;
        }
        // A cut may fall inside the block that no longer matched: what sounds on in it, up to
        // the first millisecond of silence, is still the effect.
        const int64_t limit = std::min(n, at + block);
        for (int64_t quiet = 0; at < limit && quiet < rate / 1000; ++at, ++played)
            quiet = IsSilent(x[size_t(at)]) ? quiet + 1 : 0;
        if (!GoesOn(x, onset, onsets, at, played))
            break;
        ++h.gaps;
    }
    // Another sound that starts where this one broke off ends it; a place inside the stretch that
    // merely resembles an opening (a loop's seam, a repeated figure) does not.
    const auto w = int64_t(openings.front().size());
    for (const Onset& o : onsets) {
        if (o.at <= onset.at + w / 2 || o.at >= at)
            continue;
        const bool seam = o.effect == onset.effect && (o.at - onset.at) % period <= 3;
        if (!seam && at - o.at <= 2 * block) {
            played -= at - o.at;
            at = o.at;
            break;
        }
    }
    while (at > onset.at && IsSilent(x[size_t(at - 1)])) {
        --at;
        --played;
    }
    h.length = at - onset.at;
    h.played = std::max<int64_t>(played, 0);
    h.complete = h.played >= audibleEnd[size_t(onset.effect)] - block && h.played < period + block;
    return h;
}

bool Recogniser::GoesOn(const Samples& x, const Onset& onset, const std::vector<Onset>& onsets, int64_t& at,
                        int64_t& played) const {
    const Samples& r = Effect(onset.effect);
    const auto period = int64_t(r.size());
    const int64_t block = rate / 100, window = 2 * block;
    const auto n = int64_t(x.size());
    // Something must follow within a second, and not the start of a sound.
    int64_t next = at;
    while (next < n && IsSilent(x[size_t(next)]))
        ++next;
    if (next == at || next + window > n || next - at > rate)
        return false;
    if (std::any_of(onsets.begin(), onsets.end(),
                    [&](const Onset& o) { return o.at > onset.at && o.at >= at - block && o.at <= next + block; }))
        return false;
    // Where in the effect it goes on: where it left off, or as far on as the gap was long (the
    // server may have let the silence take the samples' place), give or take a little.
    double signal = 0;
    for (int64_t i = 0; i < window; ++i)
        signal += double(x[size_t(next + i)]) * x[size_t(next + i)];
    double best = signal;
    int64_t bestPlayed = -1;
    for (int64_t k = std::max<int64_t>(0, played - 2 * block); k <= played + (next - at) + 2 * block; ++k) {
        double err = 0;
        for (int64_t i = 0; i < window && err < best; ++i) {
            const double d = x[size_t(next + i)] - onset.gain * r[size_t((k + i) % period)];
            err += d * d;
        }
        if (err < best) {
            best = err;
            bestPlayed = k;
        }
    }
    if (bestPlayed < 0 || best > Tolerance * signal + double(window) * Silence * Silence)
        return false;
    at = next;
    played = bestPlayed;
    return true;
}

std::vector<Heard> Recogniser::Transcribe(const Samples& x) const {
    std::vector<Heard> heard;
    // Whatever sounds between two recognised stretches is foreign.
    auto foreign = [&](int64_t from, int64_t to) {
        while (from < to && IsSilent(x[size_t(from)]))
            ++from;
        while (to > from && IsSilent(x[size_t(to - 1)]))
            --to;
        if (from < to)
            heard.push_back(Heard{-1, from, to - from, 0, 0, false, 0});
    };
    const std::vector<Onset> onsets = FindOnsets(x);
    const auto w = int64_t(openings.front().size());
    int64_t cursor = 0;
    for (const Onset& o : onsets) {
        if (o.at < cursor)
            continue;
        const Heard h = Follow(x, o, onsets);
        if (h.length < w / 2)
            continue; // a chance likeness, not an effect that went on
        foreign(cursor, h.start);
        heard.push_back(h);
        cursor = h.start + h.length;
    }
    foreign(cursor, int64_t(x.size()));
    return heard;
}

QString Recogniser::Describe(const std::vector<Heard>& heard) const {
    QStringList parts;
    for (const Heard& h : heard) {
        if (h.effect < 0) {
            parts << QStringLiteral("?@%1(%2 s)")
                         .arg(double(h.start) / rate, 0, 'f', 2)
                         .arg(double(h.length) / rate, 0, 'f', 2);
            continue;
        }
        QStringList notes;
        if (Periods(h) > 1.01)
            notes << QStringLiteral("x%1").arg(Periods(h), 0, 'f', 2);
        if (h.gaps > 0)
            notes << QStringLiteral("%1 gaps").arg(h.gaps);
        if (!h.complete)
            notes << QStringLiteral("cut at %1 s").arg(double(h.played) / rate, 0, 'f', 2);
        parts << Name(h.effect) + QStringLiteral("@%1").arg(double(h.start) / rate, 0, 'f', 2) +
                     (notes.isEmpty() ? QString() : QStringLiteral("(%1)").arg(notes.join(", ")));
    }
    return parts.isEmpty() ? QStringLiteral("silence") : parts.join(QLatin1Char(' '));
}

} // namespace sound

#include "Recipes.h"

#include "Dsp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace soundsynth {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

Sound monoSound(int rate, int bits, Buffer samples) {
    return Sound{PcmFormat{rate, 1, bits}, {std::move(samples)}};
}

Curve constant(double value) {
    return [value](double) { return value; };
}

// Whatever is still ringing when a building block's buffer ends is faded, never cut off.
double tailFade(double seconds) {
    return std::min(0.2 * seconds, 0.04);
}

// Filtered white noise shaped by an envelope: the grain of every click, rustle and hiss.
Buffer noiseBurst(Noise& noise, int rate, double seconds, FilterKind kind, const Curve& frequency, double q,
                  const Curve& envelope) {
    Buffer burst = whiteNoise(noise, framesFor(seconds, rate));
    applyFilter(burst, rate, kind, frequency, q);
    applyEnvelope(burst, rate, envelope);
    fadeOut(burst, rate, tailFade(seconds));
    return burst;
}

// A struck resonance: partials that ring and die away, with a soft attack against clicks.
Buffer struckTone(int rate, double seconds, const Curve& frequency, const std::vector<Partial>& partials,
                  double attack) {
    Buffer tone = additiveTone(framesFor(seconds, rate), rate, frequency, partials);
    applyEnvelope(tone, rate, [attack](double t) { return smoothStep(t / attack); });
    fadeOut(tone, rate, tailFade(seconds));
    return tone;
}

double midiToHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

void normalise(Sound& sound, double dbfs) {
    float peak = 0;
    for (const Buffer& channel : sound.channels)
        peak = std::max(peak, peakOf(channel));
    if (peak <= 0) return;
    const float gain = float(std::pow(10.0, dbfs / 20.0) / peak);
    for (Buffer& channel : sound.channels)
        scaleBy(channel, gain);
}

// ---- MOVETO: the snap of a card landing on the table -------------------------------------

Sound renderMoveTo() {
    const int rate = 44100;
    Noise noise(0x4d4f5645);
    Buffer out(framesFor(0.19, rate), 0.0f);
    // Paper slap, a sharper edge on top of it, then the table's short knock underneath.
    mixInto(out,
            noiseBurst(noise, rate, 0.05, FilterKind::BandPass, constant(3000), 0.9,
                       [](double t) { return strike(t, 0.0006, 0.007); }),
            0, 1.0f);
    mixInto(out,
            noiseBurst(noise, rate, 0.02, FilterKind::HighPass, constant(6500), 0.7,
                       [](double t) { return strike(t, 0.0003, 0.0025); }),
            0, 0.35f);
    mixInto(out,
            struckTone(
                rate, 0.19, [](double t) { return 165.0 * (1.0 + 0.4 * expDecay(t, 0.01)); },
                {{1.0, 1.0, 0.04}, {2.31, 0.35, 0.015}}, 0.0015),
            0, 0.55f);
    mixInto(out, struckTone(rate, 0.1, constant(930), {{1.0, 1.0, 0.009}}, 0.0008), 0, 0.25f);
    Sound sound = monoSound(rate, 16, withReverb(out, rate, {0.5, 0.5, 0.12}));
    finishSound(sound, 0.0005, 0.04, 1);
    return sound;
}

// ---- DEAL: a looped riffle of cards --------------------------------------------------------

struct Riffle {
    double start, length;
};
constexpr Riffle kRiffles[] = {{0.06, 0.84}, {1.13, 0.78}, {2.15, 0.88}};
constexpr double kDealLoop = 3.2;

// One card edge flicking off the thumb.
Buffer riffleFlick(Noise& noise, int rate) {
    const double centre = noise.range(2200, 4800), tau = noise.range(0.0012, 0.003);
    Buffer flick = noiseBurst(noise, rate, 0.012, FilterKind::BandPass, constant(centre), 1.3,
                              [tau](double t) { return strike(t, 0.0003, tau); });
    mixInto(flick,
            noiseBurst(noise, rate, 0.012, FilterKind::LowPass, constant(900), 0.7,
                       [](double t) { return strike(t, 0.0005, 0.002); }),
            0, 0.3f);
    return flick;
}

// Flicks that speed up through the riffle and swell then fade; ends with the deck squared up.
void addRiffle(Buffer& loop, Noise& noise, int rate, const Riffle& riffle) {
    for (double u = 0; u < 1.0;) {
        const double swell = smoothStep(u / 0.15) * (1.0 - 0.6 * smoothStep((u - 0.75) / 0.25));
        const float gain = float(swell * noise.range(0.55, 1.0));
        mixIntoLooped(loop, riffleFlick(noise, rate), framesFor(riffle.start + u * riffle.length, rate),
                      gain);
        u += (0.032 - 0.022 * u) * noise.range(0.7, 1.3) / riffle.length;
    }
    const double end = riffle.start + riffle.length + 0.06;
    mixIntoLooped(loop,
                  noiseBurst(noise, rate, 0.08, FilterKind::LowPass, constant(500), 0.8,
                             [](double t) { return strike(t, 0.001, 0.012); }),
                  framesFor(end, rate), 0.7f);
}

// Circular distance between two points of the loop, so the bed's swells wrap round the seam.
double loopDistance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, kDealLoop - d);
}

// The soft rustle of the deck between and under the flicks, louder while a riffle is running.
Buffer rustleBed(Noise& noise, int rate, std::size_t frames) {
    Buffer bed = whiteNoise(noise, frames);
    applyFilterLooped(bed, rate, FilterKind::BandPass, 1800, 0.5);
    applyFilterLooped(bed, rate, FilterKind::LowPass, 5000, 0.7);
    applyEnvelope(bed, rate, [](double t) {
        double level = 0.12;
        for (const Riffle& r : kRiffles)
            level += 0.3 * (1.0 - smoothStep(loopDistance(t, r.start + r.length / 2) / (r.length * 0.7)));
        return level;
    });
    return bed;
}

Sound renderDeal() {
    const int rate = 22050;
    Noise noise(0x4445414c);
    Buffer loop = rustleBed(noise, rate, framesFor(kDealLoop, rate));
    for (const Riffle& riffle : kRiffles)
        addRiffle(loop, noise, rate, riffle);
    rotateToQuietStart(loop, rate);
    Sound sound = monoSound(rate, 16, std::move(loop));
    normalise(sound, kPeakDbfs); // no fades: the loop must join end to start
    return sound;
}

// ---- ERROR: a low, soft buzz ---------------------------------------------------------------

// Harmonics of a soft, slightly hollow buzz: odd ones strong, even ones weaker.
std::vector<Partial> buzzPartials() {
    std::vector<Partial> partials;
    for (int n = 1; n <= 30; ++n)
        partials.push_back({double(n), (n % 2 ? 1.0 : 0.45) / std::pow(n, 1.1)});
    return partials;
}

Sound renderError() {
    const int rate = 22050;
    const double length = 0.28;
    auto pitch = [length](double detune) {
        return [length, detune](double t) { return detune * 146.8 * (1.0 - 0.07 * smoothStep(t / length)); };
    };
    Buffer out = additiveTone(framesFor(length, rate), rate, pitch(1.0), buzzPartials());
    mixInto(out, additiveTone(out.size(), rate, pitch(1.018), buzzPartials()), 0, 0.8f);
    applyFilter(out, rate, FilterKind::LowPass, constant(850), 0.7);
    const Adsr envelope{0.018, 0.09, 0.7, 0.09};
    applyEnvelope(out, rate, [envelope](double t) { return envelope.at(t, 0.19); });
    Sound sound = monoSound(rate, 16, std::move(out));
    finishSound(sound, 0.003, 0.01, 3);
    return sound;
}

// ---- MOVEHOME: a bright chime --------------------------------------------------------------

// A struck bar: a strong fundamental, an octave and a few inharmonic overtones dying fast.
Buffer chimeNote(int rate, double seconds, double frequency) {
    return struckTone(
        rate, seconds, constant(frequency),
        {{1.0, 1.0, 0.42}, {2.0, 0.38, 0.3}, {3.0, 0.14, 0.16}, {4.16, 0.09, 0.09}, {5.43, 0.05, 0.05}},
        0.0015);
}

Sound renderMoveHome() {
    const int rate = 44100;
    const double length = 1.25;
    Noise noise(0x484f4d45);
    Buffer out(framesFor(length, rate), 0.0f);
    mixInto(out, chimeNote(rate, length, midiToHz(84)), 0, 0.8f);                                      // C6
    mixInto(out, chimeNote(rate, length, midiToHz(91)), std::ptrdiff_t(framesFor(0.075, rate)), 0.7f); // G6
    for (double at : {0.0, 0.075})
        mixInto(out,
                noiseBurst(noise, rate, 0.01, FilterKind::HighPass, constant(6000), 0.7,
                           [](double t) { return strike(t, 0.0004, 0.0015); }),
                std::ptrdiff_t(framesFor(at, rate)), 0.15f);
    Sound sound = monoSound(rate, 16, withReverb(out, rate, {0.8, 0.3, 0.3}));
    finishSound(sound, 0.001, 0.3, 4);
    return sound;
}

// ---- PLAYCARD: a light tick as a card is picked up -----------------------------------------

Sound renderPlayCard() {
    const int rate = 44100;
    Noise noise(0x504c4159);
    Buffer out(framesFor(0.23, rate), 0.0f);
    mixInto(out,
            noiseBurst(noise, rate, 0.03, FilterKind::BandPass, constant(5200), 1.5,
                       [](double t) { return strike(t, 0.0003, 0.003); }),
            0, 0.9f);
    mixInto(out, struckTone(rate, 0.12, constant(2350), {{1.0, 1.0, 0.016}, {2.02, 0.3, 0.007}}, 0.0008), 0,
            0.45f);
    mixInto(out, struckTone(rate, 0.15, constant(420), {{1.0, 1.0, 0.025}}, 0.002), 0, 0.25f);
    Sound sound = monoSound(rate, 8, withReverb(out, rate, {0.45, 0.5, 0.12}));
    finishSound(sound, 0.0005, 0.06, 5);
    return sound;
}

// ---- STARTMOVE: a card sliding off the pile, in stereo ---------------------------------------

// Friction noise rising in pitch as the slide gathers speed, with a rough, grainy surface.
Buffer slideChannel(Noise& shared, Noise& own, int rate, double length) {
    Buffer common = whiteNoise(shared, framesFor(length, rate));
    mixInto(common, whiteNoise(own, common.size()), 0, 0.55f);
    applyFilter(
        common, rate, FilterKind::BandPass,
        [length](double t) { return 1300.0 + 2100.0 * smoothStep(t / length); }, 0.8);
    Buffer grain = whiteNoise(own, common.size());
    applyFilter(grain, rate, FilterKind::LowPass, constant(60), 0.7);
    const float grainScale = 0.35f / std::max(peakOf(grain), 1e-6f);
    for (std::size_t i = 0; i < common.size(); ++i)
        common[i] *= 1.0f + grain[i] * grainScale;
    applyEnvelope(common, rate, [](double t) { return strike(t, 0.03, 0.055); });
    return common;
}

Sound renderStartMove() {
    const int rate = 44100;
    const double length = 0.19;
    // Both sides share one noise source and add their own, so the slide is wide but centred.
    Noise sharedLeft(0x53544152), sharedRight(0x53544152), left(0x4c454654), right(0x52494748);
    Buffer l = slideChannel(sharedLeft, left, rate, length);
    Buffer r = slideChannel(sharedRight, right, rate, length);
    // A slight drift from left to right as the card moves.
    for (std::size_t i = 0; i < l.size(); ++i) {
        const double angle = std::numbers::pi * (0.25 + 0.1 * (double(i) / double(l.size()) - 0.5));
        l[i] *= float(std::cos(angle) * std::sqrt(2.0));
        r[i] *= float(std::sin(angle) * std::sqrt(2.0));
    }
    Sound sound{PcmFormat{rate, 2, 16}, {std::move(l), std::move(r)}};
    finishSound(sound, 0.004, 0.03, 6);
    return sound;
}

// ---- UNDO: a swish played backwards ----------------------------------------------------------

Sound renderUndo() {
    const int rate = 44100;
    const double length = 0.6, lead = 0.015;
    Noise noise(0x554e444f);
    Buffer out(framesFor(length, rate), 0.0f);
    auto falling = [](double from, double to, double seconds) {
        return [=](double t) { return from * std::pow(to / from, std::min(t / seconds, 1.0)); };
    };
    auto envelope = [](double t) { return strike(t, 0.004, 0.13); };
    const double swish = length - lead;
    mixInto(out,
            noiseBurst(noise, rate, swish, FilterKind::BandPass, falling(5000, 450, swish), 1.1, envelope),
            std::ptrdiff_t(framesFor(lead, rate)), 1.0f);
    mixInto(out,
            noiseBurst(noise, rate, swish, FilterKind::BandPass, falling(2600, 320, swish), 4.0, envelope),
            std::ptrdiff_t(framesFor(lead, rate)), 0.6f);
    out = withReverb(out, rate, {0.7, 0.4, 0.35});
    std::reverse(out.begin(), out.end()); // the echo now swells in ahead of the swish
    Sound sound = monoSound(rate, 8, std::move(out));
    finishSound(sound, 0.02, lead, 7);
    return sound;
}

// ---- WINNER: a brass fanfare ending on a held chord -------------------------------------------

struct Note {
    double start, held, midi, gain;
    double release = 0.2;
};

// Brass from two-operator FM: brightness follows loudness, the pitch scoops up into each note
// and a gentle vibrato arrives on longer ones.
Buffer brassNote(int rate, const Note& note, double detune) {
    const double f = midiToHz(note.midi) * detune;
    const Adsr envelope{0.035, 0.12, 0.78, note.release};
    const double held = note.held;
    Curve pitch = [f](double t) {
        const double vibrato = 0.005 * smoothStep((t - 0.25) / 0.3) * std::sin(kTwoPi * 5.2 * t);
        return f * (1.0 - 0.03 * expDecay(t, 0.04)) * (1.0 + vibrato);
    };
    Curve index = [envelope, held](double t) { return 0.6 + 3.2 * envelope.at(t, held); };
    Buffer tone = fmTone(framesFor(held + note.release, rate), rate, pitch, 1.0, index);
    applyEnvelope(tone, rate, [envelope, held](double t) { return envelope.at(t, held); });
    applyFilter(tone, rate, FilterKind::LowPass, constant(4200), 0.7);
    return tone;
}

// A soft timpani stroke under the phrase ends.
Buffer timpani(Noise& noise, int rate, double midi) {
    Buffer drum = struckTone(
        rate, 1.2, [midi](double t) { return midiToHz(midi) * (1.0 + 0.04 * expDecay(t, 0.05)); },
        {{1.0, 1.0, 0.45}, {1.5, 0.4, 0.25}, {1.99, 0.2, 0.15}}, 0.004);
    mixInto(drum,
            noiseBurst(noise, rate, 0.1, FilterKind::LowPass, constant(700), 0.7,
                       [](double t) { return strike(t, 0.001, 0.02); }),
            0, 0.4f);
    return drum;
}

const std::vector<Note>& fanfareScore() {
    // MIDI notes: C3=48, C4=60, E4=64, G4=67, C5=72, D5=74, E5=76, G5=79.
    // clang-format off
    static const std::vector<Note> score{
        // The call: three quick Gs up to a held C, harmonised.
        {0.00, 0.11, 67, 0.8}, {0.15, 0.11, 67, 0.8}, {0.30, 0.11, 67, 0.8},
        {0.45, 0.45, 72, 1.0}, {0.45, 0.45, 64, 0.55}, {0.45, 0.45, 60, 0.5},
        // The answer climbs the chord to a held G.
        {1.00, 0.11, 67, 0.8}, {1.15, 0.11, 72, 0.85}, {1.30, 0.11, 76, 0.9},
        {1.45, 0.55, 79, 1.0}, {1.45, 0.55, 72, 0.55}, {1.45, 0.55, 64, 0.5},
        // A turn round E leading home.
        {2.10, 0.18, 76, 0.85}, {2.32, 0.18, 72, 0.8}, {2.54, 0.18, 76, 0.85}, {2.76, 0.18, 74, 0.8},
        // The closing C major chord, its voices entering a few milliseconds apart like real players.
        {3.05, 3.70, 48, 0.45, 0.7}, {3.06, 3.69, 60, 0.5, 0.7}, {3.07, 3.68, 67, 0.55, 0.7},
        {3.05, 3.70, 72, 0.6, 0.7},  {3.08, 3.67, 76, 0.6, 0.7}, {3.06, 3.69, 79, 0.7, 0.7},
    };
    // clang-format on
    return score;
}

// The final chord is struck hard, eases back and then swells once more before it fades.
double chordSwell(double t) {
    if (t < 0) return 1.0;
    return 1.0 - 0.3 * smoothStep(t / 0.4) + 0.3 * smoothStep((t - 0.4) / 2.2);
}

Sound renderWinner() {
    const int rate = 22050;
    const double chordStart = 3.05;
    Noise noise(0x57494e4e);
    Buffer out(framesFor(7.8, rate), 0.0f);
    for (const Note& note : fanfareScore()) {
        Buffer tone = brassNote(rate, note, noise.range(0.998, 1.002));
        if (note.start >= chordStart)
            applyEnvelope(tone, rate,
                          [offset = chordStart - note.start](double t) { return chordSwell(t + offset); });
        mixInto(out, tone, std::ptrdiff_t(framesFor(note.start, rate)), float(note.gain));
    }
    for (double at : {0.45, 1.45, chordStart})
        mixInto(out, timpani(noise, rate, 43), std::ptrdiff_t(framesFor(at, rate)), 1.6f); // G2
    Sound sound = monoSound(rate, 16, withReverb(out, rate, {0.82, 0.4, 0.35}));
    finishSound(sound, 0.003, 0.6, 8);
    return sound;
}

// ---- BLAST: a firework bursting ------------------------------------------------------------

// Sparks crackling as the burst spreads out, thinning and fading as they go.
void addCrackle(Buffer& out, Noise& noise, int rate) {
    for (double t = 0.07; t < 0.62; t += noise.range(0.004, 0.02) * (1.0 + 4.0 * t)) {
        const float gain = float(noise.range(0.35, 0.9) * expDecay(t, 0.35));
        mixInto(out,
                noiseBurst(noise, rate, 0.006, FilterKind::HighPass, constant(1500), 0.7,
                           [](double u) { return strike(u, 0.0004, 0.0012); }),
                std::ptrdiff_t(framesFor(t, rate)), gain);
    }
}

Sound renderBlast() {
    const int rate = 11025;
    const double length = 0.71;
    Noise noise(0x424c5354);
    Buffer out = noiseBurst(
        noise, rate, length, FilterKind::LowPass, [](double t) { return 250.0 + 4600.0 * expDecay(t, 0.07); },
        0.8, [](double t) { return 0.8 * strike(t, 0.002, 0.08) + 0.35 * strike(t, 0.01, 0.28); });
    mixInto(out,
            struckTone(
                rate, length, [](double t) { return 42.0 + 75.0 * expDecay(t, 0.05); },
                {{1.0, 1.0, 0.16}, {2.0, 0.3, 0.07}}, 0.003),
            0, 0.8f);
    addCrackle(out, noise, rate);
    Sound sound = monoSound(rate, 16, withReverb(out, rate, {0.85, 0.5, 0.3}));
    finishSound(sound, 0.001, 0.12, 9);
    return sound;
}

// ---- ROCKET: the rising whistle of a rocket going up -----------------------------------------

Sound renderRocket() {
    const int rate = 22050;
    const double length = 0.57;
    Noise noise(0x524f434b);
    Curve pitch = [length](double t) {
        const double rise = 650.0 * std::pow(3000.0 / 650.0, std::pow(std::min(t / length, 1.0), 0.85));
        return rise * (1.0 + 0.008 * std::sin(kTwoPi * 13.0 * t));
    };
    auto shape = [](double t) { return smoothStep(t / 0.06) * (0.7 + 0.3 * smoothStep(t / 0.4)); };
    Buffer out = additiveTone(framesFor(length, rate), rate, pitch, {{1.0, 1.0}, {2.0, 0.12}, {3.0, 0.04}});
    applyEnvelope(out, rate, shape);
    // Breath round the whistle, and the hiss of the burning charge.
    mixInto(out, noiseBurst(noise, rate, length, FilterKind::BandPass, pitch, 2.0, shape), 0, 0.6f);
    mixInto(out,
            noiseBurst(noise, rate, length, FilterKind::HighPass, constant(4000), 0.7,
                       [](double t) { return smoothStep(t / 0.02) * (1.0 - 0.5 * smoothStep(t / 0.5)); }),
            0, 0.12f);
    Sound sound = monoSound(rate, 16, std::move(out));
    finishSound(sound, 0.01, 0.06, 10);
    return sound;
}

} // namespace

void finishSound(Sound& sound, double fadeInSeconds, double fadeOutSeconds, uint32_t ditherSeed) {
    const int rate = sound.format.sampleRate;
    for (Buffer& channel : sound.channels) {
        fadeIn(channel, rate, fadeInSeconds);
        fadeOut(channel, rate, fadeOutSeconds);
    }
    normalise(sound, kPeakDbfs);
    if (sound.format.bitsPerSample < 16) {
        Noise dither(ditherSeed);
        for (Buffer& channel : sound.channels)
            addGatedDither(channel, rate, sound.format.bitsPerSample, dither);
    }
}

const std::vector<Recipe>& soundRecipes() {
    static const std::vector<Recipe> recipes{
        {"MOVETO", renderMoveTo},     {"DEAL", renderDeal},         {"ERROR", renderError},
        {"MOVEHOME", renderMoveHome}, {"PLAYCARD", renderPlayCard}, {"STARTMOVE", renderStartMove},
        {"UNDO", renderUndo},         {"WINNER", renderWinner},     {"BLAST", renderBlast},
        {"ROCKET", renderRocket},
    };
    return recipes;
}

} // namespace soundsynth

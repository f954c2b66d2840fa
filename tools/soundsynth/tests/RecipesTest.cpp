#include "WavReader.h"

#include "Dsp.h"
#include "Recipes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

using namespace soundsynth;

namespace {

struct Expected {
    std::string_view name;
    int rate, channels, bits;
    double seconds;
};

// The sounds the game plays, as it expects to find them.
constexpr Expected kSounds[] = {
    {"MOVETO", 44100, 1, 16, 0.19},   {"DEAL", 22050, 1, 16, 3.2},     {"ERROR", 22050, 1, 16, 0.28},
    {"MOVEHOME", 44100, 1, 16, 1.25}, {"PLAYCARD", 44100, 1, 8, 0.23}, {"STARTMOVE", 44100, 2, 16, 0.19},
    {"UNDO", 44100, 1, 8, 0.60},      {"WINNER", 22050, 1, 16, 7.8},   {"BLAST", 11025, 1, 16, 0.71},
    {"ROCKET", 22050, 1, 16, 0.57},
};

const Recipe& recipe(std::string_view name) {
    for (const Recipe& r : soundRecipes())
        if (r.name == name) return r;
    throw std::runtime_error("no recipe " + std::string(name));
}

// The file as the game would load it.
const DecodedWav& decoded(std::string_view name) {
    static std::vector<std::pair<std::string_view, DecodedWav>> cache;
    for (const auto& [n, w] : cache)
        if (n == name) return w;
    cache.emplace_back(name, decodeWav(encodeWav(recipe(name).render())));
    return cache.back().second;
}

// One channel scaled back to +-1.0, optionally only the part between two times.
std::vector<double> channel(const DecodedWav& w, std::size_t c = 0, double from = 0, double to = 1e9) {
    const auto& s = w.samples.at(c);
    const auto first = std::min(s.size(), std::size_t(from * w.sampleRate));
    const auto last = std::min(s.size(), std::size_t(to * w.sampleRate));
    std::vector<double> out;
    for (std::size_t i = first; i < last; ++i)
        out.push_back(double(s[i]) / w.fullScale());
    return out;
}

double rms(const std::vector<double>& x) {
    double sum = 0;
    for (double v : x)
        sum += v * v;
    return std::sqrt(sum / double(std::max<std::size_t>(x.size(), 1)));
}

// Where the energy sits, from the slope of the signal: exact for a sine, a centroid otherwise.
double brightnessHz(const std::vector<double>& x, int rate) {
    std::vector<double> slope;
    for (std::size_t i = 1; i < x.size(); ++i)
        slope.push_back(x[i] - x[i - 1]);
    return rms(slope) / rms(x) * rate / (2.0 * std::numbers::pi);
}

// The strongest frequency between `low` and `high` Hz, found by correlating with sines 5 Hz apart.
double dominantHz(const std::vector<double>& x, int rate, double low, double high) {
    double best = 0, bestHz = low;
    for (double f = low; f <= high; f += 5.0) {
        double re = 0, im = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double phase = 2.0 * std::numbers::pi * f * double(i) / rate;
            re += x[i] * std::cos(phase), im += x[i] * std::sin(phase);
        }
        if (re * re + im * im > best) best = re * re + im * im, bestHz = f;
    }
    return bestHz;
}

} // namespace

TEST(Recipes, EverySoundHasTheFormatAndLengthTheGameExpects) {
    ASSERT_EQ(soundRecipes().size(), std::size(kSounds));
    for (std::size_t i = 0; i < std::size(kSounds); ++i) {
        const Expected& e = kSounds[i];
        EXPECT_EQ(soundRecipes()[i].name, e.name);
        const DecodedWav& w = decoded(e.name);
        EXPECT_EQ(w.formatTag, 1) << e.name;
        EXPECT_EQ(w.sampleRate, e.rate) << e.name;
        EXPECT_EQ(w.channels, e.channels) << e.name;
        EXPECT_EQ(w.bits, e.bits) << e.name;
        EXPECT_NEAR(w.seconds(), e.seconds, 0.005) << e.name;
    }
}

TEST(Recipes, EverySoundPeaksNearMinusThreeDecibelsWithoutClipping) {
    for (const Expected& e : kSounds) {
        const DecodedWav& w = decoded(e.name);
        int peak = 0;
        for (const auto& c : w.samples)
            for (int s : c)
                peak = std::max(peak, std::abs(s));
        const double dbfs = 20.0 * std::log10(double(peak) / w.fullScale());
        EXPECT_NEAR(dbfs, kPeakDbfs, 0.25) << e.name;
        EXPECT_LT(peak, w.fullScale() - 1) << e.name;
    }
}

TEST(Recipes, OneShotsStartAndEndInSilenceAndTheDealLoopJoins) {
    for (const Expected& e : kSounds) {
        const DecodedWav& w = decoded(e.name);
        const int tolerance = w.bits == 8 ? 1 : 40;
        for (const auto& c : w.samples) {
            EXPECT_LE(std::abs(c.front()), tolerance) << e.name;
            if (e.name != "DEAL") {
                EXPECT_LE(std::abs(c.back()), tolerance) << e.name;
            }
        }
    }
    // Across the seam the loop moves no more than it does from one sample to the next anywhere.
    const std::vector<int>& deal = decoded("DEAL").samples[0];
    std::vector<int> steps;
    for (std::size_t i = 1; i < deal.size(); ++i)
        steps.push_back(std::abs(deal[i] - deal[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + long(steps.size() / 2), steps.end());
    EXPECT_LE(std::abs(deal.back() - deal.front()), std::max(steps[steps.size() / 2], 40));
}

TEST(Recipes, RenderingIsReproducible) {
    for (const Recipe& r : soundRecipes())
        EXPECT_EQ(encodeWav(r.render()), encodeWav(r.render())) << r.name;
}

TEST(Recipes, EachSoundHasItsOwnCharacter) {
    EXPECT_LT(dominantHz(channel(decoded("ERROR"), 0, 0.05, 0.2), 22050, 50, 2000), 300.0); // low buzz
    EXPECT_GT(brightnessHz(channel(decoded("MOVEHOME"), 0, 0.1, 0.6), 44100), 1000.0);      // bright chime

    const DecodedWav& rocket = decoded("ROCKET");
    EXPECT_GT(dominantHz(channel(rocket, 0, 0.45, 0.5), 22050, 300, 5000),
              2.5 * dominantHz(channel(rocket, 0, 0.05, 0.1), 22050, 300, 5000)); // rising whistle

    EXPECT_GT(rms(channel(decoded("UNDO"), 0, 0.45, 0.58)),
              4.0 * rms(channel(decoded("UNDO"), 0, 0.0, 0.15)));
    EXPECT_GT(rms(channel(decoded("BLAST"), 0, 0.0, 0.15)),
              4.0 * rms(channel(decoded("BLAST"), 0, 0.4, 0.7)));
    EXPECT_GT(rms(channel(decoded("MOVETO"), 0, 0.0, 0.02)),
              6.0 * rms(channel(decoded("MOVETO"), 0, 0.1, 0.19)));

    // The slide is wide but centred: its channels are related without being the same.
    const DecodedWav& slide = decoded("STARTMOVE");
    const auto left = channel(slide, 0), right = channel(slide, 1);
    double dot = 0;
    for (std::size_t i = 0; i < left.size(); ++i)
        dot += left[i] * right[i];
    const double correlation = dot / double(left.size()) / (rms(left) * rms(right));
    EXPECT_GT(correlation, 0.4);
    EXPECT_LT(correlation, 0.95);
}

TEST(Recipes, TheFanfaresHeldChordCarriesNoClicks) {
    // A click is a burst at the very top of the band, where the held chord itself has nothing.
    const DecodedWav& w = decoded("WINNER");
    Buffer chord;
    for (double x : channel(w, 0, 3.4, 7.3))
        chord.push_back(float(x));
    for (int pass = 0; pass < 2; ++pass)
        applyFilter(
            chord, w.sampleRate, FilterKind::HighPass, [](double) { return 9000.0; }, 0.7);
    const std::size_t frame = std::size_t(0.005 * w.sampleRate);
    std::vector<double> energy;
    for (std::size_t at = 4 * frame; at + frame <= chord.size(); at += frame) // past the filter's own start
        energy.push_back(
            rms(std::vector<double>(chord.begin() + long(at), chord.begin() + long(at + frame))));
    std::vector<double> sorted = energy;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_LT(sorted.back(), 6.0 * sorted[sorted.size() / 2]);
}

#pragma once

// Tells from a recording of the sound output which of the game's ten effects were played, when,
// and how much of each was heard. The effects are recognised by their waveform, compared with the
// stored sounds at the recording's rate: a stretch of recording is an effect when it matches that
// effect's samples, scaled by one level, closely; anything else that is not silence is reported as
// a sound that is none of them (two effects at once, a click, a piece of an effect out of place).

#include <QString>
#include <cstdint>
#include <vector>

namespace sound {

// Mono samples at full scale +-1.0.
using Samples = std::vector<float>;

// Whether a sample is too quiet to be heard (about 10 steps of 16-bit output).
bool IsSilent(float sample);

// Windowed-sinc resampling that keeps the band below the lower rate's Nyquist frequency, as the
// sound server's own resampler does.
Samples Resample(const Samples& in, int inRate, int outRate);

// One stretch of the recording.
struct Heard {
    int effect = -1;       // 0..9; -1 for a sound that is no effect alone
    int64_t start = 0;     // first sample of it in the recording
    int64_t length = 0;    // samples from its start to its end in the recording, gaps included
    int64_t played = 0;    // samples of the effect heard (more than the effect: it looped)
    int gaps = 0;          // times it broke off in silence and went on where it was (the output ran dry)
    bool complete = false; // an effect that stopped at its own end (not cut short)
    double gain = 0;       // its level against the stored sound (1: as stored)
};

class Recogniser {
public:
    // The effects (0..9, in the game's numbering) as the sink plays them: mono, at its rate.
    Recogniser(std::vector<Samples> effects, std::vector<QString> names, int rate);

    int Rate() const { return rate; }
    const Samples& Effect(int e) const { return effects.at(size_t(e)); }
    const QString& Name(int e) const { return names.at(size_t(e)); }

    // Every effect and every other sound in the recording, in order; silence between them is left
    // out. An effect that looped is one stretch longer than the effect, the loop's seams included.
    std::vector<Heard> Transcribe(const Samples& recording) const;

    // "MOVETO@0.10 DEAL@0.35(x1.40, cut at 4.48 s) ?@4.90(0.12 s)" for messages: each stretch with
    // where it starts (seconds into the recording), how long a loop went on, where it was cut
    // short, and for a foreign sound its length.
    QString Describe(const std::vector<Heard>& heard) const;

    // How many periods of the effect were heard.
    double Periods(const Heard& h) const { return double(h.played) / double(Effect(h.effect).size()); }

private:
    struct Onset {
        int64_t at;
        int effect;
        double score;
        double gain;
    };
    std::vector<Onset> FindOnsets(const Samples& x) const;
    // How far the effect goes on from an onset (through its loop seams and gaps), as the
    // recording shows.
    Heard Follow(const Samples& x, const Onset& onset, const std::vector<Onset>& onsets) const;
    // After the effect broke off at `at` in the recording, `played` samples into it: where the
    // recording takes it up again after a silent gap, and how far into the effect; false if it
    // does not (another sound begins, or only silence follows).
    bool GoesOn(const Samples& x, const Onset& onset, const std::vector<Onset>& onsets, int64_t& at,
                int64_t& played) const;

    std::vector<Samples> effects;
    std::vector<QString> names;
    int rate;
    // The opening of each effect that finds where it starts, and the end of its audible part.
    std::vector<Samples> openings;
    std::vector<int64_t> audibleEnd;
};

} // namespace sound

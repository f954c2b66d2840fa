#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace soundsynth {

// The integer PCM layouts the game's sound player can play: 16-bit signed or 8-bit unsigned.
struct PcmFormat {
    int sampleRate = 44100;
    int channels = 1;
    int bitsPerSample = 16;
};

// A rendered sound: one buffer per channel, all the same length, full scale at +-1.0.
struct Sound {
    PcmFormat format;
    std::vector<std::vector<float>> channels;

    std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
    double seconds() const { return double(frames()) / format.sampleRate; }
};

// The complete bytes of a RIFF/WAVE file (format tag 1). Samples outside +-1.0 are clamped.
// Throws std::invalid_argument for a layout that cannot be written.
std::vector<uint8_t> encodeWav(const Sound& sound);

// Writes the file through a temporary next to it, so a failed run never leaves a half-written
// sound behind. Returns an empty string on success, otherwise what went wrong.
std::string writeWavFile(const std::filesystem::path& path, const Sound& sound);

} // namespace soundsynth

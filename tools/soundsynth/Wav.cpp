#include "Wav.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace soundsynth {
namespace {

void putU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v & 0xff));
    out.push_back(uint8_t((v >> 8) & 0xff));
}

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    putU16(out, v & 0xffff);
    putU16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

void validate(const Sound& sound) {
    const PcmFormat& f = sound.format;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
        throw std::invalid_argument("only 8-bit and 16-bit PCM can be written");
    if (f.channels < 1 || f.channels > 8 || std::size_t(f.channels) != sound.channels.size())
        throw std::invalid_argument("channel count does not match the sample buffers");
    if (f.sampleRate < 1000 || f.sampleRate > 192000) throw std::invalid_argument("sample rate out of range");
    for (const auto& channel : sound.channels)
        if (channel.size() != sound.frames()) throw std::invalid_argument("channels differ in length");
    const uint64_t bytes = uint64_t(sound.frames()) * f.channels * (f.bitsPerSample / 8);
    if (bytes > std::numeric_limits<uint32_t>::max() - 64)
        throw std::invalid_argument("sound too long for a WAVE file");
}

// Maps a sample to the integer grid; NaN becomes silence rather than a full-scale spike.
long quantise(float x, long fullScale) {
    if (std::isnan(x)) return 0;
    const double clamped = std::clamp(double(x), -1.0, 1.0);
    return std::lround(clamped * double(fullScale));
}

void putSample(std::vector<uint8_t>& out, float x, int bits) {
    if (bits == 8)
        out.push_back(uint8_t(128 + quantise(x, 127)));
    else
        putU16(out, uint32_t(uint16_t(int16_t(quantise(x, 32767)))));
}

} // namespace

std::vector<uint8_t> encodeWav(const Sound& sound) {
    validate(sound);
    const PcmFormat& f = sound.format;
    const uint32_t blockAlign = uint32_t(f.channels * (f.bitsPerSample / 8));
    const uint32_t dataBytes = uint32_t(sound.frames()) * blockAlign;
    const uint32_t pad = dataBytes & 1u; // RIFF chunks are word aligned

    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes + pad);
    putTag(out, "RIFF");
    putU32(out, 36 + dataBytes + pad);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putU32(out, 16);
    putU16(out, 1); // integer PCM
    putU16(out, uint32_t(f.channels));
    putU32(out, uint32_t(f.sampleRate));
    putU32(out, uint32_t(f.sampleRate) * blockAlign);
    putU16(out, blockAlign);
    putU16(out, uint32_t(f.bitsPerSample));
    putTag(out, "data");
    putU32(out, dataBytes);
    for (std::size_t i = 0; i < sound.frames(); ++i)
        for (const auto& channel : sound.channels)
            putSample(out, channel[i], f.bitsPerSample);
    if (pad) out.push_back(0);
    return out;
}

std::string writeWavFile(const std::filesystem::path& path, const Sound& sound) {
    std::vector<uint8_t> bytes;
    try {
        bytes = encodeWav(sound);
    } catch (const std::invalid_argument& e) {
        return path.string() + ": " + e.what();
    }
    std::filesystem::path temporary = path;
    temporary += ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return "cannot create " + temporary.string();
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write " + temporary.string();
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return "cannot replace " + path.string() + ": " + error.message();
    }
    return {};
}

} // namespace soundsynth

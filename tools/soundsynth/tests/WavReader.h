#pragma once

// A strict little reader for the files the synthesiser writes, so the tests look at the bytes
// a player would get rather than at the floats they came from.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct DecodedWav {
    uint32_t riffSize = 0, dataBytes = 0;
    int formatTag = 0, channels = 0, sampleRate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::vector<std::vector<int>> samples; // integer values, centred on 0 (8-bit minus 128)

    double seconds() const { return samples.empty() ? 0.0 : double(samples[0].size()) / sampleRate; }
    int fullScale() const { return bits == 8 ? 128 : 32768; }
};

inline uint32_t readU32(const std::vector<uint8_t>& b, std::size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}
inline int readU16(const std::vector<uint8_t>& b, std::size_t at) {
    return int(b.at(at)) | int(b.at(at + 1)) << 8;
}

inline DecodedWav decodeWav(const std::vector<uint8_t>& b) {
    auto tag = [&](std::size_t at) { return std::string(b.begin() + long(at), b.begin() + long(at) + 4); };
    if (b.size() < 44 || tag(0) != "RIFF" || tag(8) != "WAVE" || tag(12) != "fmt " || tag(36) != "data")
        throw std::runtime_error("not a canonical WAVE file");
    DecodedWav w;
    w.riffSize = readU32(b, 4);
    w.formatTag = readU16(b, 20);
    w.channels = readU16(b, 22);
    w.sampleRate = int(readU32(b, 24));
    w.byteRate = int(readU32(b, 28));
    w.blockAlign = readU16(b, 32);
    w.bits = readU16(b, 34);
    w.dataBytes = readU32(b, 40);
    if (readU32(b, 16) != 16 || w.channels < 1 || (w.bits != 8 && w.bits != 16) ||
        44 + w.dataBytes > b.size())
        throw std::runtime_error("bad fmt or data chunk");
    const std::size_t width = std::size_t(w.bits / 8),
                      frames = w.dataBytes / (width * std::size_t(w.channels));
    w.samples.assign(std::size_t(w.channels), std::vector<int>(frames));
    for (std::size_t i = 0; i < frames; ++i)
        for (std::size_t c = 0; c < std::size_t(w.channels); ++c) {
            const std::size_t at = 44 + (i * std::size_t(w.channels) + c) * width;
            w.samples[c][i] = w.bits == 8 ? int(b[at]) - 128 : int(int16_t(uint16_t(readU16(b, at))));
        }
    return w;
}

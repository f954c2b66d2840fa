#include "WavReader.h"

#include "Wav.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <unistd.h>

using namespace soundsynth;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh, empty folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder()
        : path_(fs::temp_directory_path() /
                ("soundsynth-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

} // namespace

TEST(Wav, StereoSixteenBitHeaderAndInterleavedLittleEndianSamples) {
    const Sound sound{{44100, 2, 16},
                      {{0.0f, 1.5f, -1.0f}, {0.5f, -1.5f, std::numeric_limits<float>::quiet_NaN()}}};
    const std::vector<uint8_t> bytes = encodeWav(sound);
    const DecodedWav w = decodeWav(bytes);
    EXPECT_EQ(w.formatTag, 1);
    EXPECT_EQ(w.channels, 2);
    EXPECT_EQ(w.sampleRate, 44100);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.blockAlign, 4);
    EXPECT_EQ(w.byteRate, 44100 * 4);
    EXPECT_EQ(w.dataBytes, 12u);
    EXPECT_EQ(w.riffSize, bytes.size() - 8);
    // Out-of-range samples clamp to full scale; NaN becomes silence, not a spike.
    EXPECT_EQ(w.samples[0], (std::vector<int>{0, 32767, -32767}));
    EXPECT_EQ(w.samples[1], (std::vector<int>{16384, -32767, 0}));
    EXPECT_EQ(bytes[44 + 4], 0xff); // second frame, left: 32767, low byte first
    EXPECT_EQ(bytes[44 + 5], 0x7f);
}

TEST(Wav, EightBitIsUnsignedAndOddDataIsPaddedToAWord) {
    const Sound sound{{22050, 1, 8}, {{0.0f, 1.0f, -1.0f}}};
    const std::vector<uint8_t> bytes = encodeWav(sound);
    const DecodedWav w = decodeWav(bytes);
    EXPECT_EQ(w.dataBytes, 3u);
    EXPECT_EQ(bytes.size(), 44u + 4u);
    EXPECT_EQ(w.riffSize, bytes.size() - 8);
    EXPECT_EQ(bytes[44], 128);
    EXPECT_EQ(bytes[45], 255);
    EXPECT_EQ(bytes[46], 1);
    EXPECT_EQ(bytes[47], 0);
}

TEST(Wav, RejectsLayoutsThatCannotBeWritten) {
    EXPECT_THROW(encodeWav(Sound{{44100, 1, 24}, {{0.0f}}}), std::invalid_argument);
    EXPECT_THROW(encodeWav(Sound{{44100, 2, 16}, {{0.0f}}}), std::invalid_argument);
    EXPECT_THROW(encodeWav(Sound{{44100, 2, 16}, {{0.0f}, {0.0f, 0.0f}}}), std::invalid_argument);
    EXPECT_THROW(encodeWav(Sound{{0, 1, 16}, {{0.0f}}}), std::invalid_argument);
}

TEST(Wav, WritesTheEncodedBytesAndLeavesNoTemporaryBehind) {
    TempFolder folder;
    const Sound sound{{11025, 1, 16}, {{0.25f, -0.25f}}};
    const fs::path file = folder.path() / "A.wav";
    EXPECT_EQ(writeWavFile(file, sound), "");
    EXPECT_EQ(readFile(file), encodeWav(sound));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(Wav, FailuresAreReportedAndKeepTheExistingFile) {
    TempFolder folder;
    const Sound good{{11025, 1, 16}, {{0.25f}}};
    EXPECT_NE(writeWavFile(folder.path() / "missing" / "A.wav", good), "");

    const fs::path file = folder.path() / "A.wav";
    ASSERT_EQ(writeWavFile(file, good), "");
    const std::vector<uint8_t> before = readFile(file);
    const std::string problem = writeWavFile(file, Sound{{11025, 1, 12}, {{0.5f}}});
    EXPECT_NE(problem.find("A.wav"), std::string::npos) << problem;
    EXPECT_EQ(readFile(file), before);
}

TEST(Wav, ToolWritesEveryFileAndFailsLoudlyWhenItCannot) {
    TempFolder folder;
    const fs::path out = folder.path() / "nested" / "sounds";
    ASSERT_EQ(std::system((std::string("\"") + SOUNDSYNTH_EXE + "\" \"" + out.string() + "\"").c_str()), 0);
    for (const char* name : {"MOVETO", "DEAL", "ERROR", "MOVEHOME", "PLAYCARD", "STARTMOVE", "UNDO", "WINNER",
                             "BLAST", "ROCKET"})
        EXPECT_NO_THROW(decodeWav(readFile(out / (std::string(name) + ".wav")))) << name;

    const fs::path blocked = folder.path() / "file";
    std::ofstream(blocked) << "not a folder";
    const std::string command =
        std::string("\"") + SOUNDSYNTH_EXE + "\" \"" + blocked.string() + "\" 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(std::system((std::string("\"") + SOUNDSYNTH_EXE + "\" 2>/dev/null").c_str()), 0);
}

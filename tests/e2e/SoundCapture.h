#pragma once

// Reads what a sound server's pipe sink writes to its FIFO (signed 16-bit little-endian mono) on
// a thread of its own, from the moment it is made, so the sink never waits on the test and the
// recording keeps up with the clock.

#include "SoundRecogniser.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace sound {

class Capture {
public:
    // Throws std::runtime_error when the FIFO cannot be opened.
    Capture(const QString& fifo, int rate);
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // The place in the recording that is being played about now: what has been read, and what
    // waits in the FIFO.
    int64_t Now() const;
    // The recording from one place to another; waits (a few seconds at most) until it is read.
    Samples Between(int64_t from, int64_t to) const;
    // Where the last sound read so far ended: the place after the last sample that is not silence.
    int64_t SoundEnd() const;
    int Rate() const { return rate; }

private:
    void Read();

    int fd = -1;
    int rate;
    std::atomic<bool> stopping{false};
    mutable std::mutex lock;
    std::vector<int16_t> samples;
    int64_t soundEnd = 0;
    std::thread reader;
};

} // namespace sound

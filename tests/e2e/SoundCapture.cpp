#include "SoundCapture.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

namespace sound {

Capture::Capture(const QString& fifo, int rate_) : rate(rate_) {
    // Without blocking: the sink holds the FIFO open for writing all the time.
    fd = ::open(fifo.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open the sound FIFO " + fifo.toStdString());
    reader = std::thread([this] { Read(); });
}

Capture::~Capture() {
    stopping = true;
    reader.join();
    ::close(fd);
}

void Capture::Read() {
    std::vector<char> buffer(1 << 16);
    std::vector<char> odd; // half a sample left from the last read
    while (!stopping) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got <= 0) {
            // Nobody writing (the server has gone): wait rather than spin on end-of-file.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        odd.insert(odd.end(), buffer.begin(), buffer.begin() + got);
        const size_t whole = odd.size() / 2;
        std::lock_guard guard(lock);
        for (size_t i = 0; i < whole; ++i) {
            const auto v = int16_t(uint16_t(uint8_t(odd[2 * i])) | uint16_t(uint8_t(odd[2 * i + 1])) << 8);
            samples.push_back(v);
            if (!IsSilent(float(v) / 32768.0f))
                soundEnd = int64_t(samples.size());
        }
        odd.erase(odd.begin(), odd.begin() + long(2 * whole));
    }
}

int64_t Capture::SoundEnd() const {
    std::lock_guard guard(lock);
    return soundEnd;
}

int64_t Capture::Now() const {
    int waiting = 0;
    ::ioctl(fd, FIONREAD, &waiting);
    std::lock_guard guard(lock);
    return int64_t(samples.size()) + waiting / 2;
}

Samples Capture::Between(int64_t from, int64_t to) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        {
            std::lock_guard guard(lock);
            if (int64_t(samples.size()) >= to || std::chrono::steady_clock::now() > deadline) {
                to = std::min<int64_t>(to, int64_t(samples.size()));
                Samples out;
                for (int64_t i = std::max<int64_t>(from, 0); i < to; ++i)
                    out.push_back(float(samples[size_t(i)]) / 32768.0f);
                return out;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace sound

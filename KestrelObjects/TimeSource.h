#pragma once

#include <QTime>
#include <QDateTime>
#include <cstdint>

// Every clock reading and every wait of the game goes through one time source, so tests can
// run animations on a virtual clock: the same frames, no real time spent.
class ITimeSource {
public:
    virtual ~ITimeSource() = default;

    // Millisecond clock that paces waits and animations.
    virtual int64_t Milliseconds() = 0;
    // Monotonic microsecond clock of the game clock; only differences are used.
    virtual int64_t Microseconds() = 0;
    // Milliseconds since midnight UTC (the seed of a shuffle).
    virtual int64_t MillisecondsOfDayUtc() = 0;
    // Local date and time (the date of a top-ten entry).
    virtual QDateTime LocalNow() = 0;
    // Blocks until the millisecond clock has advanced by ms, without processing window messages.
    virtual void BusyWait(int ms) = 0;
    // Lets pending window messages run until the millisecond clock has advanced by ms.
    virtual void WaitProcessing(int ms) = 0;
};

// The real clocks: sleeps until a deadline instead of spinning a core.
class SystemTimeSource final : public ITimeSource {
public:
    SystemTimeSource();
    int64_t Milliseconds() override;
    int64_t Microseconds() override;
    int64_t MillisecondsOfDayUtc() override;
    QDateTime LocalNow() override;
    void BusyWait(int ms) override;
    void WaitProcessing(int ms) override;

private:
    int64_t originNs;
};

// The time source in use; the system clocks unless a test installed another.
ITimeSource& CurrentTimeSource();
// Installs a time source (nullptr restores the system clocks). The caller keeps ownership.
void SetTimeSource(ITimeSource* source);

// The two waits of the game, through the current time source.
inline void BusyWait(int ms) { CurrentTimeSource().BusyWait(ms); }
inline void WaitProcessing(int ms) { CurrentTimeSource().WaitProcessing(ms); }

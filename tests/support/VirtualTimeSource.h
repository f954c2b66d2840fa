#pragma once

#include "KestrelObjects/TimeSource.h"

#include <functional>

// A clock that moves only when the game waits: animations run in no real time, frame for
// frame as they would on screen. Installed for the lifetime of the object.
class VirtualTimeSource final : public ITimeSource {
public:
    VirtualTimeSource() { SetTimeSource(this); }
    ~VirtualTimeSource() override { SetTimeSource(nullptr); }

    int64_t NowMs = 0;
    int64_t MsOfDayUtc = 12 * 3600 * 1000;
    QDateTime Local = QDateTime(QDate(2026, 12, 8), QTime(20, 15, 30));
    int BusyWaits = 0;
    int64_t BusyWaitedMs = 0;
    int ProcessingWaits = 0;
    // Runs in every wait that processes messages, as window events would.
    std::function<void()> OnProcessing;

    void Advance(int64_t ms) { NowMs += ms; }

    int64_t Milliseconds() override { return NowMs; }
    int64_t Microseconds() override { return NowMs * 1000; }
    int64_t MillisecondsOfDayUtc() override { return MsOfDayUtc; }
    QDateTime LocalNow() override { return Local; }
    void BusyWait(int ms) override {
        ++BusyWaits;
        BusyWaitedMs += ms;
        NowMs += ms;
    }
    void WaitProcessing(int ms) override {
        ++ProcessingWaits;
        NowMs += ms;
        if (OnProcessing)
            OnProcessing();
    }
};

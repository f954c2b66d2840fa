#include "TimeSource.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

namespace {
int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

ITimeSource* installed = nullptr;
} // namespace

SystemTimeSource::SystemTimeSource() : originNs(steadyNs()) {}

int64_t SystemTimeSource::Milliseconds() { return (steadyNs() - originNs) / 1000000; }

int64_t SystemTimeSource::Microseconds() { return (steadyNs() - originNs) / 1000; }

int64_t SystemTimeSource::MillisecondsOfDayUtc() {
    return QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
}

QDateTime SystemTimeSource::LocalNow() { return QDateTime::currentDateTime(); }

void SystemTimeSource::BusyWait(int ms) {
    const int64_t deadline = Milliseconds() + ms;
    for (int64_t now = Milliseconds(); now < deadline; now = Milliseconds())
        std::this_thread::sleep_for(std::chrono::microseconds((deadline - now) * 1000));
}

void SystemTimeSource::WaitProcessing(int ms) {
    // A nested event loop handles whatever arrives and otherwise sleeps until the deadline.
    if (!QCoreApplication::instance()) {
        BusyWait(ms);
        return;
    }
    QCoreApplication::processEvents();
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

ITimeSource& CurrentTimeSource() {
    static SystemTimeSource system;
    return installed ? *installed : system;
}

void SetTimeSource(ITimeSource* source) { installed = source; }

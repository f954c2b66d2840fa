#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// Which text a stopwatch shows.
enum class TResolution { rsMinutes = 0, rsSeconds = 1, rsMilliSeconds = 2, rsAutoScale = 3 };

// A stopwatch in whole microseconds against the time source's monotonic clock. It can be
// stopped and resumed without losing time and set to any time. The game clock panel shows
// one; the engine starts, stops, sets and reads it without needing any widget.
class TStopwatch {
public:
    void Reset();
    void Start();
    void Stop();
    int64_t ElapsedMicros() const;
    double Time() const;
    void SetTime(double seconds);
    bool Running() const { return running; }
    int64_t AccumulatedMicros() const { return accumulatedMicros; }

    TResolution Resolution = TResolution::rsMilliSeconds;
    int Digits() const { return digits; }
    void SetDigits(int value); // a negative value is ignored

    // Hands the caption text for the current resolution to Display.
    void UpdateDisplay() const;
    QString DisplayText() const;
    // Where UpdateDisplay sends its text (the clock panel's caption).
    std::function<void(const QString&)> Display;

    // Text formatting with this stopwatch's Digits.
    QString FormatAutoScale(int64_t micros) const;
    QString FormatMinutes(int64_t micros) const;
    QString FixedText(double value) const;

private:
    bool running = false;
    int64_t startMicros = 0;
    int64_t accumulatedMicros = 0;
    int digits = 3;
};

// The decimal text of n with leading zeros up to width characters; longer texts stay as they are.
QString PadZeros(int64_t n, int width);
// hours:minutes:seconds of a duration, hours unpadded, milliseconds dropped.
QString FormatHours(int64_t micros);

#include "TStopwatch.h"

#include "TimeSource.h"

#include <QLocale>
#include <cmath>

namespace {
// A duration broken into clock fields; whole days are dropped.
struct ClockFields {
    int64_t hours, minutes, seconds, milliseconds;
};

ClockFields SplitClock(int64_t micros) {
    int64_t ms = std::llround(double(micros) / 1000.0);
    ms %= 86400000;
    if (ms < 0)
        ms += 86400000;
    return {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
}

int64_t Now() { return CurrentTimeSource().Microseconds(); }
} // namespace

void TStopwatch::Reset() {
    startMicros = 0;
    accumulatedMicros = 0;
    running = false;
}

void TStopwatch::Start() {
    if (!running)
        startMicros = Now();
    running = true;
}

void TStopwatch::Stop() {
    accumulatedMicros = ElapsedMicros();
    running = false;
}

int64_t TStopwatch::ElapsedMicros() const {
    return running ? Now() - startMicros + accumulatedMicros : accumulatedMicros;
}

double TStopwatch::Time() const { return double(ElapsedMicros()) / 1000000.0; }

void TStopwatch::SetTime(double seconds) {
    const auto m = int64_t(std::trunc(seconds * 1000000.0));
    if (running) {
        startMicros = Now() - m;
        accumulatedMicros = 0;
    } else {
        accumulatedMicros = m;
    }
}

void TStopwatch::SetDigits(int value) {
    if (value >= 0)
        digits = value;
}

QString TStopwatch::DisplayText() const {
    const int64_t e = ElapsedMicros();
    switch (Resolution) {
    case TResolution::rsMinutes:
        return FormatMinutes(e) + " min";
    case TResolution::rsSeconds:
        return FixedText(double(e) / 1000000.0) + " Sec.";
    case TResolution::rsMilliSeconds:
        return FixedText(double(e) / 1000.0) + " ms.";
    case TResolution::rsAutoScale:
        break;
    }
    return FormatAutoScale(e);
}

void TStopwatch::UpdateDisplay() const {
    if (Display)
        Display(DisplayText());
}

QString TStopwatch::FixedText(double value) const {
    // Fixed point in the user's locale, without group separators.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', digits);
    // A value that rounds to zero is shown without a minus sign.
    if (text.startsWith(locale.negativeSign()) && locale.toDouble(text) == 0.0)
        text.remove(0, locale.negativeSign().size());
    return text;
}

QString TStopwatch::FormatMinutes(int64_t micros) const {
    // Rounded to the shown precision before the fields are split, so that 119.6 s reads
    // 02:00 and never 01:60.
    if (digits < 6) {
        int64_t unit = 1;
        for (int i = digits; i < 6; ++i)
            unit *= 10;
        micros = std::llround(double(micros) / double(unit)) * unit;
    }
    const ClockFields f = SplitClock(micros);
    const double g = double(f.seconds) + double(f.milliseconds) / 1000.0;
    QString s = FixedText(g);
    if (g < 10)
        s.prepend('0');
    return PadZeros(f.minutes, 2) + ":" + s;
}

QString TStopwatch::FormatAutoScale(int64_t micros) const {
    const double s = double(micros) / 1000000.0;
    if (s < 1)
        return FixedText(double(micros) / 1000.0) + " ms.";
    if (s > 3600)
        return FormatHours(micros) + " hrs";
    if (s > 60)
        return FormatMinutes(micros) + " min";
    return FixedText(s) + " Sec.";
}

QString PadZeros(int64_t n, int width) {
    QString text = QString::number(n);
    while (text.size() < width)
        text.prepend('0');
    return text;
}

QString FormatHours(int64_t micros) {
    const ClockFields f = SplitClock(micros);
    return QString::number(f.hours) + ":" + PadZeros(f.minutes, 2) + ":" + PadZeros(f.seconds, 2);
}

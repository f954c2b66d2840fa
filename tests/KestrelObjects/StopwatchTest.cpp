#include "KestrelObjects/TStopwatch.h"
#include "support/VirtualTimeSource.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {
struct EnglishLocale {
    QLocale saved;
    EnglishLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~EnglishLocale() { QLocale::setDefault(saved); }
};
} // namespace

TEST(Stopwatch, AutoScaleTexts) {
    EnglishLocale english;
    TStopwatch w;
    w.SetDigits(0);
    struct {
        double seconds;
        const char* text;
    } const cases[] = {{0.0, "0 ms."},      {0.4, "400 ms."},     {1.0, "1 Sec."},          {59.6, "60 Sec."},
                       {60.0, "60 Sec."},   {60.4, "01:00 min"},  {75.3, "01:15 min"},      {3600.0, "00:00 min"},
                       {3700.0, "1:01:40 hrs"}, {36000.5, "10:00:00 hrs"}, {90061.0, "1:01:01 hrs"},
                       // Rounded before the fields are split: never "01:60" or "02:010".
                       {119.6, "02:00 min"}, {129.6, "02:10 min"}, {69.6, "01:10 min"}, {61.2, "01:01 min"}};
    for (const auto& c : cases)
        EXPECT_EQ(w.FormatAutoScale(int64_t(c.seconds * 1000000.0)), c.text) << c.seconds;
}

TEST(Stopwatch, ResolutionsAndDigits) {
    EnglishLocale english;
    VirtualTimeSource clock;
    TStopwatch w;
    QString shown;
    w.Display = [&shown](const QString& t) { shown = t; };
    w.UpdateDisplay();
    EXPECT_EQ(shown, "0.000 ms."); // the default resolution and three digits
    w.Resolution = TResolution::rsAutoScale;
    w.SetDigits(0);
    w.UpdateDisplay();
    EXPECT_EQ(shown, "0 ms.");
    w.SetDigits(-1);
    EXPECT_EQ(w.Digits(), 0);

    w.SetTime(75.3);
    w.SetDigits(3);
    EXPECT_EQ(w.FormatMinutes(w.ElapsedMicros()), "01:15.300");
    EXPECT_EQ(w.FormatMinutes(int64_t(119.9996 * 1000000)), "02:00.000");
    EXPECT_EQ(w.FormatMinutes(int64_t(69.9994 * 1000000)), "01:09.999");
    w.Resolution = TResolution::rsSeconds;
    EXPECT_EQ(w.DisplayText(), "75.300 Sec.");
    w.Resolution = TResolution::rsMinutes;
    w.SetDigits(0);
    w.SetTime(3600 + 120 + 5);
    EXPECT_EQ(w.DisplayText(), "02:05 min"); // hours are not shown
    EXPECT_EQ(FormatHours(int64_t(3700.999 * 1000000)), "1:01:40"); // milliseconds dropped
    EXPECT_EQ(PadZeros(7, 2), "07");
    EXPECT_EQ(PadZeros(123, 2), "123");
}

TEST(Stopwatch, StopResumeAndSetWhileRunning) {
    VirtualTimeSource clock;
    TStopwatch w;
    w.Start();
    clock.Advance(1500);
    EXPECT_EQ(w.ElapsedMicros(), 1500000);
    w.Stop();
    clock.Advance(10000); // not counted
    EXPECT_EQ(w.ElapsedMicros(), 1500000);
    EXPECT_EQ(w.AccumulatedMicros(), 1500000);
    w.Start();
    w.Start(); // starting a running clock changes nothing
    clock.Advance(500);
    EXPECT_EQ(w.ElapsedMicros(), 2000000);
    w.SetTime(12.5); // while running: goes on from 12.5 s at once
    EXPECT_DOUBLE_EQ(w.Time(), 12.5);
    clock.Advance(250);
    EXPECT_DOUBLE_EQ(w.Time(), 12.75);
    w.Reset();
    EXPECT_FALSE(w.Running());
    EXPECT_EQ(w.ElapsedMicros(), 0);
    w.SetTime(12.5); // while stopped, then started: runs on from 12.5 s
    clock.Advance(1000);
    EXPECT_DOUBLE_EQ(w.Time(), 12.5);
    w.Start();
    clock.Advance(1000);
    EXPECT_DOUBLE_EQ(w.Time(), 13.5);
}

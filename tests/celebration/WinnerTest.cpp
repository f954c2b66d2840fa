#include <array>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

#include <QHash>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include "cards/TRandom.h"
#include "celebration/FireworksLib.h"
#include "celebration/TwWinner.h"
#include "support/VirtualTimeSource.h"

namespace {

constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

constexpr int Width = 794, Height = 520;
constexpr int FadeWaits = 256; // the fade's steps, each with one wait that processes messages
constexpr uint32_t Seed = 777;
const QRgb TableGreen = qRgb(0, 128, 0);

size_t pictureHash(const QImage& picture) { return qHashBits(picture.constBits(), size_t(picture.sizeInBytes())); }

bool allBlack(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) != 0)
                return false;
    return true;
}

// Records what is heard, with the frame each sound started in (-1 before the first frame).
class RecordingPlayer : public ISoundPlayer {
public:
    std::function<int()> frameNow;
    std::vector<std::pair<QString, int>> heard;
    void PlaySound(SoundEffect effect, bool loop) override {
        heard.emplace_back(SoundEffectName(effect) + (loop ? "(loop)" : ""), frameNow());
    }
    void StopSound() override { heard.emplace_back(QStringLiteral("stop"), frameNow()); }
};

// A celebration on a board picture of its own, on the virtual clock, with every frame shown
// recorded. OnWait runs in each wait that processes messages, with the wait's number from 0:
// waits 0 to 255 belong to the fade, wait 256 + f follows frame f.
class Celebration {
public:
    VirtualTimeSource clock;
    RecordingPlayer player;
    TSoundEffects sound{player};
    QImage board{Width, Height, QImage::Format_ARGB32_Premultiplied};
    bool running = false;
    bool stop = false;
    bool closing = false;

    int waits = 0;
    std::vector<size_t> frames; // the picture shown after each frame
    int paints = 0;
    bool runningAtPaint = true;
    bool runningWhileShown = true;
    bool blackAfterFade = false;
    std::function<void(Celebration&)> OnWait;
    std::function<void(Celebration&)> OnShow;

    Celebration() {
        board.fill(TableGreen);
        player.frameNow = [this] { return waits - FadeWaits; };
        clock.OnProcessing = [this] {
            if (waits == FadeWaits - 1)
                blackAfterFade = allBlack(board);
            if (OnWait)
                OnWait(*this);
            ++waits;
        };
    }

    TWinnerStage Stage() {
        return TWinnerStage{
            board,
            [this] {
                runningWhileShown = runningWhileShown && running;
                if (waits >= FadeWaits)
                    frames.push_back(pictureHash(board));
                if (OnShow)
                    OnShow(*this);
            },
            [this] {
                ++paints;
                runningAtPaint = running;
                board.fill(TableGreen);
            },
            sound,
            [this] { return closing; },
            running,
            stop,
        };
    }

    // Runs one celebration; the records start afresh, the flags stay as they are.
    void Run(uint32_t seed = Seed) {
        waits = paints = 0;
        frames.clear();
        player.heard.clear();
        runningAtPaint = runningWhileShown = true;
        blackAfterFade = false;
        GameRandom().Seed = seed;
        RunWinnerSequence(Stage());
    }

    QStringList Sounds() const {
        QStringList names;
        for (const auto& s : player.heard)
            names << s.first;
        return names;
    }
};

// The display as the celebration should drive it: a launch of the next rocket every ten
// frames from frame 0, a frame each time, until no particle is left.
std::vector<size_t> expectedFrames(uint32_t seed, QSize size = {Width, Height}) {
    GameRandom().Seed = seed;
    const TLaunchTable table = BuildLaunchTable();
    TFireworks fireworks;
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    std::vector<size_t> frames;
    for (int frame = 0;; ++frame) {
        if (frame % 10 == 0 && frame < 40)
            fireworks.Launch(picture, table[size_t(frame / 10)]);
        fireworks.Frame(picture);
        frames.push_back(pictureHash(picture));
        if (fireworks.Rockets.Count() == 0)
            return frames;
    }
}

TEST(WinnerLaunchTable, FourRocketsEachACopyOfTheOneBefore) {
    using Colours = std::array<uint32_t, 6>;
    const Colours blueToPurple = {rgb(0, 0, 255),   rgb(51, 0, 255),  rgb(102, 0, 255),
                                  rgb(153, 0, 255), rgb(204, 0, 255), rgb(255, 0, 255)};
    const Colours redToYellow = {rgb(255, 0, 0),   rgb(255, 51, 0),  rgb(255, 102, 0),
                                 rgb(255, 153, 0), rgb(255, 204, 0), rgb(255, 255, 0)};
    const Colours yellowToGreen = {rgb(255, 255, 0), rgb(160, 229, 0), rgb(81, 204, 0),
                                   rgb(17, 178, 0),  rgb(0, 153, 30),  rgb(0, 128, 64)};
    const struct {
        const char* name;
        Colours stars;
        uint32_t starColor;
        double thrust, fuse;
    } expected[] = {{"Blue/Purple", blueToPurple, rgb(255, 0, 255), 88, 5.0},
                    {"Red/Yellow", redToYellow, rgb(255, 255, 0), 100, 5.5},
                    {"Yellow/Green", yellowToGreen, rgb(0, 255, 0), 120, 4.0},
                    {"Red/Yellow", redToYellow, rgb(255, 255, 0), 100, 5.5}};
    const TLaunchTable table = BuildLaunchTable();
    const TRocket& basic = BasicTemplate;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        const TRocket& r = table[size_t(i)];
        const auto& e = expected[i];
        EXPECT_EQ(r.Name.View(), e.name);
        EXPECT_EQ(r.StarColor, e.starColor);
        for (int s = 0; s < 6; ++s) {
            EXPECT_EQ(r.StarStages[size_t(s)].Color, e.stars[size_t(s)]) << "stage " << s;
            EXPECT_EQ(r.StarStages[size_t(s)].Duration, 0.6);
        }
        EXPECT_EQ(r.ThrustForce, e.thrust);
        EXPECT_EQ(r.Fuse, e.fuse);
        // Everything else is the basic rocket's: blue, 1 kg, 10 s, 1-s red motor, 49 stars.
        const double same[][2] = {{r.Mass, basic.Mass},         {r.Radius, basic.Radius},
                                  {r.Life, basic.Life},         {r.Jitter, basic.Jitter},
                                  {r.LaunchAngle, 8},           {r.Position.x, basic.Position.x},
                                  {r.Position.y, 2},            {r.Position.z, 0},
                                  {r.Thrust.y, basic.Thrust.y}, {double(r.StarCount), 35},
                                  {r.StarJitter, 1},            {r.StarSpeed, 30},
                                  {r.StarSpeedRange, 2},        {VecLength(r.Velocity), 0}};
        for (const auto& pair : same)
            EXPECT_EQ(pair[0], pair[1]) << "field " << &pair - same;
        EXPECT_EQ(r.Color, rgb(0, 0, 255));
        EXPECT_TRUE(r.RandomAngle && r.StarGrid);
        for (int s = 0; s < 6; ++s)
            EXPECT_EQ(r.Stages[size_t(s)].Duration, s == 0 ? 1.0 : 0.0);
        EXPECT_EQ(r.Stages[0].Color, rgb(255, 0, 0));
    }
}

TEST(WinnerLaunchTable, RocketsGoUpFromTheMiddleTwoUnitsAboveTheBottom) {
    const TLaunchTable table = BuildLaunchTable();
    for (const QSize size : {QSize(794, 520), QSize(795, 301), QSize(1, 1)})
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " rocket " << i + 1);
            TFireworks fireworks;
            QImage picture(size, QImage::Format_RGB32);
            fireworks.Launch(picture, table[size_t(i)]);
            ASSERT_EQ(fireworks.Rockets.Count(), 1);
            const TRocket& r = fireworks.Rockets[0];
            EXPECT_EQ(r.Position.x, size.width() / 2);
            EXPECT_EQ(r.Position.y, 2.0);
            EXPECT_EQ(r.Position.z, 0.0);
            EXPECT_NEAR(VecLength(r.Thrust), table[size_t(i)].ThrustForce, 1e-9);
            EXPECT_LE(std::abs(r.Thrust.x), std::sin(8.0 * 3.14159265358979 / 180) * r.ThrustForce + 1e-9);
            if (size.height() > 2) { // the blue rocket on the pad, drawn at once
                EXPECT_EQ(picture.pixel(size.width() / 2, size.height() - 2), qRgb(0, 0, 255));
            }
        }
}

TEST(WinnerSequence, AWholeCelebrationEndsByItselfWithTheLastParticle) {
    Celebration c;
    c.Run();
    const std::vector<size_t> expected = expectedFrames(Seed);
    ASSERT_GT(expected.size(), 100u);
    EXPECT_EQ(c.frames, expected);
    EXPECT_TRUE(c.blackAfterFade);
    // The fade is 256 steps of 7 ms; every frame is followed by a 100-ms wait.
    EXPECT_EQ(c.clock.NowMs, 256 * 7 + int64_t(expected.size()) * 100);
    EXPECT_EQ(c.waits, FadeWaits + int(expected.size()));
    const std::vector<std::pair<QString, int>> heard = {{"ROCKET", 0},  {"ROCKET", 10}, {"ROCKET", 20},
                                                        {"ROCKET", 30}, {"WINNER", 40}, {"stop", int(expected.size())}};
    EXPECT_EQ(c.player.heard, heard);
    EXPECT_TRUE(c.runningWhileShown);
    EXPECT_FALSE(c.running);
    // The board is painted once, after the flag is down.
    EXPECT_EQ(c.paints, 1);
    EXPECT_FALSE(c.runningAtPaint);
    EXPECT_EQ(c.board.pixel(Width / 2, Height / 2), TableGreen);
}

TEST(WinnerSequence, WaysOutAClickOrTheProgramClosing) {
    const int whole = int(expectedFrames(Seed).size());
    const struct {
        const char* what;
        int atWait;            // the wait in which it happens
        bool click;            // else the program closes
        int frames;            // frames drawn in all
        QStringList sounds;
    } cases[] = {
        {"click during the fade is forgotten", 100, true, whole,
         {"ROCKET", "ROCKET", "ROCKET", "ROCKET", "WINNER", "stop"}},
        {"click in the fade's last wait is forgotten", FadeWaits - 1, true, whole,
         {"ROCKET", "ROCKET", "ROCKET", "ROCKET", "WINNER", "stop"}},
        {"click after frame 0", FadeWaits, true, 1, {"ROCKET", "stop"}},
        {"click after frame 25", FadeWaits + 25, true, 26, {"ROCKET", "ROCKET", "ROCKET", "stop"}},
        {"click after frame 45", FadeWaits + 45, true, 46, {"ROCKET", "ROCKET", "ROCKET", "ROCKET", "WINNER", "stop"}},
        {"closing during the fade: no rocket goes up", 30, false, 0, {"stop"}},
        {"closing after frame 15", FadeWaits + 15, false, 16, {"ROCKET", "ROCKET", "stop"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        Celebration c;
        c.OnWait = [&k](Celebration& c) {
            if (c.waits == k.atWait)
                (k.click ? c.stop : c.closing) = true;
        };
        c.Run();
        EXPECT_EQ(int(c.frames.size()), k.frames);
        EXPECT_EQ(c.Sounds(), k.sounds);
        ASSERT_FALSE(c.player.heard.empty());
        EXPECT_EQ(c.player.heard.back().second, k.frames); // silenced right after the last frame
        EXPECT_FALSE(c.running);
        EXPECT_EQ(c.paints, 1);
        EXPECT_EQ(c.board.pixel(Width / 2, Height / 2), TableGreen);
    }
}

TEST(WinnerSequence, EveryCelebrationAlikeWithOrWithoutSound) {
    Celebration c;
    c.Run();
    const std::vector<size_t> first = c.frames;
    const auto firstHeard = c.player.heard;
    for (bool soundOff : {false, true, false}) {
        SCOPED_TRACE(soundOff ? "sound off" : "sound on");
        c.sound.SoundDisabled = soundOff;
        c.stop = true; // a press from before the celebration is forgotten as well
        c.Run();
        EXPECT_EQ(c.frames, first);
        if (soundOff)
            EXPECT_EQ(c.Sounds(), QStringList{"stop"});
        else
            EXPECT_EQ(c.player.heard, firstHeard);
        EXPECT_EQ(c.paints, 1);
        EXPECT_FALSE(c.running);
    }
    // Another seed, another display.
    c.Run(Seed + 1);
    EXPECT_NE(c.frames, first);
}

TEST(WinnerSequence, AFailureInsideStillClearsTheFlagAndSilences) {
    const struct {
        const char* what;
        int atShow; // throws in this showing of the board (0..255 the fade)
        QStringList sounds;
    } cases[] = {{"in the fade", 40, {"stop"}},
                 {"after frame 12", FadeWaits + 12, {"ROCKET", "ROCKET", "stop"}},
                 {"after the fanfare", FadeWaits + 41, {"ROCKET", "ROCKET", "ROCKET", "ROCKET", "WINNER", "stop"}}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        Celebration c;
        int shows = 0;
        c.OnShow = [&](Celebration&) {
            if (shows++ == k.atShow)
                throw std::runtime_error("display lost");
        };
        EXPECT_THROW(c.Run(), std::runtime_error);
        EXPECT_FALSE(c.running);
        EXPECT_EQ(c.Sounds(), k.sounds);
        EXPECT_EQ(c.paints, 0); // a failed celebration leaves the repaint to its caller
        // The next celebration runs as usual.
        c.OnShow = nullptr;
        c.Run();
        EXPECT_EQ(c.frames, expectedFrames(Seed));
        EXPECT_FALSE(c.running);
    }
}

TEST(WinnerSequence, AResizedBoardTakesTheDisplayAlong) {
    for (const QSize size : {QSize(400, 300), QSize(1, 1)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        Celebration c;
        std::vector<QSize> sizes;
        c.OnWait = [&](Celebration& c) {
            if (c.waits == FadeWaits + 15)
                c.board = QImage(size, QImage::Format_ARGB32_Premultiplied);
            if (c.waits >= FadeWaits)
                sizes.push_back(c.board.size());
        };
        c.Run();
        ASSERT_GT(sizes.size(), 100u);
        EXPECT_EQ(sizes[14], QSize(Width, Height));
        EXPECT_EQ(sizes.back(), size);
        EXPECT_EQ(c.Sounds().count("ROCKET"), 4);
        EXPECT_EQ(c.paints, 1);
        EXPECT_FALSE(c.running);
    }
}

} // namespace

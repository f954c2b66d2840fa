// The game's sounds as a player hears them: played through a private sound server whose output
// is recorded (with-pulseaudio.sh), the recording is turned back into the effects it holds by
// comparing it with the stored sounds (SoundRecogniser), and that list is checked.
//
// First the sound player itself plays every effect, loops and cuts; then the real program is
// played under an X server of its own (run-under-xvfb.sh), with sound and with sound disabled;
// last it starts without any sound server.
#include "SoundCapture.h"
#include "SoundRecogniser.h"

#include "Wav.h"
#include "WavReader.h"
#include "sound/TSoundPlayer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

using sound::Heard;
using sound::Samples;

namespace {

// ---------------------------------------------------------------- the stored sounds

// One effect as the server plays it on a mono sink: channels averaged, at the sink's rate.
Samples StoredEffect(SoundEffect effect, int rate) {
    QFile file(QStringLiteral(":/sounds/%1.wav").arg(SoundEffectName(effect)));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("no stored sound " + file.fileName().toStdString());
    const QByteArray bytes = file.readAll();
    const DecodedWav wav = decodeWav(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    Samples mono(wav.samples.front().size());
    for (size_t i = 0; i < mono.size(); ++i) {
        double sum = 0;
        for (const auto& channel : wav.samples)
            sum += channel[i];
        mono[i] = float(sum / double(wav.samples.size()) / wav.fullScale());
    }
    return sound::Resample(mono, wav.sampleRate, rate);
}

const sound::Recogniser& Effects(int rate) {
    static std::unique_ptr<sound::Recogniser> recogniser;
    if (!recogniser) {
        std::vector<Samples> effects;
        std::vector<QString> names;
        for (int e = 0; e < 10; ++e) {
            effects.push_back(StoredEffect(SoundEffect(e), rate));
            names.push_back(SoundEffectName(SoundEffect(e)));
        }
        recogniser = std::make_unique<sound::Recogniser>(std::move(effects), std::move(names), rate);
    }
    return *recogniser;
}

int Seconds(double s, int rate) {
    return int(s * rate);
}

// ---------------------------------------------------------------- the recogniser on its own

// A recording put together from the stored sounds, as the server would write it.
struct Mix {
    const sound::Recogniser& effects;
    Samples out;

    void Silence(double seconds) { out.resize(out.size() + size_t(Seconds(seconds, effects.Rate()))); }
    // Part of an effect, going round its start for a loop; all of it by default.
    void Play(SoundEffect e, double periods = 1.0, double gain = 1.0) {
        const Samples& s = effects.Effect(int(e));
        const auto n = size_t(double(s.size()) * periods);
        for (size_t i = 0; i < n; ++i)
            out.push_back(float(gain * s[i % s.size()]));
    }
    // An effect that breaks off for a moment and goes on where it was, as when the output runs dry.
    void Stutter(SoundEffect e, double at, double gap) {
        const Samples& s = effects.Effect(int(e));
        const auto breaks = size_t(Seconds(at, effects.Rate()));
        out.insert(out.end(), s.begin(), s.begin() + long(breaks));
        Silence(gap);
        out.insert(out.end(), s.begin() + long(breaks), s.end());
    }
    // Another effect over the end of what is there; where it starts.
    size_t Over(SoundEffect e, double seconds) {
        const Samples& s = effects.Effect(int(e));
        const size_t from = out.size() - size_t(Seconds(seconds, effects.Rate()));
        for (size_t i = 0; i < s.size(); ++i) {
            if (from + i >= out.size())
                out.push_back(0);
            out[from + i] += s[i];
        }
        return from;
    }
};

TEST(SoundRecogniser, TellsTheEffectsApartAndFindsLoopsCutsGapsAndForeignSound) {
    const sound::Recogniser& effects = Effects(44100);
    Mix mix{effects, {}};
    mix.Silence(0.1);
    mix.Play(SoundEffect::MoveTo);
    mix.Silence(0.05);
    mix.Play(SoundEffect::Deal, 1.4); // looped, then ended by ...
    mix.Play(SoundEffect::Error);     // ... the next sound, without a gap
    mix.Silence(0.2);
    mix.Play(SoundEffect::Undo, 0.3, 0.7); // cut, and quieter
    mix.Silence(0.02);
    mix.Play(SoundEffect::PlayCard);
    mix.Silence(0.1);
    mix.Stutter(SoundEffect::StartMove, 0.08, 0.05);
    mix.Silence(0.1);
    mix.Play(SoundEffect::Blast);
    const size_t rocket = mix.Over(SoundEffect::Rocket, 0.2); // two at once
    mix.Silence(0.3);

    const std::vector<Heard> heard = effects.Transcribe(mix.out);
    ASSERT_EQ(heard.size(), 8u) << effects.Describe(heard).toStdString();
    const int expected[] = {0, 1, 2, 6, 4, 5, 8, -1};
    for (size_t i = 0; i < heard.size(); ++i)
        EXPECT_EQ(heard[i].effect, expected[i]) << "at " << i << ": " << effects.Describe(heard).toStdString();
    EXPECT_TRUE(heard[0].complete);
    EXPECT_EQ(heard[0].start, Seconds(0.1, 44100));
    EXPECT_NEAR(effects.Periods(heard[1]), 1.4, 0.01);
    EXPECT_FALSE(heard[1].complete);
    EXPECT_EQ(heard[2].start, heard[1].start + heard[1].length);
    EXPECT_TRUE(heard[2].complete);
    EXPECT_NEAR(effects.Periods(heard[3]), 0.3, 0.01);
    EXPECT_NEAR(heard[3].gain, 0.7, 0.01);
    EXPECT_FALSE(heard[3].complete);
    EXPECT_TRUE(heard[4].complete);
    EXPECT_EQ(heard[4].gaps, 0);
    // Through its gap, to its end.
    EXPECT_TRUE(heard[5].complete);
    EXPECT_EQ(heard[5].gaps, 1);
    EXPECT_NEAR(double(heard[5].length - heard[5].played), Seconds(0.05, 44100), 50.0);
    // BLAST until the rocket joins it; from there on neither alone.
    EXPECT_FALSE(heard[6].complete);
    EXPECT_NEAR(double(heard[6].start + heard[6].length), double(rocket), 500.0);
    EXPECT_NEAR(double(heard[7].start), double(rocket), 500.0);
}

// ---------------------------------------------------------------- the private sound server

// Each test hears what is played from its own start on.
class SoundServer : public ::testing::Test {
protected:
    static inline std::unique_ptr<sound::Capture> capture;

    static void SetUpTestSuite() {
        const QString fifo = qEnvironmentVariable("TARNWELL_SOUND_FIFO");
        if (!fifo.isEmpty())
            capture = std::make_unique<sound::Capture>(fifo, qEnvironmentVariableIntValue("TARNWELL_SOUND_RATE"));
    }
    static void TearDownTestSuite() { capture.reset(); }

    void SetUp() override {
        if (!capture)
            GTEST_SKIP() << "no sound server: run this under with-pulseaudio.sh";
        Known(); // the stored sounds, ready before anything is timed
    }

    const sound::Recogniser& Known() const { return Effects(capture->Rate()); }
    int Rate() const { return capture->Rate(); }
    double Secs(int64_t samples) const { return double(samples) / Rate(); }

    // Everything heard from a place in the recording until it has been quiet for a while: at
    // least `atLeastMs` after now, so that a sound on its way to the output is not missed.
    std::vector<Heard> HearFrom(int64_t from, int atLeastMs = 600) const {
        QElapsedTimer clock;
        clock.start();
        const int64_t quiet = Rate() * 3 / 10;
        while (clock.elapsed() < atLeastMs || capture->Now() - std::max(capture->SoundEnd(), from) < quiet) {
            if (clock.elapsed() > 20000)
                break;
            QTest::qWait(20);
        }
        const Samples recording = capture->Between(from, capture->Now());
        Keep(recording);
        return Known().Transcribe(recording);
    }

    // With TARNWELL_SOUND_KEEP set to a folder, every recording heard is saved there as a wave
    // file, numbered, to be listened to.
    void Keep(const Samples& recording) const {
        const QString folder = qEnvironmentVariable("TARNWELL_SOUND_KEEP");
        if (folder.isEmpty())
            return;
        static int count = 0;
        const QString name =
            QStringLiteral("%1/%2-%3.wav")
                .arg(folder, QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()))
                .arg(++count);
        soundsynth::writeWavFile(name.toStdString(), soundsynth::Sound{{Rate(), 1, 16}, {recording}});
    }
    std::string Describe(const std::vector<Heard>& heard) const { return Known().Describe(heard).toStdString(); }

    // The stretches are exactly these effects, in this order, with nothing else between them.
    void ExpectEffects(const std::vector<Heard>& heard, const std::vector<SoundEffect>& expected) const {
        std::vector<int> got, wanted;
        for (const Heard& h : heard)
            got.push_back(h.effect);
        for (SoundEffect e : expected)
            wanted.push_back(int(e));
        EXPECT_EQ(got, wanted) << "heard: " << Describe(heard);
        for (const Heard& h : heard) {
            if (h.effect < 0)
                continue;
            EXPECT_NEAR(h.gain, 1.0, 0.1) << Known().Name(h.effect).toStdString() << " at another level";
        }
    }

    // The first ended where the second began: the new sound cut it short.
    void ExpectCutBy(const Heard& first, const Heard& second) const {
        EXPECT_FALSE(first.complete) << Describe({first}) << " played to its end";
        EXPECT_LE(Secs(second.start - (first.start + first.length)), 0.1)
            << Describe({first, second}) << ": the first stopped well before the second began";
    }
};

TEST_F(SoundServer, ThePlayerPlaysEveryEffectLoopsAndCutsOneWithTheNext) {
    TSoundPlayer player;
    player.Prepare(); // as the program does once its window is up
    ASSERT_TRUE(player.HasOutput()) << "the player found no output on the private server";
    // Its sounds load on a thread of Qt's.
    QTest::qWait(300);
    const int64_t from = capture->Now();
    auto play = [&](SoundEffect e, double seconds, bool loop = false) {
        player.PlaySound(e, loop);
        QTest::qWait(int(seconds * 1000));
    };
    auto whole = [&](SoundEffect e) { play(e, Secs(int64_t(Known().Effect(int(e)).size())) + 0.1); };
    whole(SoundEffect::MoveTo);
    whole(SoundEffect::Error);
    play(SoundEffect::MoveHome, 0.4); // ended by the next
    whole(SoundEffect::PlayCard);
    whole(SoundEffect::StartMove);
    whole(SoundEffect::Undo);
    whole(SoundEffect::Blast);
    whole(SoundEffect::Rocket);
    play(SoundEffect::Deal, 3.6, true); // round its loop once, then ended by the next
    play(SoundEffect::Winner, 0.8);
    player.StopSound();
    const std::vector<Heard> heard = HearFrom(from, 0);

    using E = SoundEffect;
    ExpectEffects(heard, {E::MoveTo, E::Error, E::MoveHome, E::PlayCard, E::StartMove, E::Undo, E::Blast, E::Rocket,
                          E::Deal, E::Winner});
    ASSERT_EQ(heard.size(), 10u);
    for (size_t i : {0, 1, 3, 4, 5, 6, 7})
        EXPECT_TRUE(heard[i].complete) << Describe({heard[i]}) << " was not heard to its end";
    ExpectCutBy(heard[2], heard[3]);
    EXPECT_NEAR(Secs(heard[2].length), 0.4, 0.15);
    // The loop went on past its end without a break, until the next sound ended it.
    EXPECT_GT(Known().Periods(heard[8]), 1.1) << Describe({heard[8]});
    EXPECT_NEAR(Secs(heard[8].length), 3.6, 0.3);
    ExpectCutBy(heard[8], heard[9]);
    // And the last one stopped when asked.
    EXPECT_FALSE(heard[9].complete);
    EXPECT_NEAR(Secs(heard[9].length), 0.8, 0.3);
}

// ---------------------------------------------------------------- the real program

QString GameBinary;

constexpr QRgb TableGreen = qRgb(0, 128, 0);
constexpr QRgb CursorCyan = qRgb(0, 220, 255);
constexpr int StartTimeoutMs = 15000;

// A step that did not happen ends the test with what was awaited.
struct StepFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool PollUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

// xdotool with one or more chained commands ("key", "sleep", "mousedown" ...); its output.
QString Xdo(const QStringList& commands, bool mustSucceed = true) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), commands);
    const bool done = tool.waitForFinished(15000);
    if (!done)
        tool.kill();
    if (mustSucceed && (!done || tool.exitCode() != 0))
        throw StepFailed("xdotool " + commands.join(QLatin1Char(' ')).toStdString() + " failed");
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QImage ScreenPart(const QRect& r) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The smallest rectangle holding every pixel of that colour.
QRect Bounds(const QImage& image, QRgb colour) {
    QRect found;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == colour)
                found |= QRect(x, y, 1, 1);
    }
    return found;
}

// The program on the private X server with folders of its own, found by its process; it opens a
// copy of the saved game given, if any.
class RunningGame {
public:
    RunningGame(const QString& savedGame, const QString& pulseServer) {
        QStringList arguments;
        if (!savedGame.isEmpty()) {
            arguments << QFileInfo(savedGame).fileName();
            QFile::copy(savedGame, folder.filePath(arguments.constFirst()));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("PULSE_SERVER"), pulseServer);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardOutputFile(folder.filePath(QStringLiteral("output.txt")));
        process.start(GameBinary, arguments);
        if (!process.waitForStarted(StartTimeoutMs))
            throw StepFailed("cannot start " + GameBinary.toStdString());
        if (!PollUntil([&] { return !Windows().isEmpty(); }, StartTimeoutMs))
            throw StepFailed("the program showed no window");
        window = Windows().constFirst();
        // The board: the table green on the screen, once something lies on it.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        if (!PollUntil(
                [&] {
                    board = Bounds(ScreenPart(screen), TableGreen);
                    return board.width() > 200 && board.height() > 200;
                },
                StartTimeoutMs))
            throw StepFailed("no board in the window");
    }

    ~RunningGame() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    // The program's visible windows.
    QStringList Windows() const {
        return Xdo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                    QString::number(process.processId())},
                   false)
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Keys and pauses to the main window: "key" commands of xdotool, chained.
    void Play(const QStringList& commands) {
        Xdo(QStringList{QStringLiteral("windowfocus"), QStringLiteral("--sync"), window} + commands);
    }

    // The game's question beside the main window, answered with its default button.
    void Answer() {
        QString question;
        auto asked = [&] {
            for (const QString& id : Windows())
                if (id != window)
                    question = id;
            return !question.isEmpty();
        };
        if (!PollUntil(asked, StartTimeoutMs))
            throw StepFailed("no question came");
        Xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), question, QStringLiteral("key"),
             QStringLiteral("Return")});
        if (!PollUntil([&] { return !Windows().contains(question); }, StartTimeoutMs))
            throw StepFailed("the question stayed");
    }

    QImage Board() const { return ScreenPart(board); }

    // Where the keyboard cursor's frame is now, on the screen.
    QRect CursorFrame() const {
        QRect found;
        PollUntil([&] { return !(found = Bounds(Board(), CursorCyan)).isEmpty(); }, StartTimeoutMs);
        return found.translated(board.topLeft());
    }

    int Exit() {
        Play({QStringLiteral("key"), QStringLiteral("ctrl+q")});
        if (!process.waitForFinished(StartTimeoutMs))
            throw StepFailed("the program did not end");
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString Output() const {
        QFile file(folder.filePath(QStringLiteral("output.txt")));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }

private:
    QTemporaryDir folder;
    QProcess process;
    QString window; // the main window, the only one at the start
    QRect board;    // on the screen
};

QStringList Keys(std::initializer_list<const char*> keys) {
    QStringList out{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")};
    for (const char* k : keys)
        out << QString::fromLatin1(k);
    return out;
}

QStringList Pause(double seconds) {
    return {QStringLiteral("sleep"), QString::number(seconds)};
}

// The data folder of the tests: a game with the Ace, 2 and 3 of clubs face up at the bottom of
// the fourth column, the King of spades alone in the first, and the clubs' pocket empty.
QString SmallGame() {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../data/SmallGame.twl");
}

// Menu keys need the menu to open between them.
QStringList MenuKeys(std::initializer_list<const char*> keys) {
    QStringList out = Keys(keys);
    out[2] = QStringLiteral("150");
    return out;
}

QStringList Mouse(const char* command, QPoint p) {
    return {QString::fromLatin1(command), QString::number(p.x()), QString::number(p.y())};
}

// The place in the recording at which the board, polled from now on, last changed, once it has
// stayed the same for a while; -1 if it never changed. The first change goes to `first`.
int64_t BoardSettles(const RunningGame& game, const sound::Capture& capture, int64_t* first = nullptr) {
    QImage last = game.Board();
    int64_t firstChange = -1, lastChange = -1;
    QElapsedTimer still;
    still.start();
    PollUntil(
        [&] {
            const QImage now = game.Board();
            if (now != last) {
                lastChange = capture.Now();
                if (firstChange < 0)
                    firstChange = lastChange;
                last = now;
                still.restart();
            }
            return still.elapsed() > 800;
        },
        30000);
    if (first)
        *first = firstChange;
    return lastChange;
}

TEST_F(SoundServer, TheGameIsHeardMoveByMoveAndSilentWithSoundDisabled) {
    if (GameBinary.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "no program or no X server: run this under run-under-xvfb.sh";
    using E = SoundEffect;
    try {
        RunningGame game(SmallGame(), qEnvironmentVariable("PULSE_SERVER"));
        QTest::qWait(500); // its sounds load

        // The Ace of clubs home by keys: chosen, and chosen again on its own column.
        game.Play(Keys({"Home", "Right", "Right", "Right"}));
        const QPoint ace = game.CursorFrame().center();
        int64_t from = capture->Now();
        game.Play(Keys({"space"}) + Pause(0.3) + Keys({"space"}));
        std::vector<Heard> heard = HearFrom(from);
        ExpectEffects(heard, {E::PlayCard, E::MoveTo, E::MoveHome});
        if (heard.size() == 3) {
            EXPECT_TRUE(heard[2].complete) << Describe(heard);
        }

        // The 2 of clubs onto the King of spades: refused.
        from = capture->Now();
        game.Play(Keys({"Home", "Right", "Right", "Right", "space"}) + Pause(0.3) + Keys({"Home", "space"}));
        heard = HearFrom(from);
        ExpectEffects(heard, {E::PlayCard, E::Error});
        if (heard.size() == 2) {
            EXPECT_TRUE(heard[1].complete) << Describe(heard);
        }

        // Undo brings the Ace back, and a press on it, which starts a drag, cuts the undo short;
        // put down where it was, on its own column, the Ace goes home again.
        from = capture->Now();
        game.Play(Keys({"ctrl+z"}) + Pause(0.25) + Mouse("mousemove", ace) + QStringList{"mousedown", "1"} +
                  Pause(0.3) + Mouse("mousemove", ace + QPoint(6, 6)) + Pause(0.3) + Mouse("mousemove", ace) +
                  QStringList{"mouseup", "1"});
        heard = HearFrom(from);
        ExpectEffects(heard, {E::Undo, E::PlayCard, E::StartMove, E::MoveTo, E::MoveHome});
        if (heard.size() == 5) {
            ExpectCutBy(heard[0], heard[1]);
            EXPECT_TRUE(heard[4].complete) << Describe(heard);
        }

        // A new deal: "DEAL" from the first card that goes out to the last, and not after. (A
        // deal takes less than the sound's period here; the player's test above hears the loop.)
        from = capture->Now();
        game.Play(Keys({"F2"}));
        game.Answer();
        int64_t dealFirst = -1;
        const int64_t dealLast = BoardSettles(game, *capture, &dealFirst);
        ASSERT_GE(dealFirst, 0) << "no cards went out";
        heard = HearFrom(from);
        ExpectEffects(heard, {E::Deal});
        if (heard.size() == 1) {
            // The screen and the recording are read a frame or two apart.
            const Heard& deal = heard[0];
            EXPECT_NEAR(Secs(deal.start), Secs(dealFirst - from), 0.3) << "the sound began apart from the deal";
            EXPECT_NEAR(Secs(deal.start + deal.length), Secs(dealLast - from), 0.3)
                << "the sound did not end with the last card: " << Describe(heard) << ", cards going out from "
                << Secs(dealFirst - from) << " s to " << Secs(dealLast - from) << " s";
        }

        // Sound disabled: a deal, an undo and a choice in silence.
        game.Play(MenuKeys({"alt+o", "d", "Return"}));
        from = capture->Now();
        const QImage dealt = game.Board();
        game.Play(Keys({"F2"}));
        game.Answer();
        BoardSettles(game, *capture);
        EXPECT_NE(game.Board(), dealt) << "no new deal";
        game.Play(Keys({"ctrl+z", "Home", "space"}));
        heard = HearFrom(from, 1000);
        EXPECT_TRUE(heard.empty()) << "heard with sound disabled: " << Describe(heard);
        // And on again.
        game.Play(MenuKeys({"alt+o", "d", "Return"}));
        from = capture->Now();
        game.Play(Keys({"ctrl+z"}));
        ExpectEffects(HearFrom(from), {E::Undo});

        EXPECT_EQ(game.Exit(), 0);
        EXPECT_FALSE(game.Output().contains(QLatin1String("No audio device detected"))) << game.Output().toStdString();
    } catch (const StepFailed& e) {
        FAIL() << e.what();
    }
}

// Without a sound server the game plays on in silence and says so once.
TEST(NoSoundServer, TheGameSaysOnceThatItIsSilentAndPlaysOn) {
    if (GameBinary.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "no program or no X server: run this under run-under-xvfb.sh";
    try {
        RunningGame game(QString(), QStringLiteral("unix:/nonexistent/tarnwell-no-sound"));
        const QImage before = game.Board();
        game.Play(Keys({"F2"}));
        EXPECT_TRUE(PollUntil([&] { return game.Board() != before; }, StartTimeoutMs)) << "no deal";
        QTest::qWait(1500);
        game.Play(Keys({"Home", "space", "ctrl+z"}));
        QTest::qWait(300);
        EXPECT_EQ(game.Exit(), 0);
        EXPECT_LE(game.Output().count(QLatin1String("No audio device detected")), 1) << game.Output().toStdString();
    } catch (const StepFailed& e) {
        FAIL() << e.what();
    }
}

} // namespace

int main(int argc, char** argv) {
    // The screen is grabbed from the X server the program runs on.
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The program runs in a folder of its own, so a relative path is taken from here.
    if (!qEnvironmentVariableIsEmpty("TARNWELL_BINARY"))
        GameBinary = QFileInfo(qEnvironmentVariable("TARNWELL_BINARY")).absoluteFilePath();
    return RUN_ALL_TESTS();
}

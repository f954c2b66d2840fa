#include "sound/TSoundPlayer.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
// The player with every start and stop noted as "+NAME" (looping: "+NAME*") and "-NAME".
class RecordingPlayer : public TSoundPlayer {
public:
    QStringList Requests;

protected:
    void Start(SoundEffect effect, bool loop) override {
        Requests << QLatin1Char('+') + SoundEffectName(effect) + (loop ? QStringLiteral("*") : QString());
        TSoundPlayer::Start(effect, loop);
    }
    void Stop(SoundEffect effect) override {
        Requests << QLatin1Char('-') + SoundEffectName(effect);
        TSoundPlayer::Stop(effect);
    }
};

// Every message Qt or the player prints while it is alive.
class MessageCatcher {
public:
    MessageCatcher() { previous = qInstallMessageHandler(&Catch); }
    ~MessageCatcher() { qInstallMessageHandler(previous); }

    static int Count(const QString& text) {
        return int(
            std::count_if(messages.cbegin(), messages.cend(), [&](const QString& m) { return m.contains(text); }));
    }

private:
    static void Catch(QtMsgType, const QMessageLogContext&, const QString& message) { messages << message; }
    static inline QStringList messages;
    QtMessageHandler previous;
};
} // namespace

TEST(SoundPlayer, OneSoundAtATimeANewOneEndsALoopingOne) {
    RecordingPlayer player;
    player.PlaySound(SoundEffect::Winner, true);
    player.PlaySound(SoundEffect::Blast, false);
    player.PlaySound(SoundEffect::Rocket, false);
    player.StopSound();
    player.StopSound(); // nothing left to stop
    player.PlaySound(SoundEffect::Error, false);
    EXPECT_EQ(player.Requests,
              QStringList({"+WINNER*", "-WINNER", "+BLAST", "-BLAST", "+ROCKET", "-ROCKET", "+ERROR"}));
}

// The suite runs without a sound server (see tests/CMakeLists.txt). Qt complains once for every
// effect made without an output, when its sound has loaded; the player makes none then, and says
// it once whatever is asked of it and however many players there are.
TEST(SoundPlayer, WithoutAnOutputItStaysSilentAndSaysSoOnce) {
    if (!QMediaDevices::defaultAudioOutput().isNull())
        GTEST_SKIP() << "this machine has an audio output";
    MessageCatcher messages;
    std::vector<std::unique_ptr<RecordingPlayer>> players;
    for (int i = 0; i < 3; ++i) {
        players.push_back(std::make_unique<RecordingPlayer>());
        EXPECT_FALSE(players.back()->HasOutput());
        for (int e = 0; e < 10; ++e)
            players.back()->PlaySound(SoundEffect(e), e == int(SoundEffect::Deal));
        players.back()->StopSound();
    }
    // Loading a sound takes a moment on a thread of Qt's; the complaints would follow it.
    QTest::qWait(500);
    EXPECT_LE(MessageCatcher::Count(QStringLiteral("No audio device detected")), 1);
    // Silent, but the requests are still one at a time.
    EXPECT_EQ(players.front()->Requests.size(), 20);
    EXPECT_EQ(players.front()->Requests.mid(0, 3), QStringList({"+MOVETO", "-MOVETO", "+DEAL*"}));
}

// A sound played once carries silence after it, so that what Qt's output drops as the sound ends
// is silence. Stored 8-bit, 16-bit and stereo sounds alike: the samples as they were, then the
// silence of their format; anything that is no integer PCM wave is left as it is.
TEST(SoundPlayer, SoundsPlayedOnceEndInSilence) {
    struct Case {
        const char* name;
        int bytesPerFrame;
        char silence;
    };
    for (const Case& c :
         {Case{"MOVETO", 2, '\0'}, Case{"PLAYCARD", 1, '\x80'}, Case{"STARTMOVE", 4, '\0'}, Case{"DEAL", 2, '\0'}}) {
        SCOPED_TRACE(c.name);
        QFile file(QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(c.name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray stored = file.readAll();
        const QByteArray padded = TSoundPlayer::WithTrailingSilence(stored, 500);
        const auto u32 = [](const QByteArray& b, qsizetype at) {
            return qFromLittleEndian<quint32>(b.constData() + at);
        };
        const quint32 rate = u32(stored, 24);
        const qsizetype samples = u32(stored, 40); // an odd count is followed by a pad byte
        const qsizetype added = qsizetype(rate / 2) * c.bytesPerFrame;
        ASSERT_EQ(padded.size(), 44 + samples + added + ((samples + added) & 1));
        EXPECT_EQ(padded.left(4), "RIFF");
        EXPECT_EQ(u32(padded, 4), quint32(padded.size() - 8));
        EXPECT_EQ(padded.mid(8, 28), stored.mid(8, 28)) << "the format changed";
        EXPECT_EQ(padded.mid(36, 4), "data");
        EXPECT_EQ(u32(padded, 40), quint32(samples + added));
        EXPECT_EQ(padded.mid(44, samples), stored.mid(44, samples)) << "the samples changed";
        EXPECT_EQ(padded.mid(44 + samples, added), QByteArray(added, c.silence));
    }
    for (const QByteArray& notPcm :
         {QByteArray(), QByteArray("RIFF\x04\0\0\0WAVE", 12), QByteArray("not a wave at all")})
        EXPECT_EQ(TSoundPlayer::WithTrailingSilence(notPcm, 500), notPcm);
}

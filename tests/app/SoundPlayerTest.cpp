#include "app/TSoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
// The player with every start and stop noted as "+NAME" (looping: "+NAME*") and "-NAME".
class RecordingPlayer : public TSoundPlayer {
public:
    QStringList Requests;

protected:
    void Start(QSoundEffect& effect, bool loop) override {
        Requests << QLatin1Char('+') + Name(effect) + (loop ? QStringLiteral("*") : QString());
        TSoundPlayer::Start(effect, loop);
    }
    void Stop(QSoundEffect& effect) override {
        Requests << QLatin1Char('-') + Name(effect);
        TSoundPlayer::Stop(effect);
    }

private:
    static QString Name(const QSoundEffect& effect) {
        return effect.source().fileName().section(QLatin1Char('.'), 0, 0);
    }
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

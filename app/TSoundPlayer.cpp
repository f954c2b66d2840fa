#include "TSoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {
    for (size_t i = 0; i < effects.size(); ++i) {
        effects[i] = new QSoundEffect(this);
        effects[i]->setSource(QUrl(QStringLiteral("qrc:/sounds/%1.wav").arg(SoundEffectName(SoundEffect(i)))));
    }
}

// The effects go with this object; the one playing is stopped first.
TSoundPlayer::~TSoundPlayer() {
    if (playing)
        playing->stop();
}

void TSoundPlayer::PlaySound(SoundEffect effect, bool loop) {
    StopSound();
    playing = effects[size_t(effect)];
    Start(*playing, loop);
}

void TSoundPlayer::StopSound() {
    if (playing)
        Stop(*playing);
    playing = nullptr;
}

void TSoundPlayer::Start(QSoundEffect& effect, bool loop) {
    effect.setLoopCount(loop ? QSoundEffect::Infinite : 1);
    effect.play();
}

void TSoundPlayer::Stop(QSoundEffect& effect) { effect.stop(); }

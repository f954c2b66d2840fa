#include "TSoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {}

void TSoundPlayer::Prepare() {
    if (effects[0])
        return;
    for (size_t i = 0; i < effects.size(); ++i) {
        effects[i] = new QSoundEffect(this);
        effects[i]->setSource(QUrl(QStringLiteral("qrc:/sounds/%1.wav").arg(SoundEffectName(SoundEffect(i)))));
    }
}

TSoundPlayer::~TSoundPlayer() { StopSound(); }

void TSoundPlayer::PlaySound(SoundEffect effect, bool loop) {
    Prepare();
    StopSound();
    playing = effects[size_t(effect)];
    playing->setLoopCount(loop ? QSoundEffect::Infinite : 1);
    playing->play();
}

void TSoundPlayer::StopSound() {
    if (playing)
        playing->stop();
    playing = nullptr;
}

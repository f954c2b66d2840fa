#pragma once

#include "cards/SoundEffects.h"

#include <QObject>
#include <array>
#include <memory>

class QSoundEffect;

// Plays the game's wave sounds from the resources: asynchronously, one at a time (a new sound
// stops the one playing, a looping one included). Without a sound server it stays silent.
class TSoundPlayer : public QObject, public ISoundPlayer {
    Q_OBJECT
public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    ~TSoundPlayer() override;

    void PlaySound(SoundEffect effect, bool loop) override;
    void StopSound() override;

protected:
    // Where an effect is started and stopped; tests look on here, as a machine without a sound
    // device never reports an effect as playing.
    virtual void Start(QSoundEffect& effect, bool loop);
    virtual void Stop(QSoundEffect& effect);

private:
    std::array<QSoundEffect*, 10> effects{};
    QSoundEffect* playing = nullptr;
};

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

    // Reads the sounds and reaches the sound server; done once, by the first sound at the
    // latest (the program does it as soon as its window is up).
    void Prepare();

    void PlaySound(SoundEffect effect, bool loop) override;
    void StopSound() override;

private:
    std::array<QSoundEffect*, 10> effects{};
    QSoundEffect* playing = nullptr;
};

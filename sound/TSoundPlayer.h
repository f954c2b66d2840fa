#pragma once

#include "cards/SoundEffects.h"

#include <QByteArray>
#include <QObject>
#include <QThread>
#include <QUrl>
#include <array>
#include <optional>

class QMediaDevices;
class QSoundEffect;

// Plays the game's wave sounds from the program's resources: asynchronously, one at a time (a new sound
// stops the one playing, a looping one included).
//
// The effects live on a thread of their own, which hands their samples to the sound server: the
// game's animations block the window's thread while they run, and a sound fed from there would
// fall silent until they end.
//
// The effects are made only once there is an audio output: without one, every effect would
// complain on its own when its sound had loaded. Until then the player is silent, says so once
// per run, and makes the effects as soon as an output appears.
class TSoundPlayer : public QObject, public ISoundOutput {
    Q_OBJECT
public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    ~TSoundPlayer() override;

    // Reaches the sound server and reads the sounds; done once, by the first sound at the latest
    // (the program does it as soon as its window is up, so that start-up never waits for it).
    void Prepare() override;

    void PlaySound(SoundEffect effect, bool loop) override;
    void StopSound() override;

    // Whether the effects are ready on an audio output; without one every request is silent.
    bool HasOutput() const { return hasOutput; }

    // Qt's output hands a sound's last bytes to the sound server and, as soon as it has, closes
    // its stream, dropping whatever the server still held to play: the last 0.1 to 0.2 s of every
    // sound. A sound played once therefore carries this much silence after it, so that what is
    // dropped is silence.
    static constexpr int TrailingSilenceMs = 500;
    // The wave file with that silence added to its samples; the file as it was if it is no
    // integer PCM wave.
    static QByteArray WithTrailingSilence(const QByteArray& wav, int ms);

protected:
    // Where an effect is started and stopped, with or without an output; tests look on here.
    virtual void Start(SoundEffect effect, bool loop);
    virtual void Stop(SoundEffect effect);

private:
    // Makes the effects if an output exists and they are not made yet.
    void FindOutput();
    // Runs on the effects' thread, after every request made before it.
    template <typename F> void OnSoundThread(F&& f);

    // Each sound twice, loaded once and kept on the sound thread: with its trailing silence, to be
    // played once, and as stored, for a loop, whose seam must stay where it is. The loaded effects
    // are never played themselves: Qt's output keeps part of a sound cut short and plays it when
    // that output starts again, so every sound is played by a new effect with the same source,
    // which finds it loaded.
    struct Voice {
        QUrl once;
        QUrl looped;
    };
    QMediaDevices* devices = nullptr;
    QThread soundThread;
    // Lives on that thread and owns the effects there.
    QObject* soundHost;
    bool hasOutput = false;
    std::array<Voice, 10> voices;
    // The sound playing; only the sound thread touches it.
    QSoundEffect* sounding = nullptr;
    std::optional<SoundEffect> playing;
};

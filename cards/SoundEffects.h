#pragma once

#include <QString>

#include <array>

// The game's ten sound effects, named by their wave resources.
enum class SoundEffect { MoveTo, Deal, Error, MoveHome, PlayCard, StartMove, Undo, Winner, Blast, Rocket };

// "MOVETO", "DEAL", ... : the resource name of an effect.
inline QString SoundEffectName(SoundEffect effect) {
    static constexpr std::array<const char*, 10> names = {"MOVETO",    "DEAL", "ERROR",  "MOVEHOME", "PLAYCARD",
                                                          "STARTMOVE", "UNDO", "WINNER", "BLAST",    "ROCKET"};
    return QString::fromLatin1(names.at(size_t(effect)));
}

// Whatever actually makes the sound: one sound at a time, a new one replacing the one playing.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    virtual void PlaySound(SoundEffect effect, bool loop) = 0;
    virtual void StopSound() = 0;
};

// A player that reaches the sound server when it is told to get ready (at the latest by its
// first sound).
class ISoundOutput : public ISoundPlayer {
public:
    virtual void Prepare() = 0;
};

// The player's switch and the two requests every part of the game makes.
class TSoundEffects {
public:
    explicit TSoundEffects(ISoundPlayer& player) : player(player) {}

    bool SoundDisabled = false;

    // Starts an effect and returns at once; nothing while sound is disabled.
    void PlayEffect(SoundEffect effect, bool loop = false);
    // Stops whatever is playing, also while sound is disabled.
    void StopEffects();

private:
    ISoundPlayer& player;
};

#pragma once

#include <QString>

// The game's ten sound effects, named by their wave resources.
enum class SoundEffect { MoveTo, Deal, Error, MoveHome, PlayCard, StartMove, Undo, Winner, Blast, Rocket };

// "MOVETO", "DEAL", ... : the resource name of an effect.
QString SoundEffectName(SoundEffect effect);

// Whatever actually makes the sound: one sound at a time, a new one replacing the one playing.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    virtual void PlaySound(SoundEffect effect, bool loop) = 0;
    virtual void StopSound() = 0;
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

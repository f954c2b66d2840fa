#include "SoundEffects.h"

void TSoundEffects::PlayEffect(SoundEffect effect, bool loop) {
    if (!SoundDisabled)
        player.PlaySound(effect, loop);
}

void TSoundEffects::StopEffects() { player.StopSound(); }

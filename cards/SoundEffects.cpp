#include "SoundEffects.h"

#include <array>

QString SoundEffectName(SoundEffect effect) {
    static const std::array<const char*, 10> names = {"MOVETO",   "DEAL",      "ERROR", "MOVEHOME", "PLAYCARD",
                                                      "STARTMOVE", "UNDO",     "WINNER", "BLAST",   "ROCKET"};
    return QString::fromLatin1(names.at(size_t(effect)));
}

void TSoundEffects::PlayEffect(SoundEffect effect, bool loop) {
    if (!SoundDisabled)
        player.PlaySound(effect, loop);
}

void TSoundEffects::StopEffects() { player.StopSound(); }

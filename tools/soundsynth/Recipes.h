#pragma once

#include "Wav.h"

#include <string_view>
#include <vector>

namespace soundsynth {

// Every finished sound peaks here, leaving headroom for the player's own mixing.
inline constexpr double kPeakDbfs = -3.0;

// One of the game's sound effects: the file stem it is stored under and how it is made.
struct Recipe {
    std::string_view name;
    Sound (*render)();
};

// All ten effects, in the order the game numbers them.
const std::vector<Recipe>& soundRecipes();

// Normalises to kPeakDbfs after short fades at both ends; 8-bit sounds are also dithered.
void finishSound(Sound& sound, double fadeInSeconds, double fadeOutSeconds, uint32_t ditherSeed);

} // namespace soundsynth

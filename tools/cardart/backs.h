// The 13 card backs, our own vector drawings.
#pragma once

#include "common.h"

namespace cardart {

inline constexpr int kBackCount = 13;

// Finished back (opaque RGB32, the card outline) of BackIndex 0..12 at the card's size.
QImage cardBack(int backIndex, const CardSize& card);

} // namespace cardart

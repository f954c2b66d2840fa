// The 13 card backs, our own vector drawings.
#pragma once

#include "common.h"

namespace cardart {

inline constexpr int kBackCount = 13;

// Finished back (opaque RGB32, the card outline) of BackIndex 0..12 at the card's size. The
// small set shows the beach (11) for the robot (3).
QImage cardBack(int backIndex, const CardSize& card);
// The back's picture at the card's device size, before the outline is put on.
QImage backContent(int backIndex, const CardSize& card);

} // namespace cardart

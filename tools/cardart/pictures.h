// Button glyphs, the about-box picture and the program icon.
#pragma once

#include "cards/art/common.h"

namespace cardart {

class FaceRenderer;

// Glyphs sit on a solid key colour (magenta) that the button code makes transparent;
// they are antialiased against the button's dark grey, never against the key colour.
inline constexpr QRgb kGlyphKeyColour = 0xffff00ff;

QImage glyphDeal();   // 32x32, a fan of three cards
QImage glyphUndo();   // 32x32, a yellow arrow curving back to the left
QImage glyphHint();   // 32x32, a yellow question mark
QImage glyphOk();     // 18x18, a green tick
QImage glyphCancel(); // 18x18, a red cross

// 140x110: the ten, jack, queen and king of spades fanned on the table green.
QImage aboutFan(FaceRenderer& faces);

// The program icon at `size` x `size`, with alpha.
QImage programIcon(int size);

} // namespace cardart

#pragma once

#include <QImage>

// The card pictures by number, as the game numbers them: faces 1..52 (Value + 1), backs
// 200..212, mask 400, slot 401, highlight 402, shadow 403; the small set is the same number +
// 1000. They are drawn at run time (the faces from the SVG deck the program carries, the rest by
// our own drawing code) and kept for the rest of the run.
namespace CardResource {
constexpr int SmallSet = 1000;
constexpr int FirstBack = 200;
constexpr int BackCount = 13;
constexpr int Mask = 400;
constexpr int Slot = 401;
constexpr int Highlight = 402;
constexpr int Shadow = 403;
} // namespace CardResource

// A numbered picture as the game draws it (faces and backs cut out along the card's outline,
// the shadow see-through); a null image for a number that names none.
QImage LoadCardBitmap(int id);

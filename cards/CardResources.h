#pragma once

#include <QImage>
#include <QString>

// Numbered card pictures compiled into the program: faces 1..52 (Value + 1), backs 200..212,
// mask 400, slot 401, highlight 402, shadow 403; the small set is the same number + 1000.
namespace CardResource {
constexpr int SmallSet = 1000;
constexpr int FirstBack = 200;
constexpr int BackCount = 13;
constexpr int Mask = 400;
constexpr int Slot = 401;
constexpr int Highlight = 402;
constexpr int Shadow = 403;
} // namespace CardResource

// The resource path of a numbered picture.
QString CardResourcePath(int id);
// Loads a numbered picture; a null image when there is none.
QImage LoadCardBitmap(int id);

// The card outline shared by faces, backs and the mask, and the pictures derived from it:
// mask (400), empty slot (401), highlight (402) and shadow (403).
#pragma once

#include "common.h"

namespace cardart {

// Coverage of a rounded rectangle inside an image of `imageSize`: a Grayscale8 picture,
// 255 fully inside, 0 outside, antialiased in between.
QImage roundedCoverage(QSize imageSize, const QRectF& rect, qreal radius);

// Coverage of the card's outline (the whole card, border included).
QImage cardCoverage(const CardSize& card);

// Puts `content` (drawn at the card's size) on the card: content inside the 1-pixel black
// border, black outside the rounded corners. Returns opaque RGB32.
QImage finishCard(const QImage& content, const CardSize& card);

// A finished card with real alpha outside its outline (for pictures that show cards).
QImage cardWithAlpha(const QImage& finished, const CardSize& card);

QImage cardMask(const CardSize& card);
QImage slotPicture(const CardSize& card);
// A yellow band round the card on black, centred on the card: 3 pixels wide (2 above and
// below the small card, whose highlight is 60x76).
QSize highlightSize(const CardSize& card);
QImage highlightPicture(const CardSize& card);
QImage shadowPicture(const CardSize& card);

} // namespace cardart

// The card outline shared by faces, backs and the mask, and the pictures derived from it at the
// same size: mask, empty slot, highlight and shadow.
#pragma once

#include "common.h"

namespace cardart {

// Coverage of a rounded rectangle inside an image of `imageSize`: a Grayscale8 picture,
// 255 fully inside, 0 outside, the share of each edge pixel in between.
QImage roundedCoverage(QSize imageSize, const QRectF& rect, qreal radius);

// The outline of one card size, worked out once and used for every picture of that size: the
// coverage of the whole card and of its inside within the black border (device pixels).
struct Outline {
    explicit Outline(const CardSize& card);
    CardSize card;
    QImage outer;
    QImage inner;
};

// Coverage of the card's outline (the whole card, border included).
QImage cardCoverage(const CardSize& card);

// Puts `content` (drawn at the card's device size) on the card: content inside the black
// border, black outside the rounded corners. Returns opaque RGB32.
QImage finishCard(const QImage& content, const CardSize& card);
QImage finishCard(const QImage& content, const Outline& outline);
// The same card with its outside transparent: the card as the game draws it, premultiplied,
// with the set's pixel ratio.
QImage cutOutCard(const QImage& content, const Outline& outline);

// A finished card with real alpha outside its outline (for pictures that show cards).
QImage cardWithAlpha(const QImage& finished, const CardSize& card);

// Black inside the outline, white outside, grey along its edge (Grayscale8).
QImage cardMask(const CardSize& card);
QImage slotPicture(const CardSize& card);
// A yellow band round the card on black, centred on the card: 3 pixels wide (2 above and
// below the small card, whose highlight is 60x76), wider on large cards.
QSize highlightSize(const CardSize& card);
QImage highlightPicture(const CardSize& card);
// How far the shadow falls right and down; the shadow picture reaches as far round the card.
int shadowOffset(const CardSize& card);
QSize shadowSize(const CardSize& card);
QImage shadowPicture(const CardSize& card);

} // namespace cardart

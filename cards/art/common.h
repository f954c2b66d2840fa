// The card artwork shared by the game, which draws its cards at run time at whatever size the
// window asks for, and the build-time tool, which draws the game's other pictures: card sizes,
// supersampled rendering and a few shapes (suit symbols) used by several pictures.
#pragma once

#include "cards/CardResources.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

#include <functional>

class QPainter;

namespace cardart {

// One card picture set: the size of a card in (logical) pixels, the radius of its rounded
// outline, whether it has the small set's look, and how many device pixels each of its pixels
// takes on the screen it is drawn for. Every picture of a set is made at device pixels.
struct CardSize {
    int width;
    int height;
    qreal radius;
    bool small;
    qreal ratio = 1.0;

    QSize size() const { return {width, height}; }
    // The size in device pixels.
    QSize pixels() const;
    // Size relative to the large card, never below 1: frame lines and offsets grow with it.
    qreal zoom() const;
    // Width of the card's black border, in device pixels.
    qreal border() const;
    // The card's outline in device pixels: the whole device picture, rounded.
    QRectF outline() const { return QRectF(QPointF(0, 0), QSizeF(pixels())); }
    qreal deviceRadius() const { return radius * ratio; }
    // Thickness of the one-pixel lines of the slot and the shadow, in whole device pixels.
    int lineWidth() const;
    // Supersampling of the drawn pictures: fine for small pictures, none for large ones.
    int supersample() const;
    bool operator==(const CardSize&) const = default;
};

inline constexpr CardSize kLargeCard{71, 96, 4.0, false};
inline constexpr CardSize kSmallCard{54, 72, 3.0, true};
inline constexpr int kSmallIdOffset = CardResource::SmallSet; // the game's numbering

// The picture set for cards of any size at a pixel ratio: the game's two sets exactly, sizes in
// between with their corner radius in between, larger cards rounded in proportion to the large.
CardSize cardSizeFor(QSize card, qreal ratio = 1.0);

// Pictures of the game's two sets are drawn at this many times their size and scaled down
// smoothly; larger pictures need less (CardSize::supersample).
inline constexpr int kSupersample = 4;

enum class Suit { Hearts, Diamonds, Clubs, Spades };

using DrawFunction = std::function<void(QPainter&)>;

// Draws `draw` in a coordinate system of `size` pixels at kSupersample times the resolution
// on `background` and returns the smoothly scaled-down ARGB32 (premultiplied) picture.
QImage renderSupersampled(QSize size, const DrawFunction& draw, const QColor& background = Qt::transparent,
                          int factor = kSupersample);
// The same for a picture of `pixels` device pixels whose drawing is in units `scale` device
// pixels large.
QImage renderSupersampled(QSize pixels, qreal scale, const DrawFunction& draw, const QColor& background,
                          int factor);

// A suit symbol filling (roughly) the unit square (0,0)-(1,1), point of a heart at the bottom.
QPainterPath suitPath(Suit suit);
// The same symbol mapped into `box`.
QPainterPath suitPath(Suit suit, const QRectF& box);
bool isRedSuit(Suit suit);
QColor suitColor(Suit suit);

// A letter "A" (ace) as a closed outline in `box`, for little painted cards.
QPainterPath aceLetterPath(const QRectF& box);

// A little playing card (an ace: "A" in two corners, a big suit sign) filling `card`,
// black outline `outlineWidth` wide; without `corners` only the big sign (for tiny pictures).
void drawAceCard(QPainter& p, const QRectF& card, Suit suit, qreal outlineWidth, bool corners = true);

} // namespace cardart

// Shared definitions of the artwork generator: card sizes, supersampled rendering, PNG output
// and a few shapes (suit symbols) used by several pictures.
#pragma once

#include "cards/CardResources.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

#include <functional>

class QPainter;

namespace cardart {

// One card picture set: the size of a card and the radius of its rounded outline.
struct CardSize {
    int width;
    int height;
    qreal radius;
    bool small;
    QSize size() const { return {width, height}; }
};

inline constexpr CardSize kLargeCard{71, 96, 4.0, false};
inline constexpr CardSize kSmallCard{54, 72, 3.0, true};
inline constexpr int kSmallIdOffset = CardResource::SmallSet; // the game's numbering

// Pictures are drawn at this many times their size and scaled down smoothly.
inline constexpr int kSupersample = 4;

enum class Suit { Hearts, Diamonds, Clubs, Spades };

using DrawFunction = std::function<void(QPainter&)>;

// Draws `draw` in a coordinate system of `size` pixels at kSupersample times the resolution
// on `background` and returns the smoothly scaled-down ARGB32 (premultiplied) picture.
QImage renderSupersampled(QSize size, const DrawFunction& draw, const QColor& background = Qt::transparent,
                          int factor = kSupersample);

// Writes `image` as PNG, creating the folder; throws std::runtime_error on failure.
void savePng(const QImage& image, const QString& path);

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

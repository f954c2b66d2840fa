// The back designs. Each draws its picture into the design panel (0,0)-(kDesignWidth,kDesignHeight),
// which backs.cpp maps onto the card inside its border, at either card size.
#pragma once

#include "common.h"

#include <QPainter>

#include <cstdint>

namespace cardart {

inline constexpr qreal kDesignWidth = 64.0;
inline constexpr qreal kDesignHeight = 89.0;
inline constexpr QRectF kDesignRect(0.0, 0.0, kDesignWidth, kDesignHeight);

void drawDotsBack(QPainter& p);             // 0
void drawWovenBack(QPainter& p);            // 1
void drawBasketBack(QPainter& p);           // 2
void drawRobotBack(QPainter& p);            // 3
void drawRosesBack(QPainter& p);            // 4
void drawStrawberriesBack(QPainter& p);     // 5 (the default back)
void drawBlueStrawberriesBack(QPainter& p); // 6
void drawClownfishBack(QPainter& p);        // 7
void drawSeaweedBack(QPainter& p);          // 8
void drawShellBack(QPainter& p);            // 9
void drawCastleBack(QPainter& p);           // 10
void drawBeachBack(QPainter& p);            // 11
void drawHandBack(QPainter& p);             // 12

// Small helpers shared by the designs.

// One pixel of the finished card, in device pixels of the painter the design draws on: patterns
// that must stay crisp are laid on this grid.
qreal designPixel();

// Deterministic pseudo-random numbers, so that every build draws the same pictures.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    qreal uniform(qreal low, qreal high); // in [low, high)

private:
    std::uint32_t state_;
};

// Fills the panel with a vertical gradient from `top` to `bottom`.
void fillVertical(QPainter& p, const QColor& top, const QColor& bottom);

// `count` little stars scattered above `bottom`, the same ones for the same `seed`.
void drawStars(QPainter& p, int count, qreal bottom, std::uint32_t seed);

// A pointed leaf from `base` towards `angleDegrees` (0 = right, 90 = down), with a midrib.
void drawLeaf(QPainter& p, QPointF base, qreal length, qreal angleDegrees, const QColor& colour);

// A strawberry about `size` tall, centred at `centre`, tilted by `angleDegrees`.
void drawStrawberry(QPainter& p, QPointF centre, qreal size, qreal angleDegrees);

// A strawberry plant's three-lobed serrated leaf at `centre`.
void drawStrawberryLeaf(QPainter& p, QPointF centre, qreal size, qreal angleDegrees);

// A little five-petalled white flower.
void drawBlossom(QPainter& p, QPointF centre, qreal radius);

// A clownfish about `length` long facing right (or left when `flip`), centred at `centre`.
void drawClownfish(QPainter& p, QPointF centre, qreal length, bool flip, qreal angleDegrees = 0);

// An air bubble.
void drawBubble(QPainter& p, QPointF centre, qreal radius);

} // namespace cardart

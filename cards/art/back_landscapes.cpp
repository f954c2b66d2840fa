// Backs 10 and 11: the castle on a hill by night, and the beach with its palm tree.
#include "backs_designs.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace cardart {

namespace {

// A soft light round a point: the colour at its centre, fading out at `reach`.
void drawGlow(QPainter& p, QPointF at, qreal reach, QColor colour) {
    QRadialGradient glow(at, reach);
    glow.setColorAt(0, colour);
    colour.setAlpha(0);
    glow.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(at, reach, reach);
}

void drawMoon(QPainter& p, QPointF at, qreal radius) {
    drawGlow(p, at, radius * 3, QColor(255, 250, 200, 110));
    QPainterPath disc, bite;
    disc.addEllipse(at, radius, radius);
    bite.addEllipse(at + QPointF(radius * 0.55, -radius * 0.3), radius * 0.9, radius * 0.9);
    QRadialGradient light(at - QPointF(radius * 0.4, 0), radius * 1.2);
    light.setColorAt(0, QColor(255, 255, 235));
    light.setColorAt(1, QColor(240, 220, 150));
    p.setBrush(light);
    p.drawPath(disc.subtracted(bite));
}

// A wall or tower with a crenellated top, lit from the moon on the right.
void drawBattlement(QPainter& p, const QRectF& r, qreal merlon) {
    QPainterPath wall;
    wall.moveTo(r.bottomLeft());
    wall.lineTo(r.left(), r.top());
    const int count = std::max(1, int(std::round(r.width() / (2 * merlon))));
    const qreal step = r.width() / (2 * count - 1);
    for (int k = 0; k < 2 * count - 1; ++k) {
        const qreal x = r.left() + k * step, y = (k % 2) ? r.top() + merlon : r.top();
        wall.lineTo(x, y);
        wall.lineTo(x + step, y);
    }
    wall.lineTo(r.right(), r.top());
    wall.lineTo(r.bottomRight());
    wall.closeSubpath();
    QLinearGradient stone(r.topLeft(), r.topRight());
    stone.setColorAt(0, QColor(70, 72, 105));
    stone.setColorAt(1, QColor(150, 150, 185));
    p.setPen(QPen(QColor(20, 20, 40), 0.5));
    p.setBrush(stone);
    p.drawPath(wall);
}

void drawRoof(QPainter& p, qreal left, qreal right, qreal base, qreal height) {
    const QPointF apex((left + right) / 2, base - height);
    QLinearGradient tile(left, 0, right, 0);
    tile.setColorAt(0, QColor(90, 20, 50));
    tile.setColorAt(1, QColor(190, 60, 90));
    p.setPen(QPen(QColor(30, 5, 20), 0.5));
    p.setBrush(tile);
    p.drawPolygon(QPolygonF{QPointF(left - 1, base), apex, QPointF(right + 1, base)});
    p.setPen(QPen(QColor(30, 20, 30), 0.4));
    p.drawLine(apex, apex - QPointF(0, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 60));
    p.drawPolygon(QPolygonF{apex - QPointF(0, 4), apex - QPointF(-3.2, 3.2), apex - QPointF(0, 2.4)});
}

void drawWindow(QPainter& p, QPointF at) {
    drawGlow(p, at, 2.2, QColor(255, 220, 90, 160));
    p.setBrush(QColor(255, 215, 80));
    QPainterPath arch;
    arch.addRoundedRect(QRectF(at.x() - 0.8, at.y() - 1.3, 1.6, 2.6), 0.8, 0.8);
    p.drawPath(arch);
}

void drawCastle(QPainter& p) {
    drawBattlement(p, QRectF(22, 44, 20, 16), 1.6);  // curtain wall
    drawBattlement(p, QRectF(27, 33, 10, 14), 1.4);  // keep
    drawBattlement(p, QRectF(16, 38, 7.5, 22), 1.3); // towers
    drawBattlement(p, QRectF(40.5, 38, 7.5, 22), 1.3);
    drawRoof(p, 16, 23.5, 38, 9);
    drawRoof(p, 40.5, 48, 38, 9);
    drawRoof(p, 27.5, 36.5, 33, 8);
    QPainterPath gate;
    gate.moveTo(29.5, 60);
    gate.lineTo(29.5, 54);
    gate.arcTo(QRectF(29.5, 51.5, 5, 5), 180, -180);
    gate.lineTo(34.5, 60);
    gate.closeSubpath();
    p.setPen(QPen(QColor(20, 20, 40), 0.5));
    p.setBrush(QColor(35, 25, 30));
    p.drawPath(gate);
    for (QPointF w : {QPointF(19.7, 44), QPointF(44.2, 44), QPointF(19.7, 51), QPointF(44.2, 51),
                      QPointF(32, 39), QPointF(26, 50), QPointF(38, 50)})
        drawWindow(p, w);
}

void drawHills(QPainter& p) {
    QPainterPath far;
    far.moveTo(0, 62);
    far.cubicTo(18, 52, 40, 60, 64, 54);
    far.lineTo(64, 89);
    far.lineTo(0, 89);
    far.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 45, 60));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(0, 76);
    near.cubicTo(10, 62, 20, 58, 32, 58.5);
    near.cubicTo(44, 59, 54, 64, 64, 72);
    near.lineTo(64, 89);
    near.lineTo(0, 89);
    near.closeSubpath();
    QLinearGradient grass(0, 58, 0, 89);
    grass.setColorAt(0, QColor(40, 100, 60));
    grass.setColorAt(1, QColor(8, 35, 20));
    p.setBrush(grass);
    p.drawPath(near);
    QPainterPath road;
    road.moveTo(32, 60);
    road.cubicTo(30, 68, 40, 72, 36, 89);
    p.setPen(QPen(QColor(150, 130, 90, 160), 2.2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(road);
}

// A palm frond: a drooping tapered leaf with leaflets, from `crown` towards `tip`.
void drawFrond(QPainter& p, QPointF crown, QPointF tip, qreal droop, qreal width) {
    const QPointF mid = (crown + tip) / 2 + QPointF(0, -droop);
    auto spine = [&](qreal t) { return (1 - t) * (1 - t) * crown + 2 * t * (1 - t) * mid + t * t * tip; };
    QPolygonF upper, lower;
    constexpr int steps = 16;
    for (int k = 0; k <= steps; ++k) {
        const qreal t = qreal(k) / steps;
        const QPointF a = spine(std::max(0.0, t - 0.01)), b = spine(std::min(1.0, t + 0.01));
        QPointF normal(-(b - a).y(), (b - a).x());
        normal /= std::hypot(normal.x(), normal.y());
        const qreal w =
            width * std::sin(M_PI * std::min(1.0, t * 1.15)) * ((k % 2) ? 1.0 : 0.55); // ragged edge
        upper << spine(t) + normal * w;
        lower.prepend(spine(t) - normal * w);
    }
    p.setPen(QPen(QColor(20, 80, 25), 0.35));
    p.setBrush(QColor(50, 160, 55));
    p.drawPolygon(upper + lower);
    QPainterPath rib;
    rib.moveTo(crown);
    rib.quadTo(mid, tip);
    p.setPen(QPen(QColor(150, 200, 80), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rib);
}

void drawPalm(QPainter& p) {
    QPolygonF left, right;
    constexpr int steps = 14;
    const QPointF base(15, 84), top(27, 33);
    for (int k = 0; k <= steps; ++k) {
        const qreal t = qreal(k) / steps;
        const QPointF at(base.x() + (top.x() - base.x()) * t * t, base.y() + (top.y() - base.y()) * t);
        const qreal half = 2.4 - 1.1 * t;
        left << at - QPointF(half, 0);
        right.prepend(at + QPointF(half, 0));
    }
    QLinearGradient bark(10, 0, 24, 0);
    bark.setColorAt(0, QColor(170, 120, 60));
    bark.setColorAt(1, QColor(100, 60, 25));
    p.setPen(QPen(QColor(70, 40, 15), 0.4));
    p.setBrush(bark);
    p.drawPolygon(left + right);
    p.setPen(QPen(QColor(80, 45, 15), 0.45));
    for (int k = 1; k < steps; ++k)
        p.drawLine(left[k], right[steps - k]);
    p.setBrush(QColor(110, 70, 30));
    for (QPointF nut : {QPointF(25.5, 35), QPointF(28.5, 35.5), QPointF(27, 37.2)})
        p.drawEllipse(nut, 1.5, 1.5);
    for (QPointF tip : {QPointF(4, 42), QPointF(8, 28), QPointF(20, 19), QPointF(36, 20), QPointF(49, 30),
                        QPointF(52, 43), QPointF(14, 48)})
        drawFrond(p, top, tip, 6, 2.6);
}

void drawSeaAndSand(QPainter& p) {
    QLinearGradient sea(0, 48, 0, 66);
    sea.setColorAt(0, QColor(20, 100, 180));
    sea.setColorAt(1, QColor(70, 190, 210));
    p.fillRect(QRectF(0, 48, kDesignWidth, 20), sea);
    p.setPen(QPen(QColor(255, 255, 255, 170), 0.5, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < 7; ++k) {
        const qreal y = 51 + k * 2.2, x = (k * 19) % 50;
        p.drawLine(QPointF(x, y), QPointF(x + 8 + k, y));
    }
    QPainterPath sand;
    sand.moveTo(0, 66);
    sand.cubicTo(20, 61, 40, 64, 64, 70);
    sand.lineTo(64, 89);
    sand.lineTo(0, 89);
    sand.closeSubpath();
    QLinearGradient dune(0, 62, 0, 89);
    dune.setColorAt(0, QColor(250, 230, 170));
    dune.setColorAt(1, QColor(220, 180, 105));
    p.setPen(QPen(QColor(255, 255, 255, 200), 0.8));
    p.setBrush(dune);
    p.drawPath(sand);
}

void drawSun(QPainter& p, QPointF at, qreal radius) {
    drawGlow(p, at, radius * 2.6, QColor(255, 240, 120, 200));
    p.setPen(QPen(QColor(255, 200, 40), 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < 12; ++k) {
        const qreal a = k * M_PI / 6;
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(at + d * radius * 1.3, at + d * radius * 1.8);
    }
    QRadialGradient disc(at - QPointF(radius / 3, radius / 3), radius * 1.3);
    disc.setColorAt(0, QColor(255, 255, 190));
    disc.setColorAt(1, QColor(255, 190, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(at, radius, radius);
}
} // namespace

void drawCastleBack(QPainter& p) {
    fillVertical(p, QColor(5, 8, 35), QColor(40, 55, 120));
    drawStars(p, 45, 50, 10);
    drawMoon(p, QPointF(49, 14), 6.5);
    drawHills(p);
    drawCastle(p);
}

void drawBeachBack(QPainter& p) {
    fillVertical(p, QColor(70, 150, 235), QColor(215, 235, 250));
    drawSun(p, QPointF(47, 15), 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    for (QPointF puff : {QPointF(10, 12), QPointF(14, 10), QPointF(18, 12.5), QPointF(13, 13.5)})
        p.drawEllipse(puff, 3.2, 2.2);
    p.setPen(QPen(QColor(40, 40, 50), 0.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath gull;
    gull.moveTo(34, 26);
    gull.quadTo(35.5, 24.5, 37, 26);
    gull.quadTo(38.5, 24.5, 40, 26);
    p.drawPath(gull);
    drawSeaAndSand(p);
    p.setPen(QPen(QColor(90, 60, 40), 0.3));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{QPointF(56, 44.5), QPointF(56, 50), QPointF(60, 50)}); // a far sail
    p.setBrush(QColor(120, 70, 40));
    p.drawRect(QRectF(54.5, 50, 6.5, 1.1));
    drawPalm(p);
}

} // namespace cardart

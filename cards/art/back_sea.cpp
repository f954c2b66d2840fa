// Backs 7 and 8: clownfish in light blue water, and among seaweed in deep blue water.
#include "backs_designs.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace cardart {

namespace {

const QColor kFishOrange(250, 120, 10);
const QColor kFishEdge(20, 10, 5);

// The fish's outline in its own units: one long, nose at +0.45, facing right.
QPainterPath fishBody() {
    QPainterPath body;
    body.moveTo(0.45, 0.02);
    body.cubicTo(0.45, -0.18, 0.22, -0.26, -0.04, -0.25);
    body.cubicTo(-0.24, -0.24, -0.34, -0.12, -0.38, 0);
    body.cubicTo(-0.34, 0.12, -0.24, 0.24, -0.04, 0.25);
    body.cubicTo(0.22, 0.26, 0.45, 0.18, 0.45, 0.02);
    body.closeSubpath();
    return body;
}

QPainterPath fishFins() {
    QPainterPath fins;
    fins.moveTo(-0.34, 0); // tail
    fins.cubicTo(-0.45, -0.08, -0.52, -0.2, -0.56, -0.22);
    fins.cubicTo(-0.5, -0.08, -0.5, 0.08, -0.56, 0.22);
    fins.cubicTo(-0.52, 0.2, -0.45, 0.08, -0.34, 0);
    fins.moveTo(-0.26, -0.2); // back
    fins.cubicTo(-0.22, -0.38, 0.05, -0.4, 0.14, -0.24);
    fins.closeSubpath();
    fins.moveTo(-0.22, 0.2); // belly
    fins.cubicTo(-0.2, 0.34, -0.02, 0.36, 0.02, 0.24);
    fins.closeSubpath();
    return fins;
}

// A white band across the body at `x`, bulging forward by `bulge`, `width` wide.
QPainterPath fishBand(qreal x, qreal width, qreal bulge) {
    QPainterPath band;
    band.moveTo(x - width / 2, -0.4);
    band.quadTo(x - width / 2 + bulge, 0, x - width / 2, 0.4);
    band.lineTo(x + width / 2, 0.4);
    band.quadTo(x + width / 2 + bulge, 0, x + width / 2, -0.4);
    band.closeSubpath();
    return band;
}

void drawFishBands(QPainter& p, const QPainterPath& body) {
    p.save();
    p.setClipPath(body, Qt::IntersectClip);
    p.setPen(QPen(kFishEdge, 0.028));
    p.setBrush(QColor(252, 252, 250));
    for (const QPainterPath& band :
         {fishBand(0.2, 0.1, 0.05), fishBand(-0.05, 0.12, 0.1), fishBand(-0.32, 0.07, 0.0)})
        p.drawPath(band);
    p.restore();
}

void drawFishEye(QPainter& p) {
    p.setPen(QPen(kFishEdge, 0.015));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0.32, -0.05), 0.055, 0.055);
    p.setPen(Qt::NoPen);
    p.setBrush(kFishEdge);
    p.drawEllipse(QPointF(0.335, -0.05), 0.035, 0.035);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0.345, -0.062), 0.012, 0.012);
    p.setPen(QPen(kFishEdge, 0.02, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.44, 0.05), QPointF(0.39, 0.06));
}

void drawSeaweedStrand(QPainter& p, qreal baseX, qreal height, qreal phase, qreal width,
                       const QColor& colour) {
    QPolygonF left, right;
    constexpr int steps = 24;
    for (int k = 0; k <= steps; ++k) {
        const qreal t = qreal(k) / steps;
        const qreal y = kDesignHeight + 1 - t * height;
        const qreal x = baseX + 3.0 * std::sin(phase + t * 5.0) * t;
        const qreal half = width * (1.0 - 0.8 * t) / 2;
        left << QPointF(x - half, y);
        right.prepend(QPointF(x + half, y));
    }
    QLinearGradient shade(baseX - 4, 0, baseX + 4, 0);
    shade.setColorAt(0, colour.lighter(140));
    shade.setColorAt(1, colour.darker(160));
    p.setPen(QPen(colour.darker(250), 0.3));
    p.setBrush(shade);
    p.drawPolygon(left + right);
}

void drawLightRays(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (qreal x : {6.0, 22.0, 38.0, 54.0}) {
        QLinearGradient fade(0, 0, 0, kDesignHeight);
        fade.setColorAt(0, QColor(255, 255, 255, 70));
        fade.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(fade);
        p.drawPolygon(QPolygonF{QPointF(x, 0), QPointF(x + 6, 0), QPointF(x + 18, kDesignHeight),
                                QPointF(x + 8, kDesignHeight)});
    }
}

} // namespace

void drawClownfish(QPainter& p, QPointF centre, qreal length, bool flip, qreal angleDegrees) {
    p.save();
    p.translate(centre);
    p.rotate(angleDegrees);
    p.scale(flip ? -length : length, length);
    const QPainterPath body = fishBody();
    QLinearGradient shade(0, -0.25, 0, 0.25);
    shade.setColorAt(0, kFishOrange.lighter(125));
    shade.setColorAt(1, kFishOrange.darker(125));
    p.setPen(QPen(kFishEdge, 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kFishOrange);
    p.drawPath(fishFins());
    p.setPen(QPen(kFishEdge, 0.025));
    p.setBrush(shade);
    p.drawPath(body);
    drawFishBands(p, body);
    drawFishEye(p);
    p.restore();
}

void drawBubble(QPainter& p, QPointF centre, qreal radius) {
    QRadialGradient glass(centre - QPointF(radius / 3, radius / 3), radius * 1.2);
    glass.setColorAt(0, QColor(255, 255, 255, 150));
    glass.setColorAt(0.6, QColor(255, 255, 255, 30));
    glass.setColorAt(1, QColor(255, 255, 255, 90));
    p.setPen(QPen(QColor(255, 255, 255, 200), radius * 0.18));
    p.setBrush(glass);
    p.drawEllipse(centre, radius, radius);
}

void drawClownfishBack(QPainter& p) {
    fillVertical(p, QColor(170, 225, 250), QColor(60, 150, 215));
    drawLightRays(p);
    for (QPointF at :
         {QPointF(45, 14), QPointF(49, 8), QPointF(46, 3), QPointF(14, 70), QPointF(11, 64), QPointF(15, 59)})
        drawBubble(p, at, 1.2 + std::fmod(at.x() + at.y(), 3.0) * 0.4);
    drawClownfish(p, QPointF(20, 20), 20, false, 8);
    drawClownfish(p, QPointF(44, 72), 18, true, -6);
    drawClownfish(p, QPointF(33, 45), 46, true, -10);
}

void drawSeaweedBack(QPainter& p) {
    QRadialGradient deep(QPointF(32, 10), 90);
    deep.setColorAt(0, QColor(25, 80, 160));
    deep.setColorAt(1, QColor(2, 12, 50));
    p.fillRect(kDesignRect, deep);
    const QColor greens[] = {QColor(40, 140, 60), QColor(80, 160, 40), QColor(30, 110, 80)};
    Dice dice(8);
    for (int k = 0; k < 9; ++k) {
        const qreal x = 3 + k * 7.3 + dice.uniform(-2, 2);
        drawSeaweedStrand(p, x, dice.uniform(35, 75), dice.uniform(0, 6), dice.uniform(3.5, 5.0),
                          greens[k % 3]);
    }
    drawClownfish(p, QPointF(38, 30), 26, true, -8);
    drawClownfish(p, QPointF(22, 52), 22, false, 10);
    for (int k = 0; k < 4; ++k) // strands in front of the fish
        drawSeaweedStrand(p, 8 + k * 16 + dice.uniform(-2, 2), dice.uniform(22, 34), dice.uniform(0, 6), 4.0,
                          greens[(k + 1) % 3]);
    for (QPointF at : {QPointF(47, 22), QPointF(50, 16), QPointF(48, 9), QPointF(12, 44), QPointF(10, 37)})
        drawBubble(p, at, 1.0 + std::fmod(at.x(), 2.0) * 0.5);
}

} // namespace cardart

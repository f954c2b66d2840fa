// Backs 3 and 12: the red robot, and the hand in a striped sleeve holding aces.
#include "backs_designs.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace cardart {

namespace {

const QColor kOutline(25, 20, 30);

QLinearGradient sideLit(const QRectF& r, const QColor& colour) {
    QLinearGradient shade(r.topLeft(), r.topRight());
    shade.setColorAt(0, colour.lighter(135));
    shade.setColorAt(0.45, colour);
    shade.setColorAt(1, colour.darker(160));
    return shade;
}

void drawPart(QPainter& p, const QRectF& r, const QColor& colour, qreal radius) {
    p.setPen(QPen(kOutline, 0.6));
    p.setBrush(sideLit(r, colour));
    p.drawRoundedRect(r, radius, radius);
}

// A metal tube from `from` to `to` (arms), outlined.
void drawTube(QPainter& p, QPointF from, QPointF to, qreal width) {
    p.setPen(QPen(kOutline, width + 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(QPen(QColor(175, 185, 200), width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(QPen(QColor(235, 240, 250), width * 0.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from - QPointF(width * 0.2, 0), to - QPointF(width * 0.2, 0));
}

void drawClaw(QPainter& p, QPointF at, qreal angleDegrees) {
    p.save();
    p.translate(at);
    p.rotate(angleDegrees);
    p.setPen(QPen(kOutline, 0.6));
    p.setBrush(QColor(175, 185, 200));
    QPainterPath claw;
    claw.moveTo(-2.6, 0);
    claw.cubicTo(-3.2, 3, -1.5, 4.6, -0.4, 4.8);
    claw.lineTo(-0.8, 3.2);
    claw.cubicTo(-1.6, 2.6, -1.5, 1.2, -0.6, 1.2);
    claw.lineTo(0.6, 1.2);
    claw.cubicTo(1.5, 1.2, 1.6, 2.6, 0.8, 3.2);
    claw.lineTo(0.4, 4.8);
    claw.cubicTo(1.5, 4.6, 3.2, 3, 2.6, 0);
    claw.closeSubpath();
    p.drawPath(claw);
    p.restore();
}

void drawRobotHead(QPainter& p, const QColor& red) {
    p.setPen(QPen(kOutline, 1.4));
    p.drawLine(QPointF(32, 14), QPointF(32, 8.5));
    QRadialGradient bulb(QPointF(31.3, 6.3), 2.4);
    bulb.setColorAt(0, QColor(255, 255, 200));
    bulb.setColorAt(1, QColor(240, 190, 20));
    p.setPen(QPen(kOutline, 0.6));
    p.setBrush(bulb);
    p.drawEllipse(QPointF(32, 7), 2.2, 2.2);
    drawPart(p, QRectF(16.5, 18, 4, 9), QColor(160, 170, 185), 1.2);
    drawPart(p, QRectF(43.5, 18, 4, 9), QColor(160, 170, 185), 1.2);
    drawPart(p, QRectF(20, 13.5, 24, 19), red, 3.5);
    for (qreal x : {26.3, 37.7}) {
        QRadialGradient eye(QPointF(x - 0.8, 21), 3.4);
        eye.setColorAt(0, QColor(255, 255, 210));
        eye.setColorAt(1, QColor(250, 200, 30));
        p.setBrush(eye);
        p.drawEllipse(QPointF(x, 21.5), 3.3, 3.3);
        p.setBrush(kOutline);
        p.drawEllipse(QPointF(x + 0.4, 21.8), 1.5, 1.5);
    }
    drawPart(p, QRectF(25, 26.5, 14, 3.6), QColor(200, 205, 215), 1);
    p.setPen(QPen(kOutline, 0.45));
    for (qreal x = 27.8; x < 38; x += 2.8)
        p.drawLine(QPointF(x, 26.7), QPointF(x, 29.9));
}

void drawRobotBody(QPainter& p, const QColor& red) {
    drawPart(p, QRectF(28.5, 32, 7, 4), QColor(150, 160, 175), 0.5);
    drawTube(p, QPointF(18, 40), QPointF(10, 55), 3.4);
    drawTube(p, QPointF(46, 40), QPointF(55, 27), 3.4);
    drawClaw(p, QPointF(10, 55), 20);
    drawClaw(p, QPointF(55, 27), 200);
    drawPart(p, QRectF(22, 63, 7, 13), QColor(160, 170, 185), 1);
    drawPart(p, QRectF(35, 63, 7, 13), QColor(160, 170, 185), 1);
    drawPart(p, QRectF(18.5, 75, 12.5, 5.5), red, 2.2);
    drawPart(p, QRectF(33, 75, 12.5, 5.5), red, 2.2);
    drawPart(p, QRectF(15.5, 35.5, 33, 29), red, 4.5);
    drawPart(p, QRectF(21.5, 40, 21, 14), QColor(40, 45, 70), 2);
    const QColor lights[] = {QColor(80, 240, 90), QColor(255, 220, 40), QColor(255, 80, 60)};
    for (int k = 0; k < 3; ++k) {
        p.setBrush(lights[k]);
        p.drawEllipse(QPointF(25.5 + k * 4.2, 44.5), 1.4, 1.4);
    }
    p.setBrush(QColor(120, 200, 255));
    p.drawRoundedRect(QRectF(24, 48.5, 16, 3), 1, 1);
    p.setBrush(QColor(200, 205, 215));
    for (QPointF bolt : {QPointF(18.5, 38.5), QPointF(45.5, 38.5), QPointF(18.5, 61.5), QPointF(45.5, 61.5)})
        p.drawEllipse(bolt, 0.9, 0.9);
}
void drawSleeve(QPainter& p) {
    QPainterPath sleeve;
    sleeve.moveTo(12, 90);
    sleeve.lineTo(24, 70);
    sleeve.lineTo(42, 72);
    sleeve.lineTo(54, 90);
    sleeve.closeSubpath();
    p.save();
    p.setClipPath(sleeve, Qt::IntersectClip);
    p.fillRect(QRectF(0, 60, 64, 30), QColor(250, 245, 235));
    p.setPen(QPen(QColor(200, 25, 45), 2.6));
    for (qreal x = -20; x < 70; x += 5.6)
        p.drawLine(QPointF(x, 92), QPointF(x + 14, 66));
    p.restore();
    p.setPen(QPen(kOutline, 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sleeve);
    QPainterPath cuff;
    cuff.moveTo(23, 72);
    cuff.lineTo(25, 68);
    cuff.lineTo(42.5, 70);
    cuff.lineTo(43, 74);
    cuff.closeSubpath();
    p.setBrush(QColor(250, 210, 60));
    p.drawPath(cuff);
}

void drawHandBehind(QPainter& p, const QColor& skin) {
    p.setPen(QPen(QColor(140, 85, 55), 0.6));
    p.setBrush(skin);
    p.drawRoundedRect(QRectF(27, 60, 11, 11), 3, 3); // wrist
    p.drawEllipse(QPointF(33, 58), 9, 8.5);          // palm
    for (int k = 0; k < 4; ++k)                      // fingertips curled over the fan's right edge
        p.drawRoundedRect(QRectF(39 + k * 0.6, 45 + k * 3.4, 6, 3.6), 1.8, 1.8);
}

void drawThumb(QPainter& p, const QColor& skin) {
    p.save();
    p.translate(29, 55);
    p.rotate(-55);
    p.setPen(QPen(QColor(140, 85, 55), 0.6));
    p.setBrush(skin);
    p.drawRoundedRect(QRectF(-2.8, -11, 5.6, 14), 2.8, 2.8);
    p.setBrush(QColor(255, 225, 215));
    p.drawRoundedRect(QRectF(-1.8, -10.2, 3.6, 3.6), 1.5, 1.5); // the nail
    p.restore();
}
} // namespace

void drawRobotBack(QPainter& p) {
    QRadialGradient sky(QPointF(32, 40), 60);
    sky.setColorAt(0, QColor(70, 140, 240));
    sky.setColorAt(1, QColor(10, 30, 110));
    p.fillRect(kDesignRect, sky);
    p.setPen(QPen(QColor(255, 255, 255, 35), 0.5));
    for (qreal x = 4; x < kDesignWidth; x += 8)
        p.drawLine(QPointF(x, 0), QPointF(x, kDesignHeight));
    for (qreal y = 4; y < kDesignHeight; y += 8)
        p.drawLine(QPointF(0, y), QPointF(kDesignWidth, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 40, 90));
    p.drawEllipse(QPointF(32, 81), 18, 3);
    const QColor red(220, 35, 30);
    drawRobotBody(p, red);
    drawRobotHead(p, red);
}
void drawHandBack(QPainter& p) {
    QRadialGradient velvet(QPointF(32, 40), 60);
    velvet.setColorAt(0, QColor(120, 40, 120));
    velvet.setColorAt(1, QColor(35, 5, 40));
    p.fillRect(kDesignRect, velvet);
    drawStars(p, 20, kDesignHeight, 12);
    const QColor skin(245, 200, 160);
    drawSleeve(p);
    drawHandBehind(p, skin);
    const Suit suits[] = {Suit::Spades, Suit::Hearts, Suit::Clubs, Suit::Diamonds};
    const QPointF pivot(32, 55);
    for (int k = 0; k < 4; ++k) {
        p.save();
        p.translate(pivot);
        p.rotate(-39 + k * 26);
        drawAceCard(p, QRectF(-10, -31, 20, 29), suits[k], 0.5);
        p.restore();
    }
    drawThumb(p, skin);
}

} // namespace cardart

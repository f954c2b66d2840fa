// Backs 4, 5 and 6: roses, and strawberries on black and on blue; and their leaves and flowers.
#include "backs_designs.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace cardart {

namespace {

// Places the painter's origin at `centre`, turned by `angleDegrees` and scaled by `size`.
void enterLocal(QPainter& p, QPointF centre, qreal size, qreal angleDegrees) {
    p.translate(centre);
    p.rotate(angleDegrees);
    p.scale(size, size);
}

QPainterPath berryPath() {
    QPainterPath path;
    path.moveTo(0, -0.42);
    path.cubicTo(0.2, -0.54, 0.47, -0.48, 0.47, -0.2);
    path.cubicTo(0.47, 0.08, 0.24, 0.36, 0.02, 0.5);
    path.cubicTo(-0.24, 0.36, -0.47, 0.08, -0.47, -0.2);
    path.cubicTo(-0.47, -0.48, -0.2, -0.54, 0, -0.42);
    path.closeSubpath();
    return path;
}

void drawSeeds(QPainter& p, const QPainterPath& berry) {
    const QPainterPath inner = QTransform::fromScale(0.86, 0.86).map(berry);
    p.setPen(Qt::NoPen);
    int row = 0;
    for (qreal y = -0.3; y < 0.42; y += 0.12, ++row) {
        for (qreal x = -0.45 + (row % 2) * 0.08; x < 0.46; x += 0.16) {
            const QPointF at(x, y);
            if (!inner.contains(at)) continue;
            p.setBrush(QColor(140, 0, 20, 200));
            p.drawEllipse(at, 0.038, 0.048);
            p.setBrush(QColor(255, 225, 100));
            p.drawEllipse(at - QPointF(0, 0.012), 0.02, 0.03);
        }
    }
}

void drawCalyx(QPainter& p) {
    p.setPen(QPen(QColor(40, 110, 30), 0.05, Qt::SolidLine, Qt::RoundCap));
    QPainterPath stem;
    stem.moveTo(0, -0.44);
    stem.quadTo(0.02, -0.58, 0.1, -0.66);
    p.drawPath(stem);
    const QColor green(60, 160, 40);
    for (qreal angle : {-5.0, 35.0, 75.0, 105.0, 145.0, 185.0})
        drawLeaf(p, QPointF(0, -0.43), (angle > 60 && angle < 120) ? 0.2 : 0.3, angle, green);
}

// One ring of a rose's petals, each dark where the ring inside shades it and bright at its rim.
void drawPetalRing(QPainter& p, int count, qreal distance, qreal size, qreal turnDegrees) {
    for (int k = 0; k < count; ++k) {
        const qreal a = (turnDegrees + k * 360.0 / count) * M_PI / 180;
        const QPointF at(distance * std::cos(a), distance * std::sin(a));
        QRadialGradient shade(QPointF(0, 0), distance + size);
        shade.setColorAt(0.0, QColor(90, 0, 15));
        shade.setColorAt(0.55, QColor(175, 10, 35));
        shade.setColorAt(1.0, QColor(235, 60, 80));
        p.setBrush(shade);
        p.drawEllipse(at, size, size);
    }
}

// One rose seen from above: rings of petals round a spiral bud.
void drawRose(QPainter& p, QPointF centre, qreal radius, qreal angleDegrees) {
    p.save();
    enterLocal(p, centre, radius, angleDegrees);
    p.setPen(QPen(QColor(60, 0, 10), 0.045));
    drawPetalRing(p, 5, 0.5, 0.5, 0);
    drawPetalRing(p, 4, 0.32, 0.42, 36);
    drawPetalRing(p, 3, 0.18, 0.32, 80);
    QPainterPath spiral;
    for (qreal t = 0; t < 3.4 * M_PI; t += 0.2) {
        const qreal r = 0.02 + 0.03 * t;
        const QPointF at(r * std::cos(t), r * std::sin(t));
        t == 0 ? spiral.moveTo(at) : spiral.lineTo(at);
    }
    p.setBrush(QColor(150, 5, 30));
    p.drawEllipse(QPointF(0, 0), 0.3, 0.3);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 0, 12), 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(spiral);
    p.setPen(QPen(QColor(245, 100, 115, 210), 0.035, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(QTransform().translate(-0.035, -0.035).map(spiral));
    p.restore();
}

struct Berry {
    QPointF at;
    qreal size;
    qreal angle;
};

struct LeafPlace {
    QPointF at;
    qreal size;
    qreal angle;
};

void drawVine(QPainter& p, const QPolygonF& through) {
    QPainterPath vine;
    vine.moveTo(through.first());
    for (int k = 1; k + 1 < through.size(); k += 2)
        vine.quadTo(through[k], through[k + 1]);
    p.setPen(QPen(QColor(50, 120, 40), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vine);
}

} // namespace

void drawLeaf(QPainter& p, QPointF base, qreal length, qreal angleDegrees, const QColor& colour) {
    p.save();
    enterLocal(p, base, length, angleDegrees);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(0.3, -0.36, 0.75, -0.3, 1, 0);
    leaf.cubicTo(0.75, 0.3, 0.3, 0.36, 0, 0);
    QLinearGradient shade(0, -0.3, 0, 0.3);
    shade.setColorAt(0, colour.lighter(130));
    shade.setColorAt(1, colour.darker(150));
    p.setPen(QPen(colour.darker(220), 0.04));
    p.setBrush(shade);
    p.drawPath(leaf);
    p.setPen(QPen(colour.lighter(150), 0.035));
    p.drawLine(QPointF(0.05, 0), QPointF(0.85, 0));
    p.restore();
}

void drawStrawberry(QPainter& p, QPointF centre, qreal size, qreal angleDegrees) {
    p.save();
    enterLocal(p, centre, size, angleDegrees);
    const QPainterPath berry = berryPath();
    QRadialGradient flesh(QPointF(-0.15, -0.18), 0.75);
    flesh.setColorAt(0.0, QColor(255, 95, 80));
    flesh.setColorAt(0.45, QColor(225, 20, 35));
    flesh.setColorAt(1.0, QColor(115, 0, 15));
    p.setPen(QPen(QColor(90, 0, 10), 0.03));
    p.setBrush(flesh);
    p.drawPath(berry);
    drawSeeds(p, berry);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 120));
    p.save();
    p.translate(-0.22, -0.2);
    p.rotate(-40);
    p.drawEllipse(QPointF(0, 0), 0.12, 0.05);
    p.restore();
    drawCalyx(p);
    p.restore();
}

void drawStrawberryLeaf(QPainter& p, QPointF centre, qreal size, qreal angleDegrees) {
    p.save();
    enterLocal(p, centre, size, angleDegrees);
    const QColor green(35, 125, 40);
    for (qreal turn : {-60.0, 60.0, 0.0}) { // the middle leaflet last, on top
        p.save();
        p.rotate(turn);
        QPolygonF edge; // a serrated oval pointing up
        constexpr int teeth = 22;
        for (int k = 0; k < teeth; ++k) {
            const qreal a = 2 * M_PI * k / teeth;
            const qreal r = (k % 2) ? 1.0 : 0.9;
            edge << QPointF(0.2 * r * std::sin(a), -0.3 - 0.27 * r * std::cos(a));
        }
        QLinearGradient shade(-0.2, 0, 0.2, 0);
        shade.setColorAt(0, green.lighter(135));
        shade.setColorAt(1, green.darker(140));
        p.setPen(QPen(green.darker(250), 0.025));
        p.setBrush(shade);
        p.drawPolygon(edge);
        p.setPen(QPen(green.lighter(170), 0.025));
        p.drawLine(QPointF(0, -0.05), QPointF(0, -0.52));
        for (qreal y : {-0.2, -0.3, -0.4})
            for (qreal side : {-1.0, 1.0})
                p.drawLine(QPointF(0, y), QPointF(side * 0.13, y - 0.08));
        p.restore();
    }
    p.restore();
}

void drawBlossom(QPainter& p, QPointF centre, qreal radius) {
    p.save();
    p.translate(centre);
    p.setPen(QPen(QColor(170, 170, 150), radius * 0.06));
    p.setBrush(QColor(250, 250, 245));
    for (int k = 0; k < 5; ++k) {
        const qreal a = (k * 72 - 90) * M_PI / 180;
        p.drawEllipse(QPointF(0.5 * radius * std::cos(a), 0.5 * radius * std::sin(a)), 0.45 * radius,
                      0.45 * radius);
    }
    QRadialGradient heart(QPointF(0, 0), 0.35 * radius);
    heart.setColorAt(0, QColor(255, 240, 120));
    heart.setColorAt(1, QColor(220, 170, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(heart);
    p.drawEllipse(QPointF(0, 0), 0.32 * radius, 0.32 * radius);
    p.restore();
}

void drawRosesBack(QPainter& p) {
    QRadialGradient dark(QPointF(32, 44), 55);
    dark.setColorAt(0, QColor(45, 10, 25));
    dark.setColorAt(1, QColor(8, 0, 6));
    p.fillRect(kDesignRect, dark);
    // Roses in a staggered lattice that runs off the edges like a wallpaper.
    QList<QPointF> roses;
    for (int row = -1; row <= 4; ++row)
        for (int column = -1; column <= 2; ++column)
            roses << QPointF(column * 34.0 + (row % 2 ? 17.0 : 0.0) + 15, row * 22.0 + 11.5);
    Dice dice(4);
    for (QPointF at : roses)
        for (int leaf = 0; leaf < 3; ++leaf)
            drawLeaf(p, at, 16, 30 + leaf * 120 + dice.uniform(-25, 25), QColor(35, 115, 45));
    for (QPointF at : roses)
        drawRose(p, at, 9.0, dice.uniform(0, 360));
}

void drawStrawberriesBack(QPainter& p) {
    QRadialGradient night(QPointF(32, 44), 60);
    night.setColorAt(0, QColor(22, 22, 22));
    night.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(kDesignRect, night);
    drawVine(p, QPolygonF{QPointF(4, 6), QPointF(20, 22), QPointF(12, 40), QPointF(2, 60), QPointF(16, 84)});
    drawVine(p,
             QPolygonF{QPointF(60, 83), QPointF(44, 67), QPointF(52, 49), QPointF(62, 29), QPointF(48, 5)});
    const LeafPlace leaves[] = {{{11, 14}, 19, -25}, {{52, 16}, 17, 35}, {{29, 25}, 16, 0},
                                {{8, 50}, 15, -70},  {{56, 43}, 15, 80}, {{12, 77}, 17, 205},
                                {{53, 75}, 19, 155}, {{35, 66}, 14, 180}};
    for (const LeafPlace& leaf : leaves)
        drawStrawberryLeaf(p, leaf.at, leaf.size, leaf.angle);
    for (QPointF at : {QPointF(6, 30), QPointF(58, 60), QPointF(40, 9), QPointF(24, 81), QPointF(58, 5.5),
                       QPointF(6, 83.5)})
        drawBlossom(p, at, 3.4);
    const Berry berries[] = {{{21, 37}, 17, -18}, {{43, 38}, 16, 16},  {{32, 55}, 21, 0},
                             {{47, 21}, 10, 30},  {{16, 64}, 11, -28}, {{49, 63}, 10, 22}};
    for (const Berry& berry : berries)
        drawStrawberry(p, berry.at, berry.size, berry.angle);
}

void drawBlueStrawberriesBack(QPainter& p) {
    fillVertical(p, QColor(45, 100, 210), QColor(10, 30, 120));
    // Berries and leaves take turns along each row; each row is shifted by half a step.
    constexpr qreal step = 16.0, rowStep = 17.0;
    auto place = [&](bool berries) {
        for (int row = 0; row < 6; ++row)
            for (int column = 0; column <= 4; ++column) {
                if (((row + column) % 2 == 0) != berries) continue;
                const QPointF at(column * step, row * rowStep + 2.0);
                const qreal tilt = (column % 4 < 2) ? 18 : -18;
                berries ? drawStrawberry(p, at, 13, tilt)
                        : drawStrawberryLeaf(p, at + QPointF(0, 3), 15, tilt * 2);
            }
    };
    place(false);
    place(true);
}

} // namespace cardart

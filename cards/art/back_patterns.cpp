// Backs 0, 1, 2 and 9: the dotted, woven, basket-weave and spiral-shell designs.
#include "backs_designs.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace cardart {

namespace {

// A strip of ribbon across `rect`, lighter along its middle; `horizontal` tells its direction.
void drawRibbon(QPainter& p, const QRectF& rect, const QColor& colour, bool horizontal) {
    QLinearGradient shade = horizontal ? QLinearGradient(0, rect.top(), 0, rect.bottom())
                                       : QLinearGradient(rect.left(), 0, rect.right(), 0);
    shade.setColorAt(0.0, colour.darker(190));
    shade.setColorAt(0.35, colour.lighter(125));
    shade.setColorAt(0.65, colour);
    shade.setColorAt(1.0, colour.darker(190));
    p.fillRect(rect, shade);
}

} // namespace

void drawDotsBack(QPainter& p) {
    p.fillRect(kDesignRect, Qt::white);
    const QColor ink(35, 65, 160);
    // Dots and lines on the final pixel grid, so that they stay crisp and free of moire at
    // every card size.
    const qreal px = designPixel();
    const QRectF device = p.deviceTransform().mapRect(kDesignRect);
    const int left = int(std::ceil(device.left() / px)), right = int(std::floor(device.right() / px));
    const int top = int(std::ceil(device.top() / px)), bottom = int(std::floor(device.bottom() / px));
    p.save();
    p.resetTransform();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int y = top + 4; y < bottom - 4; ++y)
        for (int x = left + 4; x < right - 4; ++x)
            if ((y - top) % 2 == 0 && (x - left + y - top) % 4 == 0)
                p.drawEllipse(QPointF((x + 0.5) * px, (y + 0.5) * px), 0.5 * px, 0.5 * px);
    p.setBrush(Qt::NoBrush);
    for (int inset : {1, 3}) {
        p.setPen(QPen(ink, px));
        p.drawRect(QRectF(QPointF(left + inset + 0.5, top + inset + 0.5) * px,
                          QPointF(right - inset - 0.5, bottom - inset - 0.5) * px));
    }
    p.restore();
}

void drawWovenBack(QPainter& p) {
    p.fillRect(kDesignRect, QColor(25, 15, 40));
    constexpr qreal period = 6.0, width = 4.6, gap = (period - width) / 2;
    const QColor red(210, 30, 40), blue(40, 70, 200);
    const int columns = int(kDesignWidth / period) + 1, rows = int(kDesignHeight / period) + 1;
    const qreal offsetX = (kDesignWidth - columns * period) / 2,
                offsetY = (kDesignHeight - rows * period) / 2;
    auto column = [&](int i) { return QRectF(offsetX + i * period + gap, 0, width, kDesignHeight); };
    auto row = [&](int j) { return QRectF(0, offsetY + j * period + gap, kDesignWidth, width); };
    for (int i = 0; i < columns; ++i)
        drawRibbon(p, column(i), blue, false);
    for (int j = 0; j < rows; ++j)
        drawRibbon(p, row(j), red, true);
    // Where the blue ribbon passes over, redraw it on top, with a shadow on the red beside it.
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            if ((i + j) % 2 == 0) continue;
            const QRectF crossing = column(i).intersected(row(j)).adjusted(0, -gap, 0, gap);
            p.fillRect(crossing.adjusted(-0.5, 0, 0.5, 0), QColor(0, 0, 0, 90));
            drawRibbon(p, crossing, blue, false);
        }
}

void drawBasketBack(QPainter& p) {
    p.fillRect(kDesignRect, QColor(20, 40, 40));
    const std::array<QColor, 3> colours{QColor(40, 90, 210), QColor(40, 165, 70), QColor(245, 205, 40)};
    constexpr qreal cell = 9.6, strip = cell / 3;
    const int columns = int(std::ceil(kDesignWidth / cell)) + 1,
              rows = int(std::ceil(kDesignHeight / cell)) + 1;
    const qreal offsetX = (kDesignWidth - columns * cell) / 2, offsetY = (kDesignHeight - rows * cell) / 2;
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            const QPointF corner(offsetX + i * cell, offsetY + j * cell);
            const bool horizontal = (i + j) % 2 == 0;
            for (int k = 0; k < 3; ++k) {
                const QRectF r = horizontal ? QRectF(corner + QPointF(0, k * strip), QSizeF(cell, strip))
                                            : QRectF(corner + QPointF(k * strip, 0), QSizeF(strip, cell));
                drawRibbon(p, r.adjusted(0.15, 0.15, -0.15, -0.15), colours[k], horizontal);
            }
        }
}

namespace {

// The ammonite's spiral: radius grows three times each turn.
struct Spiral {
    QPointF centre;
    qreal scale;
    qreal rotation;
    static constexpr qreal growth = 0.17485; // ln(3) / (2 pi)
    QPointF at(qreal theta) const {
        const qreal r = scale * std::exp(growth * theta);
        return centre + QPointF(r * std::cos(theta + rotation), r * std::sin(theta + rotation));
    }
};

// The region between the whorl at `from..to` and the whorl one turn inside it.
QPolygonF chamber(const Spiral& s, qreal from, qreal to) {
    QPolygonF polygon;
    constexpr int steps = 8;
    for (int k = 0; k <= steps; ++k)
        polygon << s.at(from + (to - from) * k / steps);
    for (int k = steps; k >= 0; --k)
        polygon << s.at(from + (to - from) * k / steps - 2 * M_PI);
    return polygon;
}

void drawRainbow(QPainter& p, QPointF centre) {
    QConicalGradient rainbow(centre, 90);
    const std::array<QColor, 7> colours{QColor(230, 40, 60), QColor(250, 150, 30), QColor(250, 230, 50),
                                        QColor(60, 190, 80), QColor(40, 180, 220), QColor(70, 70, 210),
                                        QColor(190, 60, 200)};
    for (size_t k = 0; k < colours.size(); ++k)
        rainbow.setColorAt(qreal(k) / colours.size(), colours[k]);
    rainbow.setColorAt(1.0, colours[0]);
    p.fillRect(kDesignRect, rainbow);
    QRadialGradient glow(centre, 30);
    glow.setColorAt(0, QColor(255, 255, 255, 170));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(kDesignRect, glow);
}

QPainterPath shellOutline(const Spiral& s, qreal end) {
    QPainterPath outline;
    outline.moveTo(s.at(end - 2 * M_PI));
    for (qreal theta = end - 2 * M_PI; theta <= end; theta += 0.05)
        outline.lineTo(s.at(theta));
    outline.lineTo(s.at(end));
    outline.closeSubpath();
    return outline;
}

} // namespace

void drawShellBack(QPainter& p) {
    drawRainbow(p, QPointF(32, 44.5));
    constexpr qreal turns = 3.0, end = turns * 2 * M_PI, step = 2 * M_PI / 13;
    const Spiral spiral{QPointF(0, 0), 1.0 / std::exp(Spiral::growth * end), 2.0}; // outer radius 1
    const QPainterPath outline = shellOutline(spiral, end);
    // Centre the shell on the card, as large as fits.
    const QRectF bounds = outline.boundingRect();
    const qreal scale = std::min(54 / bounds.width(), 74 / bounds.height());
    p.save();
    p.translate(32, 44.5);
    p.scale(scale, scale);
    p.translate(-bounds.center());
    const QColor cream(252, 238, 205), tan(222, 160, 95), brown(110, 55, 20);
    p.setPen(QPen(brown, 0.5 / scale));
    int index = 0;
    for (qreal theta = 2 * M_PI; theta < end - 1e-6; theta += step, ++index) {
        const qreal t = (theta - 2 * M_PI) / (end - 2 * M_PI); // 0 at the heart, 1 at the mouth
        const QPolygonF c = chamber(spiral, theta, std::min(theta + step, end));
        QLinearGradient shade(c.first(), c.at(c.size() / 2 + 1));
        const QColor base = (index % 2) ? cream : tan;
        shade.setColorAt(0, base.darker(int(135 - 25 * t)));
        shade.setColorAt(1, base.lighter(int(100 + 10 * t)));
        p.setBrush(shade);
        p.drawPolygon(c);
    }
    p.setBrush(tan.darker(150));
    p.drawEllipse(spiral.at(2 * M_PI * 0.98), 1.3 / scale, 1.3 / scale); // the heart of the spiral
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(brown.darker(130), 0.9 / scale));
    p.drawPath(outline);
    p.restore();
}

} // namespace cardart

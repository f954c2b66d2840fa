#include "pictures.h"

#include "cards/art/faces.h"
#include "cards/art/outline.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace cardart {

namespace {

const QColor kButtonFace(60, 60, 60);
const QColor kGlyphYellow(255, 215, 0);
const QColor kGlyphEdge(0, 0, 0);
const QColor kTableGreen(0, 128, 0);

// Draws a glyph antialiased on transparency, then keys it: pixels less than half covered
// become the key colour, the others are blended over the button's dark grey.
QImage keyedGlyph(int size, const DrawFunction& draw) {
    const QImage drawn = renderSupersampled(QSize(size, size), draw);
    QImage out(drawn.size(), QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const QRgb c = drawn.pixel(x, y); // premultiplied: colour already weighted by alpha
            const int a = qAlpha(c);
            QRgb result = kGlyphKeyColour;
            if (a >= 128) {
                auto over = [a](int premultiplied, int face) {
                    return premultiplied + face * (255 - a) / 255;
                };
                result = qRgb(over(qRed(c), kButtonFace.red()), over(qGreen(c), kButtonFace.green()),
                              over(qBlue(c), kButtonFace.blue()));
                if (result == kGlyphKeyColour)
                    result = qRgb(254, 0, 255); // never the key colour inside the drawing
            }
            out.setPixel(x, y, result);
        }
    return out;
}

// A thick line of `colour` with a dark edge: drawn twice, wide dark under narrow bright.
void strokeWithEdge(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width, qreal edge,
                    Qt::PenCapStyle cap = Qt::RoundCap) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGlyphEdge, width + 2 * edge, Qt::SolidLine, cap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, cap, Qt::RoundJoin));
    p.drawPath(path);
}

void fillWithEdge(QPainter& p, const QPainterPath& path, const QColor& colour, qreal edge) {
    p.setPen(QPen(kGlyphEdge, 2 * edge, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

// Draws `card` turned by `angleDegrees` about `pivot` (in the painter's coordinates).
void drawTurned(QPainter& p, const QImage& card, const QRectF& place, QPointF pivot, qreal angleDegrees) {
    p.save();
    p.translate(pivot);
    p.rotate(angleDegrees);
    p.translate(-pivot);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70)); // a soft shadow on the table
    p.drawRoundedRect(place.translated(1.2, 1.0), 3, 3);
    p.drawImage(place, card);
    p.restore();
}

} // namespace

QImage glyphDeal() {
    return keyedGlyph(32, [](QPainter& p) {
        const Suit suits[] = {Suit::Clubs, Suit::Diamonds, Suit::Spades};
        for (int k = 0; k < 3; ++k) {
            p.save();
            p.translate(16, 30);
            p.rotate(-22 + k * 22);
            drawAceCard(p, QRectF(-7, -24.5, 14, 20), suits[k], 1.2, false);
            p.restore();
        }
    });
}

QImage glyphUndo() {
    return keyedGlyph(32, [](QPainter& p) {
        QPainterPath arrow; // from lower right, up and over, back down to the left
        arrow.moveTo(24, 25);
        arrow.cubicTo(29, 18, 27, 7, 18, 7);
        arrow.cubicTo(12, 7, 9, 10, 8.5, 15);
        strokeWithEdge(p, arrow, kGlyphYellow, 4.2, 1.2);
        QPainterPath head;
        head.moveTo(2.5, 13.5);
        head.lineTo(14.5, 13.5);
        head.lineTo(8.5, 22.5);
        head.closeSubpath();
        fillWithEdge(p, head, kGlyphYellow, 1.2);
    });
}

QImage glyphHint() {
    return keyedGlyph(32, [](QPainter& p) {
        QPainterPath hook;
        hook.moveTo(10, 11.5);
        hook.cubicTo(10, 6.5, 13, 4.5, 16.5, 4.5);
        hook.cubicTo(20.5, 4.5, 23, 7, 23, 10.5);
        hook.cubicTo(23, 14.5, 17, 15, 17, 19.5);
        hook.lineTo(17, 20.5);
        strokeWithEdge(p, hook, kGlyphYellow, 4.4, 1.2);
        QPainterPath dot;
        dot.addEllipse(QPointF(17, 26.5), 2.7, 2.7);
        fillWithEdge(p, dot, kGlyphYellow, 1.2);
    });
}

QImage glyphOk() {
    return keyedGlyph(18, [](QPainter& p) {
        QPainterPath tick;
        tick.moveTo(3.5, 9.5);
        tick.lineTo(7, 13.5);
        tick.lineTo(14.5, 4);
        strokeWithEdge(p, tick, QColor(40, 210, 40), 3.0, 0.8);
    });
}

QImage glyphCancel() {
    return keyedGlyph(18, [](QPainter& p) {
        QPainterPath cross;
        cross.moveTo(4.5, 4.5);
        cross.lineTo(13.5, 13.5);
        cross.moveTo(13.5, 4.5);
        cross.lineTo(4.5, 13.5);
        strokeWithEdge(p, cross, QColor(225, 30, 30), 3.0, 0.8);
    });
}

QImage aboutFan(FaceRenderer& faces) {
    constexpr int factor = 2;
    constexpr CardSize card{58 * factor, 78 * factor, 3.5 * factor, false};
    constexpr int spades = 3 * kRanks, ten = 9;
    QList<QImage> fan;
    for (int rank = ten; rank < kRanks; ++rank)
        fan.append(cardWithAlpha(faces.face(spades + rank, card), card));
    const QImage drawn = renderSupersampled(
        QSize(140, 110),
        [&](QPainter& p) {
            p.fillRect(QRectF(0, 0, 140, 110), kTableGreen);
            const QPointF pivot(70, 150);
            const QRectF place(41, 17, 58, 78);
            for (int k = 0; k < fan.size(); ++k)
                drawTurned(p, fan[k], place, pivot, -19.5 + k * 13);
        },
        kTableGreen, factor);
    return drawn.convertToFormat(QImage::Format_RGB32);
}

QImage programIcon(int size) {
    constexpr qreal design = 256.0;
    const qreal pixel = design / size; // one pixel of this size, in design units
    return renderSupersampled(QSize(size, size),
                              [&](QPainter& p) {
                                  p.scale(size / design, size / design);
                                  const QRectF tile(6, 6, 244, 244);
                                  QRadialGradient felt(QPointF(100, 80), 220);
                                  felt.setColorAt(0, QColor(60, 190, 80));
                                  felt.setColorAt(1, QColor(0, 95, 25));
                                  p.setPen(QPen(QColor(0, 60, 15), std::max(6.0, pixel)));
                                  p.setBrush(felt);
                                  p.drawRoundedRect(tile.adjusted(3, 3, -3, -3), 44, 44);
                                  const bool detailed = size >= 64;
                                  const qreal outline = std::max(5.0, pixel * 0.9);
                                  const struct {
                                      Suit suit;
                                      qreal angle;
                                      QPointF offset;
                                  } cards[] = {{Suit::Spades, -16, {-26, 0}}, {Suit::Hearts, 14, {26, 4}}};
                                  for (const auto& c : cards) {
                                      p.save();
                                      p.translate(QPointF(128, 134) + c.offset);
                                      p.rotate(c.angle);
                                      drawAceCard(p, QRectF(-58, -82, 116, 164), c.suit, outline, detailed);
                                      p.restore();
                                  }
                              })
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace cardart

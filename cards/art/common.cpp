#include "common.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace cardart {

QSize CardSize::pixels() const {
    return ratio == 1.0 ? size() : QSize(qRound(width * ratio), qRound(height * ratio));
}

qreal CardSize::zoom() const {
    return std::max(1.0, height / qreal(kLargeCard.height));
}

qreal CardSize::border() const {
    return std::floor(zoom()) * ratio;
}

int CardSize::lineWidth() const {
    return std::max(1, qRound(ratio));
}

int CardSize::supersample() const {
    // About 384 drawn rows for a card up to the large card's 96 (at four times); larger
    // pictures have enough pixels of their own for the painter's antialiasing with twice as
    // many, the largest with none.
    const int rows = pixels().height();
    if (rows <= kLargeCard.height)
        return std::clamp((kLargeCard.height * kSupersample + rows - 1) / rows, 1, kSupersample);
    return rows < kLargeCard.height * kSupersample ? 2 : 1;
}

CardSize cardSizeFor(QSize card, qreal ratio) {
    CardSize result{card.width(), card.height(), 0.0, false, ratio};
    if (card == kLargeCard.size())
        result.radius = kLargeCard.radius;
    else if (card == kSmallCard.size())
        result = CardSize{kSmallCard.width, kSmallCard.height, kSmallCard.radius, true, ratio};
    else if (card.height() < kLargeCard.height) {
        // Between the two sets: the small set's look, the radius in between.
        const qreal t = qreal(card.height() - kSmallCard.height) / (kLargeCard.height - kSmallCard.height);
        result.radius = kSmallCard.radius + std::max(0.0, t) * (kLargeCard.radius - kSmallCard.radius);
        result.small = true;
    } else
        result.radius = kLargeCard.radius * card.height() / kLargeCard.height;
    return result;
}

QImage renderSupersampled(QSize size, const DrawFunction& draw, const QColor& background, int factor) {
    return renderSupersampled(size, 1.0, draw, background, factor);
}

QImage renderSupersampled(QSize pixels, qreal scale, const DrawFunction& draw, const QColor& background,
                          int factor) {
    QImage big(pixels * factor, QImage::Format_ARGB32_Premultiplied);
    big.fill(background);
    {
        QPainter painter(&big);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.scale(factor * scale, factor * scale);
        draw(painter);
    }
    if (factor == 1) return big;
    return big.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {

QPainterPath heartPath() {
    QPainterPath p;
    p.moveTo(0.5, 1.0);
    p.cubicTo(0.18, 0.72, 0.0, 0.52, 0.0, 0.3);
    p.cubicTo(0.0, 0.1, 0.14, 0.0, 0.27, 0.0);
    p.cubicTo(0.4, 0.0, 0.47, 0.08, 0.5, 0.2);
    p.cubicTo(0.53, 0.08, 0.6, 0.0, 0.73, 0.0);
    p.cubicTo(0.86, 0.0, 1.0, 0.1, 1.0, 0.3);
    p.cubicTo(1.0, 0.52, 0.82, 0.72, 0.5, 1.0);
    p.closeSubpath();
    return p;
}

QPainterPath spadePath() {
    QPainterPath p;
    p.moveTo(0.5, 0.0);
    p.cubicTo(0.82, 0.3, 1.0, 0.44, 1.0, 0.6);
    p.cubicTo(1.0, 0.74, 0.88, 0.82, 0.76, 0.82);
    p.cubicTo(0.66, 0.82, 0.58, 0.78, 0.53, 0.7);
    p.cubicTo(0.55, 0.85, 0.6, 0.94, 0.7, 1.0);
    p.lineTo(0.3, 1.0);
    p.cubicTo(0.4, 0.94, 0.45, 0.85, 0.47, 0.7);
    p.cubicTo(0.42, 0.78, 0.34, 0.82, 0.24, 0.82);
    p.cubicTo(0.12, 0.82, 0.0, 0.74, 0.0, 0.6);
    p.cubicTo(0.0, 0.44, 0.18, 0.3, 0.5, 0.0);
    p.closeSubpath();
    return p;
}

QPainterPath clubPath() {
    const qreal r = 0.225;
    QPainterPath p;
    p.addEllipse(QPointF(0.5, 0.25), r, r);
    QPainterPath left, right, middle, stem;
    left.addEllipse(QPointF(0.24, 0.58), r, r);
    right.addEllipse(QPointF(0.76, 0.58), r, r);
    middle.addEllipse(QPointF(0.5, 0.52), 0.14, 0.14);
    stem.moveTo(0.47, 0.55);
    stem.cubicTo(0.46, 0.8, 0.4, 0.93, 0.3, 1.0);
    stem.lineTo(0.7, 1.0);
    stem.cubicTo(0.6, 0.93, 0.54, 0.8, 0.53, 0.55);
    stem.closeSubpath();
    return p.united(left).united(right).united(middle).united(stem);
}

QPainterPath diamondPath() {
    QPainterPath p;
    p.moveTo(0.5, 0.0);
    p.quadTo(0.66, 0.3, 0.92, 0.5);
    p.quadTo(0.66, 0.7, 0.5, 1.0);
    p.quadTo(0.34, 0.7, 0.08, 0.5);
    p.quadTo(0.34, 0.3, 0.5, 0.0);
    p.closeSubpath();
    return p;
}

} // namespace

QPainterPath suitPath(Suit suit) {
    switch (suit) {
    case Suit::Hearts:
        return heartPath();
    case Suit::Diamonds:
        return diamondPath();
    case Suit::Clubs:
        return clubPath();
    case Suit::Spades:
        break;
    }
    return spadePath();
}

QPainterPath suitPath(Suit suit, const QRectF& box) {
    QTransform t;
    t.translate(box.x(), box.y());
    t.scale(box.width(), box.height());
    return t.map(suitPath(suit));
}

bool isRedSuit(Suit suit) {
    return suit == Suit::Hearts || suit == Suit::Diamonds;
}

QColor suitColor(Suit suit) {
    return isRedSuit(suit) ? QColor(210, 0, 0) : QColor(0, 0, 0);
}

QPainterPath aceLetterPath(const QRectF& box) {
    QPainterPath strokes;
    strokes.moveTo(0.12, 1.0);
    strokes.lineTo(0.5, 0.06);
    strokes.lineTo(0.88, 1.0);
    strokes.moveTo(0.27, 0.66);
    strokes.lineTo(0.73, 0.66);
    QPainterPathStroker stroker;
    stroker.setWidth(0.2);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setCapStyle(Qt::FlatCap);
    QTransform t;
    t.translate(box.x(), box.y());
    t.scale(box.width(), box.height());
    return t.map(stroker.createStroke(strokes).simplified());
}

} // namespace cardart

namespace cardart {

void drawAceCard(QPainter& p, const QRectF& card, Suit suit, qreal outlineWidth, bool corners) {
    const qreal w = card.width(), h = card.height();
    const qreal radius = w * 0.1;
    p.save();
    p.setPen(QPen(Qt::black, outlineWidth));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card.adjusted(outlineWidth / 2, outlineWidth / 2, -outlineWidth / 2, -outlineWidth / 2),
                      radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(suitColor(suit));
    const qreal pip = corners ? w * 0.46 : w * 0.62;
    p.drawPath(suitPath(suit, QRectF(card.center() - QPointF(pip / 2, pip / 2), QSizeF(pip, pip))));
    if (!corners) {
        p.restore();
        return;
    }
    const QRectF letter(card.left() + w * 0.09, card.top() + h * 0.07, w * 0.2, h * 0.16);
    const QRectF sign(letter.left(), letter.bottom() + h * 0.03, w * 0.2, w * 0.2);
    for (int corner = 0; corner < 2; ++corner) { // top left, then turned half round
        p.drawPath(aceLetterPath(letter));
        p.drawPath(suitPath(suit, sign));
        p.translate(card.center());
        p.rotate(180);
        p.translate(-card.center());
    }
    p.restore();
}

} // namespace cardart

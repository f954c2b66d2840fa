#include "backs.h"

#include "backs_designs.h"
#include "outline.h"

#include <array>

namespace cardart {

namespace {

struct BackDesign {
    void (*draw)(QPainter&);
    QColor border; // the margin between the card's black border and the picture
    QColor frame;  // a fine line around the picture
};

const std::array<BackDesign, kBackCount> kDesigns{{
    {drawDotsBack, Qt::white, QColor(30, 60, 150)},
    {drawWovenBack, Qt::white, QColor(40, 30, 90)},
    {drawBasketBack, Qt::white, QColor(20, 60, 60)},
    {drawRobotBack, Qt::white, QColor(10, 30, 90)},
    {drawRosesBack, Qt::white, QColor(110, 0, 20)},
    {drawStrawberriesBack, Qt::white, QColor(150, 0, 20)},
    {drawBlueStrawberriesBack, Qt::white, QColor(10, 30, 100)},
    {drawClownfishBack, Qt::white, QColor(20, 90, 160)},
    {drawSeaweedBack, Qt::white, QColor(5, 20, 70)},
    {drawShellBack, Qt::white, QColor(70, 30, 90)},
    {drawCastleBack, Qt::white, QColor(10, 10, 50)},
    {drawBeachBack, Qt::white, QColor(20, 90, 160)},
    {drawHandBack, Qt::white, QColor(60, 0, 40)},
}};

// The picture's place on the card: inside the black border and the margin, on whole pixels
// so that its edge line is crisp.
QRectF panelRect(const CardSize& card) {
    const qreal inset = card.small ? 3.0 : 4.0;
    return QRectF(0, 0, card.width, card.height).adjusted(inset, inset, -inset, -inset);
}

void drawBack(QPainter& p, const BackDesign& design, const CardSize& card) {
    p.fillRect(QRectF(0, 0, card.width, card.height), design.border);
    const QRectF panel = panelRect(card);
    const qreal radius = card.small ? 1.5 : 2.0;
    QPainterPath outline;
    outline.addRoundedRect(panel, radius, radius);
    p.save();
    p.setClipPath(outline);
    p.translate(panel.topLeft());
    p.scale(panel.width() / kDesignWidth, panel.height() / kDesignHeight);
    design.draw(p);
    p.restore();
    // A 1-pixel line just inside the picture's edge.
    p.setPen(QPen(design.frame, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
}

} // namespace

QImage cardBack(int backIndex, const CardSize& card) {
    const BackDesign& design = kDesigns.at(backIndex);
    const QImage content = renderSupersampled(card.size(), [&](QPainter& p) { drawBack(p, design, card); });
    return finishCard(content, card);
}

qreal Dice::uniform(qreal low, qreal high) {
    state_ = state_ * 1664525u + 1013904223u; // a linear congruential generator
    return low + (high - low) * ((state_ >> 8) / qreal(1u << 24));
}

void fillVertical(QPainter& p, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(0, 0, 0, kDesignHeight);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.fillRect(kDesignRect, gradient);
}

void drawStars(QPainter& p, int count, qreal bottom, std::uint32_t seed) {
    Dice dice(seed);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < count; ++k) {
        const QPointF at(dice.uniform(1, kDesignWidth - 1), dice.uniform(1, bottom));
        const qreal r = dice.uniform(0.25, 0.7);
        p.setBrush(QColor(255, 250, 220, int(dice.uniform(150, 255))));
        p.drawEllipse(at, r, r);
    }
}

} // namespace cardart

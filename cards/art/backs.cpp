#include "backs.h"

#include "backs_designs.h"
#include "outline.h"

#include <array>
#include <cmath>

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

constexpr int kRobotBack = 3;
constexpr int kBeachBack = 11;

// The size of one pixel of the card as the designs see it, in device pixels of the drawing (the
// backs may be drawn on several threads at once).
thread_local qreal designPixelSize = kSupersample;

// The picture's place on the card: inside the black border and the margin, on whole pixels
// so that its edge line is crisp.
QRectF panelRect(const CardSize& card) {
    const qreal inset = card.small ? 3.0 : std::round(4.0 * card.zoom());
    return QRectF(0, 0, card.width, card.height).adjusted(inset, inset, -inset, -inset);
}

void drawBack(QPainter& p, const BackDesign& design, const CardSize& card) {
    p.fillRect(QRectF(0, 0, card.width, card.height), design.border);
    const QRectF panel = panelRect(card);
    const qreal radius = card.small ? 1.5 : 2.0 * card.zoom();
    const qreal line = std::floor(card.zoom());
    QPainterPath outline;
    outline.addRoundedRect(panel, radius, radius);
    p.save();
    p.setClipPath(outline);
    p.translate(panel.topLeft());
    p.scale(panel.width() / kDesignWidth, panel.height() / kDesignHeight);
    design.draw(p);
    p.restore();
    // A 1-pixel line just inside the picture's edge.
    p.setPen(QPen(design.frame, line));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(panel.adjusted(line / 2, line / 2, -line / 2, -line / 2), radius - line / 2,
                      radius - line / 2);
}

} // namespace

qreal designPixel() {
    return designPixelSize;
}

QImage backContent(int backIndex, const CardSize& card) {
    if (card.small && backIndex == kRobotBack) // the small set shows the beach there
        backIndex = kBeachBack;
    const BackDesign& design = kDesigns.at(backIndex);
    const int factor = card.supersample();
    // The fine patterns follow the card's pixels: whole device pixels, more of them on larger cards.
    designPixelSize = factor * std::max(1.0, std::round(card.ratio * card.zoom()));
    return renderSupersampled(
        card.pixels(), card.ratio, [&](QPainter& p) { drawBack(p, design, card); }, Qt::transparent, factor);
}

QImage cardBack(int backIndex, const CardSize& card) {
    return finishCard(backContent(backIndex, card), card);
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

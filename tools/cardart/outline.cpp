#include "outline.h"

#include <QPainter>

namespace cardart {

namespace {

constexpr int kCoverageSupersample = 8;
const QRgb kTableGreen = qRgb(0, 128, 0);
const QRgb kBrightGreen = qRgb(0, 255, 0);
const QRgb kHighlightYellow = qRgb(255, 255, 0);
const QRgb kShadowRed = qRgb(224, 32, 64);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

// Hard-edged version of a coverage picture: a pixel belongs to the shape when at least half covered.
bool inside(const QImage& coverage, int x, int y) {
    if (x < 0 || y < 0 || x >= coverage.width() || y >= coverage.height()) return false;
    return coverage.constScanLine(y)[x] >= 128;
}

// A pixel of the hard-edged shape that touches the outside (4-neighbourhood): its 1-pixel outline.
bool onOutline(const QImage& coverage, int x, int y) {
    return inside(coverage, x, y) && (!inside(coverage, x - 1, y) || !inside(coverage, x + 1, y) ||
                                      !inside(coverage, x, y - 1) || !inside(coverage, x, y + 1));
}

QRectF cardRect(const CardSize& card, QPointF offset = {}) {
    return QRectF(offset, QSizeF(card.width, card.height));
}

} // namespace

QImage roundedCoverage(QSize imageSize, const QRectF& rect, qreal radius) {
    const QImage drawn = renderSupersampled(
        imageSize,
        [&](QPainter& p) {
            QPainterPath path;
            path.addRoundedRect(rect, radius, radius);
            p.fillPath(path, Qt::white);
        },
        Qt::transparent, kCoverageSupersample);
    QImage coverage(imageSize, QImage::Format_Grayscale8);
    for (int y = 0; y < imageSize.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        uchar* dst = coverage.scanLine(y);
        for (int x = 0; x < imageSize.width(); ++x)
            dst[x] = uchar(qAlpha(src[x]));
    }
    return coverage;
}

QImage cardCoverage(const CardSize& card) {
    return roundedCoverage(card.size(), cardRect(card), card.radius);
}

QImage finishCard(const QImage& content, const CardSize& card) {
    const QImage inner = roundedCoverage(card.size(), cardRect(card).adjusted(1, 1, -1, -1), card.radius - 1);
    const QImage source = content.convertToFormat(QImage::Format_RGB32);
    QImage out(card.size(), QImage::Format_RGB32);
    for (int y = 0; y < card.height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const uchar* cov = inner.constScanLine(y);
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < card.width; ++x) {
            const int c = cov[x];
            dst[x] = qRgb(qRed(src[x]) * c / 255, qGreen(src[x]) * c / 255, qBlue(src[x]) * c / 255);
        }
    }
    return out;
}

QImage cardWithAlpha(const QImage& finished, const CardSize& card) {
    QImage out = finished.convertToFormat(QImage::Format_ARGB32);
    out.setAlphaChannel(cardCoverage(card));
    return out;
}

QImage cardMask(const CardSize& card) {
    QImage mask = cardCoverage(card);
    mask.invertPixels();
    return mask;
}

QImage slotPicture(const CardSize& card) {
    QImage out(card.size(), QImage::Format_RGB32);
    out.fill(kTableGreen);
    const int right = card.width - 1, bottom = card.height - 1;
    for (int x = 0; x <= right; ++x) {
        out.setPixel(x, 0, kBlack);
        if (x > 0) out.setPixel(x, bottom, kBrightGreen);
    }
    for (int y = 1; y <= bottom; ++y) {
        out.setPixel(0, y, kBlack);
        out.setPixel(right, y, kBrightGreen);
    }
    return out;
}

QSize highlightSize(const CardSize& card) {
    // The game centres the highlight on the card; the small set's is only 2 pixels taller on each side.
    return card.small ? QSize(60, 76) : QSize(77, 102);
}

QImage highlightPicture(const CardSize& card) {
    const QSize size = highlightSize(card);
    const QPointF cardAt((size.width() - card.width) / 2, (size.height() - card.height) / 2);
    const qreal band = cardAt.x();
    const QImage outer = roundedCoverage(size, QRectF(QPointF(0, 0), QSizeF(size)), card.radius + band);
    const QImage inner = roundedCoverage(size, cardRect(card, cardAt), card.radius);
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            out.setPixel(x, y, inside(outer, x, y) && !inside(inner, x, y) ? kHighlightYellow : kBlack);
    return out;
}

QImage shadowPicture(const CardSize& card) {
    constexpr int offset = 6;
    const QSize size(card.width + 2 * offset, card.height + 2 * offset);
    const QImage body = roundedCoverage(size, cardRect(card, QPointF(offset, offset)), card.radius);
    const QImage shadow = roundedCoverage(size, cardRect(card, QPointF(2 * offset, 2 * offset)), card.radius);
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            QRgb colour = kWhite;
            if (onOutline(body, x, y))
                colour = kShadowRed;
            else if (!inside(body, x, y) && inside(shadow, x, y))
                colour = kBlack;
            out.setPixel(x, y, colour);
        }
    }
    return out;
}

} // namespace cardart

#include "outline.h"

#include <algorithm>
#include <cmath>

namespace cardart {

namespace {

// Samples per side of a corner pixel.
constexpr int kCornerSamples = 16;
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

// A pixel of the hard-edged shape within `width` pixels of the outside (4-neighbourhood): its
// outline, `width` pixels thick.
bool onOutline(const QImage& coverage, int x, int y, int width) {
    if (!inside(coverage, x, y)) return false;
    for (int d = 1; d <= width; ++d)
        if (!inside(coverage, x - d, y) || !inside(coverage, x + d, y) || !inside(coverage, x, y - d) ||
            !inside(coverage, x, y + d))
            return true;
    return false;
}

qreal overlap(qreal from, qreal to, qreal low, qreal high) {
    return std::clamp(std::min(to, high) - std::max(from, low), 0.0, 1.0);
}

QRectF scaled(const QRectF& r, qreal ratio) {
    return QRectF(r.topLeft() * ratio, r.size() * ratio);
}

QImage withRatio(QImage image, qreal ratio) {
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

QImage roundedCoverage(QSize imageSize, const QRectF& rect, qreal radius) {
    QImage coverage(imageSize, QImage::Format_Grayscale8);
    radius = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    const qreal left = rect.left(), right = rect.right(), top = rect.top(), bottom = rect.bottom();
    // Outside the four corner squares the shape is a plain rectangle: a pixel's share is the
    // product of its shares in x and y. Pixels touching a corner square are sampled.
    auto inCorner = [&](qreal px, qreal py) {
        const qreal cx = px < left + radius ? left + radius : px > right - radius ? right - radius : px;
        const qreal cy = py < top + radius ? top + radius : py > bottom - radius ? bottom - radius : py;
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius;
    };
    for (int y = 0; y < imageSize.height(); ++y) {
        uchar* row = coverage.scanLine(y);
        const qreal shareY = overlap(y, y + 1, top, bottom);
        const bool cornerRow = y < top + radius || y + 1 > bottom - radius;
        for (int x = 0; x < imageSize.width(); ++x) {
            const qreal shareX = overlap(x, x + 1, left, right);
            if (shareX <= 0 || shareY <= 0) {
                row[x] = 0;
                continue;
            }
            const bool cornerColumn = x < left + radius || x + 1 > right - radius;
            if (!(cornerRow && cornerColumn) || radius <= 0) {
                row[x] = uchar(std::lround(shareX * shareY * 255));
                continue;
            }
            int hits = 0;
            for (int sy = 0; sy < kCornerSamples; ++sy) {
                const qreal py = y + (sy + 0.5) / kCornerSamples;
                if (py < top || py > bottom) continue;
                for (int sx = 0; sx < kCornerSamples; ++sx) {
                    const qreal px = x + (sx + 0.5) / kCornerSamples;
                    if (px >= left && px <= right && inCorner(px, py)) ++hits;
                }
            }
            row[x] = uchar(std::lround(hits * 255.0 / (kCornerSamples * kCornerSamples)));
        }
    }
    return coverage;
}

Outline::Outline(const CardSize& size)
    : card(size), outer(cardCoverage(size)),
      inner(roundedCoverage(
          size.pixels(),
          size.outline().adjusted(size.border(), size.border(), -size.border(), -size.border()),
          std::max(0.0, size.deviceRadius() - size.border()))) {}

QImage cardCoverage(const CardSize& card) {
    return roundedCoverage(card.pixels(), card.outline(), card.deviceRadius());
}

QImage finishCard(const QImage& content, const CardSize& card) {
    return finishCard(content, Outline(card));
}

namespace {
// The content within the card's black border; outside the outline black, or clear (then
// premultiplied by the outline's coverage).
QImage putOnOutline(const QImage& content, const Outline& outline, bool clearOutside) {
    const QSize size = outline.card.pixels();
    const QImage source = content.convertToFormat(QImage::Format_RGB32);
    QImage out(size, clearOutside ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const uchar* in = outline.inner.constScanLine(y);
        const uchar* all = outline.outer.constScanLine(y);
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int alpha = clearOutside ? all[x] : 255;
            const int c = in[x] * alpha;
            if (c == 255 * 255) {
                dst[x] = src[x] | 0xFF000000u;
                continue;
            }
            dst[x] =
                qRgba(qRed(src[x]) * c / 65025, qGreen(src[x]) * c / 65025, qBlue(src[x]) * c / 65025, alpha);
        }
    }
    return out;
}
} // namespace

QImage finishCard(const QImage& content, const Outline& outline) {
    return putOnOutline(content, outline, false);
}

QImage cutOutCard(const QImage& content, const Outline& outline) {
    return withRatio(putOnOutline(content, outline, true), outline.card.ratio);
}

QImage cardWithAlpha(const QImage& finished, const CardSize& card) {
    QImage out = finished.convertToFormat(QImage::Format_ARGB32);
    out.setAlphaChannel(cardCoverage(card));
    return out;
}

QImage cardMask(const CardSize& card) {
    QImage mask = cardCoverage(card);
    mask.invertPixels();
    return withRatio(mask, card.ratio);
}

QImage slotPicture(const CardSize& card) {
    const QSize size = card.pixels();
    const int line = card.lineWidth();
    QImage out(size, QImage::Format_RGB32);
    // Black along the top and left, bright green along the bottom and right.
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            if (y < line || x < line)
                row[x] = kBlack;
            else if (x >= size.width() - line || y >= size.height() - line)
                row[x] = kBrightGreen;
            else
                row[x] = kTableGreen;
        }
    }
    return withRatio(out, card.ratio);
}

QSize highlightSize(const CardSize& card) {
    // The game centres the highlight on the card; the small set's is only 2 pixels taller on each side.
    if (card.size() == kSmallCard.size()) return QSize(60, 76);
    const int band = qRound(3 * card.zoom());
    return card.size() + QSize(2 * band, 2 * band);
}

QImage highlightPicture(const CardSize& card) {
    const QSize logical = highlightSize(card);
    const QSize size(qRound(logical.width() * card.ratio), qRound(logical.height() * card.ratio));
    const QPointF cardAt((logical.width() - card.width) / 2, (logical.height() - card.height) / 2);
    const qreal band = cardAt.x();
    const QImage outer = roundedCoverage(size, scaled(QRectF(QPointF(0, 0), QSizeF(logical)), card.ratio),
                                         (card.radius + band) * card.ratio);
    const QImage inner =
        roundedCoverage(size, scaled(QRectF(cardAt, QSizeF(card.size())), card.ratio), card.deviceRadius());
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = inside(outer, x, y) && !inside(inner, x, y) ? kHighlightYellow : kBlack;
    }
    return withRatio(out, card.ratio);
}

int shadowOffset(const CardSize& card) {
    return qRound(6 * card.zoom());
}

QSize shadowSize(const CardSize& card) {
    const int offset = shadowOffset(card);
    return card.size() + QSize(2 * offset, 2 * offset);
}

QImage shadowPicture(const CardSize& card) {
    const int offset = shadowOffset(card);
    const QSize logical = shadowSize(card);
    const QSize size(qRound(logical.width() * card.ratio), qRound(logical.height() * card.ratio));
    const QSizeF cardSize(card.size());
    const QImage body = roundedCoverage(size, scaled(QRectF(QPointF(offset, offset), cardSize), card.ratio),
                                        card.deviceRadius());
    const QImage shadow = roundedCoverage(
        size, scaled(QRectF(QPointF(2 * offset, 2 * offset), cardSize), card.ratio), card.deviceRadius());
    const int line = card.lineWidth();
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            QRgb colour = kWhite;
            if (onOutline(body, x, y, line))
                colour = kShadowRed;
            else if (!inside(body, x, y) && inside(shadow, x, y))
                colour = kBlack;
            row[x] = colour;
        }
    }
    return withRatio(out, card.ratio);
}

} // namespace cardart

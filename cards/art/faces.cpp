#include "faces.h"

#include "outline.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace cardart {

namespace {

// Geometry of the deck's corner indices, in the deck's card units (a card is 202.5 x 315).
// The rank and the little suit sign sit in a column left of the pips and the court frame;
// the column is redrawn taller and bolder so that the index stays legible on small cards.
constexpr qreal kDeckWidth = 202.5;
constexpr qreal kDeckHeight = 315.0;
constexpr QRectF kIndexColumn(0.0, 8.0, 32.0, 96.0);
constexpr QPointF kIndexAnchor(19.5, 17.0); // top middle of the rank, stays in place

struct IndexStyle {
    qreal scaleX;
    qreal scaleY;
    int boldRadius; // darkening dilation, in supersampled pixels
};

IndexStyle indexStyle(const CardSize& card, int factor) {
    // The most finely supersampled pictures are the small ones: their index strokes are made a
    // little bolder.
    const int bold = factor >= kSupersample ? 1 : 0;
    return card.small ? IndexStyle{1.0, 1.3, bold} : IndexStyle{1.0, 1.1, bold};
}

// Court cards are the ones with many paths; masters of them are kept at up to this many rows
// (four times the large card's, as the large set draws them), and serve every size up to three
// quarters of theirs. They are kept with 8 bits a channel and no alpha, which is all they hold.
constexpr int kMasterRows = 96 * kSupersample;
bool masterServes(const QImage& master, int rows) {
    return !master.isNull() && 3 * master.height() >= 4 * rows;
}

bool isCourt(int value) {
    return value % 13 >= 10;
}

// Makes dark strokes thicker: each colour channel becomes the minimum over a square of
// (2 * radius + 1) pixels, restricted to `region`.
void darkenDilate(QImage& image, const QRect& region, int radius) {
    const QRect r = region.intersected(image.rect());
    if (r.isEmpty()) return;
    // The region alone, copied once per pass; reached through row pointers.
    auto minPass = [&](bool horizontal) {
        const QImage src = image.copy(r);
        const uchar* bits = src.constBits();
        const qsizetype stride = src.bytesPerLine();
        const int width = r.width(), height = r.height();
        for (int y = 0; y < height; ++y) {
            auto* dst = reinterpret_cast<QRgb*>(image.scanLine(r.top() + y)) + r.left();
            for (int x = 0; x < width; ++x) {
                int red = 255, green = 255, blue = 255;
                for (int d = -radius; d <= radius; ++d) {
                    const int sx = horizontal ? std::clamp(x + d, 0, width - 1) : x;
                    const int sy = horizontal ? y : std::clamp(y + d, 0, height - 1);
                    const QRgb c = reinterpret_cast<const QRgb*>(bits + sy * stride)[sx];
                    red = std::min(red, qRed(c));
                    green = std::min(green, qGreen(c));
                    blue = std::min(blue, qBlue(c));
                }
                dst[x] = qRgb(red, green, blue);
            }
        }
    };
    minPass(true);
    minPass(false);
}

const std::array<const char*, 4> kSuitNames{"heart", "diamond", "club", "spade"};
const std::array<const char*, kRanks> kRankNames{"1", "2", "3",  "4",    "5",     "6",   "7",
                                                 "8", "9", "10", "jack", "queen", "king"};

} // namespace

FaceRenderer::FaceRenderer(const QString& svgPath) : path_(svgPath) {
    if (!QFileInfo::exists(svgPath))
        throw std::runtime_error("card deck not found: " + svgPath.toStdString());
    load();
    for (int value = 0; value < kFaceCount; ++value)
        if (!renderer_->elementExists(elementId(value)))
            throw std::runtime_error("the deck " + svgPath.toStdString() + " has no element " +
                                     elementId(value).toStdString());
}

FaceRenderer::~FaceRenderer() = default;

void FaceRenderer::load() {
    auto renderer = std::make_unique<QSvgRenderer>();
    if (!renderer->load(path_) || !renderer->isValid())
        throw std::runtime_error("cannot load the card deck " + path_.toStdString());
    renderer_ = std::move(renderer);
}

void FaceRenderer::release(bool keepMasters) {
    renderer_.reset();
    if (!keepMasters) courtMasters_.clear();
}

QString FaceRenderer::elementId(int value) {
    return QString("%1_%2").arg(kSuitNames.at(value / kRanks), kRankNames.at(value % kRanks));
}

QImage FaceRenderer::face(int value, const CardSize& card) {
    return finishCard(content(value, card), card);
}

QImage FaceRenderer::content(int value, const CardSize& card) {
    const QSize pixels = card.pixels();
    const std::pair<int, bool> key(value, card.small);
    // The game's two sets are always drawn from the deck itself, the same every time.
    const bool set =
        card.ratio == 1.0 && (card.size() == kLargeCard.size() || card.size() == kSmallCard.size());
    if (isCourt(value) && !set) {
        const auto master = courtMasters_.find(key);
        if (master != courtMasters_.end() && masterServes(master->second, pixels.height()))
            return master->second.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    const int factor = card.supersample();
    QImage large = renderLarge(value, card, factor);
    if (isCourt(value)) {
        QImage& master = courtMasters_[key];
        const int rows = std::min(large.height(), kMasterRows);
        if (rows > master.height())
            master =
                (rows == large.height() ? large
                                        : large.scaled(QSize(large.width() * rows / large.height(), rows),
                                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
                    .convertToFormat(QImage::Format_RGB888);
    }
    if (factor == 1) return large;
    return large.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage FaceRenderer::master(int value, bool small) const {
    const auto found = courtMasters_.find({value, small});
    return found == courtMasters_.end() ? QImage() : found->second;
}

void FaceRenderer::setMaster(int value, bool small, const QImage& master) {
    if (isCourt(value) && master.height() <= kMasterRows &&
        master.height() > this->master(value, small).height())
        courtMasters_[{value, small}] = master.convertToFormat(QImage::Format_RGB888);
}

QImage FaceRenderer::renderLarge(int value, const CardSize& card, int factor) {
    const QString id = elementId(value);
    const QSize big = card.pixels() * factor;
    QImage image(big, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        // The element's bounds (with its transform) are the deck's card; render() maps them onto the target.
        if (!renderer_) load();
        renderer_->render(&painter, id, QRectF(QPointF(0, 0), QSizeF(big)));
    }
    const QImage drawn = image.copy();
    redrawIndex(image, drawn, card, factor, false);
    redrawIndex(image, drawn, card, factor, true);
    return image;
}

void FaceRenderer::redrawIndex(QImage& image, const QImage& drawn, const CardSize& card, int factor,
                               bool bottomRight) {
    const IndexStyle style = indexStyle(card, factor);
    const qreal sx = image.width() / kDeckWidth;
    const qreal sy = image.height() / kDeckHeight;
    QRectF column = kIndexColumn;
    QPointF anchor = kIndexAnchor;
    if (bottomRight) { // the same column turned half round
        column.moveTopLeft(QPointF(kDeckWidth - column.right(), kDeckHeight - column.bottom()));
        anchor = QPointF(kDeckWidth - anchor.x(), kDeckHeight - anchor.y());
    }
    const QRect region =
        QRectF(column.x() * sx, column.y() * sy, column.width() * sx, column.height() * sy).toAlignedRect();
    // The whole card scaled about the anchor; only the index column of it is kept.
    const QRectF target(anchor.x() * sx * (1 - style.scaleX), anchor.y() * sy * (1 - style.scaleY),
                        kDeckWidth * sx * style.scaleX, kDeckHeight * sy * style.scaleY);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.setClipRect(region);
        painter.drawImage(target, drawn);
    }
    if (style.boldRadius > 0) darkenDilate(image, region, style.boldRadius);
}

} // namespace cardart

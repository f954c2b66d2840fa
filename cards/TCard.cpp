#include "TCard.h"

#include "TDeck.h"
#include "KestrelObjects/BitmapHelpers.h"

#include <cmath>
#include <numbers>

TCard::TCard(int32_t index)
    : Depth(index), Index(index), Value(index % 52), Suit(uint8_t(TDeck::SuitOf(index))),
      Rank(uint8_t(TDeck::RankOf(index))), Name(TDeck::CardName(index)) {}

void TCard::SetImages(const QImage& face, const QImage& back, const QImage& mask, const QImage& highlight,
                      const QImage& shadow, const QImage& maskedBackImage) {
    FaceImage = face;
    BackImage = back;
    MaskImage = mask;
    HighlightImage = highlight;
    ShadowImage = shadow;
    SaveUnderImage = QImage(shadow.size(), QImage::Format_RGB32);
    maskedFace = CutOutByMask(face, mask);
    maskedBack = maskedBackImage;
}

TRect TCard::CentredRect(const QImage& image) const {
    const int w = image.width(), h = image.height();
    return {Position.x() - (w - Width()) / 2, Position.y() - (h - Height()) / 2,
            Position.x() - (w - Width()) / 2 + w, Position.y() - (h - Height()) / 2 + h};
}

void TCard::DrawShadow(QPainter& canvas) const { AlphaDraw(canvas, CentredRect(ShadowImage), ShadowImage, true, 255); }

void TCard::DrawHighlight(QPainter& canvas) const {
    AlphaDrawConst(canvas, CentredRect(HighlightImage), HighlightImage, 128);
    // A solid yellow line one pixel outside the card, over the table colour.
    const TRect r = BoundsRect().Inflated(1);
    canvas.fillRect(r.ToQRect(), ToQColor(clTableGreen));
    canvas.setPen(QPen(QColor(255, 255, 0), 1));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

void TCard::DrawCard(QPainter& canvas) const {
    if (Lifted)
        DrawShadow(canvas);
    if (Highlighted)
        DrawHighlight(canvas);
    canvas.drawImage(Position, FaceUp ? maskedFace : maskedBack);
}

void TCard::SaveUnder(const QImage& board) { SaveUnderImage = board.copy(CentredRect(ShadowImage).ToQRect()); }

void TCard::RestoreUnder(QPainter& canvas) const {
    canvas.save();
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    canvas.drawImage(CentredRect(ShadowImage).TopLeft(), SaveUnderImage);
    canvas.restore();
}

int TCard::SqueezeInset(double angle) const {
    const int half = Width() / 2;
    return half - int(std::nearbyint(std::fabs(std::cos(angle * std::numbers::pi / 180.0)) * half));
}

void TCard::DrawSqueezed(QPainter& canvas, double angle) const {
    const bool showFace = FaceUp == (angle < 90);
    const int inset = SqueezeInset(angle);
    TRect r = BoundsRect();
    r.Left += inset;
    r.Right -= inset;
    StretchDrawHalftone(canvas, r, showFace ? FaceImage : BackImage);
}

QImage CutOutByMask(const QImage& picture, const QImage& mask) {
    QImage result = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull() || mask.size() != picture.size())
        return result;
    const QImage grey = mask.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < result.height(); ++y) {
        auto* px = reinterpret_cast<QRgb*>(result.scanLine(y));
        const uchar* m = grey.constScanLine(y);
        for (int x = 0; x < result.width(); ++x) {
            const int alpha = 255 - m[x]; // black mask: the card shows
            if (alpha == 255)
                continue;
            const QRgb c = px[x];
            px[x] = qRgba(qRed(c) * alpha / 255, qGreen(c) * alpha / 255, qBlue(c) * alpha / 255, alpha);
        }
    }
    return result;
}

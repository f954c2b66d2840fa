#include "TCard.h"

#include "KestrelObjects/BitmapHelpers.h"
#include "TCardPictures.h"
#include "TDeck.h"

#include <cmath>
#include <numbers>

TCard::TCard(int32_t index)
    : Depth(index), Index(index), Value(index % 52), Suit(uint8_t(TDeck::SuitOf(index))),
      Rank(uint8_t(TDeck::RankOf(index))), Name(TDeck::CardName(index)) {}

void TCard::SetImages(QSize card, const QImage& face, const QImage& back, const QImage& mask, const QImage& highlight,
                      const QImage& shadow) {
    size = card;
    FaceImage = face;
    BackImage = back;
    MaskImage = mask;
    HighlightImage = highlight;
    ShadowImage = shadow;
    if (SaveUnderImage.size() != shadow.size()) {
        SaveUnderImage = QImage(shadow.size(), QImage::Format_RGB32);
        SaveUnderImage.setDevicePixelRatio(shadow.devicePixelRatio());
    }
}

TRect TCard::CentredRect(const QImage& image) const {
    const QSize logical = LogicalSize(image);
    const int w = logical.width(), h = logical.height();
    return {Position.x() - (w - Width()) / 2, Position.y() - (h - Height()) / 2,
            Position.x() - (w - Width()) / 2 + w, Position.y() - (h - Height()) / 2 + h};
}

void TCard::DrawShadow(QPainter& canvas) const { AlphaDraw(canvas, CentredRect(ShadowImage), ShadowImage, true, 255); }

void TCard::DrawHighlight(QPainter& canvas) const {
    AlphaDrawConst(canvas, CentredRect(HighlightImage), HighlightImage, 128);
    // A solid yellow line one pixel outside the card, over the table colour.
    // Filled rather than stroked, so that the line is one board pixel at any pixel ratio.
    canvas.fillRect(BoundsRect().Inflated(1).ToQRect(), QColor(255, 255, 0));
    canvas.fillRect(BoundsRect().ToQRect(), ToQColor(clTableGreen));
}

void TCard::DrawCard(QPainter& canvas) const {
    if (Lifted)
        DrawShadow(canvas);
    if (Highlighted)
        DrawHighlight(canvas);
    DrawPicture(canvas, BoundsRect(), FaceUp ? FaceImage : BackImage);
}

void TCard::SaveUnder(const QImage& board) {
    const qreal ratio = board.devicePixelRatio();
    const QRect r = CentredRect(ShadowImage).ToQRect();
    SaveUnderImage = board.copy(ratio == 1.0 ? r
                                             : QRect(QPoint(qRound(r.x() * ratio), qRound(r.y() * ratio)),
                                                     QSize(qRound(r.width() * ratio), qRound(r.height() * ratio))));
    SaveUnderImage.setDevicePixelRatio(ratio);
}

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
    if (r.Width() <= 0)
        return;
    // Smoothly narrowed; the board shows at the rounded corners as it does round the card.
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, true);
    canvas.drawImage(r.ToQRect(), showFace ? FaceImage : BackImage);
    canvas.restore();
}

void DrawPicture(QPainter& canvas, const TRect& r, const QImage& picture) {
    if (LogicalSize(picture) == QSize(r.Width(), r.Height())) {
        canvas.drawImage(r.TopLeft(), picture);
        return;
    }
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, true);
    canvas.drawImage(r.ToQRect(), picture);
    canvas.restore();
}

#pragma once

#include "KestrelObjects/IntVector.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>

// Ranks with rules of their own: an Ace opens a home pocket, a King an empty column.
constexpr uint8_t Ace = 0;
constexpr uint8_t King = 12;

// One playing card lying on the board: its identity, its pictures, where it lies, how high it
// lies in the stack and how it is to be drawn.
class TCard {
public:
    explicit TCard(int32_t index);

    // The pictures are made at device pixels (their pixel ratio says how many to a board pixel);
    // the face and back are cut out along the card's outline, transparent outside it. Until the
    // pictures of a new size are made, a face or back may still be one of the size before.
    QImage FaceImage;
    QImage BackImage;
    QImage MaskImage; // black inside the card's outline, white at the rounded corners
    QImage HighlightImage;
    QImage ShadowImage; // premultiplied alpha, prepared when loaded
    QImage SaveUnderImage;
    QPoint Position;
    int32_t Depth;
    int32_t Index;
    int32_t Value;
    uint8_t Suit;
    uint8_t Rank;
    QString Name;
    bool FaceUp = true;
    bool DealFaceUp = false;
    bool Visible = true;
    bool Highlighted = false;
    bool Lifted = false;

    // The card's size in board pixels.
    int Width() const { return size.width(); }
    int Height() const { return size.height(); }
    QPoint Size() const { return {Width(), Height()}; }
    TRect BoundsRect() const { return TRect::FromSize(Position, Size()); }
    bool ContainsPoint(QPoint p) const { return BoundsRect().Contains(p); }
    bool Overlaps(const TCard& other) const { return BoundsRect().Overlaps(other.BoundsRect()); }

    // Sets the card's size and its five pictures.
    void SetImages(QSize card, const QImage& face, const QImage& back, const QImage& mask, const QImage& highlight,
                   const QImage& shadow);

    // Where a picture of another size lies when centred on the card (its size in board pixels).
    TRect CentredRect(const QImage& image) const;
    // Shadow (when lifted), then highlight (when highlighted), then the card through its mask.
    void DrawCard(QPainter& canvas) const;
    void DrawShadow(QPainter& canvas) const;
    void DrawHighlight(QPainter& canvas) const;
    // Keeps the board under the card's shadow rectangle, and puts it back (at the board's own
    // pixels, whatever its pixel ratio).
    void SaveUnder(const QImage& board);
    void RestoreUnder(QPainter& canvas) const;
    // The card narrowed as if turned by angle degrees about its vertical axis; from 90 degrees
    // on the other side shows.
    void DrawSqueezed(QPainter& canvas, double angle) const;
    // Left and right inset of the squeezed picture at an angle.
    int SqueezeInset(double angle) const;

private:
    QSize size;
};

// Draws a picture over the rectangle: a plain copy when it has the rectangle's size in board
// pixels, smoothly scaled when it is one of another size (a stand-in until its own is made).
void DrawPicture(QPainter& canvas, const TRect& r, const QImage& picture);

#pragma once

#include "cards/art/outline.h"

#include <QImage>
#include <QSize>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class TPictureStore;

// Every picture of one card size at one pixel ratio, all made from one outline at device
// pixels: the mask, slot, highlight and shadow with the set (they are cheap), the 52 faces and
// the 13 backs when first asked for, on whichever thread asks. Faces and backs come cut out:
// premultiplied, transparent outside the outline, the set's pixel ratio set on them. With a
// store, pictures drawn before are read back instead of drawn, and what is drawn is kept there.
class TCardPictures {
public:
    TCardPictures(QSize card, qreal ratio, std::shared_ptr<const TPictureStore> store = nullptr);
    TCardPictures(const TCardPictures&) = delete;
    TCardPictures& operator=(const TCardPictures&) = delete;

    // The card's size in logical pixels, and device pixels per logical pixel.
    QSize Card() const { return art.size(); }
    qreal Ratio() const { return art.ratio; }
    const cardart::CardSize& Art() const { return art; }

    // Made with the set; never changed afterwards.
    QImage Mask;      // Grayscale8: black inside the outline, white outside
    QImage Slot;      // where a pocket or a column is empty
    QImage Highlight; // the yellow band round a chosen card
    QImage Shadow;    // under a lifted card: premultiplied, white made clear, black a quarter dark

    // The picture if it is made, else a null image; never waits.
    QImage ReadyFace(int value) const;
    QImage ReadyBack(int index) const;
    // The picture, made now on the calling thread when it is not made yet.
    QImage Face(int value);
    QImage Back(int index);
    // Every face and the given back are made.
    bool Complete(int back) const;
    // Memory the pictures made so far take.
    size_t Bytes() const;

private:
    // A picture from the store, or drawn (and then stored).
    QImage Kept(const QString& name, QSize pixels, const std::function<QImage()>& draw) const;
    // A face or back drawn afresh, cut out to the outline (worked out the first time it is
    // needed: with a store, most runs never need it).
    QImage CutOut(const QImage& content);

    cardart::CardSize art;
    std::shared_ptr<const TPictureStore> store;
    std::once_flag outlined;
    std::optional<cardart::Outline> outline;
    mutable std::mutex lock;
    std::array<QImage, 52> faces;
    std::array<QImage, 13> backs;
};

// The shadow picture made see-through: white vanishes, black becomes a quarter-strength shadow.
QImage PrepareShadow(QImage shadow);
// The size of a picture in logical pixels (its pixel ratio taken out).
QSize LogicalSize(const QImage& image);

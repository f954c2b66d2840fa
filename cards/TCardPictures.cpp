#include "TCardPictures.h"

#include "KestrelObjects/BitmapHelpers.h"
#include "TCardArtist.h"
#include "TPictureStore.h"
#include "cards/art/backs.h"

#include <exception>

QImage PrepareShadow(QImage shadow) {
    shadow = shadow.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    SetAlphaByKey(shadow, clBlack, 64, true);
    SetAlphaByKey(shadow, clWhite, 0, false);
    return shadow;
}

QSize LogicalSize(const QImage& image) {
    const qreal ratio = image.devicePixelRatio();
    if (ratio == 1.0)
        return image.size();
    return QSize(qRound(image.width() / ratio), qRound(image.height() / ratio));
}

TCardPictures::TCardPictures(QSize card, qreal ratio, std::shared_ptr<const TPictureStore> keep)
    : art(cardart::cardSizeFor(card, ratio)), store(std::move(keep)) {
    auto pixels = [ratio](QSize logical) {
        return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
    };
    Mask = Kept(QStringLiteral("mask"), art.pixels(), [this] { return cardart::cardMask(art); });
    Slot = Kept(QStringLiteral("slot"), art.pixels(), [this] { return cardart::slotPicture(art); });
    Highlight = Kept(QStringLiteral("highlight"), pixels(cardart::highlightSize(art)),
                     [this] { return cardart::highlightPicture(art); });
    Shadow = Kept(QStringLiteral("shadow"), pixels(cardart::shadowSize(art)),
                  [this] { return PrepareShadow(cardart::shadowPicture(art)); });
}

QImage TCardPictures::Kept(const QString& name, QSize pixels, const std::function<QImage()>& draw) const {
    if (store) {
        if (QImage kept = store->Load(art.size(), art.ratio, name, pixels); !kept.isNull())
            return kept;
    }
    QImage drawn = draw();
    if (store)
        store->Save(art.size(), art.ratio, name, drawn);
    return drawn;
}

QImage TCardPictures::CutOut(const QImage& content) {
    std::call_once(outlined, [this] { outline.emplace(art); });
    return cardart::cutOutCard(content, *outline);
}

QImage TCardPictures::ReadyFace(int value) const {
    const std::lock_guard<std::mutex> hold(lock);
    return faces.at(size_t(value));
}

QImage TCardPictures::ReadyBack(int index) const {
    const std::lock_guard<std::mutex> hold(lock);
    return backs.at(size_t(index));
}

QImage TCardPictures::Face(int value) {
    if (QImage ready = ReadyFace(value); !ready.isNull())
        return ready;
    const QImage made = Kept(QStringLiteral("face-%1").arg(value), art.pixels(), [&] {
        QImage content;
        try {
            content = TCardArtist::Shared().FaceContent(value, art, store.get());
        } catch (const std::exception&) {
            // The deck is part of the program; should it ever fail to read, the card is blank
            // rather than the game stopped.
            content = QImage(art.pixels(), QImage::Format_RGB32);
            content.fill(Qt::white);
        }
        return CutOut(content);
    });
    const std::lock_guard<std::mutex> hold(lock);
    QImage& slot = faces.at(size_t(value));
    if (slot.isNull())
        slot = made;
    return slot;
}

QImage TCardPictures::Back(int index) {
    if (QImage ready = ReadyBack(index); !ready.isNull())
        return ready;
    const QImage made = Kept(QStringLiteral("back-%1").arg(index), art.pixels(),
                             [&] { return CutOut(cardart::backContent(index, art)); });
    const std::lock_guard<std::mutex> hold(lock);
    QImage& slot = backs.at(size_t(index));
    if (slot.isNull())
        slot = made;
    return slot;
}

bool TCardPictures::Complete(int back) const {
    const std::lock_guard<std::mutex> hold(lock);
    for (const QImage& face : faces)
        if (face.isNull())
            return false;
    return !backs.at(size_t(back)).isNull();
}

size_t TCardPictures::Bytes() const {
    const std::lock_guard<std::mutex> hold(lock);
    size_t bytes = size_t(Mask.sizeInBytes() + Slot.sizeInBytes() + Highlight.sizeInBytes() + Shadow.sizeInBytes());
    for (const QImage& face : faces)
        bytes += size_t(face.sizeInBytes());
    for (const QImage& back : backs)
        bytes += size_t(back.sizeInBytes());
    return bytes;
}

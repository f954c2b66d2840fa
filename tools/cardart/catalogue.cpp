#include "catalogue.h"

#include "pictures.h"

#include "cards/CardResources.h"
#include "cards/art/backs.h"
#include "cards/art/faces.h"
#include "cards/art/outline.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace cardart {

namespace {

// The numbering the game loads its pictures by.
constexpr int kFirstBackId = CardResource::FirstBack;
constexpr int kMaskId = CardResource::Mask;
constexpr int kSlotId = CardResource::Slot;
constexpr int kHighlightId = CardResource::Highlight;
constexpr int kShadowId = CardResource::Shadow;
static_assert(kBackCount == CardResource::BackCount);

QString cardPath(int id) {
    return QString("cards/%1.png").arg(id);
}

// The picture of large-set id `id` on `card`.
std::function<QImage()> cardMaker(int id, const CardSize& card, FaceRenderer* faces) {
    if (id >= 1 && id <= kFaceCount) return [=] { return faces->face(id - 1, card); };
    if (id >= kFirstBackId && id < kFirstBackId + kBackCount)
        return [=] { return cardBack(id - kFirstBackId, card); };
    switch (id) {
    case kMaskId:
        return [=] { return cardMask(card); };
    case kSlotId:
        return [=] { return slotPicture(card); };
    case kHighlightId:
        return [=] { return highlightPicture(card); };
    default:
        return [=] { return shadowPicture(card); };
    }
}

QSize cardPictureSize(int id, const CardSize& card) {
    if (id == kHighlightId) return highlightSize(card);
    if (id == kShadowId) return card.size() + QSize(12, 12);
    return card.size();
}

void appendNamed(QList<Picture>& list, const QString& name, QSize size, std::function<QImage()> make) {
    list.append({"pictures/" + name + ".png", size, std::move(make)});
}

} // namespace

QList<int> largeCardIds() {
    QList<int> ids;
    for (int id = 1; id <= kFaceCount; ++id)
        ids.append(id);
    for (int back = 0; back < kBackCount; ++back)
        ids.append(kFirstBackId + back);
    ids << kMaskId << kSlotId << kHighlightId << kShadowId;
    return ids;
}

void savePng(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
}

QList<Picture> catalogue(FaceRenderer* faces, bool withCards) {
    QList<Picture> list;
    for (const CardSize* card : {&kLargeCard, &kSmallCard}) {
        const int offset = card->small ? kSmallIdOffset : 0;
        for (int id : withCards ? largeCardIds() : QList<int>())
            list.append({cardPath(id + offset), cardPictureSize(id, *card), cardMaker(id, *card, faces)});
    }
    appendNamed(list, "glyph_deal", {32, 32}, glyphDeal);
    appendNamed(list, "glyph_undo", {32, 32}, glyphUndo);
    appendNamed(list, "glyph_hint", {32, 32}, glyphHint);
    appendNamed(list, "glyph_ok", {18, 18}, glyphOk);
    appendNamed(list, "glyph_cancel", {18, 18}, glyphCancel);
    appendNamed(list, "about_fan", {140, 110}, [faces] { return aboutFan(*faces); });
    for (int size : {16, 32, 48, 64, 128, 256})
        appendNamed(list, QString("icon_%1").arg(size), {size, size}, [size] { return programIcon(size); });
    return list;
}

void writeAllPictures(const QString& deckPath, const QString& outDir, bool withCards) {
    FaceRenderer faces(deckPath);
    const QDir dir(outDir);
    for (const Picture& picture : catalogue(&faces, withCards)) {
        const QImage image = picture.make();
        if (image.size() != picture.size)
            throw std::runtime_error("internal error: " + picture.relativePath.toStdString() +
                                     " was drawn at the wrong size");
        savePng(image, dir.filePath(picture.relativePath));
    }
}

} // namespace cardart

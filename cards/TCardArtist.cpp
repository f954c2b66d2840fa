#include "TCardArtist.h"

#include "TPictureStore.h"
#include "cards/art/faces.h"

namespace {
// Where the masters lie in the store: with no card size of their own.
constexpr QSize MasterKey(0, 0);
} // namespace

const QString TCardArtist::DeckPath = QStringLiteral(":/cards/anglo.svgz");

TCardArtist& TCardArtist::Shared() {
    static TCardArtist artist;
    return artist;
}

TCardArtist::~TCardArtist() = default;

QImage TCardArtist::FaceContent(int value, const cardart::CardSize& card, const TPictureStore* store) {
    const std::lock_guard<std::mutex> hold(lock);
    if (!renderer)
        renderer = std::make_unique<cardart::FaceRenderer>(DeckPath);
    const QString name = QStringLiteral("court-%1-%2").arg(value).arg(card.small ? "small" : "large");
    QImage master = renderer->master(value, card.small);
    if (store && master.isNull()) {
        renderer->setMaster(value, card.small, store->Load(MasterKey, 1.0, name, QSize()));
        master = renderer->master(value, card.small);
    }
    const QImage content = renderer->content(value, card);
    if (store) {
        const QImage made = renderer->master(value, card.small);
        if (made.height() > master.height())
            store->Save(MasterKey, 1.0, name, made);
    }
    return content;
}

void TCardArtist::Release(bool mastersStored) {
    const std::lock_guard<std::mutex> hold(lock);
    if (renderer)
        renderer->release(!mastersStored);
}

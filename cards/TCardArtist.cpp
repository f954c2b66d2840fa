#include "TCardArtist.h"

#include "cards/art/faces.h"

const QString TCardArtist::DeckPath = QStringLiteral(":/cards/anglo.svgz");

TCardArtist& TCardArtist::Shared() {
    static TCardArtist artist;
    return artist;
}

TCardArtist::~TCardArtist() = default;

QImage TCardArtist::FaceContent(int value, const cardart::CardSize& card) {
    const std::lock_guard<std::mutex> hold(lock);
    if (!renderer)
        renderer = std::make_unique<cardart::FaceRenderer>(DeckPath);
    return renderer->content(value, card);
}

void TCardArtist::Release() {
    const std::lock_guard<std::mutex> hold(lock);
    if (renderer)
        renderer->release();
}

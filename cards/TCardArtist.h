#pragma once

#include "cards/art/common.h"

#include <QImage>
#include <QString>
#include <memory>
#include <mutex>

namespace cardart {
class FaceRenderer;
}
class TPictureStore;

// The one renderer of the SVG deck the faces are drawn from, carried in the program as a
// resource and read on first use. The faces of every size and pixel ratio come from here, on
// any thread, one face at a time.
class TCardArtist {
public:
    static TCardArtist& Shared();
    ~TCardArtist();

    // The deck's picture of a card at the card's device size, before its outline is put on.
    // With a store, the court cards' masters drawn in an earlier run are read back from it, and
    // new ones kept there. Throws std::runtime_error when the deck cannot be read.
    QImage FaceContent(int value, const cardart::CardSize& card, const TPictureStore* store = nullptr);
    // Lets go of the deck in memory while no face is being drawn; it is read again when needed.
    // The court cards' masters go too when they are kept in a store, to be read back from it.
    void Release(bool mastersStored);

    // Where the deck is read from.
    static const QString DeckPath;

private:
    TCardArtist() = default;
    mutable std::mutex lock;
    std::unique_ptr<cardart::FaceRenderer> renderer;
};

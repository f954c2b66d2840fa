// Card faces rendered from the free SVG deck ("anglo" of gnome-cards-data, GPL-3+).
#pragma once

#include "common.h"

#include <QSvgRenderer>

#include <map>
#include <memory>
#include <utility>

namespace cardart {

inline constexpr int kRanks = 13;
inline constexpr int kFaceCount = 52;

// Draws the faces of one deck, each card by its element. Not thread-safe: one thread at a time.
class FaceRenderer {
public:
    // Loads the deck (a file or a resource, compressed or not); throws std::runtime_error when it
    // is missing or not a valid deck.
    explicit FaceRenderer(const QString& svgPath);
    ~FaceRenderer();
    // Lets go of the deck read into memory (it is read again when next needed), and of the court
    // cards' masters too unless told to keep them.
    void release(bool keepMasters);

    // The finished face (opaque RGB32, our outline) of Value = suit * 13 + rank, rank 0 = Ace.
    QImage face(int value, const CardSize& card);
    // The deck's picture of a card at the card's device size, before our outline is put on: the
    // corner indices taller and bolder so that they stay legible on small cards.
    QImage content(int value, const CardSize& card);

    // Element id of a value in the deck, e.g. "heart_1", "spade_king".
    static QString elementId(int value);

    // The drawing of a court card kept to be scaled down for other sizes (null when there is
    // none yet), and one given back, e.g. kept from an earlier run; a smaller one is not taken.
    QImage master(int value, bool small) const;
    void setMaster(int value, bool small, const QImage& master);

private:
    // The card drawn `factor` times larger than its device size, indices redrawn.
    QImage renderLarge(int value, const CardSize& card, int factor);
    void redrawIndex(QImage& image, const QImage& drawn, const CardSize& card, int factor, bool bottomRight);

    void load();

    QString path_;
    std::unique_ptr<QSvgRenderer> renderer_;
    // The court cards, the costly ones to draw, kept from their first drawing at up to four
    // times the large card's size and scaled down for smaller sizes; keyed by value and look.
    std::map<std::pair<int, bool>, QImage> courtMasters_;
};

} // namespace cardart

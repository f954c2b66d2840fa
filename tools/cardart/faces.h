// Card faces rendered from the free SVG deck (aisleriot's "anglo", GPL-3+).
#pragma once

#include "common.h"

#include <QSvgRenderer>

namespace cardart {

inline constexpr int kRanks = 13;
inline constexpr int kFaceCount = 52;

class FaceRenderer {
public:
    // Loads the deck; throws std::runtime_error when the file is missing or not a valid deck.
    explicit FaceRenderer(const QString& svgPath);

    // The finished face (opaque RGB32, our outline) of Value = suit * 13 + rank, rank 0 = Ace.
    QImage face(int value, const CardSize& card);

    // Element id of a value in the deck, e.g. "heart_1", "spade_king".
    static QString elementId(int value);

private:
    QImage renderContent(const QString& id, const CardSize& card);
    void redrawIndex(QImage& image, const QString& id, const CardSize& card, bool bottomRight);

    QSvgRenderer renderer_;
};

} // namespace cardart

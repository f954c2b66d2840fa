// The list of every picture the game carries, with its exact size, and how each is made.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <functional>

namespace cardart {

class FaceRenderer;

struct Picture {
    QString relativePath; // e.g. "cards/1.png", "pictures/icon_16.png"
    QSize size;
    std::function<QImage()> make;
};

// Every picture, in the order they are written: the pictures the game carries, and with
// `withCards` the card pictures of both sets as the game draws them, for a close look. `make`
// uses `faces`, which must then outlive the list; callers that only want the names and sizes may
// pass nullptr and not call `make`.
QList<Picture> catalogue(FaceRenderer* faces, bool withCards);

// Card ids of the large set (the small set adds kSmallIdOffset).
QList<int> largeCardIds();

// Writes `image` as PNG, creating the folder; throws std::runtime_error on failure.
void savePng(const QImage& image, const QString& path);

// Draws and writes every picture under `outDir`; throws std::runtime_error on failure.
void writeAllPictures(const QString& deckPath, const QString& outDir, bool withCards);

} // namespace cardart

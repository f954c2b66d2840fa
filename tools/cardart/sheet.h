// Maintainer helpers: a contact sheet of everything the tool wrote, enlarged crops, and a check.
#pragma once

#include <QString>
#include <QStringList>

namespace cardart {

// Lays out all pictures of `outDir` (both card sizes, the glyphs and icons) on one sheet.
int writeContactSheet(const QString& outDir, const QString& sheetPath);

// Enlarges (nearest neighbour) `args` = in.png out.png factor [x y w h].
int writeZoom(const QStringList& args);

// Puts pictures side by side, enlarged: `args` = out.png factor in.png...
int writeStrip(const QStringList& args);

// Checks that every expected picture exists with its exact size; prints what is wrong.
int checkPictures(const QString& outDir);

} // namespace cardart

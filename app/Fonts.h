#pragma once

#include <QFont>
#include <QString>

// Registers the fonts the game's windows are designed with, where Debian ships them outside
// the font configuration (Tahoma and MS Sans Serif come with the wine fonts package).
void LoadGameFonts();

// A font of the given design family at a pixel size, with the closest families Debian has as
// fall-backs: Georgia falls back to DejaVu Serif, Tahoma and the system fonts to DejaVu Sans.
QFont GameFont(const QString& family, int pixelSize, bool bold);

#pragma once

#include <QFont>
#include <QString>

// A font of the given design family at a pixel size. The design family itself is used where it
// is installed with the face asked for; otherwise Debian's nearest font in width stands in, one
// that has a real bold face: DejaVu Serif Condensed for Georgia, DejaVu Serif for Elephant, and
// DejaVu Sans Condensed for Tahoma, MS Sans Serif and the system font, or the plain DejaVu
// family where the condensed one is missing. The font names that one family only.
QFont GameFont(const QString& family, int pixelSize, bool bold);

// The main window's fonts, all in its first frame: the window's own ("System" 13), the
// strip's and the game's dialogs' buttons ("Georgia" 27 bold), the status panels ("Tahoma" 16
// bold) and the solver's answer ("Georgia" 16 bold).
QFont WindowFont();
QFont ButtonFont();
QFont PanelFont();
QFont SolverFont();

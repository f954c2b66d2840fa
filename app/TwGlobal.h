#pragma once

#include <QList>
#include <QRect>

class TForm1;

// The player's preferences in the shared INI file: card back and size ("Display"), the main
// window's size and place ("Layout") and the sound switch ("Sound").

// Reads every preference and applies it at once; a missing file or key keeps the value in force.
void LoadSettings(TForm1& form);
// Writes the seven preference keys and nothing else. Throws TGameError "Unable to write to
// <path>"; the file is then unchanged.
void SaveSettings(TForm1& form);
// Applies the built-in preferences, the window centred on its screen; writes nothing.
void FactorySettings(TForm1& form);

// The smallest window the game is usable in; a stored size below it is raised to it.
constexpr int MinimumWindowWidth = 400;
constexpr int MinimumWindowHeight = 300;

// A stored window frame made usable on the given screens (their available areas): raised to
// the minimum size and, when its title strip can be reached on no screen, fitted into the
// screen nearest to it. A frame that can be reached is kept where it is.
QRect FitWindowToScreens(QRect frame, const QList<QRect>& screens);

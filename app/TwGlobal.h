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

// A window frame made to lie wholly in a screen's available area: cut to the area's size where
// it is larger, then moved until no part of it is off the area.
QRect FitWindowIntoArea(QRect frame, const QRect& area);

// Gives the main window its built-in size (794 x 603) at the built-in place (451, 160), or
// centred, fitted into the available area of its screen with the window frame's margins
// counted in: on a small or magnified screen it is made smaller and moved onto the screen.
void PlaceBuiltInWindow(TForm1& form, bool centred);

// A stored window frame made usable on the given screens (their available areas): raised to
// the minimum size and, when its title strip can be reached on no screen, fitted into the
// screen nearest to it. A frame that can be reached is kept where it is.
QRect FitWindowToScreens(QRect frame, const QList<QRect>& screens);

#pragma once

#include <QList>
#include <QRect>
#include <cstdint>

// The player's preferences in the shared INI file: card back, card size and whether the cards
// fit the window ("Display"), the main window's size and place ("Layout") and the sound switch
// ("Sound"). They are read into, and written from, a value; the main window applies it.
struct TSettings {
    int32_t CardBack = 5;
    bool SmallCards = false;
    bool FitToWindow = false;
    // The main window's place and size. Centred: the size only counts, the window is centred on
    // its screen.
    QRect Frame{451, 160, 794, 603};
    bool Centred = false;
    bool SoundDisabled = false;
    // A game on the table when the program closes is kept and laid out again at the next start.
    bool ResumeGame = true;
    // A new deal is one the solver has proven can be won.
    bool WinnableOnly = false;
};

// Reads every preference; a missing file or key keeps the value in force, given as inForce.
TSettings LoadSettings(const TSettings& inForce);
// Writes the preference keys (the seven of the card back, size, window and sound, and the
// added "Display"/"ResumeGame", "Display"/"WinnableOnly" and "Display"/"FitToWindow") and
// nothing else. Throws TGameError "Unable to write to
// <path>"; the file is then unchanged.
void SaveSettings(const TSettings& settings);
// The built-in preferences, the window centred; nothing is read or written.
TSettings FactorySettings();

// The smallest window the game is usable in; a stored size below it is raised to it.
constexpr int MinimumWindowWidth = 400;
constexpr int MinimumWindowHeight = 300;

// A window frame made to lie wholly in a screen's available area: cut to the area's size where
// it is larger, then moved until no part of it is off the area.
QRect FitWindowIntoArea(QRect frame, const QRect& area);

// A stored window frame made usable on the given screens (their available areas): raised to
// the minimum size and, when its title strip can be reached on no screen, fitted into the
// screen nearest to it. A frame that can be reached is kept where it is.
QRect FitWindowToScreens(QRect frame, const QList<QRect>& screens);

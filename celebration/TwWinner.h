#pragma once

#include <QImage>
#include <array>
#include <functional>

#include "cards/SoundEffects.h"
#include "celebration/TRocket.h"

// The celebration of a won game: the board fades to black, four rockets go up a second apart,
// the fanfare follows, and the fireworks run until the last particle dies, the player clicks or
// the program closes.

constexpr int WinnerRocketCount = 4;

using TLaunchTable = std::array<TRocket, WinnerRocketCount>;

// The four rockets of a celebration, in launch order. Each entry starts as a copy of the one
// before (the first of BasicTemplate), so it is built afresh for every celebration.
TLaunchTable BuildLaunchTable();

// What the celebration needs of the game it celebrates. The references must outlive the call.
struct TWinnerStage {
    // The board picture the fireworks are drawn on. It may be replaced (a resized window)
    // while messages are processed; the display goes on on the new picture.
    QImage& Board;
    // Puts Board on screen now.
    std::function<void()> ShowBoard;
    // Draws the game on Board again and shows it.
    std::function<void()> PaintBoard;
    TSoundEffects& Sound;
    // True once the program is closing.
    std::function<bool()> Terminating;
    // Set for the whole celebration however it ends; deals and loads are refused meanwhile.
    bool& CelebrationRunning;
    // Set by a left-button press anywhere; a press before the first frame does not count.
    bool& StopRequested;
    // Board pixels to a unit of the fireworks' world: the display grows with the cards.
    double Zoom = 1.0;
};

// Runs the whole celebration and returns when it is over and the board has been painted
// again. Whatever happens inside, the sounds are stopped and CelebrationRunning is cleared; an
// exception then goes on to the caller, without the board being painted.
void RunWinnerSequence(const TWinnerStage& stage);

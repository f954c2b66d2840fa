#pragma once

// Every step count and delay of the game's animations, in one place. The helpers, the cards,
// the celebration and the engine all read them from here, so this header sits in the bottom
// layer. A slide or a flip draws Steps + 1 frames and waits DelayMs after each; delays are in
// milliseconds.

namespace Timing {

struct Animation {
    int Steps;
    int DelayMs;
};

// A dealt card slides from the deck: in short steps to the even columns, at once to the odd.
constexpr Animation DealToEvenColumn{4, 1};
constexpr Animation DealToOddColumn{1, 0};
// After each dealt card (and before the first) window messages run; no time is added.
constexpr int DealMessagesMs = 0;
// A run moved onto a column, a card sent home, a refused drag sliding back, an undone move.
constexpr Animation MoveToColumn{8, 10};
constexpr Animation MoveHome{10, 10};
constexpr Animation DropBack{10, 15};
constexpr Animation UndoSlide{10, 2};
// A card turned over about its vertical axis.
constexpr Animation Flip{20, 5};

// A hint: both cards marked, then unmarked, this many times, each state held this long.
constexpr int HintFlashes = 5;
constexpr int HintFlashMs = 150;

// "Congratulations!!" switches colour every interval for the whole time.
constexpr int CongratulationIntervalMs = 70;
constexpr int CongratulationTotalMs = 1000;

// A fade blends its picture over the board in this many steps (the last one covers it whole).
constexpr int FadeSteps = 256;
// The celebration: the board fades to black over this long, then each frame of fireworks is
// followed by this long of processing window messages; a rocket goes up every so many frames
// (and the fanfare follows the last one after as many).
constexpr int WinnerFadeMs = 2000;
constexpr int WinnerFrameMs = 100;
constexpr int WinnerLaunchFrames = 10;

// The clock panel is refreshed this often while a game runs.
constexpr int DisplayTimerMs = 1000;

// The solver beside play: "Still searching" shows only when a search takes longer than this.
constexpr int SolverSearchingNoticeMs = 300;
// Solve plays its line with this pause after each move's own animation.
constexpr int SolveStepPauseMs = 350;
// Winnable deals only: numbers are tried for this long at most.
constexpr int WinnableDealSearchMs = 1000;

} // namespace Timing

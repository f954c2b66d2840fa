#pragma once

#include "cards/SoundEffects.h"
#include "KestrelObjects/BitmapHelpers.h"
#include "KestrelObjects/TStopwatch.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

// The status panels of the main window that the engine fills.
enum class StatusPanel { CurCardDis, CardDis, MoveCntDis, MessageDis, ErrorDis, ScoreDis };

// Result flags of the game message dialog.
namespace GameMessageResult {
constexpr uint8_t OkChosen = 1;
constexpr uint8_t CancelChosen = 2;
constexpr uint8_t NewGameChosen = 4;
constexpr uint8_t RestartChosen = 8;
constexpr uint8_t KeepPlayingChosen = 16;
} // namespace GameMessageResult

// Pages of the game message dialog.
enum class GameMessagePage { Message = 0, Choice = 1 };

// Everything the engine needs of the window it plays in. The main window implements it; tests
// implement it with a recording fake.
class IGameHost : public ISoundPlayer {
public:
    virtual void SetPanelText(StatusPanel panel, const QString& text) = 0;
    virtual TColor PanelFontColor(StatusPanel panel) = 0;
    virtual void SetPanelFontColor(StatusPanel panel, TColor colour) = 0;
    // Repaints a panel at once, even while the engine keeps the event loop waiting.
    virtual void RepaintPanel(StatusPanel panel) = 0;
    // The game message dialog, shown modally; returns GameMessageResult flags.
    virtual uint8_t ShowGameMessage(GameMessagePage page, const QString& caption, const QString& message,
                                    const QString& okCaption, const QString& cancelCaption) = 0;
    // A plain information box with one OK button.
    virtual void ShowInformation(const QString& text) = 0;
    // Shows the board image on screen now.
    virtual void ShowBoard(const QImage& board) = 0;
    // The one-second timer that refreshes the clock panel.
    virtual void SetDisplayTimer(bool on) = 0;
    // The game clock.
    virtual TStopwatch& GameTime() = 0;
    // The check mark of the "&Small Cards" menu item.
    virtual void SetSmallCardsCheck(bool small) = 0;
    // Width of the screen the window is on, in pixels.
    virtual int ScreenWidth() = 0;
    // True once the program is closing: long-running loops that let messages through end.
    virtual bool Terminating() = 0;
    // The number of the deal on the table, or none.
    virtual void ShowDealNumber(std::optional<uint32_t> number) = 0;
    // The number of the next deal when the window chooses it (deals that can be won only), or
    // none for a deal shuffled from the clock.
    virtual std::optional<uint32_t> NextDealNumber() = 0;
    // The position on the table changed: a deal, a move, an undo or redo, a restart, a load or
    // the end of a won game.
    virtual void PositionChanged() = 0;
    // A game that was played (a move was made) has ended: won, or given up. Its score and game
    // time go to the player's statistics.
    virtual void GameEnded(bool won, int32_t score, int64_t elapsedMicros) = 0;
    // Offers a won game's score to the top-ten table.
    virtual void AddTopScore(int32_t score, int64_t elapsedMicros) = 0;
};

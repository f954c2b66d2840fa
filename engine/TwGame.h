#pragma once

#include "Board.h"
#include "BoardGeometry.h"
#include "MoveProtocol.h"
#include "Rules.h"
#include "UndoRing.h"
#include "IGameHost.h"
#include "cards/TDeck.h"
#include "KestrelObjects/IntVector.h"
#include "KestrelObjects/Timings.h"

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

enum class TGameState { NotDealt = 0, Playing = 1, Won = 2 };

// One pair of the move search: the last card of a column and the card that may join it
// (none for an Ace to a pocket or a King to an empty column).
struct HintPair {
    TCard* First = nullptr;
    TCard* Second = nullptr;
};

// The one game on the table: board, rules, undo, score and painting. Reaches its window only
// through the host.
class TGame {
public:
    explicit TGame(IGameHost& host);
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    // ---- board model and game state
    std::unique_ptr<TDeck> Deck;
    TBoard GameArray{};
    TBoard GameCopy{};
    int32_t CardCounter = 0;
    int32_t MoveCount = 0;
    int32_t UndoCount = 0;
    int32_t HintCount = 0;
    TGameState GameState = TGameState::NotDealt;
    // A move has been made in the game on the table (also before a restart): ending it now
    // counts in the statistics.
    bool GamePlayed = false;
    // The number of the deal on the table (its shuffle's seed); none for a loaded game that did
    // not keep it.
    std::optional<uint32_t> DealNumber;
    bool GameActive = false;
    bool Dealing = false;
    bool CelebrationRunning = false;
    // Set by every left-button press anywhere in the program; ends a running celebration.
    bool StopRequested = false;

    // ---- move protocol: the clicks of a move and the dragged run
    TMoveProtocol Protocol;

    // ---- the board before each move, and after each move undone (newest last)
    TUndoRing UndoRing;
    std::vector<BoardSnapshot> RedoList;

    // ---- hints
    std::vector<HintPair> HintList;
    int HintCursor = 0;

    // ---- results of a won game
    int32_t FinalScore = 0;
    int64_t FinalTime = 0;

    // ---- geometry and the board image
    bool SmallCards = false;
    // Fit Cards to Window: the card size follows the board's size instead of SmallCards.
    bool FitToWindow = false;
    TBoardGeometry Geometry;
    // Drawn at device pixels (its pixel ratio says how many to a board pixel); everything else,
    // layout and mouse included, is in board pixels.
    QImage BoardImage;
    // Off: the game is played without being drawn (long simulated runs that only check the
    // rules); layout and hit-testing are unchanged.
    bool DrawBoard = true;

    // ---- board queries
    TCard*& Cell(int column, int row) { return GameArray[size_t(PileSlot(column, row))]; }
    TCard* Cell(int column, int row) const { return GameArray[size_t(PileSlot(column, row))]; }
    TCard*& Pocket(int pocket) { return GameArray[size_t(pocket)]; }
    // The live board as the rules read it.
    LiveBoard Board() const { return LiveBoard(GameArray); }
    int ColumnCount(int column) const;
    int BottomRow(int column) const;
    int FirstEmptyColumn() const;
    static void ClearBoard(TBoard& board);

    // ---- start-up
    void EngineStart();

    // ---- dealing
    // A new deal: shuffled from the clock, or the deal of the given number.
    void DealGame(std::optional<uint32_t> number = std::nullopt);
    void DealCard(int column, int row);
    void GatherDeck();
    void SetClock(bool on);
    void ConfirmDeal();
    // Gives up the game on the table: a game played and not won is reported lost.
    void AbandonGame();

    // ---- moves
    void BoardMouseDown(bool leftButton, int x, int y);
    void BoardMouseMove(int x, int y);
    void BoardMouseUp(int x, int y);
    void BoardClick(int x, int y);
    void SelectSource();
    void PlaceRun();
    bool MoveToPocket(const BoardSlot& source, BoardSlot target);
    bool MoveToColumn(const BoardSlot& source, BoardSlot target);
    void MoveCardHome(TCard& card, int column, int row, int pocket);
    void ShiftRun(const BoardSlot& source, const BoardSlot& target);
    bool RunFitsHome(int column, int first, int last) const;
    int PocketFor(const TCard& card) const;
    // Shows a refusal with its sound; false when there is none.
    bool Refuse(Rules::Refusal refusal);
    // Back to choosing a card: nothing selected, nothing dragged.
    void ResetMoveProtocol();

    // ---- possible moves and hints
    bool FindMoves();
    void CheckBlocked();
    void ShowNextHint();
    // Flashes two cards (the second may be none) as a hint does, and counts as a hint shown.
    void FlashPair(const HintPair& pair);

    // ---- undo and restart
    BoardSnapshot Snapshot() const;
    void Restore(const BoardSnapshot& record);
    void TakeSnapshot();
    void UndoMove();
    void AnimateUndo();
    // Makes the last undone move again, with its own slide, flip and sounds; it counts as a move.
    void RedoMove();
    // The slide of a redone move: `moved` cards from the foot of column `source` to the pocket
    // (when `pocket` is not -1) or onto column `target`; the board is `after` once they land.
    void AnimateRedo(int source, int pocket, int target, int moved, const BoardSnapshot& after);
    bool CanRedo() const { return !RedoList.empty(); }
    void RestartGame();
    void ConfirmRestart();

    // ---- game end
    void WinGame();
    void FlashText(const QString& text, int intervalMs, int totalMs, TColor colourA, TColor colourB);
    void FinishWin();

    // ---- saved games
    // What a saved game keeps: the board, the deal and the counters of the format, or with
    // them, for a game kept over the program's closing, the undo and hint counts and whether a
    // move was made.
    enum class TKeep { Game, GameAndPlay };
    // Writes the game to an XML file, atomically; throws TGameError when it cannot.
    void SaveGameFile(const QString& path, TKeep keep = TKeep::Game);
    // Reads a saved game; the whole file is checked before the table changes, so a file that
    // fails leaves the game as it was. Throws TGameError with the reason. A kept game whose
    // undo and redo history is damaged is taken up without it: the returned text says why (it
    // is empty when everything was taken up).
    QString LoadGameFile(const QString& path, TKeep keep = TKeep::Game);

    // ---- score and status
    int32_t ComputeScore();
    void ShowStatus();
    void ShowError(const QString& text);

    // ---- geometry, hit-testing and painting
    void SetCardSize(bool small);
    // Fit Cards to Window on or off; the board is laid out and painted again.
    void SetFitToWindow(bool on);
    // The board's size in board pixels, and device pixels per board pixel.
    QSize BoardPixels() const;
    qreal PixelRatio() const { return BoardImage.isNull() ? 1.0 : BoardImage.devicePixelRatio(); }
    void LayoutBoard();
    void PaintBoard();
    // Draws the empty-slot pictures, leaving out what cards will cover; returns where they lie.
    QRegion DrawSlots(QPainter& canvas, const QRegion& covered = {}) const;
    BoardSlot HitTest(int x, int y) const;
    int HitPocket(int x, int y) const { return Geometry.HitPocket({x, y}); }
    // A new board size (board pixels) or pixel ratio; with Fit to Window the cards follow it.
    void BoardResize(int width, int height, qreal ratio = 1.0);
    QPoint PocketPosition(int pocket) const { return Geometry.PocketPosition(pocket); }
    QPoint CellPosition(int column, int row) const { return Geometry.CellPosition(column, row); }
    // The repaint handed to the deck's animations.
    RepaintProc Repaint();

    // ---- the deck's animations with the engine's repaint
    void Slide(const std::vector<int>& cards, QPoint from, QPoint to, Timing::Animation timing);
    void Flip(TCard& card);

    IGameHost& Host() { return host; }
    TSoundEffects Sound;

private:
    // The geometry and the card pictures for the card size in force.
    void PlaceCards(bool small);

    // What the last paint drew over the table, and the board image as it left it.
    QRegion drawnOverTable;
    qint64 paintedKey = 0;

    IGameHost& host;
};

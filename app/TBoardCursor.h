#pragma once

#include "engine/Board.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <functional>

class TBoardAccessible;
class TBoardView;
class TGame;
class QWidget;

// The keyboard cursor on the board: a frame that rests on a pocket, a column's empty place or a
// face-up card (or a column's last card), moved by the arrow keys, Home and End. Space or Enter
// clicks its place through the window's own mouse road, so every rule, refusal, sound and
// counter is the mouse's; Escape puts a chosen card back down. The cursor follows the card it
// rests on when the board changes, and after a move made by its keys it lands where the moved
// cards went. The frame shows while the board has the keyboard focus and the keys are in use; a
// mouse press on the board moves the cursor to the place pressed and hides it until the next key.
//
// It is a child of the board view and watches the view's keys, focus and size; the view itself
// knows nothing of it.
class TBoardCursor : public QObject {
    Q_OBJECT
public:
    TBoardCursor(TGame& game, TBoardView& view);
    ~TBoardCursor() override;

    // A left click at a board point, pressed and released: the main window's mouse handlers.
    std::function<void(QPoint)> Click;

    TGame& Game() const { return game; }
    TBoardView& View() const { return view; }
    // Where the cursor rests, its card filled in (none on a pocket or an empty column).
    BoardSlot Place() const { return place; }
    // The frame as drawn, in board pixels; empty while it is hidden.
    QRect Frame() const;
    bool Shown() const;

    // Puts the cursor on a place (brought onto the board as it is) and shows it.
    void MoveTo(BoardSlot where);
    // Left, Right, Up, Down, Home or End; false for any other key.
    bool Step(int key);
    // Space or Enter: a click on the cursor's place.
    void Activate();
    // Escape: the chosen card is put back down. False when none was chosen.
    bool Drop();
    // The board was painted: the cursor follows its card and its frame the board.
    void BoardShown();

    // The screen reader's view of the board, while it exists; told when the board or the
    // cursor changes.
    TBoardAccessible* Accessible = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    void Follow();
    // Sets the place; the screen reader hears of a new place while the board has the focus.
    void SetPlace(const BoardSlot& where);
    void UpdateFrame();
    void PressedAt(int x, int y);

    TGame& game;
    TBoardView& view;
    QWidget* overlay;
    BoardSlot place{-1, 0, nullptr};
    // The card the cursor rests on, followed wherever it goes; none on a pocket or empty place.
    TCard* followed = nullptr;
    // The pocket the cursor comes back to from the first column.
    int lastPocket = 0;
    // The keys are in use: set by a key on the board or a Tab into it, cleared by a mouse press.
    bool keyboardMode = false;
    // The board as dealt when last seen: a new one is a new game, whose cards are not followed.
    TBoard lastCopy{};
    bool lastActive = false;
};

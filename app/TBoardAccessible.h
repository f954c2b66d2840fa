#pragma once

#include "engine/Board.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QString>
#include <array>
#include <vector>

class TBoardCursor;
class TBoardPlaceAccessible;
class TBoardView;
class TGame;

// Installs the factory that gives the board view its screen-reader interface. Call it before the
// board view is made (an interface once made for a widget is kept).
void InstallBoardAccessibility();

// Every accessible event of the board and the status panels goes out here: to the screen reader
// while one listens, or to the handler a test installed. Returns the handler it replaces.
using AccessibleEventHandler = void (*)(QAccessibleEvent* event);
AccessibleEventHandler InstallAccessibleEventHandler(AccessibleEventHandler handler);
void SendAccessibleEvent(QAccessibleEvent& event);
// A status panel shows a new text: its name, which is its text, changed.
void AnnouncePanelText(QWidget* panel);

// The board as a screen reader reads it. Its children are the four home pockets and the eight
// columns, in that order, each a list; a column's children are its cards from the top, a pocket's
// child is its top card, each a list item named in words ("Seven of Spades", "face-down card").
// The place the keyboard cursor rests on is the focused child. Everything is read from the game
// through the keyboard cursor, which is the view's child; without one the board has no children.
class TBoardAccessible : public QAccessibleWidget {
public:
    explicit TBoardAccessible(TBoardView* view);
    ~TBoardAccessible() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The cursor rests on another place, or the board got the focus: the place is focused.
    void CursorMoved();
    // The board was painted: piles whose cards or names changed, and cards turned over, chosen
    // or put down, are told.
    void BoardChanged();

    // ---- for the places
    TBoardCursor* Cursor() const;
    // Piles 0..3 are the pockets, 4..11 the columns.
    static constexpr int PileCount = HomeCount + ColumnCountMax;
    TBoardPlaceAccessible* Pile(int pile) const { return piles[size_t(pile)]; }
    TBoardPlaceAccessible* CardPlace(int index) const { return cards[size_t(index)]; }
    // The interface of a place of the cursor: a pocket, an empty column, or a card.
    QAccessibleInterface* PlaceInterface(const BoardSlot& place) const;
    // Board pixels to the screen.
    QRect ToScreen(const QRect& board) const;
    bool BoardHasFocus() const;

private:
    struct Seen {
        bool Known = false;
        QString Name;
        std::vector<int> Cards;
        bool Selected = false;
    };

    std::array<TBoardPlaceAccessible*, PileCount> piles{};
    std::array<TBoardPlaceAccessible*, DeckSize> cards{};
    std::vector<QAccessible::Id> placeIds;
    std::array<Seen, PileCount> seenPiles;
    std::array<Seen, DeckSize> seenCards;
    mutable QPointer<TBoardCursor> cursor;
};

// One place of the board for a screen reader: a pocket, a column or a card. It has no object of
// its own; the board made it and deletes it.
class TBoardPlaceAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    enum class Kind { Pocket, Column, Card };

    TBoardPlaceAccessible(TBoardAccessible& board, Kind kind, int number);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board.window(); }
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // Pressing a place is a Space on it; focusing it puts the cursor on it.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    const Kind PlaceKind;
    // The pocket (0..3), column (0..7) or card Index.
    const int Number;

    // The cards shown in the pile, by Index, from the top; a card has none.
    std::vector<int> Cards() const;
    // Where the cursor goes for this place; Row -1 for a card that is not on the table.
    BoardSlot Place() const;

private:
    const TGame* Game() const;
    bool IsCursorPlace() const;

    TBoardAccessible& board;
};

#include "TBoardAccessible.h"

#include "BoardPlaces.h"
#include "TBoardCursor.h"
#include "TBoardView.h"
#include "engine/TwGame.h"

#include <QMetaObject>
#include <utility>
#include <algorithm>

namespace {
AccessibleEventHandler eventHandler = nullptr;

QAccessibleInterface* BoardFactory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<TBoardView*>(object))
        return new TBoardAccessible(view);
    return nullptr;
}
} // namespace

void InstallBoardAccessibility() {
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(BoardFactory);
    installed = true;
}

AccessibleEventHandler InstallAccessibleEventHandler(AccessibleEventHandler handler) {
    return std::exchange(eventHandler, handler);
}

void SendAccessibleEvent(QAccessibleEvent& event) {
    if (eventHandler)
        eventHandler(&event);
    else if (QAccessible::isActive())
        QAccessible::updateAccessibility(&event);
}

void AnnouncePanelText(QWidget* panel) {
    QAccessibleEvent event(panel, QAccessible::NameChanged);
    SendAccessibleEvent(event);
}

// ---------------------------------------------------------------- the board

TBoardAccessible::TBoardAccessible(TBoardView* view) : QAccessibleWidget(view, QAccessible::Pane) {
    for (int p = 0; p < PileCount; ++p) {
        const bool pocket = p < HomeCount;
        piles[size_t(p)] = new TBoardPlaceAccessible(*this, pocket ? TBoardPlaceAccessible::Kind::Pocket
                                                                   : TBoardPlaceAccessible::Kind::Column,
                                                     pocket ? p : p - HomeCount);
        placeIds.push_back(QAccessible::registerAccessibleInterface(piles[size_t(p)]));
    }
    for (int i = 0; i < DeckSize; ++i) {
        cards[size_t(i)] = new TBoardPlaceAccessible(*this, TBoardPlaceAccessible::Kind::Card, i);
        placeIds.push_back(QAccessible::registerAccessibleInterface(cards[size_t(i)]));
    }
    // The cursor tells of changes from now on; one made later is found when first asked.
    Cursor();
}

TBoardAccessible::~TBoardAccessible() {
    if (cursor && cursor->Accessible == this)
        cursor->Accessible = nullptr;
    // The places belong to the accessibility cache, which may have deleted some of them already
    // when the program ends.
    for (const QAccessible::Id id : placeIds)
        if (QAccessible::accessibleInterface(id))
            QAccessible::deleteAccessibleInterface(id);
}

TBoardCursor* TBoardAccessible::Cursor() const {
    if (!cursor && widget()) {
        cursor = widget()->findChild<TBoardCursor*>(QString(), Qt::FindDirectChildrenOnly);
        // From now on the cursor tells this interface what changes.
        if (cursor)
            cursor->Accessible = const_cast<TBoardAccessible*>(this);
    }
    return cursor && cursor->Game().Deck ? cursor.data() : nullptr;
}

QString TBoardAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return widget()->accessibleName().isEmpty() ? QStringLiteral("Board") : widget()->accessibleName();
    case QAccessible::Description:
        return QStringLiteral("Arrow keys, Home and End move between the pockets, columns and cards; Space or "
                              "Enter picks a card up and puts it down; Escape puts a picked card back");
    default:
        return QAccessibleWidget::text(t);
    }
}

int TBoardAccessible::childCount() const { return Cursor() ? PileCount : 0; }

QAccessibleInterface* TBoardAccessible::child(int index) const {
    return Cursor() && index >= 0 && index < PileCount ? piles[size_t(index)] : nullptr;
}

int TBoardAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto at = std::find(piles.begin(), piles.end(), child);
    return Cursor() && at != piles.end() ? int(at - piles.begin()) : -1;
}

QAccessibleInterface* TBoardAccessible::childAt(int x, int y) const {
    if (!Cursor())
        return nullptr;
    for (TBoardPlaceAccessible* pile : piles)
        if (pile->rect().contains(x, y))
            return pile;
    return nullptr;
}

QAccessibleInterface* TBoardAccessible::focusChild() const {
    if (!Cursor() || !widget()->hasFocus())
        return nullptr;
    return PlaceInterface(cursor->Place());
}

QAccessibleInterface* TBoardAccessible::PlaceInterface(const BoardSlot& place) const {
    if (place.Column < 0)
        return place.Row >= 0 && place.Row < HomeCount ? piles[size_t(place.Row)] : nullptr;
    if (place.Card)
        return cards[size_t(place.Card->Index)];
    return piles[size_t(HomeCount + place.Column)];
}

QRect TBoardAccessible::ToScreen(const QRect& board) const {
    return QRect(widget()->mapToGlobal(board.topLeft()), board.size());
}

bool TBoardAccessible::BoardHasFocus() const { return widget()->hasFocus(); }

void TBoardAccessible::CursorMoved() {
    if (!Cursor() || !widget()->hasFocus())
        return;
    if (QAccessibleInterface* focused = focusChild()) {
        QAccessibleEvent event(focused, QAccessible::Focus);
        SendAccessibleEvent(event);
    }
}

void TBoardAccessible::BoardChanged() {
    if (!Cursor())
        return;
    for (int p = 0; p < PileCount; ++p) {
        Seen& seen = seenPiles[size_t(p)];
        const QString name = piles[size_t(p)]->text(QAccessible::Name);
        std::vector<int> shown = piles[size_t(p)]->Cards();
        if (seen.Known && shown != seen.Cards) {
            QAccessibleEvent event(piles[size_t(p)], QAccessible::ObjectReorder);
            SendAccessibleEvent(event);
        }
        if (seen.Known && name != seen.Name) {
            QAccessibleEvent event(piles[size_t(p)], QAccessible::NameChanged);
            SendAccessibleEvent(event);
        }
        seen = Seen{true, name, std::move(shown), false};
    }
    for (int i = 0; i < DeckSize; ++i) {
        Seen& seen = seenCards[size_t(i)];
        const QString name = cards[size_t(i)]->text(QAccessible::Name);
        const bool selected = cards[size_t(i)]->state().selected;
        if (seen.Known && name != seen.Name) {
            QAccessibleEvent event(cards[size_t(i)], QAccessible::NameChanged);
            SendAccessibleEvent(event);
        }
        if (seen.Known && selected != seen.Selected) {
            QAccessible::State changed;
            changed.selected = true;
            QAccessibleStateChangeEvent event(cards[size_t(i)], changed);
            SendAccessibleEvent(event);
        }
        seen = Seen{true, name, {}, selected};
    }
}

// ---------------------------------------------------------------- one place

TBoardPlaceAccessible::TBoardPlaceAccessible(TBoardAccessible& board, Kind kind, int number)
    : PlaceKind(kind), Number(number), board(board) {}

const TGame* TBoardPlaceAccessible::Game() const {
    const TBoardCursor* cursor = board.Cursor();
    return cursor ? &cursor->Game() : nullptr;
}

bool TBoardPlaceAccessible::isValid() const { return board.isValid() && Game(); }

std::vector<int> TBoardPlaceAccessible::Cards() const {
    std::vector<int> shown;
    const TGame* game = Game();
    if (!game)
        return shown;
    if (PlaceKind == Kind::Column) {
        for (int row = 0; row < RowCountMax && game->Cell(Number, row); ++row)
            shown.push_back(game->Cell(Number, row)->Index);
    } else if (PlaceKind == Kind::Pocket && game->GameActive) {
        if (const TCard* top = game->GameArray[size_t(Number)])
            shown.push_back(top->Index);
    }
    return shown;
}

BoardSlot TBoardPlaceAccessible::Place() const {
    const TGame* game = Game();
    if (!game)
        return BoardSlot{};
    switch (PlaceKind) {
    case Kind::Pocket:
        return BoardSlot{-1, Number, nullptr};
    case Kind::Column:
        return BoardPlaces::ColumnPlace(*game, Number);
    case Kind::Card:
        break;
    }
    return BoardPlaces::Locate(*game, game->Deck->Card(Number));
}

bool TBoardPlaceAccessible::IsCursorPlace() const {
    const TBoardCursor* cursor = board.Cursor();
    return cursor && board.PlaceInterface(cursor->Place()) == this;
}

QAccessibleInterface* TBoardPlaceAccessible::parent() const {
    if (PlaceKind != Kind::Card)
        return &board;
    const BoardSlot at = Place();
    if (at.Column >= 0)
        return board.Pile(HomeCount + at.Column);
    if (at.Row >= 0 && Game()->GameActive)
        return board.Pile(at.Row);
    return &board;
}

int TBoardPlaceAccessible::childCount() const { return int(Cards().size()); }

QAccessibleInterface* TBoardPlaceAccessible::child(int index) const {
    const std::vector<int> shown = Cards();
    return index >= 0 && index < int(shown.size()) ? board.CardPlace(shown[size_t(index)]) : nullptr;
}

int TBoardPlaceAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const std::vector<int> shown = Cards();
    for (size_t i = 0; i < shown.size(); ++i)
        if (board.CardPlace(shown[i]) == child)
            return int(i);
    return -1;
}

QAccessibleInterface* TBoardPlaceAccessible::childAt(int x, int y) const {
    // Lower cards lie over the ones above them.
    const std::vector<int> shown = Cards();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (board.CardPlace(*it)->rect().contains(x, y))
            return board.CardPlace(*it);
    return nullptr;
}

QString TBoardPlaceAccessible::text(QAccessible::Text t) const {
    const TGame* game = Game();
    if (!game)
        return QString();
    if (t == QAccessible::Description)
        return PlaceKind == Kind::Pocket && Number == 0 && !game->GameActive
                   ? QStringLiteral("Space or Enter deals a new game")
                   : QString();
    if (t != QAccessible::Name)
        return QString();
    switch (PlaceKind) {
    case Kind::Pocket:
        return BoardPlaces::PocketName(*game, Number);
    case Kind::Column:
        return BoardPlaces::ColumnName(*game, Number);
    case Kind::Card:
        break;
    }
    return BoardPlaces::CardSpoken(game->Deck->Card(Number));
}

QRect TBoardPlaceAccessible::rect() const {
    const TGame* game = Game();
    if (!game)
        return QRect();
    switch (PlaceKind) {
    case Kind::Pocket:
        return board.ToScreen(BoardPlaces::PocketRect(*game, Number));
    case Kind::Column:
        return board.ToScreen(BoardPlaces::ColumnRect(*game, Number));
    case Kind::Card:
        break;
    }
    const BoardSlot at = Place();
    if (at.Row < 0)
        return QRect();
    return board.ToScreen(at.Column < 0 ? BoardPlaces::PocketRect(*game, at.Row)
                                        : BoardPlaces::CardRect(*game, at.Column, at.Row));
}

QAccessible::Role TBoardPlaceAccessible::role() const {
    return PlaceKind == Kind::Card ? QAccessible::ListItem : QAccessible::List;
}

QAccessible::State TBoardPlaceAccessible::state() const {
    QAccessible::State s;
    const TGame* game = Game();
    if (!game)
        return s;
    const BoardSlot at = Place();
    switch (PlaceKind) {
    case Kind::Pocket:
        s.focusable = true;
        break;
    case Kind::Column:
        s.focusable = game->ColumnCount(Number) == 0;
        break;
    case Kind::Card: {
        const TCard& card = game->Deck->Card(Number);
        const bool inColumn = at.Column >= 0;
        s.focusable = inColumn && BoardPlaces::Clamp(*game, at).Row == at.Row;
        s.selectable = inColumn && card.FaceUp;
        s.selected = game->Protocol.ClickPhase == 1 && game->Protocol.SourceSlot().Card == &card;
        s.invisible = at.Row < 0;
        break;
    }
    }
    s.focused = IsCursorPlace() && board.BoardHasFocus();
    return s;
}

void* TBoardPlaceAccessible::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList TBoardPlaceAccessible::actionNames() const {
    if (!state().focusable)
        return {};
    return {pressAction(), setFocusAction()};
}

void TBoardPlaceAccessible::doAction(const QString& actionName) {
    TBoardCursor* cursor = board.Cursor();
    if (!cursor || !state().focusable)
        return;
    const BoardSlot place = Place();
    if (actionName == setFocusAction()) {
        cursor->View().setFocus(Qt::OtherFocusReason);
        cursor->MoveTo(place);
    } else if (actionName == pressAction()) {
        // A move may animate and ask questions; the screen reader gets its answer first.
        QMetaObject::invokeMethod(
            cursor,
            [cursor, place] {
                cursor->MoveTo(place);
                cursor->Activate();
            },
            Qt::QueuedConnection);
    }
}

QStringList TBoardPlaceAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction())
        return {QStringLiteral("Space")};
    return {};
}

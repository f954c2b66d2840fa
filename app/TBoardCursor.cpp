#include "TBoardCursor.h"

#include "BoardPlaces.h"
#include "TBoardAccessible.h"
#include "TBoardView.h"
#include "engine/TwGame.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>

namespace {
// The frame lies outside the selection highlight (which reaches 3 pixels beyond a card): a dark
// band for contrast on white card faces, and a bright cyan line in it that stands out on the
// green table and cannot be taken for the yellow highlight.
constexpr int FrameDistance = 5;
constexpr int FrameRadius = 9;
const QColor FrameDark(0, 0, 0, 200);
const QColor FrameBright(0, 220, 255);

// A layer over the board view that draws only the cursor's frame; the board shows through it
// and the mouse goes through it to the view.
class TCursorLayer : public QWidget {
public:
    explicit TCursorLayer(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(parent->rect());
    }

    void SetFrame(const QRect& frame) {
        if (frame == shown)
            return;
        update(Bounds(shown));
        shown = frame;
        update(Bounds(shown));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (shown.isEmpty())
            return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(shown), FrameRadius, FrameRadius);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(FrameDark, 5));
        p.drawPath(path);
        p.setPen(QPen(FrameBright, 3));
        p.drawPath(path);
    }

private:
    static QRect Bounds(const QRect& frame) { return frame.isEmpty() ? QRect() : frame.adjusted(-4, -4, 4, 4); }
    QRect shown;
};
} // namespace

TBoardCursor::TBoardCursor(TGame& game, TBoardView& view)
    : QObject(&view), game(game), view(view), overlay(new TCursorLayer(&view)) {
    view.setFocusPolicy(Qt::StrongFocus);
    view.installEventFilter(this);
    connect(&view, &TBoardView::MouseDown, this, [this](Qt::MouseButtons, int x, int y) { PressedAt(x, y); });
    lastActive = game.GameActive;
    lastCopy = game.GameCopy;
}

TBoardCursor::~TBoardCursor() { view.removeEventFilter(this); }

bool TBoardCursor::Shown() const {
    return keyboardMode && view.hasFocus() && game.Deck && !game.CelebrationRunning;
}

QRect TBoardCursor::Frame() const {
    if (!Shown())
        return {};
    QRect r = BoardPlaces::PlaceRect(game, place).adjusted(-FrameDistance, -FrameDistance, FrameDistance, FrameDistance);
    // A covered card's frame closes on the card below it rather than hiding that card's corner.
    if (place.Column >= 0 && place.Card && place.Row < game.BottomRow(place.Column))
        r.setBottom(r.bottom() - FrameDistance + 1);
    return r;
}

void TBoardCursor::UpdateFrame() { static_cast<TCursorLayer*>(overlay)->SetFrame(Frame()); }

void TBoardCursor::SetPlace(const BoardSlot& where) {
    const bool moved = where.Column != place.Column || where.Row != place.Row || where.Card != place.Card;
    place = where;
    if (place.Column < 0)
        lastPocket = place.Row;
    if (moved && Accessible && view.hasFocus())
        Accessible->CursorMoved();
}

void TBoardCursor::MoveTo(BoardSlot where) {
    if (!game.Deck)
        return;
    where = BoardPlaces::Clamp(game, where);
    followed = where.Card;
    keyboardMode = true;
    SetPlace(where);
    UpdateFrame();
}

bool TBoardCursor::Step(int key) {
    if (!game.Deck)
        return false;
    BoardSlot next = place;
    const bool onPocket = place.Column < 0;
    switch (key) {
    case Qt::Key_Left:
        if (!onPocket)
            next = place.Column == 0 ? BoardSlot{-1, lastPocket, nullptr} : BoardPlaces::ColumnPlace(game, place.Column - 1);
        break;
    case Qt::Key_Right:
        if (onPocket || place.Column < ColumnCountMax - 1)
            next = BoardPlaces::ColumnPlace(game, onPocket ? 0 : place.Column + 1);
        break;
    case Qt::Key_Home:
        next = BoardPlaces::ColumnPlace(game, 0);
        break;
    case Qt::Key_End:
        next = BoardPlaces::ColumnPlace(game, ColumnCountMax - 1);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const bool up = key == Qt::Key_Up;
        if (onPocket) {
            next.Row = std::clamp(place.Row + (up ? -1 : 1), 0, HomeCount - 1);
            break;
        }
        const std::vector<int> rows = BoardPlaces::RestingRows(game, place.Column);
        if (up) {
            const auto below = std::lower_bound(rows.begin(), rows.end(), place.Row);
            if (below != rows.begin())
                next.Row = *std::prev(below);
        } else {
            const auto above = std::upper_bound(rows.begin(), rows.end(), place.Row);
            if (above != rows.end())
                next.Row = *above;
        }
        break;
    }
    default:
        return false;
    }
    MoveTo(next);
    return true;
}

void TBoardCursor::Activate() {
    if (game.CelebrationRunning) {
        // A key ends the celebration as a click does.
        game.StopRequested = true;
        return;
    }
    // A run picked up by a mouse button still held is the mouse's to put down.
    if (game.Dealing || !game.Deck || !Click || game.Protocol.DragActive)
        return;
    const bool destination = game.Protocol.ClickPhase == 1;
    Click(BoardPlaces::ClickPoint(game, place));
    // A move made lands the cursor where the moved cards went: on the card that headed the run,
    // in its new column or in the pocket it joined. A won game has sent it back to the deck.
    if (destination && game.GameActive && game.Protocol.LastMoveMade && game.Protocol.SourceSlot().Card)
        followed = game.Protocol.SourceSlot().Card;
    Follow();
    UpdateFrame();
}

bool TBoardCursor::Drop() {
    if (game.Dealing || game.CelebrationRunning || game.Protocol.ClickPhase == 0)
        return false;
    game.ResetMoveProtocol();
    // A run being dragged goes back to its column.
    game.LayoutBoard();
    game.PaintBoard();
    game.ShowStatus();
    return true;
}

void TBoardCursor::Follow() {
    if (!game.Deck)
        return;
    // A new deal or a loaded game lays out other cards: the cursor keeps its place, not its card.
    if (game.Dealing || game.GameCopy != lastCopy) {
        lastCopy = game.GameCopy;
        followed = nullptr;
    }
    BoardSlot where = place;
    // At the end of a game the cursor goes back to the deck, where the next deal starts.
    if (lastActive && !game.GameActive) {
        where = BoardSlot{-1, 0, nullptr};
        followed = nullptr;
    }
    lastActive = game.GameActive;
    if (followed) {
        const BoardSlot at = BoardPlaces::Locate(game, *followed);
        if (at.Row >= 0)
            where = at;
    }
    where = BoardPlaces::Clamp(game, where);
    followed = where.Card;
    SetPlace(where);
}

void TBoardCursor::BoardShown() {
    Follow();
    UpdateFrame();
    if (Accessible)
        Accessible->BoardChanged();
}

void TBoardCursor::PressedAt(int x, int y) {
    keyboardMode = false;
    if (game.Deck) {
        const BoardSlot hit = game.HitTest(x, y);
        if (hit.Column >= 0 || hit.Row >= 0) {
            const BoardSlot where = BoardPlaces::Clamp(game, hit);
            followed = where.Card;
            SetPlace(where);
        }
    }
    UpdateFrame();
}

bool TBoardCursor::HandleKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
    // Keys with Ctrl, Alt or Shift are the window's shortcuts and menus.
    if (modifiers & ~Qt::KeyboardModifiers(Qt::KeypadModifier))
        return false;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        keyboardMode = true;
        Step(key);
        UpdateFrame();
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        keyboardMode = true;
        // A held key clicks once.
        if (!autoRepeat)
            Activate();
        UpdateFrame();
        return true;
    case Qt::Key_Escape:
        if (game.CelebrationRunning) {
            game.StopRequested = true;
            return true;
        }
        keyboardMode = true;
        UpdateFrame();
        return Drop();
    default:
        return false;
    }
}

bool TBoardCursor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &view)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        return HandleKey(key->key(), key->modifiers(), key->isAutoRepeat());
    }
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            keyboardMode = true;
        UpdateFrame();
        if (Accessible)
            Accessible->CursorMoved();
        break;
    }
    case QEvent::FocusOut:
        UpdateFrame();
        break;
    case QEvent::Resize:
        overlay->setGeometry(view.rect());
        break;
    default:
        break;
    }
    return false;
}

// The board as a screen reader reads it through QAccessible: its places and cards by name, role,
// position and state, the keyboard cursor as the focused child, and the events that tell of a
// change on the board and in the status panels.
#include "app/BoardPlaces.h"
#include "app/TBoardAccessible.h"
#include "app/TBoardCursor.h"
#include "app/TBoardView.h"
#include "app/TForm1.h"
#include "engine/TwGame.h"
#include "KestrelObjects/TFancyButton.h"
#include "support/PlayPosition.h"
#include "support/VirtualTimeSource.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr int Card(int suit, int rank) { return CardOf(suit, rank); }
constexpr int H = 0, D = 1, C = 2, S = 3;

struct Heard {
    QAccessible::Event type;
    QString name;
    bool selectedChanged = false;

    bool operator==(const Heard&) const = default;
};
std::vector<Heard> heard;

void Record(QAccessibleEvent* event) {
    QAccessibleInterface* iface = event->accessibleInterface();
    Heard h{event->type(), iface ? iface->text(QAccessible::Name) : QString()};
    if (event->type() == QAccessible::StateChanged)
        h.selectedChanged = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().selected;
    heard.push_back(h);
}

bool HeardOf(QAccessible::Event type, const QString& name) {
    for (const Heard& h : heard)
        if (h.type == type && h.name == name)
            return true;
    return false;
}

QStringList Names(QAccessibleInterface* iface) {
    QStringList names;
    for (int i = 0; i < iface->childCount(); ++i)
        names << iface->child(i)->text(QAccessible::Name);
    return names;
}
} // namespace

class BoardAccessibilityTest : public ::testing::Test {
protected:
    VirtualTimeSource clock;
    TForm1 form;
    AccessibleEventHandler previous;
    QAccessibleInterface* board = nullptr;

    BoardAccessibilityTest() {
        previous = InstallAccessibleEventHandler(Record);
        heard.clear();
        form.CreateDialogs();
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        form.Image1->setFocus();
        board = QAccessible::queryAccessibleInterface(form.Image1);
    }
    ~BoardAccessibilityTest() override { InstallAccessibleEventHandler(previous); }

    TGame& game() { return form.Game(); }
    TCard* card(int index) { return &game().Deck->Card(index); }

    // The position: the hearts home up to the Queen; the first column the King of clubs, the
    // second empty, the third five cards with the top two face down, then the 8 and 7 of spades,
    // the Jack of spades and the Ace of diamonds.
    void SetPosition() {
        PileColumns columns;
        columns[0] = {{Card(C, 12)}};
        columns[2] = {{Card(D, 2), false}, {Card(D, 4), false}, {Card(S, 9)}, {Card(D, 8)}, {Card(D, 7)}};
        columns[3] = {{Card(S, 7)}, {Card(S, 6)}};
        columns[4] = {{Card(S, 10)}};
        columns[5] = {{Card(D, 0)}};
        PlayPosition(game(), {Card(H, 11), -1, -1, -1}, columns);
    }

    QAccessibleInterface* Column(int c) { return board->child(HomeCount + c); }
    QAccessibleInterface* CardAt(int c, int row) { return Column(c)->child(row); }
    void Keys(std::initializer_list<Qt::Key> keys) {
        for (Qt::Key key : keys)
            QTest::keyClick(form.Image1, key);
    }
};

TEST_F(BoardAccessibilityTest, TheBoardReadsItsPlacesAndCardsInWords) {
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->role(), QAccessible::Pane);
    EXPECT_EQ(board->text(QAccessible::Name), "Board");
    EXPECT_TRUE(board->text(QAccessible::Description).contains("Space or Enter"));
    // Before a deal the deck lies on the first pocket.
    ASSERT_EQ(board->childCount(), 12);
    EXPECT_EQ(Names(board), QStringList({"Deck", "Home 2: empty", "Home 3: empty", "Home 4: empty", "Column 1: empty",
                                         "Column 2: empty", "Column 3: empty", "Column 4: empty", "Column 5: empty",
                                         "Column 6: empty", "Column 7: empty", "Column 8: empty"}));
    EXPECT_EQ(board->child(0)->text(QAccessible::Description), "Space or Enter deals a new game");
    EXPECT_EQ(board->child(0)->childCount(), 0);

    SetPosition();
    EXPECT_EQ(Names(board).mid(0, 8),
              QStringList({"Home 1: Queen of Hearts", "Home 2: empty", "Home 3: empty", "Home 4: empty",
                           "Column 1: 1 card", "Column 2: empty", "Column 3: 5 cards, 2 face down",
                           "Column 4: 2 cards"}));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(board->child(i)->role(), QAccessible::List) << i;
        EXPECT_EQ(board->child(i)->parent(), board) << i;
        EXPECT_EQ(board->indexOfChild(board->child(i)), i);
    }
    // A pocket shows its top card; a column its cards from the top.
    ASSERT_EQ(board->child(0)->childCount(), 1);
    EXPECT_EQ(board->child(0)->child(0)->text(QAccessible::Name), "Queen of Hearts");
    EXPECT_EQ(board->child(0)->child(0)->parent(), board->child(0));
    EXPECT_EQ(Names(Column(2)), QStringList({"face-down card", "face-down card", "Ten of Spades", "Nine of Diamonds",
                                             "Eight of Diamonds"}));
    EXPECT_EQ(Names(Column(3)), QStringList({"Eight of Spades", "Seven of Spades"}));
    QAccessibleInterface* ten = CardAt(2, 2);
    EXPECT_EQ(ten->role(), QAccessible::ListItem);
    EXPECT_EQ(ten->parent(), Column(2));
    EXPECT_EQ(Column(2)->indexOfChild(ten), 2);

    // Where they lie on the screen: a covered card by the strip of it that shows.
    const QPoint origin = form.Image1->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(ten->rect(), BoardPlaces::CardRect(game(), 2, 2).translated(origin));
    EXPECT_EQ(ten->rect().height(), game().Geometry.ColumnStep[2]);
    EXPECT_EQ(CardAt(2, 4)->rect().size(), game().Geometry.Card);
    EXPECT_EQ(board->child(0)->rect(), QRect(game().PocketPosition(0) + origin, game().Geometry.Card));
    const QPoint onTen = ten->rect().center();
    EXPECT_EQ(board->childAt(onTen.x(), onTen.y()), Column(2));
    EXPECT_EQ(Column(2)->childAt(onTen.x(), onTen.y()), ten);

    // What may be chosen and rested on.
    EXPECT_TRUE(ten->state().focusable);
    EXPECT_TRUE(ten->state().selectable);
    EXPECT_FALSE(CardAt(2, 0)->state().focusable);
    EXPECT_FALSE(CardAt(2, 0)->state().selectable);
    EXPECT_FALSE(board->child(0)->child(0)->state().selectable);
    EXPECT_TRUE(board->child(1)->state().focusable);
    EXPECT_TRUE(Column(1)->state().focusable);  // empty: the cursor rests on it
    EXPECT_FALSE(Column(2)->state().focusable); // the cursor rests on its cards
    EXPECT_TRUE(ten->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_TRUE(CardAt(2, 0)->actionInterface()->actionNames().isEmpty());
    // The status panels keep their short card names.
    Keys({Qt::Key_Right, Qt::Key_Space});
    EXPECT_EQ(form.CardDis->text(), "KC");
}

TEST_F(BoardAccessibilityTest, TheCursorIsTheFocusedChildAndAMoveIsHeard) {
    SetPosition();
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    QAccessibleInterface* eight = CardAt(2, 4);
    EXPECT_EQ(board->focusChild(), eight);
    EXPECT_TRUE(eight->state().focused);
    EXPECT_FALSE(CardAt(2, 3)->state().focused);
    EXPECT_TRUE(HeardOf(QAccessible::Focus, "Eight of Diamonds"));
    Keys({Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(board->focusChild(), CardAt(2, 2));
    EXPECT_EQ(heard.back(), (Heard{QAccessible::Focus, "Ten of Spades"}));
    Keys({Qt::Key_Left});
    EXPECT_EQ(board->focusChild(), Column(1)); // an empty column is focused itself
    Keys({Qt::Key_Left, Qt::Key_Left, Qt::Key_Up});
    EXPECT_EQ(board->focusChild(), board->child(0));
    EXPECT_TRUE(board->child(0)->state().focused);

    // The 8 of spades chosen: selected, and heard so.
    Keys({Qt::Key_End, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Up});
    QAccessibleInterface* eightSpades = CardAt(3, 0);
    ASSERT_EQ(board->focusChild(), eightSpades);
    heard.clear();
    Keys({Qt::Key_Space});
    EXPECT_TRUE(eightSpades->state().selected);
    EXPECT_TRUE(HeardOf(QAccessible::StateChanged, "Eight of Spades"));
    // Put down by Escape, and chosen again.
    Keys({Qt::Key_Escape});
    EXPECT_FALSE(eightSpades->state().selected);
    Keys({Qt::Key_Space});
    // Onto the 8 of diamonds: refused, and the refusal heard.
    heard.clear();
    Keys({Qt::Key_Left, Qt::Key_Space});
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Cards must be in sequence"));
    EXPECT_FALSE(eightSpades->state().selected);

    // The King of clubs to the empty second column: the cursor lands on it there.
    heard.clear();
    Keys({Qt::Key_Home, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space});
    ASSERT_EQ(game().Cell(1, 0), card(Card(C, 12)));
    EXPECT_EQ(board->focusChild(), CardAt(1, 0));
    EXPECT_EQ(board->focusChild()->text(QAccessible::Name), "King of Clubs");
    EXPECT_TRUE(HeardOf(QAccessible::Focus, "King of Clubs"));
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Column 1: empty"));
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Column 2: 1 card"));
    EXPECT_TRUE(HeardOf(QAccessible::ObjectReorder, "Column 1: empty"));
    EXPECT_TRUE(HeardOf(QAccessible::ObjectReorder, "Column 2: 1 card"));
    EXPECT_EQ(CardAt(1, 0)->parent(), Column(1));
    EXPECT_EQ(Column(0)->childCount(), 0);

    // The 10 of spades with the diamonds below it onto the Jack: the card left behind turns
    // over and is heard by its new name.
    heard.clear();
    Keys({Qt::Key_Right, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space});
    ASSERT_EQ(game().Cell(4, 1), card(Card(S, 9)));
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Five of Diamonds"));
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Column 3: 2 cards, 1 face down"));
    EXPECT_EQ(board->focusChild(), CardAt(4, 1));
    EXPECT_EQ(Names(Column(2)), QStringList({"face-down card", "Five of Diamonds"}));

    // Without the keyboard focus on the board nothing there is focused.
    form.DealBtn->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(board->focusChild(), nullptr);
    EXPECT_FALSE(CardAt(4, 1)->state().focused);
}

TEST_F(BoardAccessibilityTest, PanelsAreHeardWhenTheirTextsChange) {
    SetPosition();
    heard.clear();
    // A refusal, the prompt and the score.
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Space});
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Select a card from the pile"));
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Space});
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Click On Destination"));
    Keys({Qt::Key_Escape});
    const QString before = form.ScoreDis->text();
    heard.clear();
    // The Ace of diamonds home.
    Keys({Qt::Key_End, Qt::Key_Left, Qt::Key_Left, Qt::Key_Space, Qt::Key_Space});
    ASSERT_EQ(game().Pocket(1), card(Card(D, 0)));
    ASSERT_NE(form.ScoreDis->text(), before);
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, form.ScoreDis->text()));
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Click On Card From Pile"));
    // The card panels keep their short names and are not announced.
    EXPECT_EQ(form.CardDis->text(), "AD");
    EXPECT_FALSE(HeardOf(QAccessible::NameChanged, "AD"));
    // A prompt or score set again unchanged is not heard twice; a refusal said twice is.
    heard.clear();
    game().ShowStatus();
    EXPECT_FALSE(HeardOf(QAccessible::NameChanged, form.ScoreDis->text()));
    EXPECT_FALSE(HeardOf(QAccessible::NameChanged, "Click On Card From Pile"));
    Keys({Qt::Key_Home, Qt::Key_Left, Qt::Key_Space});
    heard.clear();
    Keys({Qt::Key_Space});
    EXPECT_EQ(form.ErrorDis->text(), "Select a card from the pile");
    EXPECT_TRUE(HeardOf(QAccessible::NameChanged, "Select a card from the pile"));
}

TEST_F(BoardAccessibilityTest, AScreenReaderCanPressAndFocusAPlace) {
    SetPosition();
    QAccessibleInterface* eightSpades = CardAt(3, 0);
    eightSpades->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_EQ(game().Protocol.ClickPhase, 1);
    EXPECT_EQ(game().Protocol.SourceSlot().Card, card(Card(S, 7)));
    EXPECT_EQ(form.BoardCursor->Place().Card, card(Card(S, 7)));
    board->child(3)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(form.BoardCursor->Place().Column, -1);
    EXPECT_EQ(form.BoardCursor->Place().Row, 3);
    EXPECT_TRUE(form.BoardCursor->Shown());
    // A face-down card offers nothing.
    CardAt(2, 0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_EQ(form.BoardCursor->Place().Row, 3);
}

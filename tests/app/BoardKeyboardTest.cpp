// The board played from the keyboard: the cursor's moves, clicks through the mouse road, every
// refusal the keys can reach, a whole game won by keys, the window's shortcuts and mnemonics.
#include "app/BoardPlaces.h"
#include "app/TBoardCursor.h"
#include "app/TBoardView.h"
#include "app/TForm1.h"
#include "engine/TwGame.h"
#include "KestrelObjects/TFancyButton.h"
#include "KestrelObjects/TReopenMenu.h"
#include "support/BoardClicks.h"
#include "support/PlayPosition.h"
#include "support/VirtualTimeSource.h"

#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

namespace {
constexpr int Card(int suit, int rank) { return CardOf(suit, rank); }
constexpr int H = 0, D = 1, C = 2, S = 3;
// Ace (0) and King (12) come with the cards.
constexpr int Jack = 10, Queen = 11;
using Columns = PileColumns;

// Answers every modal window that opens while it lives: a name prompt gets a name and OK, any
// other window is closed. Keeps their titles.
class ModalAnswerer {
public:
    QStringList Titles;
    ModalAnswerer() {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            Titles << modal->windowTitle();
            if (auto* prompt = qobject_cast<QInputDialog*>(modal)) {
                prompt->setTextValue(QStringLiteral("Keys"));
                prompt->accept();
            } else {
                modal->close();
            }
        });
        timer.start();
    }

private:
    QTimer timer;
};
} // namespace

class BoardKeyboardTest : public ::testing::Test {
protected:
    VirtualTimeSource clock;
    TForm1 form;

    BoardKeyboardTest() {
        form.CreateDialogs();
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        form.Image1->setFocus();
    }

    TGame& game() { return form.Game(); }
    TBoardCursor& cursor() { return *form.BoardCursor; }
    TCard* card(int index) { return &game().Deck->Card(index); }

    void SetPosition(const std::array<int, 4>& pockets, const Columns& columns) {
        PlayPosition(game(), pockets, columns);
    }

    void Keys(std::initializer_list<Qt::Key> keys) {
        for (Qt::Key key : keys)
            QTest::keyClick(form.Image1, key);
    }

    BoardSlot Place() { return cursor().Place(); }
    bool At(int column, int row) { return Place().Column == column && Place().Row == row; }
    bool AtPocket(int pocket) { return Place().Column == -1 && Place().Row == pocket; }
    QString Error() const { return form.ErrorDis->text(); }
};

// The near-won position of the whole game below, and of the cursor's moves.
static const std::array<int, 4> NearWonPockets{Card(H, Queen), Card(D, King), Card(C, Jack), Card(S, 9)};
static Columns NearWonColumns() {
    Columns c;
    c[0] = {{Card(H, King)}};
    c[1] = {{Card(C, King)}, {Card(C, Queen)}};
    c[2] = {{Card(S, King), false}, {Card(S, Jack)}};
    c[3] = {{Card(S, Queen)}};
    return c;
}

TEST(BoardPlaces, CardsInWords) {
    EXPECT_EQ(BoardPlaces::CardWords(Card(H, Ace)), "Ace of Hearts");
    EXPECT_EQ(BoardPlaces::CardWords(Card(H, Queen)), "Queen of Hearts");
    EXPECT_EQ(BoardPlaces::CardWords(Card(D, 9)), "Ten of Diamonds");
    EXPECT_EQ(BoardPlaces::CardWords(Card(C, King)), "King of Clubs");
    EXPECT_EQ(BoardPlaces::CardWords(Card(S, 6)), "Seven of Spades");
    EXPECT_EQ(BoardPlaces::CardWords(Card(S, Jack)), "Jack of Spades");
    EXPECT_EQ(BoardPlaces::CardWords(52), "");
}

TEST_F(BoardKeyboardTest, EveryPlaceClicksWhereTheHitTestFindsIt) {
    // Both card sizes, and a board so low that the long column closes up to a few pixels a row.
    Columns columns = NearWonColumns();
    for (int r = 0; r < 20; ++r)
        columns[7].push_back({Card(r < 13 ? H : D, r % 13), r % 2 == 0});
    SetPosition({-1, -1, -1, -1}, columns);
    for (const bool small : {false, true})
        for (const int height : {508, 200}) {
            game().SetCardSize(small);
            game().BoardResize(794, height);
            std::vector<BoardSlot> places;
            for (int p = 0; p < 4; ++p)
                places.push_back({-1, p, nullptr});
            for (int c = 0; c < 8; ++c) {
                places.push_back(BoardPlaces::ColumnPlace(game(), c));
                for (int row : BoardPlaces::RestingRows(game(), c))
                    places.push_back({c, row, game().Cell(c, row)});
            }
            for (const BoardSlot& place : places) {
                const QPoint p = BoardPlaces::ClickPoint(game(), place);
                const BoardSlot hit = game().HitTest(p.x(), p.y());
                EXPECT_EQ(hit.Column, place.Column) << small << " " << height << " at " << p.x() << "," << p.y();
                EXPECT_EQ(hit.Row, place.Row) << small << " " << height << " column " << place.Column;
                EXPECT_EQ(hit.Card, place.Card);
                EXPECT_TRUE(BoardPlaces::PlaceRect(game(), place).contains(p));
            }
        }
}

TEST_F(BoardKeyboardTest, TheCursorWalksPocketsColumnsAndFaceUpCards) {
    Columns columns = NearWonColumns();
    // Column 4: face down, face up, face down, face up.
    columns[4] = {{Card(D, 3), false}, {Card(D, 4)}, {Card(H, 5), false}, {Card(C, 2)}};
    SetPosition({-1, -1, -1, -1}, columns);
    EXPECT_FALSE(cursor().Shown()); // not before a key
    EXPECT_TRUE(AtPocket(0));

    Keys({Qt::Key_Down, Qt::Key_Down});
    EXPECT_TRUE(AtPocket(2));
    EXPECT_TRUE(cursor().Shown());
    EXPECT_EQ(cursor().Frame(), BoardPlaces::PocketRect(game(), 2).adjusted(-5, -5, 5, 5));
    Keys({Qt::Key_Down, Qt::Key_Down});
    EXPECT_TRUE(AtPocket(3)); // the last pocket holds it
    Keys({Qt::Key_Right});
    EXPECT_TRUE(At(0, 0));
    Keys({Qt::Key_Right});
    EXPECT_TRUE(At(1, 1)); // a column is entered at its last card
    Keys({Qt::Key_Up});
    EXPECT_TRUE(At(1, 0));
    EXPECT_EQ(Place().Card, card(Card(C, King)));
    Keys({Qt::Key_Up});
    EXPECT_TRUE(At(1, 0)); // the top stays the top
    // Up and Down pass over face-down cards.
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    EXPECT_TRUE(At(4, 3));
    Keys({Qt::Key_Up});
    EXPECT_TRUE(At(4, 1));
    Keys({Qt::Key_Up});
    EXPECT_TRUE(At(4, 1));
    Keys({Qt::Key_Down});
    EXPECT_TRUE(At(4, 3));
    // A covered card's frame closes on the card below it.
    Keys({Qt::Key_Up});
    const QRect strip = BoardPlaces::CardRect(game(), 4, 1);
    EXPECT_EQ(strip.height(), game().Geometry.ColumnStep[4]);
    EXPECT_EQ(cursor().Frame().top(), strip.top() - 5);
    EXPECT_EQ(cursor().Frame().bottom(), strip.bottom() + 1);
    // An empty column is a place of its own, and End and Home reach the last and first column.
    Keys({Qt::Key_Right});
    EXPECT_TRUE(At(5, 0));
    EXPECT_EQ(Place().Card, nullptr);
    Keys({Qt::Key_End, Qt::Key_Right});
    EXPECT_TRUE(At(7, 0));
    Keys({Qt::Key_Home});
    EXPECT_TRUE(At(0, 0));
    // Back to the pocket it left.
    Keys({Qt::Key_Left});
    EXPECT_TRUE(AtPocket(3));
    Keys({Qt::Key_Left});
    EXPECT_TRUE(AtPocket(3));

    // A mouse press puts the cursor on the place pressed and hides it until the next key.
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, OnCell(game(), 3, 0));
    EXPECT_TRUE(At(3, 0));
    EXPECT_FALSE(cursor().Shown());
    EXPECT_EQ(cursor().Frame(), QRect());
    Keys({Qt::Key_Escape}); // the pressed card was chosen; Escape puts it down and shows the cursor
    EXPECT_TRUE(cursor().Shown());
    EXPECT_TRUE(At(3, 0));
}

TEST_F(BoardKeyboardTest, TabGoesRoundTheButtonsAndTheBoard) {
    SetPosition(NearWonPockets, NearWonColumns());
    ASSERT_EQ(QApplication::focusWidget(), form.Image1);
    std::vector<QWidget*> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(visited, (std::vector<QWidget*>{form.DealBtn, form.UndoBtn, form.HintBtn, form.Image1}));
    // Coming back by Tab shows the cursor at once.
    EXPECT_TRUE(cursor().Shown());
    // A focused button has the default look, and Space clicks it.
    QTest::keyClick(form.Image1, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.HintBtn);
    EXPECT_FALSE(cursor().Shown());
    const int hints = game().HintCount;
    QTest::keyClick(form.HintBtn, Qt::Key_Space);
    EXPECT_EQ(game().HintCount, hints + 1);
}

TEST_F(BoardKeyboardTest, AWholeGameWonByKeysAlone) {
    SetPosition(NearWonPockets, NearWonColumns());
    ModalAnswerer answers;
    bool stopped = false;
    clock.OnProcessing = [&] {
        // Space during the fireworks ends them, as a click does.
        if (game().CelebrationRunning && !stopped) {
            stopped = true;
            QTest::keyClick(form.Image1, Qt::Key_Space);
        }
    };

    // The Jack of spades onto the Queen; the King of spades left behind turns face up.
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    ASSERT_EQ(Place().Card, card(Card(S, Jack)));
    Keys({Qt::Key_Space});
    EXPECT_EQ(form.MessageDis->text(), "Click On Destination");
    EXPECT_EQ(form.CardDis->text(), "JS");
    EXPECT_TRUE(card(Card(S, Jack))->Highlighted);
    Keys({Qt::Key_Right});
    EXPECT_EQ(Place().Card, card(Card(S, Queen)));
    Keys({Qt::Key_Space});
    EXPECT_EQ(game().Cell(3, 1), card(Card(S, Jack)));
    EXPECT_TRUE(card(Card(S, King))->FaceUp);
    EXPECT_EQ(game().MoveCount, 1);
    EXPECT_EQ(form.MessageDis->text(), "Click On Card From Pile");
    EXPECT_TRUE(At(3, 1)); // on the card moved

    // The Jack home by choosing it and clicking its own column.
    Keys({Qt::Key_Space, Qt::Key_Space});
    EXPECT_EQ(game().Pocket(3), card(Card(S, Jack)));
    EXPECT_TRUE(AtPocket(3)); // the cursor went home with it
    EXPECT_EQ(game().CardCounter, 5);

    // The King of hearts onto its pocket: chosen, then the first pocket.
    Keys({Qt::Key_Right});
    EXPECT_TRUE(At(0, 0));
    Keys({Qt::Key_Space, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space});
    EXPECT_EQ(game().Pocket(0), card(Card(H, King)));
    EXPECT_TRUE(AtPocket(0));

    // Clubs: the King heading its column takes the Queen below it home.
    Keys({Qt::Key_Right, Qt::Key_Right});
    EXPECT_EQ(Place().Card, card(Card(C, Queen)));
    Keys({Qt::Key_Up, Qt::Key_Space, Qt::Key_Space});
    EXPECT_EQ(game().Pocket(2), card(Card(C, King)));
    EXPECT_TRUE(AtPocket(2));

    // The Queen of spades home; the King of spades to an empty column, then home: won.
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    EXPECT_EQ(Place().Card, card(Card(S, Queen)));
    Keys({Qt::Key_Space, Qt::Key_Space, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    EXPECT_EQ(game().Pocket(3), card(Card(S, Queen)));
    EXPECT_EQ(Place().Card, card(Card(S, King)));
    Keys({Qt::Key_Space, Qt::Key_End, Qt::Key_Space});
    EXPECT_EQ(game().Cell(7, 0), card(Card(S, King)));
    EXPECT_TRUE(At(7, 0));
    EXPECT_EQ(game().CardCounter, 1);
    Keys({Qt::Key_Space, Qt::Key_Space});

    EXPECT_EQ(game().GameState, TGameState::Won);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(game().MoveCount, 8);
    EXPECT_EQ(answers.Titles.value(0), "New Top-Ten Score: " + QString::number(game().FinalScore));
    EXPECT_EQ(answers.Titles.value(1), "Top Scores");
    EXPECT_EQ(form.MessageDis->text(), "Please Deal Cards");
    // Back on the deck, where Space deals the next game.
    EXPECT_TRUE(AtPocket(0));
    Keys({Qt::Key_Space});
    EXPECT_EQ(game().GameState, TGameState::Playing);
    EXPECT_EQ(game().CardCounter, 52);
}

TEST_F(BoardKeyboardTest, EveryRefusalTheKeysCanReachShowsItsText) {
    Columns columns;
    columns[0] = {{Card(D, Ace)}};
    columns[1] = {{Card(C, 5)}, {Card(S, 8)}};                  // out of sequence
    columns[2] = {{Card(D, 6)}, {Card(S, King)}, {Card(D, 2)}}; // a King with a card below it
    columns[3] = {{Card(S, 4)}};
    columns[4] = {{Card(C, 9), false}}; // a face-down last card, as a damaged saved game may have
    columns[5] = {{Card(D, 7)}};
    SetPosition({Card(H, King), -1, Card(C, 3), -1}, columns);
    struct Case {
        std::vector<Qt::Key> keys;
        const char* error;
    } const cases[] = {
        // A pocket or an empty column as the first click.
        {{Qt::Key_Space}, "Select a card from the pile"},
        {{Qt::Key_End, Qt::Key_Space}, "Select a card from the pile"},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space},
         "Only face-up cards can move"},
        // The 9 of spades clicked on its own column: nothing home takes it.
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Space, Qt::Key_Space}, "Can't move to same column"},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space}, "Cards must be in sequence"},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Space, Qt::Key_End, Qt::Key_Space}, "Only a king can move here"},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Space, Qt::Key_End, Qt::Key_Space},
         "King must be at the bottom"},
        // The 6 of clubs with the 9 of spades below it to the clubs' pocket.
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Up, Qt::Key_Space, Qt::Key_Home, Qt::Key_Left, Qt::Key_Down,
          Qt::Key_Down, Qt::Key_Space},
         "Card not at bottom/in Sequence"},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space, Qt::Key_Home, Qt::Key_Left,
          Qt::Key_Space},
         "Card not in sequence with Home"},
        // The Ace of diamonds follows the King of hearts by Index, but that pocket is full.
        {{Qt::Key_Home, Qt::Key_Space, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space},
         "Home Pocket is Full."},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space,
          Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Down,
          Qt::Key_Space},
         "Only an Ace can move here"},
    };
    const TBoard before = game().GameArray;
    for (const Case& c : cases) {
        game().ShowError(QString());
        // Each case starts from the first pocket with nothing chosen.
        Keys({Qt::Key_Escape, Qt::Key_Home, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up});
        ASSERT_TRUE(AtPocket(0)) << c.error;
        for (Qt::Key key : c.keys)
            QTest::keyClick(form.Image1, key);
        EXPECT_EQ(Error(), c.error);
        EXPECT_EQ(game().Protocol.ClickPhase, 0) << c.error;
        EXPECT_EQ(game().MoveCount, 0) << c.error;
        EXPECT_EQ(game().GameArray, before) << c.error;
        EXPECT_EQ(game().UndoRing.Count(), 1) << c.error;
    }
}

TEST_F(BoardKeyboardTest, EscapePutsAChosenCardBackDown) {
    SetPosition(NearWonPockets, NearWonColumns());
    Keys({Qt::Key_Right, Qt::Key_Space});
    ASSERT_EQ(game().Protocol.ClickPhase, 1);
    ASSERT_TRUE(card(Card(H, King))->Highlighted);
    Keys({Qt::Key_Escape});
    EXPECT_EQ(game().Protocol.ClickPhase, 0);
    EXPECT_FALSE(game().Protocol.DragActive);
    EXPECT_FALSE(card(Card(H, King))->Highlighted);
    EXPECT_EQ(form.MessageDis->text(), "Click On Card From Pile");
    EXPECT_EQ(Error(), "");
    // The next Space chooses again rather than moving.
    Keys({Qt::Key_Space});
    EXPECT_EQ(game().Protocol.ClickPhase, 1);
    EXPECT_EQ(game().MoveCount, 0);
    // A run dragged with the mouse: Space leaves it to the mouse, Escape puts it back.
    Keys({Qt::Key_Escape});
    const QPoint from = OnCell(game(), 1, 0);
    QTest::mousePress(form.Image1, Qt::LeftButton, {}, from);
    QMouseEvent drag(QEvent::MouseMove, QPointF(from + QPoint(150, 200)),
                     form.Image1->mapToGlobal(QPointF(from + QPoint(150, 200))), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(form.Image1, &drag);
    ASSERT_TRUE(card(Card(C, King))->Lifted);
    Keys({Qt::Key_Space});
    EXPECT_EQ(game().MoveCount, 0);
    EXPECT_TRUE(card(Card(C, King))->Lifted);
    Keys({Qt::Key_Escape});
    EXPECT_FALSE(card(Card(C, King))->Lifted);
    EXPECT_EQ(card(Card(C, King))->Position, game().CellPosition(1, 0));
    EXPECT_EQ(card(Card(C, Queen))->Position, game().CellPosition(1, 1));
    QTest::mouseRelease(form.Image1, Qt::LeftButton, {}, from + QPoint(150, 200));
    EXPECT_EQ(game().Cell(1, 0), card(Card(C, King)));
    EXPECT_EQ(card(Card(C, King))->Position, game().CellPosition(1, 0));
    EXPECT_EQ(game().MoveCount, 0);
    // With nothing chosen Escape is not the board's: it goes on to the window.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.Image1, &escape);
    EXPECT_FALSE(escape.isAccepted());
}

TEST_F(BoardKeyboardTest, TheCursorFollowsItsCardAndMovesWithTheBoard) {
    SetPosition(NearWonPockets, NearWonColumns());
    // The Jack of spades onto the Queen by keys; the King left behind turns face up.
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space});
    ASSERT_EQ(game().Cell(3, 1), card(Card(S, Jack)));
    // Undo by its key puts the Jack back, and the cursor resting on it goes with it.
    QTest::keyClick(form.Image1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(game().Cell(2, 1), card(Card(S, Jack)));
    EXPECT_TRUE(At(2, 1));
    // On the King once it is face up; an undo turns it down again, and the cursor rests on the
    // next card it may.
    Keys({Qt::Key_Space, Qt::Key_Right, Qt::Key_Space, Qt::Key_Left});
    ASSERT_TRUE(At(2, 0));
    QTest::keyClick(form.Image1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(card(Card(S, King))->FaceUp);
    EXPECT_TRUE(At(2, 1));
    EXPECT_EQ(Place().Card, card(Card(S, Jack)));
    // A mouse press elsewhere moves the cursor there.
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, OnCell(game(), 1, 0));
    EXPECT_TRUE(At(1, 0));
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, OnPocket(game(), 1));
    EXPECT_TRUE(AtPocket(1));
    // A new deal keeps the cursor's place, not its card.
    Keys({Qt::Key_Home});
    game().DealGame();
    EXPECT_TRUE(At(0, 0));
    EXPECT_TRUE(Place().Card->FaceUp);
}

TEST_F(BoardKeyboardTest, ShortcutsAndMnemonicsReachEveryCommand) {
    // The commands are not run here, only reached: each action's handlers are taken off.
    const std::vector<QAction*> actions{form.LoadGame1, form.SaveGame1, form.Exit1, form.DealMnu, form.Resart1,
                                        form.UndoMnu, form.Hint1, form.opScores1, form.CardBacks1,
                                        form.SmallCardsMnu, form.DisableSoundMnu, form.SaveDefaultsMnu,
                                        form.RestoreDefaultsMnu, form.FactoryDefaults1, form.ContentsMnu, form.About1,
                                        form.DealNumberMnu, form.StatisticsMnu, form.SolveMnu, form.BestMoveMnu,
                                        form.FitToWindowMnu, form.ResumeGameMnu, form.WinnableOnlyMnu};
    std::map<QAction*, int> triggered;
    for (QAction* a : actions) {
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        QObject::connect(a, &QAction::triggered, [&triggered, a] { ++triggered[a]; });
    }
    auto reached = [&](QAction* a) {
        const std::map<QAction*, int> seen = triggered;
        triggered.clear();
        return seen == std::map<QAction*, int>{{a, 1}};
    };

    // Shortcuts, with the keyboard on the board.
    const std::pair<QKeySequence, QAction*> shortcuts[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), form.LoadGame1}, {QKeySequence(Qt::CTRL | Qt::Key_S), form.SaveGame1},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), form.Exit1},     {QKeySequence(Qt::Key_F1), form.ContentsMnu},
        {QKeySequence(Qt::Key_F2), form.DealMnu},             {QKeySequence(Qt::Key_R), form.Resart1},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), form.UndoMnu},   {QKeySequence(Qt::Key_H), form.Hint1},
    };
    for (const auto& [keys, action] : shortcuts) {
        QTest::keySequence(form.Image1, keys);
        EXPECT_TRUE(reached(action)) << keys.toString().toStdString();
    }

    // Menus by their letters; two items of a menu that share a letter take turns, and Enter
    // chooses the one marked. A plain letter in an open menu is that menu's, never the window's
    // shortcut of the same letter.
    struct Mnemonic {
        Qt::Key menu;
        std::vector<Qt::Key> keys;
        QAction* action;
    } const mnemonics[] = {
        {Qt::Key_F, {Qt::Key_L}, form.LoadGame1},
        {Qt::Key_F, {Qt::Key_S}, form.SaveGame1},
        {Qt::Key_F, {Qt::Key_E}, form.Exit1},
        {Qt::Key_G, {Qt::Key_D}, form.DealMnu},
        {Qt::Key_G, {Qt::Key_R}, form.Resart1},
        {Qt::Key_G, {Qt::Key_U}, form.UndoMnu},
        {Qt::Key_G, {Qt::Key_H}, form.Hint1},
        {Qt::Key_V, {Qt::Key_T}, form.opScores1},
        {Qt::Key_O, {Qt::Key_C}, form.CardBacks1},
        {Qt::Key_O, {Qt::Key_S}, form.SmallCardsMnu},
        {Qt::Key_O, {Qt::Key_D, Qt::Key_Return}, form.DisableSoundMnu},
        {Qt::Key_O, {Qt::Key_D, Qt::Key_D, Qt::Key_Return}, form.SaveDefaultsMnu},
        {Qt::Key_O, {Qt::Key_R}, form.RestoreDefaultsMnu},
        {Qt::Key_O, {Qt::Key_F}, form.FactoryDefaults1},
        {Qt::Key_H, {Qt::Key_C}, form.ContentsMnu},
        {Qt::Key_H, {Qt::Key_A}, form.About1},
        {Qt::Key_G, {Qt::Key_N}, form.DealNumberMnu},
        {Qt::Key_G, {Qt::Key_T}, form.StatisticsMnu},
        {Qt::Key_G, {Qt::Key_O}, form.SolveMnu},
        {Qt::Key_G, {Qt::Key_B}, form.BestMoveMnu},
        {Qt::Key_V, {Qt::Key_F}, form.FitToWindowMnu},
        {Qt::Key_O, {Qt::Key_G}, form.ResumeGameMnu},
        {Qt::Key_O, {Qt::Key_W}, form.WinnableOnlyMnu},
    };
    // Every item of every menu has its letter (Redo's is tried where there is a move to redo).
    for (QAction* menu : form.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            EXPECT_TRUE(item->isSeparator() || item->text().contains(QRegularExpression(QStringLiteral("&\\w"))))
                << item->text().toStdString();
    for (const Mnemonic& m : mnemonics) {
        QTest::keyClick(&form, m.menu, Qt::AltModifier);
        for (Qt::Key key : m.keys) {
            QWidget* menu = QApplication::activePopupWidget();
            ASSERT_NE(menu, nullptr) << m.action->text().toStdString();
            QTest::keyClick(menu, key);
        }
        EXPECT_TRUE(reached(m.action)) << m.action->text().toStdString();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << m.action->text().toStdString();
    }
    // A tap on Alt, then a menu's letter: the menu opens, even for the letter of a one-letter
    // shortcut (H for Help, not a hint).
    const std::pair<Qt::Key, QString> menus[] = {{Qt::Key_F, "&File"}, {Qt::Key_G, "&Game"}, {Qt::Key_V, "&View"},
                                                 {Qt::Key_O, "&Options"}, {Qt::Key_H, "&Help"}};
    for (const auto& [letter, title] : menus) {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.Image1->setFocus();
        QTest::keyClick(form.Image1, Qt::Key_Alt);
        ASSERT_EQ(QApplication::focusWidget(), form.menuBar()) << title.toStdString();
        QTest::keyClick(form.menuBar(), letter);
        auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(open, nullptr) << title.toStdString();
        EXPECT_EQ(open->title(), title);
        EXPECT_TRUE(triggered.empty()) << title.toStdString();
        open->close();
    }

    // The recent games open as a menu of their own.
    form.ReopenMenu1->AddFile(QStringLiteral("/nowhere/Game.twl"));
    QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_R);
    EXPECT_TRUE(triggered.empty());
    EXPECT_EQ(QApplication::activePopupWidget(), form.Reload1);
    while (QWidget* open = QApplication::activePopupWidget())
        open->close();
}

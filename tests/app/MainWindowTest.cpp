#include "app/TAboutBox.h"
#include "app/TBoardView.h"
#include "app/TCardBackDlg.h"
#include "app/TForm1.h"
#include "app/TGameMessageDlg.h"
#include "engine/TwGame.h"
#include "KestrelObjects/TFancyButton.h"
#include "KestrelObjects/TSubTimer.h"
#include "support/BoardClicks.h"
#include "support/VirtualTimeSource.h"

#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
QColor Background(QWidget* w) { return w->palette().color(QPalette::Window); }

// Answers the next modal dialog from inside its event loop.
void WhenModal(const std::function<void(QWidget*)>& answer) {
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        answer(modal);
    });
}
} // namespace

class MainWindowTest : public ::testing::Test {
protected:
    VirtualTimeSource clock;
    TForm1 form;
    MainWindowTest() {
        form.CreateDialogs();
        form.show();
        QApplication::processEvents();
    }
    TGame& game() { return form.Game(); }
};

TEST_F(MainWindowTest, WindowStripsAndPanels) {
    EXPECT_EQ(form.windowTitle(), "Tarnwell");
    EXPECT_EQ(form.size(), QSize(794, 603));
    EXPECT_EQ(form.Panel2->height(), 42);
    EXPECT_EQ(Background(form.Panel2), QColor(0, 100, 0));
    EXPECT_EQ(form.Panel6->height(), 31);
    EXPECT_EQ(Background(form.Panel6), QColor(0, 100, 0));
    struct {
        TFancyButton* button;
        QRect geometry;
        const char* caption;
        const char* hint;
    } const buttons[] = {{form.DealBtn, {5, 4, 125, 34}, "Deal", "Deal Cards"},
                         {form.UndoBtn, {132, 4, 125, 34}, "Undo", "Undo Last Move"},
                         {form.HintBtn, {260, 4, 125, 34}, "Hint", "Show Next Hint"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->geometry(), b.geometry);
        EXPECT_EQ(b.button->text(), b.caption);
        EXPECT_EQ(b.button->toolTip(), b.hint);
        EXPECT_EQ(b.button->Glyph().size(), QSize(32, 32));
        EXPECT_EQ(b.button->FontColor(), MakeColor(0, 191, 0));
        EXPECT_TRUE(b.button->Gradient());
    }
    EXPECT_FALSE(form.FancyButton1->isEnabled());
    EXPECT_EQ(form.FancyButton1->x(), 387);
    EXPECT_EQ(form.FancyButton1->x() + form.FancyButton1->width(), form.Panel2->width() - 10);
    EXPECT_TRUE(form.FancyButton1->isVisible());

    struct {
        QLabel* panel;
        int width;
        const char* hint;
    } const panels[] = {{form.CurCardDis, 55, "Card Under Cursor"}, {form.CardDis, 33, "Selected Card"},
                        {form.MoveCntDis, 33, "Possible Moves"},    {form.MessageDis, 225, "Messages"},
                        {form.ErrorDis, -1, "Errors"},              {form.ScoreDis, 96, "Score"},
                        {form.GameTime_, 104, "Elapsed Time"}};
    int right = 4;
    for (const auto& p : panels) {
        if (p.width > 0) {
            EXPECT_EQ(p.panel->width(), p.width) << p.hint;
        }
        EXPECT_EQ(p.panel->x(), right) << p.hint;
        right = p.panel->x() + p.panel->width();
        EXPECT_EQ(p.panel->toolTip(), p.hint);
        EXPECT_EQ(Background(p.panel), QColor(Qt::black));
        EXPECT_EQ(p.panel->palette().color(QPalette::WindowText), QColor(0, 191, 0));
        EXPECT_TRUE(QFontInfo(p.panel->font()).bold());
        EXPECT_EQ(p.panel->font().pixelSize(), 16);
    }
    EXPECT_EQ(right, form.Panel6->width() - 4);
    EXPECT_EQ(form.Image1->y(), form.Panel2->y() + 42);
    EXPECT_EQ(form.Image1->y() + form.Image1->height(), form.Panel6->y());
    EXPECT_EQ(game().BoardImage.size(), form.Image1->size());
}

TEST_F(MainWindowTest, MenusCaptionsAndShortcuts) {
    QStringList menus;
    for (QAction* a : form.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Game", "&View", "&Options", "&Help"}));
    struct {
        QAction* action;
        const char* caption;
        QKeySequence shortcut;
    } const items[] = {
        {form.LoadGame1, "&Load Game...", {}},        {form.SaveGame1, "&Save Game...", {}},
        {form.Exit1, "&Exit", {}},                    {form.DealMnu, "&Deal", QKeySequence(Qt::Key_F2)},
        {form.Resart1, "&Resart", QKeySequence(Qt::Key_R)}, {form.UndoMnu, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {form.Hint1, "&Hint", QKeySequence(Qt::Key_H)}, {form.opScores1, "&Top Scores", {}},
        {form.CardBacks1, "&Card Backs...", {}},      {form.SmallCardsMnu, "&Small Cards", {}},
        {form.DisableSoundMnu, "&Disable Sound", {}}, {form.SaveDefaultsMnu, "Save &Defaults", {}},
        {form.RestoreDefaultsMnu, "&Restore Defaults", {}}, {form.FactoryDefaults1, "&Factory Defaults", {}},
        {form.ContentsMnu, "&Contents...", {}},       {form.About1, "&About...", {}},
    };
    for (const auto& i : items) {
        EXPECT_EQ(i.action->text(), i.caption);
        EXPECT_EQ(i.action->shortcut(), i.shortcut) << i.caption;
    }
    EXPECT_EQ(form.Reload1->title(), "&Reload");
    EXPECT_TRUE(form.SmallCardsMnu->isCheckable());
    EXPECT_TRUE(form.DisableSoundMnu->isCheckable());
    form.DisableSoundMnu->trigger();
    EXPECT_TRUE(game().Sound.SoundDisabled);
    EXPECT_TRUE(form.DisableSoundMnu->isChecked());
    form.SmallCardsMnu->trigger();
    EXPECT_TRUE(game().SmallCards);
    EXPECT_EQ(game().Deck->CardWidth(), 54);
    EXPECT_TRUE(form.SmallCardsMnu->isChecked());
}

TEST_F(MainWindowTest, PlayWithClicksAndDragsAtBoardPixels) {
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, game().Geometry.HomeOrigin + QPoint(20, 20));
    ASSERT_TRUE(game().GameActive);
    EXPECT_EQ(form.MessageDis->text(), "Click On Card From Pile");
    EXPECT_EQ(form.MoveCntDis->text(), QString::number(game().HintList.size()));
    EXPECT_EQ(form.ScoreDis->text(), QString::number(game().ComputeScore()) + " Pts.");
    // A face-down card refuses to move.
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, OnCell(game(), 1, 0));
    EXPECT_EQ(form.ErrorDis->text(), "Only face-up cards can move");
    // Choose the bottom card of column 0, then click the gap: nothing there.
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, OnCell(game(), 0, 2));
    EXPECT_EQ(form.MessageDis->text(), "Click On Destination");
    EXPECT_EQ(form.CardDis->text(), game().Cell(0, 2)->Name);
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, game().CellPosition(0, 0) + QPoint(75, 5));
    EXPECT_EQ(form.ErrorDis->text(), "Not A Valid Card");
    // Hovering names the card under the pointer.
    QTest::mouseMove(form.Image1, OnCell(game(), 0, 2));
    EXPECT_EQ(form.CurCardDis->text(), game().Cell(0, 2)->Name);
    QTest::mouseMove(form.Image1, OnCell(game(), 1, 0));
    EXPECT_EQ(form.CurCardDis->text(), "Down");
    // A drag of the bottom card of column 0 onto a column that refuses it slides back.
    const QPoint home = game().Cell(0, 2)->Position;
    const QPoint from = OnCell(game(), 0, 2);
    QTest::mousePress(form.Image1, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(200, 250)), form.Image1->mapToGlobal(QPointF(from + QPoint(200, 250))),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(form.Image1, &move);
    EXPECT_TRUE(game().Cell(0, 2)->Lifted);
    QTest::mouseRelease(form.Image1, Qt::LeftButton, {}, from + QPoint(200, 250));
    EXPECT_EQ(game().Cell(0, 2)->Position, home);
    EXPECT_FALSE(game().Cell(0, 2)->Lifted);
}

TEST_F(MainWindowTest, TheLeftButtonHookSeesEveryPressAndConsumesNone) {
    game().StopRequested = false;
    QTest::mouseClick(form.ScoreDis, Qt::LeftButton);
    EXPECT_TRUE(game().StopRequested);
    game().StopRequested = false;
    QTest::mouseClick(form.ScoreDis, Qt::RightButton);
    EXPECT_FALSE(game().StopRequested);
    QTest::mouseClick(form.DealBtn, Qt::LeftButton); // still handled as usual
    EXPECT_TRUE(game().StopRequested);
    EXPECT_TRUE(game().GameActive);
}

TEST_F(MainWindowTest, GameMessageResultsOnBothPages) {
    TGameMessageDlg& dlg = *form.GameMessageDlg;
    using namespace GameMessageResult;
    WhenModal([&dlg](QWidget*) {
        // Centred on the screen, not on the window that asked.
        EXPECT_EQ(dlg.frameGeometry().center(), dlg.screen()->availableGeometry().center());
        dlg.OKBtn->click();
    });
    EXPECT_EQ(dlg.ShowGameMessage(GameMessagePage::Message, "Hints", "No More Moves", "OK", ""), OkChosen | NewGameChosen);
    EXPECT_EQ(dlg.windowTitle(), "Hints");
    EXPECT_EQ(dlg.MessDis->text(), "No More Moves");
    EXPECT_FALSE(dlg.CancelBtn->isVisibleTo(&dlg));
    EXPECT_TRUE(dlg.OKBtn->isVisibleTo(&dlg));
    // The close box counts as Cancel.
    WhenModal([](QWidget* w) { w->close(); });
    EXPECT_EQ(dlg.ShowGameMessage(GameMessagePage::Message, "Restart", "Restart Game?", "Yes", "No"),
              CancelChosen | NewGameChosen);
    EXPECT_EQ(dlg.OKBtn->text(), "Yes");
    EXPECT_EQ(dlg.CancelBtn->text(), "No");
    WhenModal([&dlg](QWidget*) {
        dlg.DealItems[2]->setChecked(true);
        dlg.OKBtn->click();
    });
    EXPECT_EQ(dlg.ShowGameMessage(GameMessagePage::Choice, "Deal?", "", "OK", "Cancel"), OkChosen | KeepPlayingChosen);
    WhenModal([&dlg](QWidget*) {
        EXPECT_TRUE(dlg.DealItems[0]->isChecked()); // item 0 again on every call
        dlg.DealItems[1]->setChecked(true);
        dlg.CancelBtn->click();
    });
    EXPECT_EQ(dlg.ShowGameMessage(GameMessagePage::Choice, "Deal?", "", "OK", "Cancel"), CancelChosen | RestartChosen);
    WhenModal([](QWidget* w) { w->close(); });
    EXPECT_EQ(dlg.ShowGameMessage(GameMessagePage::Choice, "Deal?", "", "OK", "Cancel"), CancelChosen | NewGameChosen);
}

TEST_F(MainWindowTest, CardBackDialogChangesTheBackAndRepaints) {
    TCardBackDlg& dlg = *form.CardBackDlg;
    EXPECT_EQ(dlg.windowTitle(), "Select Card Backs");
    EXPECT_EQ(dlg.BackList->count(), 13);
    WhenModal([&dlg](QWidget*) {
        EXPECT_EQ(dlg.BackList->currentRow(), 5);
        dlg.BackList->setCurrentRow(7);
        dlg.OKBtn->click();
    });
    const QImage before = *form.Image1->Image();
    form.CardBacks1Click();
    EXPECT_EQ(game().Deck->BackIndex, 7);
    EXPECT_NE(*form.Image1->Image(), before); // the deck on the board shows the new back
    // Cancel changes nothing; OK with no row chosen keeps the back in use.
    WhenModal([&dlg](QWidget*) {
        dlg.BackList->setCurrentRow(2);
        dlg.CancelBtn->click();
    });
    form.CardBacks1Click();
    EXPECT_EQ(game().Deck->BackIndex, 7);
    WhenModal([&dlg](QWidget*) {
        dlg.BackList->setCurrentRow(-1);
        dlg.OKBtn->click();
    });
    form.CardBacks1Click();
    EXPECT_EQ(game().Deck->BackIndex, 7);
}

TEST_F(MainWindowTest, FitCardsToWindowFollowsTheWindowAndPlaysAtEverySize) {
    EXPECT_EQ(form.FitToWindowMnu->text(), "Fit Cards to Window");
    EXPECT_TRUE(form.FitToWindowMnu->isCheckable());
    EXPECT_FALSE(form.FitToWindowMnu->isChecked());
    EXPECT_TRUE(form.menuBar()->actions()[2]->menu()->actions().contains(form.FitToWindowMnu));
    form.FitToWindowMnu->trigger();
    ASSERT_TRUE(game().FitToWindow);
    for (const QSize size : {QSize(1400, 950), QSize(640, 480), QSize(1000, 700)}) {
        SCOPED_TRACE(size.width());
        form.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(game().BoardPixels(), form.Image1->size());
        EXPECT_EQ(game().Deck->CardSize(), QPoint(game().Geometry.Card.width(), game().Geometry.Card.height()));
        EXPECT_LE(game().Geometry.CellPosition(7, 0).x() + game().Geometry.Card.width(), form.Image1->width());
    }
    EXPECT_GT(game().Geometry.Card.height(), 96);
    // A click on the deck deals; a card is chosen where it lies at this size.
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, game().Geometry.HomeOrigin + QPoint(20, 20));
    ASSERT_TRUE(game().GameActive);
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, OnCell(game(), 0, 2));
    EXPECT_EQ(form.CardDis->text(), game().Cell(0, 2)->Name);
    EXPECT_EQ(form.MessageDis->text(), "Click On Destination");
    // Off again: the large cards where they always lay.
    form.FitToWindowMnu->trigger();
    EXPECT_EQ(game().Deck->CardSize(), QPoint(71, 96));
    EXPECT_EQ(game().CellPosition(0, 0), QPoint(110, 30));
}

TEST(AboutBox, VersionText) {
    EXPECT_EQ(BuildVersionText(QDate(2003, 6, 19), "2.0.0.6"), "Version 1.03.6.19.6");
    EXPECT_EQ(BuildVersionText(QDate(2026, 12, 8), "1.0.0.1"), "Version 1.26.12.8.1");
    EXPECT_EQ(BuildVersionText(QDate(2026, 1, 2), ""), "Version 1.26.1.2.");
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "About Tarnwell");
    EXPECT_EQ(box.size(), QSize(345, 214));
    EXPECT_TRUE(box.Version->text().startsWith("Version 1."));
}

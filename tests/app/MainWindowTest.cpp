#include "app/TAboutBox.h"
#include "app/TBoardView.h"
#include "app/TCardBackDlg.h"
#include "app/TForm1.h"
#include "app/TDealNumberDlg.h"
#include "app/TGameMessageDlg.h"
#include "scores/TTopScoresDlg.h"
#include "engine/TwGame.h"
#include "KestrelObjects/TFancyButton.h"
#include "KestrelObjects/TSubTimer.h"
#include "support/BoardClicks.h"
#include "support/VirtualTimeSource.h"

#include <QLabel>
#include <QListWidget>
#include <QGroupBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
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
// The drawn width of a stem: the widget shows "l" (one upright stroke) in its own font and
// colours, and the ink it adds to the picture of the empty widget is summed across each row,
// antialiased edges in part. The widest row is the stem's width in pixels.
double StemWidth(QWidget* w, const QColor& ink, const QColor& paper) {
    const QVariant text = w->property("text");
    w->setProperty("text", QString());
    const QImage empty = w->grab().toImage();
    w->setProperty("text", QStringLiteral("l"));
    const QImage stem = w->grab().toImage();
    w->setProperty("text", text);
    // The channel in which ink and paper differ most measures how much ink a pixel holds.
    const int channel = std::abs(ink.red() - paper.red()) >= std::abs(ink.green() - paper.green()) ? 0 : 1;
    auto level = [channel](QRgb c) { return channel == 0 ? qRed(c) : qGreen(c); };
    const double full = level(ink.rgb()) - level(paper.rgb());
    double widest = 0;
    for (int y = 0; y < stem.height(); ++y) {
        double row = 0;
        for (int x = 0; x < stem.width(); ++x)
            row += std::clamp((level(stem.pixel(x, y)) - level(empty.pixel(x, y))) / full, 0.0, 1.0);
        widest = std::max(widest, row);
    }
    return widest;
}

// A text asked for in bold must be drawn bold: its stem clearly wider than the same text's
// drawn in the regular weight of the same font.
void ExpectDrawnBold(QWidget* w, const QColor& ink, const QColor& paper, const char* what) {
    const QFont bold = w->font();
    ASSERT_TRUE(bold.bold()) << what;
    const double boldStem = StemWidth(w, ink, paper);
    QFont regular = bold;
    regular.setBold(false);
    w->setFont(regular);
    const double regularStem = StemWidth(w, ink, paper);
    w->setFont(bold);
    EXPECT_GT(regularStem, 0.5) << what << ": nothing drawn";
    EXPECT_GE(boldStem, regularStem * 1.3) << what << ": stems of " << boldStem << " and " << regularStem
                                           << " pixels in " << QFontInfo(bold).family().toStdString();
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
        {form.LoadGame1, "&Load Game...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {form.SaveGame1, "&Save Game...", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {form.Exit1, "&Exit", QKeySequence(Qt::CTRL | Qt::Key_Q)}, {form.DealMnu, "&Deal", QKeySequence(Qt::Key_F2)},
        {form.Resart1, "&Resart", QKeySequence(Qt::Key_R)}, {form.UndoMnu, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {form.Hint1, "&Hint", QKeySequence(Qt::Key_H)}, {form.opScores1, "&Top Scores", {}},
        {form.CardBacks1, "&Card Backs...", {}},      {form.SmallCardsMnu, "&Small Cards", {}},
        {form.DisableSoundMnu, "&Disable Sound", {}}, {form.SaveDefaultsMnu, "Save &Defaults", {}},
        {form.RestoreDefaultsMnu, "&Restore Defaults", {}}, {form.FactoryDefaults1, "&Factory Defaults", {}},
        {form.ContentsMnu, "&Contents...", QKeySequence(Qt::Key_F1)}, {form.About1, "&About...", {}},
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
    EXPECT_EQ(form.FitToWindowMnu->text(), "&Fit Cards to Window");
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

TEST_F(MainWindowTest, TheDealNumberShowsInTheTitle) {
    EXPECT_EQ(form.windowTitle(), "Tarnwell");
    game().DealGame(1234567u);
    EXPECT_EQ(form.windowTitle(), "Tarnwell - Deal 1234567");
    form.ShowDealNumber(std::nullopt);
    EXPECT_EQ(form.windowTitle(), "Tarnwell");

    EXPECT_EQ(ParseDealNumber("0"), 0u);
    EXPECT_EQ(ParseDealNumber(" 4294967295 "), 4294967295u);
    for (const char* bad : {"", "4294967296", "-1", "+5", "12a", "99999999999999999999"})
        EXPECT_EQ(ParseDealNumber(bad), std::nullopt) << bad;
}

TEST_F(MainWindowTest, RedoByItsMenuItemAndBothKeys) {
    EXPECT_EQ(form.RedoMnu->text(), "R&edo");
    EXPECT_EQ(form.RedoMnu->shortcuts(),
              QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    form.activateWindow();
    for (const QKeySequence& keys : form.RedoMnu->shortcuts()) {
        // A dealt game whose first two columns hold the 5 and the 6 of hearts alone.
        game().DealGame(2u);
        for (int c = 0; c < 2; ++c)
            for (int row = 0; row < RowCountMax; ++row)
                game().Cell(c, row) = nullptr;
        for (int row = 0; row < RowCountMax; ++row)
            for (int c = 2; c < ColumnCountMax; ++c)
                if (game().Cell(c, row) && (game().Cell(c, row)->Index == 4 || game().Cell(c, row)->Index == 5))
                    game().Cell(c, row) = nullptr;
        game().Cell(0, 0) = &game().Deck->Card(4);
        game().Cell(1, 0) = &game().Deck->Card(5);
        game().Deck->Card(4).FaceUp = game().Deck->Card(5).FaceUp = true;
        game().LayoutBoard();
        game().UndoRing.Clear();
        game().TakeSnapshot();
        Click(game(), OnCell(game(), 0, 0));
        Click(game(), OnCell(game(), 1, 0));
        ASSERT_EQ(game().Cell(1, 1), &game().Deck->Card(4));
        form.UndoMnu->trigger();
        ASSERT_EQ(game().Cell(0, 0), &game().Deck->Card(4));
        QTest::keySequence(&form, keys);
        EXPECT_EQ(game().Cell(1, 1), &game().Deck->Card(4)) << keys.toString().toStdString();
        EXPECT_EQ(game().Cell(0, 0), nullptr);
    }
}

TEST_F(MainWindowTest, BoldTextsAreDrawnBold) {
    const QColor panelGreen(0, 191, 0);
    for (QLabel* panel : {form.CurCardDis, form.CardDis, form.MoveCntDis, form.MessageDis, form.ErrorDis,
                          form.ScoreDis, static_cast<QLabel*>(form.GameTime_)})
        ExpectDrawnBold(panel, panelGreen, Qt::black, panel->toolTip().toLatin1().constData());

    // The about box: black bold lines on its green panel.
    int boldLines = 0;
    for (QLabel* label : form.AboutBox->findChildren<QLabel*>()) {
        if (!label->font().bold() || label->palette().color(QPalette::WindowText) != QColor(Qt::black))
            continue;
        ++boldLines;
        ExpectDrawnBold(label, Qt::black, QColor(0, 128, 0), label->text().toLatin1().constData());
    }
    EXPECT_EQ(boldLines, 2);

    // The card-back dialog's buttons, in its bold "MS Sans Serif" (measured without their
    // pictures, which move with the text).
    for (QPushButton* button : {form.CardBackDlg->OKBtn, form.CardBackDlg->CancelBtn}) {
        const QIcon icon = button->icon();
        button->setIcon(QIcon());
        ExpectDrawnBold(button, button->palette().color(QPalette::ButtonText), button->palette().color(QPalette::Button),
                        button->text().toLatin1().constData());
        button->setIcon(icon);
    }
}

TEST_F(MainWindowTest, DealChoicesAreGreenOnDarkGreenAndWhole) {
    TGameMessageDlg& dlg = *form.GameMessageDlg;
    QImage page;
    WhenModal([&dlg, &page](QWidget*) {
        page = dlg.DealRadio->grab().toImage();
        for (QRadioButton* item : dlg.DealItems) {
            // Each row is as tall as its text needs and lies wholly inside the group.
            EXPECT_GE(item->height(), item->sizeHint().height()) << item->text().toStdString();
            EXPECT_TRUE(dlg.DealRadio->contentsRect().contains(item->geometry())) << item->text().toStdString();
            EXPECT_GE(item->width(), item->sizeHint().width()) << item->text().toStdString();
        }
        EXPECT_TRUE(dlg.PageControl1->currentWidget()->rect().contains(dlg.DealRadio->geometry()));
        EXPECT_EQ(dlg.DealRadio->height(), 97);
        dlg.CancelBtn->click();
    });
    dlg.ShowGameMessage(GameMessagePage::Choice, "Deal?", "", "OK", "Cancel");
    ASSERT_FALSE(page.isNull());
    // The group is dark green throughout, with its texts in green: no light bar behind them.
    int dark = 0, text = 0, light = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            dark += c.red() < 8 && c.blue() < 8 && std::abs(c.green() - 64) < 8;
            text += c == QColor(0, 192, 0);
            light += c.red() > 160 && c.green() > 160 && c.blue() > 160;
        }
    EXPECT_EQ(light, 0);
    EXPECT_GT(dark, page.width() * page.height() * 3 / 4);
    EXPECT_GT(text, 100);
}

TEST_F(MainWindowTest, DialogsHaveACloseBoxOnly) {
    for (QDialog* dlg : std::initializer_list<QDialog*>{form.AboutBox, form.CardBackDlg, form.GameMessageDlg,
                                                       form.TopScoresDlg}) {
        const Qt::WindowFlags flags = dlg->windowFlags();
        EXPECT_TRUE(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint))
            << dlg->windowTitle().toStdString();
        EXPECT_EQ(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint),
                  Qt::WindowFlags())
            << dlg->windowTitle().toStdString();
    }
    // The game's question keeps its small caption bar.
    EXPECT_EQ(form.GameMessageDlg->windowType(), Qt::Tool);
}

TEST_F(MainWindowTest, SaveWithoutAGameToSaveSaysSoAndOpensNoFileDialog) {
    // Every window that comes up while Save runs is noted and closed: the information box by its
    // OK button, anything else (a file dialog) by Esc.
    auto save = [this] {
        QStringList seen;
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&seen] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << box->text() + (box->icon() == QMessageBox::Information ? " (information)" : "");
                EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
                box->button(QMessageBox::Ok)->click();
            } else {
                seen << QString::fromLatin1(modal->metaObject()->className());
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
            }
        });
        watch.start();
        form.SaveGame1->trigger();
        return seen;
    };
    ASSERT_FALSE(game().GameActive);
    EXPECT_EQ(save(), QStringList{"No Game To Save (information)"});

    // After a won game the same, although the board still counts as in play.
    game().DealGame();
    game().GameActive = true;
    game().GameState = TGameState::Won;
    EXPECT_EQ(save(), QStringList{"No Game To Save (information)"});
}

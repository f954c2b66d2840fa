#include "scores/ConfigFolder.h"
#include "scores/TTopScoresDlg.h"
#include "scores/TwTopScores.h"
#include "support/VirtualTimeSource.h"
#include "KestrelObjects/TStopwatch.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Acts on the next modal window other than `except` once it is up. Gives up after five
// seconds with a failure, so that a dialog that never comes does not go unnoticed.
void WhenModal(std::function<void(QWidget*)> act, QWidget* except = nullptr) {
    auto* poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, act, except] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != except && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        } else if (++*waited > 500) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no modal dialog came up";
        }
    });
    poll->start();
}

void AnswerQuestion(QMessageBox::StandardButton button, QString* text, QWidget* except) {
    WhenModal(
        [button, text](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            *text = box->text();
            box->button(button)->click();
        },
        except);
}

class TopScoresDlgTest : public ::testing::Test {
protected:
    ConfigFolder config;
    VirtualTimeSource clock;
    QLocale savedLocale;
    TStopwatch gameTime;
    std::unique_ptr<TTopScoresDlg> dlg;

    TopScoresDlgTest() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TopScoreTable = {};
        gameTime.Resolution = TResolution::rsAutoScale;
        gameTime.SetDigits(0);
        dlg = std::make_unique<TTopScoresDlg>(gameTime);
    }
    ~TopScoresDlgTest() override {
        dlg.reset();
        TopScoreTable = {};
        QLocale::setDefault(savedLocale);
    }

    QString Cell(int column, int row) const { return TTopScoresDlg::TopGridCellText(column, row, gameTime); }
    QStringList RowTexts(int row) const {
        QStringList texts;
        for (int c = 0; c < 6; ++c)
            texts << dlg->TopGrid->model()->data(dlg->TopGrid->model()->index(row - 1, c)).toString();
        return texts;
    }
    QList<int> SelectedRows() const {
        QList<int> rows;
        for (const QModelIndex& i : dlg->TopGrid->selectionModel()->selectedRows(1))
            rows << i.row() + 1;
        return rows;
    }
};
} // namespace

TEST_F(TopScoresDlgTest, Layout) {
    // With texts that fit (a small font), the designed sizes hold exactly.
    QFont small = dlg->font();
    small.setPixelSize(8);
    dlg->setFont(small);
    dlg->show();
    dlg->hide();
    EXPECT_EQ(dlg->windowTitle(), "Top Scores");
    EXPECT_EQ(dlg->minimumSize(), QSize(463, 205));
    EXPECT_EQ(dlg->maximumSize(), QSize(463, 205));
    EXPECT_EQ(dlg->Panel1->geometry(), QRect(0, 165, 463, 40));
    EXPECT_EQ(dlg->Button1->text(), "Clear Scores");
    EXPECT_EQ(dlg->Button1->geometry(), QRect(8, 8, 75, 25));
    EXPECT_EQ(dlg->CancelBtn->text(), "Close");
    EXPECT_EQ(dlg->CancelBtn->geometry(), QRect(379, 8, 75, 25));

    dlg->show();
    QTableView* grid = dlg->TopGrid;
    EXPECT_EQ(grid->geometry(), QRect(4, 4, 455, 157));
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    const int widths[] = {35, 117, 77, 64, 69, 64};
    const char* headers[] = {"#", "Name", "Score", "Date", "Time", "Elapsed Time"};
    ASSERT_EQ(grid->model()->columnCount(), 6);
    ASSERT_EQ(grid->model()->rowCount(), 10);
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(grid->columnWidth(c), widths[c]) << c;
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), headers[c]) << c;
    }
    EXPECT_EQ(grid->horizontalHeader()->height(), 24);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(grid->rowHeight(r), 24) << r;
    // Eleven rows do not fit: the grid scrolls, live while the box is dragged.
    EXPECT_GT(grid->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(grid->verticalScrollBar()->hasTracking());
    dlg->hide();
}

TEST_F(TopScoresDlgTest, EveryTextFitsItsColumn) {
    // Day-month-year dates with four-digit years, and times with seconds.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    TopScoreTable[0] = {QStringLiteral("Ann"), 46364.0 + 72930.0 / 86400.0, 2'400'000'000LL, 3005};
    TopScoreTable[1] = {QStringLiteral("Bob"), 46364.5, 7'300'000'000LL, 2000};
    dlg->show();
    QTableView* grid = dlg->TopGrid;
    const QFontMetrics header(grid->horizontalHeader()->font());
    const QFontMetrics cells(grid->font());
    int total = 0;
    for (int c = 0; c < 6; ++c) {
        const QString title = Cell(c, 0);
        EXPECT_GE(grid->columnWidth(c), header.horizontalAdvance(title) + 4) << title.toStdString();
        for (int row = 1; row <= 2; ++row) {
            // The text starts 2 pixels into its cell.
            EXPECT_GE(grid->columnWidth(c), cells.horizontalAdvance(Cell(c, row)) + 2) << Cell(c, row).toStdString();
        }
        total += grid->columnWidth(c);
    }
    EXPECT_EQ(Cell(3, 1), "08/12/2026");
    // Every column is in view; the dialog grew with its columns and "Close" stayed at its edge.
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_EQ(dlg->width(), 463 + total - (35 + 117 + 77 + 64 + 69 + 64));
    EXPECT_EQ(dlg->width() - dlg->CancelBtn->geometry().right() - 1, 463 - 379 - 75);
    EXPECT_EQ(dlg->height(), 205);
    dlg->hide();
}

TEST_F(TopScoresDlgTest, CellTexts) {
    TopScoreTable[0] = {QStringLiteral("Ann"), 46364.0 + 72930.0 / 86400.0, 2'400'000'000LL, 1250};
    TopScoreTable[1] = {QStringLiteral(""), 36526.25, 400'000, -3};
    TopScoreTable[2] = {QStringLiteral("Free"), 0, 5'000'000, 99}; // no date: a free entry
    EXPECT_EQ(RowTexts(1), QStringList({"1", "Ann", "1250", "12/8/26", "8:15:30 PM", "40:00 min"}));
    EXPECT_EQ(RowTexts(2), QStringList({"2", "", "-3", "1/1/00", "6:00:00 AM", "400 ms."}));
    EXPECT_EQ(RowTexts(3), QStringList({"", "", "", "", "", ""}));
    EXPECT_EQ(RowTexts(10), QStringList({"", "", "", "", "", ""}));

    // The clock panel's Digits and the user's locale shape the texts.
    gameTime.SetDigits(3);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Cell(3, 1), "08.12.26");
    EXPECT_EQ(Cell(4, 1), "20:15:30");
    EXPECT_EQ(Cell(5, 1), "40:00,000 min");
    EXPECT_EQ(Cell(5, 0), "Elapsed Time");
}

TEST_F(TopScoresDlgTest, ClearScoresAsksFirstAndCloseSaves) {
    for (int i = 0; i < 10; ++i)
        TopScoreTable[size_t(i)] = {QStringLiteral("P%1").arg(i), 46000.0 + i, 1000 * i, 100 - i};
    QString question;
    bool checked = false;
    WhenModal([&](QWidget* shown) {
        EXPECT_EQ(shown, dlg.get());
        // No keeps everything.
        AnswerQuestion(QMessageBox::No, &question, dlg.get());
        dlg->Button1->click();
        EXPECT_EQ(question, "Are you sure?");
        EXPECT_EQ(RowTexts(1)[1], "P0");
        // Yes empties every row on screen at once.
        AnswerQuestion(QMessageBox::Yes, &question, dlg.get());
        dlg->Button1->click();
        for (int r = 1; r <= 10; ++r)
            EXPECT_EQ(RowTexts(r).join(QString()), "") << r;
        checked = true;
        QTest::keyClick(dlg->TopGrid, Qt::Key_Escape);
    });
    dlg->ShowTopScores();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);

    // Closing wrote the emptied table; the elapsed times stay.
    QSettings ini(config.IniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("TopScores/Count").toString(), "10");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ini.value(QStringLiteral("TopScores/Name%1").arg(i)).toString(), "") << i;
        EXPECT_EQ(ini.value(QStringLiteral("TopScores/Score%1").arg(i)).toString(), "0") << i;
        EXPECT_EQ(ini.value(QStringLiteral("TopScores/Date%1").arg(i)).toString(), "0") << i;
        EXPECT_EQ(ini.value(QStringLiteral("TopScores/Elapsed%1").arg(i)).toString(), QString::number(1000 * i)) << i;
    }
}

TEST_F(TopScoresDlgTest, NewEntryIsTheSelectedVisibleRow) {
    const char* names[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    const int scores[] = {90, 80, 80, 70, 60, 50, 40, 30, 20, 10};
    for (int i = 0; i < 10; ++i)
        TopScoreTable[size_t(i)] = {QString::fromLatin1(names[i]), 46000.0 + i, 0, scores[i]};
    const TNamePrompt nina = [](const QString&, const QString&, const QString&) { return QStringLiteral("Nina"); };

    // Ties with B and C: the sort puts the newcomer second.
    int shownRow = 0;
    WhenModal([&](QWidget*) {
        shownRow = dlg->CurrentRow();
        EXPECT_EQ(SelectedRows(), QList<int>({2}));
        EXPECT_EQ(RowTexts(2)[1], "Nina");
        dlg->CancelBtn->click();
    });
    dlg->ShowNewEntry(AddTopScore(80, 1, nina));
    EXPECT_EQ(shownRow, 2);

    // At the foot of the table, the selected row is scrolled into view when the dialog opens.
    WhenModal([&](QWidget*) {
        shownRow = dlg->CurrentRow();
        const QRect row = dlg->TopGrid->visualRect(dlg->TopGrid->model()->index(shownRow - 1, 1));
        EXPECT_TRUE(dlg->TopGrid->viewport()->rect().contains(row)) << row.y();
        dlg->reject();
    });
    dlg->ShowNewEntry(AddTopScore(25, 1, nina));
    EXPECT_EQ(shownRow, 10);
    EXPECT_EQ(TopScoreTable[9].Score, 25);

    // The current row stays as it was when the table is opened from the menu.
    WhenModal([&](QWidget*) {
        shownRow = dlg->CurrentRow();
        dlg->reject();
    });
    dlg->TopGrid->scrollToTop();
    dlg->ShowTopScores();
    EXPECT_EQ(shownRow, 10);
}

TEST_F(TopScoresDlgTest, NamePrompt) {
    QWidget parent;
    for (bool ok : {true, false}) {
        QString title, label, offered;
        int limit = 0;
        WhenModal([&](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            // The whole caption fits, with room to spare for the caption bar's icon and close
            // box; nothing to minimise or maximise a modal question.
            QFont bold = box->font();
            bold.setBold(true);
            EXPECT_GE(box->width() - QFontMetrics(bold).horizontalAdvance(title), 100) << box->width();
            EXPECT_EQ(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                            Qt::WindowContextHelpButtonHint),
                      Qt::WindowFlags());
            EXPECT_TRUE(box->windowFlags().testFlags(Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint));
            label = box->labelText();
            auto* edit = box->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            offered = edit->text();
            limit = edit->maxLength();
            edit->selectAll();
            QTest::keyClicks(edit, QString(300, QLatin1Char('x')));
            if (ok)
                box->accept();
            else
                box->reject();
        });
        const QString name = TTopScoresDlg::AskTopScoreName(&parent, QStringLiteral("New Top-Ten Score: 3005"),
                                             QStringLiteral("Enter Name: "), QStringLiteral("Ann"));
        EXPECT_EQ(title, "New Top-Ten Score: 3005");
        EXPECT_EQ(label, "Enter Name: ");
        EXPECT_EQ(offered, "Ann");
        EXPECT_EQ(limit, 255);
        EXPECT_EQ(name, ok ? QString(255, QLatin1Char('x')) : QStringLiteral("Ann")) << ok;
    }
}

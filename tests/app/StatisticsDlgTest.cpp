#include "app/TStatisticsDlg.h"
#include "scores/ConfigFolder.h"
#include "KestrelObjects/TFancyButton.h"
#include "KestrelObjects/TStopwatch.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Answers the next modal dialog from inside its event loop.
void WhenModal(const std::function<void(QWidget*)>& answer) {
    QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
}

void Answer(QMessageBox::StandardButton button) {
    WhenModal([button](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Reset the statistics?");
        box->button(button)->click();
    });
}
} // namespace

TEST(StatisticsDlgTest, ShowsTheRecordAndResetsItOnlyWhenAsked) {
    ConfigFolder config;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TStopwatch clock;
    clock.Resolution = TResolution::rsAutoScale;
    clock.SetDigits(0);
    TStatistics s;
    s.RecordWin(1234, 95'000'000);
    s.RecordWin(800, 500'000'000);
    s.RecordLoss(3'700'000'000);
    SaveStatistics(s);

    TStatisticsDlg dlg(clock);
    const QStringList expected = {"Games played=3", "Games won=2", "Share won=67 %", "Current streak=1 loss",
                                  "Longest winning streak=2", "Longest losing streak=1", "Best score=1234 Pts.",
                                  "Fastest win=01:35 min", "Total playing time=1:11:35"};
    auto shown = [&dlg] {
        QStringList rows;
        for (size_t i = 0; i < dlg.Names.size(); ++i)
            rows << dlg.Names[i]->text() + "=" + dlg.Values[i]->text();
        return rows;
    };
    WhenModal([&](QWidget*) {
        EXPECT_EQ(shown(), expected);
        Answer(QMessageBox::No);
        dlg.ResetBtn->click();
        EXPECT_EQ(shown(), expected);
        EXPECT_EQ(LoadStatistics(), s);
        Answer(QMessageBox::Yes);
        dlg.ResetBtn->click();
        EXPECT_EQ(shown()[0], "Games played=0");
        EXPECT_EQ(shown()[6], "Best score=-");
        EXPECT_EQ(shown()[3], "Current streak=none");
        dlg.CloseBtn->click();
    });
    dlg.ShowStatistics();
    EXPECT_EQ(LoadStatistics(), TStatistics{});
    EXPECT_EQ(dlg.windowTitle(), "Statistics");
}

#include "TStatisticsDlg.h"

#include "Fonts.h"
#include "GameStyle.h"
#include "KestrelObjects/TFancyButton.h"
#include "KestrelObjects/TStopwatch.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <exception>

namespace {
constexpr int ClientWidth = 392;
constexpr int RowsHeight = 262;
constexpr int StripHeight = 47;

QString Streak(int32_t streak) {
    if (streak == 0)
        return QStringLiteral("none");
    const int n = streak > 0 ? streak : -streak;
    const char* what = streak > 0 ? (n == 1 ? "win" : "wins") : (n == 1 ? "loss" : "losses");
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(what));
}
} // namespace

TStatisticsDlg::TStatisticsDlg(const TStopwatch& gameClock, QWidget* parent)
    : TCentredDialog(parent), clock(gameClock) {
    setWindowTitle(QStringLiteral("Statistics"));
    setFixedSize(ClientWidth, RowsHeight + StripHeight);
    Colour(this, DialogGreen, Qt::yellow);

    auto* rows = new QWidget(this);
    rows->setGeometry(0, 0, ClientWidth, RowsHeight);
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(16, 12, 16, 8);
    grid->setVerticalSpacing(2);
    for (size_t i = 0; i < Names.size(); ++i) {
        Names[i] = new QLabel(rows);
        Names[i]->setFont(GameFont("Georgia", 16, true));
        Colour(Names[i], DialogGreen, Qt::yellow);
        Values[i] = new QLabel(rows);
        Values[i]->setFont(GameFont("Georgia", 16, true));
        Values[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Colour(Values[i], DialogGreen, QColor(0, 255, 0));
        grid->addWidget(Names[i], int(i), 0);
        grid->addWidget(Values[i], int(i), 1);
    }

    auto* strip = new QWidget(this);
    strip->setGeometry(0, RowsHeight, ClientWidth, StripHeight);
    Colour(strip, DialogGreen, Qt::yellow);
    ResetBtn = GreenDialogButton(strip, 16);
    ResetBtn->setText(QStringLiteral("Reset"));
    CloseBtn = GreenDialogButton(strip, 264);
    CloseBtn->setText(QStringLiteral("Close"));
    connect(ResetBtn, &QPushButton::clicked, this, &TStatisticsDlg::ResetClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
}

std::array<std::pair<QString, QString>, 9> TStatisticsDlg::Rows(const TStatistics& s, const TStopwatch& clock) {
    const bool anyWin = s.Won > 0;
    const QString none = QStringLiteral("-");
    return {{
        {QStringLiteral("Games played"), QString::number(s.Played)},
        {QStringLiteral("Games won"), QString::number(s.Won)},
        {QStringLiteral("Share won"), QStringLiteral("%1 %").arg(s.WonPercent())},
        {QStringLiteral("Current streak"), Streak(s.CurrentStreak)},
        {QStringLiteral("Longest winning streak"), QString::number(s.LongestWinningStreak)},
        {QStringLiteral("Longest losing streak"), QString::number(s.LongestLosingStreak)},
        {QStringLiteral("Best score"), anyWin ? QString::number(s.BestScore) + QStringLiteral(" Pts.") : none},
        {QStringLiteral("Fastest win"), anyWin ? clock.FormatAutoScale(s.FastestWin) : none},
        {QStringLiteral("Total playing time"), FormatHours(s.TotalTime)},
    }};
}

void TStatisticsDlg::Show(const TStatistics& s) {
    const auto rows = Rows(s, clock);
    for (size_t i = 0; i < rows.size(); ++i) {
        Names[i]->setText(rows[i].first);
        Values[i]->setText(rows[i].second);
    }
}

void TStatisticsDlg::ShowStatistics() {
    Show(LoadStatistics());
    exec();
}

void TStatisticsDlg::ResetClick() {
    if (QMessageBox::question(this, QStringLiteral("Statistics"), QStringLiteral("Reset the statistics?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    try {
        SaveStatistics({});
        Show({});
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("Tarnwell"), QString::fromUtf8(e.what()));
    }
}

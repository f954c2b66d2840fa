#pragma once

#include "scores/TwStatistics.h"
#include "KestrelObjects/TCentredDialog.h"

#include <QStringList>
#include <array>

class QLabel;
class TFancyButton;
class TStopwatch;

// The player's statistics in the game's own green, with "Reset" (asks first) and "Close".
class TStatisticsDlg : public TCentredDialog {
    Q_OBJECT
public:
    // The clock panel's stopwatch formats the game times, as it does for the top scores.
    explicit TStatisticsDlg(const TStopwatch& clock, QWidget* parent = nullptr);

    // Reads the statistics from the settings file and shows them modally.
    void ShowStatistics();
    // Asks "Reset the statistics?"; on Yes every count goes back to zero, on screen and in the file.
    void ResetClick();

    // The rows as shown: each a name and its value.
    static std::array<std::pair<QString, QString>, 9> Rows(const TStatistics& s, const TStopwatch& clock);

    std::array<QLabel*, 9> Names{};
    std::array<QLabel*, 9> Values{};
    TFancyButton* ResetBtn;
    TFancyButton* CloseBtn;

private:
    void Show(const TStatistics& s);

    const TStopwatch& clock;
};

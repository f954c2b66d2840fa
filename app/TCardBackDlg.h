#pragma once

#include "KestrelObjects/TCentredDialog.h"

#include <optional>

class QListWidget;
class QPushButton;

// Chooses one of the 13 card backs from a list of their large pictures.
class TCardBackDlg : public TCentredDialog {
    Q_OBJECT
public:
    explicit TCardBackDlg(QWidget* parent = nullptr);

    // Shows the dialog with the back in use selected. The back chosen with OK (the one in use
    // when no row is selected), or none when the dialog was cancelled.
    std::optional<int> ChooseCardBack(int current);

    QListWidget* BackList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

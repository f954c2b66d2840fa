#pragma once

#include "KestrelObjects/TCentredDialog.h"

class QListWidget;
class QPushButton;
class TGame;

// Chooses one of the 13 card backs from a list of their large pictures.
class TCardBackDlg : public TCentredDialog {
    Q_OBJECT
public:
    explicit TCardBackDlg(QWidget* parent = nullptr);

    // Shows the dialog; on OK the chosen back goes on every card and the board is repainted.
    void ChooseCardBack(TGame& game);

    QListWidget* BackList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

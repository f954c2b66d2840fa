#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
class TGame;

// Chooses one of the 13 card backs from a list of their large pictures.
class TCardBackDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCardBackDlg(QWidget* parent = nullptr);

    // Shows the dialog; on OK the chosen back goes on every card and the board is repainted.
    void ChooseCardBack(TGame& game);

    QListWidget* BackList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

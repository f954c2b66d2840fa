#pragma once

#include "engine/IGameHost.h"

#include "KestrelObjects/TCentredDialog.h"

class QLabel;
class QGroupBox;
class QRadioButton;
class QStackedWidget;
class TFancyButton;

// The engine's one question and notice dialog: a message page and a choice page, with OK and
// Cancel buttons shown only when they have a caption.
class TGameMessageDlg : public TCentredDialog {
    Q_OBJECT
public:
    explicit TGameMessageDlg(QWidget* parent = nullptr);

    uint8_t ShowGameMessage(GameMessagePage page, const QString& caption, const QString& message,
                            const QString& okCaption, const QString& cancelCaption);

    QStackedWidget* PageControl1;
    QLabel* MessDis;
    QGroupBox* DealRadio;
    QRadioButton* DealItems[3];
    TFancyButton* OKBtn;
    TFancyButton* CancelBtn;

private:
    int SelectedItem() const;
};

#include "TGameMessageDlg.h"

#include "Fonts.h"
#include "GameStyle.h"
#include "KestrelObjects/TFancyButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>


TGameMessageDlg::TGameMessageDlg(QWidget* parent) : TCentredDialog(parent, Qt::Tool) {
    setFixedSize(392, 182);
    Colour(this, DialogGreen, Qt::yellow);

    PageControl1 = new QStackedWidget(this);
    PageControl1->setGeometry(0, 0, 392, 182 - 47);

    auto* page0 = new QWidget;
    auto* layout0 = new QVBoxLayout(page0);
    layout0->setContentsMargins(5, 5, 5, 5);
    MessDis = new QLabel(page0);
    MessDis->setFont(GameFont("Georgia", 16, true));
    MessDis->setWordWrap(true);
    MessDis->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Colour(MessDis, DialogGreen, Qt::yellow);
    layout0->addWidget(MessDis);
    PageControl1->addWidget(page0);

    auto* page1 = new QWidget;
    Colour(page1, DialogGreen, Qt::yellow);
    DealRadio = new QGroupBox(QStringLiteral("What would you like to do?"), page1);
    DealRadio->setGeometry(4, 4, 392 - 8, 97);
    DealRadio->setFont(GameFont("Georgia", 13, true));
    Colour(DealRadio, QColor(0, 64, 0), QColor(0, 192, 0));
    // The three rows share the group's 97 pixels below its caption: no margins or spacing of
    // the style's, which would squeeze the rows until their texts are cut off.
    auto* radioLayout = new QVBoxLayout(DealRadio);
    radioLayout->setContentsMargins(8, 0, 8, 0);
    radioLayout->setSpacing(0);
    const char* items[3] = {"Start New Game", "Restart Current Game", "Keep Playing this Game"};
    for (int i = 0; i < 3; ++i) {
        DealItems[i] = new QRadioButton(QString::fromLatin1(items[i]), DealRadio);
        // A button fills its background with the palette's button colour, a light grey in most
        // styles; the rows show the group's own colour through instead.
        QPalette pal = DealRadio->palette();
        pal.setColor(QPalette::Button, QColor(0, 64, 0));
        // Styles draw the ring of the indicator a shade darker than the window colour; from the
        // text's green it stands out on the dark group.
        pal.setColor(QPalette::Window, QColor(0, 192, 0));
        DealItems[i]->setPalette(pal);
        DealItems[i]->setAutoFillBackground(false);
        radioLayout->addWidget(DealItems[i]);
    }
    PageControl1->addWidget(page1);

    auto* panel1 = new QWidget(this);
    panel1->setGeometry(0, 182 - 47, 392, 47);
    Colour(panel1, DialogGreen, Qt::yellow);
    OKBtn = GreenDialogButton(panel1, 16);
    CancelBtn = GreenDialogButton(panel1, 264);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TGameMessageDlg::SelectedItem() const {
    for (int i = 0; i < 3; ++i)
        if (DealItems[i]->isChecked())
            return i;
    return 0;
}

uint8_t TGameMessageDlg::ShowGameMessage(GameMessagePage page, const QString& caption, const QString& message,
                                         const QString& okCaption, const QString& cancelCaption) {
    DealItems[0]->setChecked(true);
    setWindowTitle(caption);
    MessDis->setText(message);
    const int index = int(page);
    PageControl1->setVisible(index == 0 || index == 1);
    if (index == 0 || index == 1)
        PageControl1->setCurrentIndex(index);
    OKBtn->setVisible(!okCaption.isEmpty());
    CancelBtn->setVisible(!cancelCaption.isEmpty());
    OKBtn->setText(okCaption);
    CancelBtn->setText(cancelCaption);
    // The close box and the Esc key count as Cancel.
    const uint8_t closed = exec() == QDialog::Accepted ? GameMessageResult::OkChosen : GameMessageResult::CancelChosen;
    static constexpr uint8_t itemFlags[3] = {GameMessageResult::NewGameChosen, GameMessageResult::RestartChosen,
                                             GameMessageResult::KeepPlayingChosen};
    return closed | itemFlags[SelectedItem()];
}

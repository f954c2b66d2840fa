#include "TAboutBox.h"

#include "Fonts.h"
#include "KestrelObjects/BitmapHelpers.h"
#include "KestrelObjects/TFancyButton.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>

namespace {
QLabel* Text(QWidget* parent, const QRect& at, const QString& text, const QFont& font, const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(at);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}
} // namespace

QString BuildVersionText(const QDate& modified, const QString& fileVersion) {
    const QString build = fileVersion.section('.', -1);
    return QStringLiteral("Version 1.%1.%2.%3.%4")
        .arg(modified.year() % 100, 2, 10, QChar('0'))
        .arg(modified.month())
        .arg(modified.day())
        .arg(build);
}

TAboutBox::TAboutBox(QWidget* parent) : TCentredDialog(parent) {
    setWindowTitle(QStringLiteral("About Tarnwell"));
    setFixedSize(345, 214);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* panel = new QFrame(this);
    panel->setGeometry(8, 8, 329, 153);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    QPalette green = panel->palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    panel->setPalette(green);
    panel->setAutoFillBackground(true);

    auto* icon = new QLabel(panel);
    icon->setGeometry(8, 8, 140, 110);
    icon->setPixmap(QPixmap::fromImage(ReadPicture(QStringLiteral(":/pictures/about_fan.png"))));

    Text(panel, {146, 8, 179, 25}, QStringLiteral("Tarnwell"), GameFont("Elephant", 19, true), QColor(0, 255, 0));
    const QFont small = GameFont("MS Sans Serif", 11, false);
    const QFont smallBold = GameFont("MS Sans Serif", 11, true);
    Text(panel, {162, 36, 141, 25}, QStringLiteral("Single-deck patience"), smallBold, Qt::black);
    const QString program = QCoreApplication::applicationFilePath();
    const QDate modified = QFileInfo(program).lastModified().date();
    Version = Text(panel, {146, 67, 179, 17}, BuildVersionText(modified, QStringLiteral(TARNWELL_VERSION)), smallBold,
                   Qt::black);
    Text(panel, {152, 88, 169, 33}, QStringLiteral("Build each suit home from the Ace to the King."), small,
         Qt::yellow);
    Text(panel, {16, 124, 297, 21}, QStringLiteral("Free software under the GNU GPL, version 3 or later"), small,
         Qt::yellow);

    auto* ok = new TFancyButton(this);
    ok->setText(QStringLiteral("OK"));
    ok->setGeometry(112, 176, 105, 25);
    ok->setFont(GameFont("System", 13, true));
    ok->SetFontColor(MakeColor(255, 255, 0));
    ok->SetGradColor1(MakeColor(224, 224, 224));
    ok->SetGradColor2(MakeColor(128, 128, 128));
    ok->SetGradient(true);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

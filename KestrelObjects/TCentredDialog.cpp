#include "TCentredDialog.h"

#include <QGuiApplication>
#include <QScreen>

void TCentredDialog::showEvent(QShowEvent* event) {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

#include "TForm1.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarnwell.tarnwell"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/icon_%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // The main window first (its creation starts the engine), then the dialogs.
    TForm1 form;
    form.CreateDialogs();
    form.show();
    // A saved game named on the command line (as the desktop opens one) is loaded at once.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        QTimer::singleShot(0, &form, [&form, path = arguments.at(1)] { form.OpenGameFile(path); });
    return app.exec();
}

#include "TForm1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    TForm1 form;
    form.CreateDialogs();
    form.show();
    return app.exec();
}

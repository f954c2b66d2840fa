// The yardstick of the start-up probe: the least a Qt Widgets program does to put a window on
// the screen. A top-level widget of the game's size, filled with the table green, nothing else.
#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {
class GreenWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 128, 0)); }
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    GreenWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(794, 603);
    window.move(451, 160);
    window.show();
    return app.exec();
}

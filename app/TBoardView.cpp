#include "TBoardView.h"

#include "engine/TwGame.h"

#include <QMouseEvent>
#include <QPainter>

TBoardView::TBoardView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void TBoardView::ShowImage(const QImage& board) {
    image = &board;
    repaint();
}

void TBoardView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!image || image->isNull())
        p.fillRect(rect(), QColor(0, 128, 0));
    else
        p.drawImage(0, 0, *image);
}

void TBoardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (game && game->Deck)
        game->BoardResize(width(), height());
}

void TBoardView::mousePressEvent(QMouseEvent* event) {
    if (game)
        game->BoardMouseDown(event->buttons().testFlag(Qt::LeftButton), event->position().toPoint().x(),
                             event->position().toPoint().y());
}

void TBoardView::mouseMoveEvent(QMouseEvent* event) {
    if (game)
        game->BoardMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void TBoardView::mouseReleaseEvent(QMouseEvent* event) {
    if (game)
        game->BoardMouseUp(event->position().toPoint().x(), event->position().toPoint().y());
}

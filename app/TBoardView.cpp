#include "TBoardView.h"

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
    else {
        // The board is opaque everywhere: copied, not blended.
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, *image);
    }
}

void TBoardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resized();
}

void TBoardView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseDown(event->buttons(), p.x(), p.y());
}

void TBoardView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseMove(p.x(), p.y());
}

void TBoardView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseUp(p.x(), p.y());
}

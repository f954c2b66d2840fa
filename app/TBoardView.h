#pragma once

#include <QImage>
#include <QWidget>

// The board image control: shows the board image it is given and reports the mouse and its own
// size in board pixels. It knows nothing of the game; the main window passes everything on.
class TBoardView : public QWidget {
    Q_OBJECT
public:
    explicit TBoardView(QWidget* parent = nullptr);

    // Shows a newly painted board at once. The view keeps a reference to the board image, so
    // painting the next frame never has to copy it.
    void ShowImage(const QImage& board);
    const QImage* Image() const { return image; }

signals:
    void MouseDown(Qt::MouseButtons buttons, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QImage* image = nullptr;
};

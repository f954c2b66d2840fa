#pragma once

#include <QImage>
#include <QWidget>

class TGame;

// The board image control: shows the board the engine paints and hands the mouse to it.
class TBoardView : public QWidget {
    Q_OBJECT
public:
    explicit TBoardView(QWidget* parent = nullptr);

    void SetGame(TGame* game) { this->game = game; }
    // Shows a newly painted board at once. The view keeps a reference to the engine's board
    // image, so painting the next frame never has to copy it.
    void ShowImage(const QImage& board);
    const QImage* Image() const { return image; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TGame* game = nullptr;
    const QImage* image = nullptr;
};

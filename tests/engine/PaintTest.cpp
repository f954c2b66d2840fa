#include "support/EngineFixture.h"

namespace {
QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
const QColor Table(0, 128, 0);
} // namespace

class PaintTest : public EngineFixture {
protected:
    PaintTest() {
        EmptyBoardInPlay();
        PutColumn(0, {0});
        PutColumn(2, {5, 6});
        game.LayoutBoard();
    }
};

TEST_F(PaintTest, TableSlotsAndCardsThroughTheirMask) {
    game.PaintBoard();
    const QImage& board = host.LastBoard;
    ASSERT_EQ(board.size(), QSize(BoardWidth, BoardHeight));
    EXPECT_EQ(Pixel(board, 400, 480), Table);
    // An empty pocket's slot: black line at its top and left, bright green at the bottom right.
    const QPoint pocket = game.PocketPosition(1) - QPoint(1, 1);
    EXPECT_EQ(Pixel(board, pocket.x() + 20, pocket.y()), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(board, pocket.x() + 70, pocket.y() + 40), QColor(0, 255, 0));
    EXPECT_EQ(Pixel(board, pocket.x() + 30, pocket.y() + 40), Table);
    // A card's very corner shows the table through the mask; its border is black; its face white.
    const QPoint card = Card(0)->Position;
    EXPECT_EQ(Pixel(board, card.x(), card.y()), Table);
    EXPECT_EQ(Pixel(board, card.x() + 35, card.y()), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(board, card.x() + 35, card.y() + 60).lightness(), 255);
    // Every host show is the whole board in one step.
    EXPECT_GT(host.BoardShows, 0);
}

TEST_F(PaintTest, HighlightAndShadow) {
    TCard* card = Card(6);
    card->Highlighted = true;
    game.PaintBoard();
    const QImage& board = host.LastBoard;
    const TRect r = card->BoundsRect();
    // A solid yellow line one pixel outside the card, a half-transparent band outside that.
    EXPECT_EQ(Pixel(board, r.Left - 1, r.Top + 50), QColor(255, 255, 0));
    EXPECT_EQ(Pixel(board, r.Right, r.Top + 50), QColor(255, 255, 0));
    const QColor band = Pixel(board, r.Left - 3, r.Top + 50);
    EXPECT_GT(band.red(), 100);
    EXPECT_LT(band.red(), 255);

    card->Highlighted = false;
    card->Lifted = true;
    game.PaintBoard();
    // The shadow falls 6 pixels right and down, a quarter dark over the table.
    const QColor shade = Pixel(host.LastBoard, r.Right + 3, r.Top + 50);
    EXPECT_EQ(shade.red(), 0);
    EXPECT_NEAR(shade.green(), 96, 2);
    EXPECT_EQ(Pixel(host.LastBoard, r.Right + 7, r.Top + 50), Table);
}

TEST_F(PaintTest, SqueezedWidthsOfAFlip) {
    TCard* large = Card(0);
    struct {
        double angle;
        int width;
    } const cases[] = {{0, 71}, {9, 71}, {18, 67}, {81, 11}, {90, 1}, {171, 71}};
    for (const auto& c : cases)
        EXPECT_EQ(large->Width() - 2 * large->SqueezeInset(c.angle), c.width) << c.angle;
    game.SetCardSize(true);
    EXPECT_EQ(Card(0)->Width() - 2 * Card(0)->SqueezeInset(90), 0);
}

TEST_F(PaintTest, FlipShowsBackThenStripThenFace) {
    TCard* card = Card(0); // alone in its column, over the bare table
    card->FaceUp = false;
    std::vector<int> widths;
    game.Deck->FlipCard(*card, game.BoardImage, 20, 5, [&](bool redraw) {
        if (redraw) {
            game.PaintBoard();
            return;
        }
        // Count the columns that differ from the board under the card in its middle row.
        const int y = card->Position.y() + 48;
        int n = 0;
        for (int x = card->Position.x() - 6; x < card->Position.x() + 77; ++x)
            n += game.BoardImage.pixelColor(x, y) != card->SaveUnderImage.pixelColor(x - card->Position.x() + 6, 54);
        widths.push_back(n);
    });
    ASSERT_EQ(widths.size(), 21u);
    EXPECT_EQ(widths[0], 71);
    EXPECT_EQ(widths[2], 67);
    EXPECT_EQ(widths[9], 11);
    EXPECT_LE(widths[10], 1);
    EXPECT_EQ(widths[20], 71);
    EXPECT_TRUE(card->FaceUp);
    EXPECT_TRUE(card->Visible);
    EXPECT_EQ(clock.BusyWaitedMs, 21 * 5);
}

TEST_F(PaintTest, AnimateMoveFramesLiftedThenPutDown) {
    struct Frame {
        QPoint position;
        bool lifted;
    };
    std::vector<Frame> frames;
    const std::vector<int> run{5, 6};
    const QPoint offset = Card(6)->Position - Card(5)->Position;
    game.Deck->AnimateMove({0, 0}, {10, 5}, 4, 3, run, [&](bool) {
        frames.push_back({Card(5)->Position, Card(5)->Lifted});
        EXPECT_EQ(Card(6)->Position - Card(5)->Position, offset);
    });
    ASSERT_EQ(frames.size(), 5u);
    const QPoint expected[] = {{0, 0}, {2, 1}, {5, 2}, {8, 4}, {10, 5}}; // halves to even
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(frames[i].position, expected[i]) << i;
        EXPECT_EQ(frames[i].lifted, i < 4) << i;
    }
    EXPECT_EQ(clock.BusyWaitedMs, 5 * 3);
    // One step: lifted at the start, put down at the end.
    frames.clear();
    game.Deck->AnimateMove({100, 100}, {200, 300}, 1, 0, {0}, [&](bool) {
        frames.push_back({Card(0)->Position, Card(0)->Lifted});
    });
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].lifted);
    EXPECT_EQ(frames[1].position, QPoint(200, 300));
    EXPECT_FALSE(frames[1].lifted);
}

#include "engine/BoardGeometry.h"
#include "support/FakeHost.h"
#include "support/VirtualTimeSource.h"
#include "engine/TwGame.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>

namespace {
const QRgb Table = qRgb(0, 128, 0);

// A game on a board of any size and pixel ratio, shown as the window shows it.
struct ScaledGame {
    VirtualTimeSource clock;
    WindowLikeHost host;
    TGame game{host};
    ScaledGame(QSize board, qreal ratio, bool fit) {
        game.BoardImage =
            QImage(qRound(board.width() * ratio), qRound(board.height() * ratio), QImage::Format_ARGB32_Premultiplied);
        game.BoardImage.setDevicePixelRatio(ratio);
        game.EngineStart();
        game.FitToWindow = fit;
        game.SetCardSize(false);
    }
    void Deal() {
        game.DealGame();
        game.Deck->FinishPictures();
        game.PaintBoard();
    }
    // The board's device pixel under a board pixel.
    QRgb Pixel(QPoint p) const {
        const qreal r = game.PixelRatio();
        return game.BoardImage.pixel(int(p.x() * r), int(p.y() * r));
    }
};

// The board drawn the plain way: table, every slot, every visible card whole, lowest first.
QImage DrawnWhole(const TGame& g) {
    QImage board(g.BoardImage.size(), g.BoardImage.format());
    board.setDevicePixelRatio(g.BoardImage.devicePixelRatio());
    board.fill(QColor(0, 128, 0));
    QPainter canvas(&board);
    for (int p = 0; p < HomeCount; ++p)
        g.Deck->DrawSlot(canvas, g.PocketPosition(p).x() - 1, g.PocketPosition(p).y() - 1);
    for (int c = 0; c < ColumnCountMax; ++c)
        g.Deck->DrawSlot(canvas, g.CellPosition(c, 0).x() - 1, g.CellPosition(c, 0).y() - 1);
    for (const TCard* card : g.Deck->SortByDepth())
        if (card->Visible)
            card->DrawCard(canvas);
    return board;
}
} // namespace

// Fit to Window at many board sizes: the largest cards from the small set's up to three times
// the large, with the pockets, the eight columns and a column of 13 cards inside the board, and
// nothing on top of anything else.
TEST(FitToWindow, LayoutsAtManyBoardSizes) {
    const QSize boards[] = {{400, 300},  {794, 508},   {800, 600},   {1024, 700}, {1280, 950},
                            {1600, 900}, {2560, 1440}, {3840, 2100}, {900, 2000}, {3000, 500}};
    for (const QSize board : boards) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(board.width()).arg(board.height()).toStdString());
        const TBoardGeometry g = TBoardGeometry::FitBoard(board);
        const int h = g.Card.height(), w = g.Card.width();
        ASSERT_GE(h, TBoardGeometry::SmallestFitHeight);
        ASSERT_LE(h, TBoardGeometry::LargestFitHeight);
        if (h > TBoardGeometry::SmallestFitHeight) {
            EXPECT_LE(g.LayoutWidth(), board.width());
            EXPECT_LE(g.LayoutHeight(), board.height());
            // Centred across the board.
            EXPECT_EQ(g.HomeOrigin.x() - g.BoardMargin, (board.width() - g.LayoutWidth()) / 2);
            // A column of 13 keeps its row distance; the last pocket and column stay inside.
            TBoardGeometry fitted = g;
            std::array<int, ColumnCountMax> bottom{};
            bottom.fill(12);
            fitted.FitColumns(bottom);
            EXPECT_EQ(fitted.ColumnStep[0], g.RowStep);
            EXPECT_LE(g.PocketPosition(3).y() + h, board.height());
            EXPECT_LE(g.CellPosition(7, 12).y() + h, board.height());
            EXPECT_LE(g.CellPosition(7, 0).x() + w, board.width());
        }
        if (h < TBoardGeometry::LargestFitHeight && h > TBoardGeometry::SmallestFitHeight) {
            const TBoardGeometry larger = TBoardGeometry::ForCardHeight(h + 1, board.height());
            EXPECT_TRUE(larger.LayoutWidth() > board.width() || larger.LayoutHeight() > board.height());
        }
        // In proportion to the large layout above it.
        if (h >= 96) {
            EXPECT_EQ(g.BoardMargin, std::lround(30.0 * h / 96));
            EXPECT_EQ(g.ColumnGap, std::lround(9.0 * h / 96));
            EXPECT_EQ(g.RowStep, std::lround(30.0 * h / 96));
            EXPECT_EQ(w, std::lround(71.0 * h / 96));
        }
        // Nothing overlaps: pockets under each other, the columns apart and right of them.
        for (int p = 0; p + 1 < HomeCount; ++p)
            EXPECT_LT(g.PocketPosition(p).y() + h, g.PocketPosition(p + 1).y());
        EXPECT_LT(g.PocketPosition(0).x() + w, g.CellPosition(0, 0).x());
        for (int c = 0; c + 1 < ColumnCountMax; ++c)
            EXPECT_LT(g.CellPosition(c, 0).x() + w, g.CellPosition(c + 1, 0).x());
        EXPECT_EQ(g.DeckRect, TRect::FromSize(g.HomeOrigin, QPoint(w, h)));
    }
    // The two sets come out exactly.
    const TBoardGeometry large = TBoardGeometry::ForCardHeight(96, 508);
    const TBoardGeometry small = TBoardGeometry::ForCardHeight(72, 508);
    for (const auto& [made, set] : {std::pair(large, TBoardGeometry::ForCards({71, 96}, false, 508)),
                                    std::pair(small, TBoardGeometry::ForCards({54, 72}, true, 508))}) {
        EXPECT_EQ(made.Card, set.Card);
        EXPECT_EQ(made.BoardMargin, set.BoardMargin);
        EXPECT_EQ(made.ColumnGap, set.ColumnGap);
        EXPECT_EQ(made.PocketGap, set.PocketGap);
        EXPECT_EQ(made.RowStep, set.RowStep);
        EXPECT_EQ(made.PileOrigin, set.PileOrigin);
    }
}

// On a dealt board at several sizes and both pixel ratios, every card hit-tests to itself where
// it shows, the board shows a card there, and the gaps and the strip below a column hit no card.
TEST(FitToWindow, EveryCardHitTestsToWhatIsDrawn) {
    const struct {
        QSize board;
        qreal ratio;
    } cases[] = {{{794, 508}, 1}, {{1600, 900}, 1}, {{2560, 1440}, 1}, {{794, 508}, 2}, {{1280, 720}, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1x%2 at %3").arg(c.board.width()).arg(c.board.height()).arg(c.ratio).toStdString());
        ScaledGame s(c.board, c.ratio, true);
        s.Deal();
        TGame& g = s.game;
        const int w = g.Geometry.Card.width(), h = g.Geometry.Card.height();
        for (int column = 0; column < ColumnCountMax; ++column) {
            const int bottom = g.BottomRow(column);
            for (int row = 0; row <= bottom; ++row) {
                const QPoint cell = g.CellPosition(column, row);
                ASSERT_EQ(g.Cell(column, row)->Position, cell);
                const int shown = row < bottom ? g.Geometry.ColumnStep[size_t(column)] : h;
                const QPoint middle = cell + QPoint(w / 2, shown / 2);
                const BoardSlot slot = g.HitTest(middle.x(), middle.y());
                EXPECT_EQ(slot.Column, column);
                EXPECT_EQ(slot.Card, g.Cell(column, row)) << column << "," << row;
                EXPECT_NE(s.Pixel(cell + QPoint(w / 2, 1)), Table) << column << "," << row;
            }
            const QPoint below = g.CellPosition(column, bottom) + QPoint(w / 2, h + 2);
            EXPECT_EQ(g.HitTest(below.x(), below.y()).Card, nullptr);
            EXPECT_EQ(s.Pixel(below), Table);
            // The gap to the right of the column.
            const QPoint gap = g.CellPosition(column, 0) + QPoint(w + g.Geometry.ColumnGap / 2, 5);
            if (g.Geometry.ColumnGap >= 2) {
                EXPECT_EQ(g.HitTest(gap.x(), gap.y()).Column, -1);
                EXPECT_EQ(s.Pixel(gap), Table);
            }
        }
        for (int p = 0; p < HomeCount; ++p) {
            const QPoint middle = g.PocketPosition(p) + QPoint(w / 2, h / 2);
            EXPECT_EQ(g.HitPocket(middle.x(), middle.y()), p);
        }
        // Nothing of the board lies outside the image.
        EXPECT_LE(g.CellPosition(7, 0).x() + w, c.board.width());
    }
}

// Leaving out what cards cover, and refilling only what the last paint drew on, gives the same
// picture as drawing everything: at both ratios, with a card chosen and a run lifted, and after
// the cards have moved on the same board image.
TEST(FitToWindow, PaintingEqualsDrawingEverything) {
    for (const qreal ratio : {1.0, 2.0}) {
        for (const bool fit : {false, true}) {
            SCOPED_TRACE(QStringLiteral("ratio %1%2").arg(ratio).arg(fit ? " fitted" : "").toStdString());
            ScaledGame s(QSize(1100, 700), ratio, fit);
            TGame& g = s.game;
            // The untidy stack before the deal: every card but the top one partly hidden.
            g.PaintBoard();
            EXPECT_EQ(g.BoardImage, DrawnWhole(g));
            s.Deal();
            EXPECT_EQ(g.BoardImage, DrawnWhole(g));
            g.Cell(3, g.BottomRow(3))->Highlighted = true;
            TCard* lifted = g.Cell(6, g.BottomRow(6));
            lifted->Lifted = true;
            lifted->Position += QPoint(-150, 90);
            lifted->Depth = 1000;
            g.PaintBoard();
            EXPECT_EQ(g.BoardImage, DrawnWhole(g));
            // Put down elsewhere, and a column gone: the table comes back where they were.
            lifted->Lifted = false;
            for (int row = 0; row <= g.BottomRow(7); ++row)
                g.Cell(7, row)->Visible = false;
            g.PaintBoard();
            EXPECT_EQ(g.BoardImage, DrawnWhole(g));
        }
    }
}

// At a pixel ratio of 2 a card is the picture made for the screen's own pixels, copied pixel for
// pixel: a black border two device pixels wide, the table at its clear corners, and the layout
// and the mouse in board pixels as at ratio 1.
TEST(FitToWindow, ACardAtRatioTwoIsDrawnAtTheScreensOwnPixels) {
    ScaledGame s(QSize(794, 508), 2.0, false);
    TGame& g = s.game;
    TGame::ClearBoard(g.GameArray);
    g.GameState = TGameState::Playing;
    g.Cell(0, 0) = &g.Deck->Card(0); // the Ace of hearts, face up, alone in column 0
    g.Deck->Card(0).FaceUp = true;
    g.LayoutBoard();
    g.PaintBoard();
    ASSERT_EQ(g.BoardImage.size(), QSize(1588, 1016));
    const TCard& card = g.Deck->Card(0);
    EXPECT_EQ(card.Position, QPoint(110, 30));
    EXPECT_EQ(g.HitTest(115, 35).Card, &card);
    const QImage& face = card.FaceImage;
    ASSERT_EQ(face.size(), QSize(142, 192));
    int compared = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x) {
            const QRgb picture = face.pixel(x, y);
            if (qAlpha(picture) != 255)
                continue;
            ASSERT_EQ(g.BoardImage.pixel(220 + x, 60 + y), picture) << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, 142 * 192 - 200);
    EXPECT_EQ(g.BoardImage.pixel(220, 60), Table);              // the rounded corner
    EXPECT_EQ(g.BoardImage.pixel(220 + 71, 60), qRgb(0, 0, 0)); // the border, two pixels deep
    EXPECT_EQ(g.BoardImage.pixel(220 + 71, 61), qRgb(0, 0, 0));
    EXPECT_EQ(g.BoardImage.pixel(220 + 71, 62), qRgb(255, 255, 255));
    // The slot of an empty column: its black top line two pixels deep.
    const QPoint slot = (g.CellPosition(1, 0) - QPoint(1, 1)) * 2;
    EXPECT_EQ(g.BoardImage.pixel(slot + QPoint(40, 1)), qRgb(0, 0, 0));
    EXPECT_EQ(g.BoardImage.pixel(slot + QPoint(40, 2)), Table);

    // Turned over, it narrows by whole board pixels, two device pixels at a time.
    std::vector<int> widths;
    g.Deck->FlipCard(g.Deck->Card(0), g.BoardImage, 20, 0, [&](bool redraw) {
        if (redraw) {
            g.PaintBoard();
            return;
        }
        int n = 0;
        const TCard& turning = g.Deck->Card(0);
        for (int x = 0; x < turning.SaveUnderImage.width(); ++x)
            n += g.BoardImage.pixel(208 + x, 60 + 96) != turning.SaveUnderImage.pixel(x, 12 + 96);
        widths.push_back(n);
    });
    ASSERT_EQ(widths.size(), 21u);
    EXPECT_EQ(widths[0], 142);
    EXPECT_EQ(widths[2], 134);
}

// With Fit to Window the cards follow the board: a deck waiting to be dealt moves with the first
// pocket, a game in play is laid out again at the new size.
TEST(FitToWindow, ResizingMovesTheDeckAndLaysTheGameOutAgain) {
    ScaledGame s(QSize(794, 508), 1.0, true);
    TGame& g = s.game;
    const QPoint home = g.Geometry.HomeOrigin;
    const QPoint offset = g.Deck->Card(17).Position - home;
    g.BoardResize(1600, 1000, 1.0);
    EXPECT_GT(g.Geometry.Card.height(), 96);
    EXPECT_EQ(g.Deck->CardSize(), QPoint(g.Geometry.Card.width(), g.Geometry.Card.height()));
    EXPECT_EQ(g.Deck->Card(17).Position - g.Geometry.HomeOrigin, offset);
    s.Deal();
    g.BoardResize(1000, 640, 2.0);
    EXPECT_EQ(g.BoardImage.size(), QSize(2000, 1280));
    for (int column = 0; column < ColumnCountMax; ++column)
        for (int row = 0; row <= g.BottomRow(column); ++row)
            EXPECT_EQ(g.Cell(column, row)->Position, g.CellPosition(column, row));
    // Off again: the large set's own layout, to the pixel.
    g.SetFitToWindow(false);
    EXPECT_EQ(g.Geometry.Card, QSize(71, 96));
    EXPECT_EQ(g.CellPosition(7, 0), QPoint(670, 30));
}

#include "KestrelObjects/BitmapHelpers.h"
#include "support/VirtualTimeSource.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(BitmapHelpers, ColourArithmetic) {
    const TColor c = MakeColor(51, 34, 17) | 0x01000000u;
    EXPECT_EQ(SwapRedBlue(c), MakeColor(17, 34, 51));
    EXPECT_EQ(SplitColorRGB(MakeColor(1, 2, 3)), (TRGB{1, 2, 3}));
    EXPECT_EQ(ColorToPixelBytes(MakeColor(1, 2, 3)), (std::array<uint8_t, 3>{3, 2, 1}));
    EXPECT_TRUE(SameRGB(MakeColor(9, 8, 7), MakeColor(9, 8, 7) | 0x05000000u));
    // A system colour resolves before its channels are taken apart.
    EXPECT_EQ(SplitColorRGB(clBtnFace), (TRGB{240, 240, 240}));
}

TEST(BitmapHelpers, GradientRowsUseTheCeiling) {
    QImage image(4, 30, QImage::Format_RGB32);
    QPainter p(&image);
    GradientFill(p, TRect{0, 0, 4, 30}, MakeColor(128, 128, 128), clBlack);
    p.end();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(3, 29), QColor(5, 5, 5)); // 128 + ceil(-128 / 30 * 29)
    EXPECT_EQ(image.pixelColor(2, 1), QColor(124, 124, 124)); // 128 + ceil(-4.27)
    // A rising channel takes the ceiling too.
    QImage up(1, 3, QImage::Format_RGB32);
    QPainter q(&up);
    GradientFill(q, TRect{0, 0, 1, 3}, clBlack, MakeColor(10, 0, 0));
    q.end();
    EXPECT_EQ(up.pixelColor(0, 1).red(), 4); // ceil(3.33)
    EXPECT_EQ(up.pixelColor(0, 2).red(), 7);
}

TEST(BitmapHelpers, AlphaByColourKeyIsPremultiplied) {
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixelColor(0, 0, QColor(0, 0, 0));
    image.setPixelColor(1, 0, QColor(255, 255, 255));
    image.setPixelColor(2, 0, QColor(224, 32, 64));
    SetAlphaByKey(image, clBlack, 64, true);
    SetAlphaByKey(image, clWhite, 0, false);
    auto raw = [&image](int x) { return reinterpret_cast<const QRgb*>(image.constScanLine(0))[x]; };
    EXPECT_EQ(qAlpha(raw(0)), 64);
    EXPECT_EQ(qRed(raw(0)), 0);
    EXPECT_EQ(raw(1), 0u); // white: fully transparent
    EXPECT_EQ(raw(2), qRgba(224, 32, 64, 255));
    // Non-matching pixels are left alone when others are not made opaque.
    QImage half(1, 1, QImage::Format_ARGB32_Premultiplied);
    half.setPixel(0, 0, qRgba(50, 40, 30, 128));
    SetAlphaByKey(half, clWhite, 0, false);
    EXPECT_EQ(half.pixel(0, 0), qRgba(50, 40, 30, 128));
    // Premultiplied with rounding: 200 * 64 / 255 = 50.2
    QImage grey(1, 1, QImage::Format_RGB32);
    grey.setPixelColor(0, 0, QColor(200, 200, 200));
    SetAlphaByKey(grey, MakeColor(200, 200, 200), 64, false);
    EXPECT_EQ(qRed(reinterpret_cast<const QRgb*>(grey.constScanLine(0))[0]), 50);
}

TEST(BitmapHelpers, FadeEndsInTheSolidColourOverItsSteps) {
    VirtualTimeSource clock;
    EXPECT_NEAR(Ease(0.5), 0.0192, 0.0005);
    EXPECT_DOUBLE_EQ(Ease(1.0), 1.0);
    EXPECT_DOUBLE_EQ(Ease(0.0), 0.0);
    QImage board(20, 10, QImage::Format_ARGB32_Premultiplied);
    board.fill(QColor(0, 128, 0));
    int shows = 0;
    FadeImageTo(board, clBlack, 2000, [&shows] { ++shows; });
    EXPECT_EQ(shows, 256);
    EXPECT_EQ(clock.ProcessingWaits, 256);
    EXPECT_EQ(clock.NowMs, 256 * 7);
    EXPECT_EQ(board.pixelColor(5, 5), QColor(0, 0, 0));
    // A short fade waits nothing between its steps.
    clock.NowMs = 0;
    FadeImageTo(board, clWhite, 200, {});
    EXPECT_EQ(clock.NowMs, 0);
    EXPECT_EQ(board.pixelColor(5, 5), QColor(255, 255, 255));
}

// The program's own pictures are read in the format their names end in, with the same pixels
// as Qt's own reading; the content of a file named otherwise is not guessed at.
TEST(BitmapHelpers, ReadPictureReadsTheFormatItsNameEndsIn) {
    const QString glyph = QStringLiteral(":/pictures/glyph_deal.png");
    const QImage picture = ReadPicture(glyph);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture, QImage(glyph));
    EXPECT_TRUE(ReadPicture(QStringLiteral(":/pictures/no_such_picture.png")).isNull());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : {QStringLiteral("glyph"), QStringLiteral("glyph.bmp")}) {
        ASSERT_TRUE(QFile::copy(glyph, dir.filePath(name)));
        EXPECT_TRUE(ReadPicture(dir.filePath(name)).isNull()) << qPrintable(name);
    }
}

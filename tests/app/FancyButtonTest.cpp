#include "KestrelObjects/TFancyButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <gtest/gtest.h>

namespace {
constexpr TColor Lightest = MakeColor(200, 0, 0), Light = MakeColor(150, 0, 0);
constexpr TColor Dark = MakeColor(0, 0, 150), Darkest = MakeColor(0, 0, 60);
constexpr TColor Face = MakeColor(100, 100, 100);

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

struct Button {
    TFancyButton b;
    Button() {
        b.resize(40, 24);
        b.SetFrameLightest(Lightest);
        b.SetFrameLight(Light);
        b.SetFrameDark(Dark);
        b.SetFrameDarkest(Darkest);
        b.SetColor(Face);
    }
    QImage Paint() { return b.grab().toImage(); }
};
} // namespace

TEST(FancyButton, LightenHalvesToEven) {
    EXPECT_EQ(TFancyButton::Lighten(clBlack, 0.5), MakeColor(128, 128, 128)); // 127.5 to 128
    EXPECT_EQ(TFancyButton::Lighten(MakeColor(128, 128, 128), 0.5), MakeColor(192, 192, 192)); // 191.5
    EXPECT_EQ(TFancyButton::Lighten(MakeColor(128, 128, 128), 0.25), MakeColor(160, 160, 160)); // 159.75
    EXPECT_EQ(TFancyButton::Lighten(MakeColor(1, 2, 3), 0.0), MakeColor(1, 2, 3));
}

TEST(FancyButton, BevelAndFaceIdleHotAndPressed) {
    Button button;
    QImage idle = button.Paint();
    EXPECT_EQ(At(idle, 0, 0), ToQColor(Lightest));  // outer ring, top-left
    EXPECT_EQ(At(idle, 20, 0), ToQColor(Lightest));
    EXPECT_EQ(At(idle, 39, 0), ToQColor(Darkest));  // top-right corner is dark
    EXPECT_EQ(At(idle, 0, 23), ToQColor(Darkest));  // bottom-left corner is dark
    EXPECT_EQ(At(idle, 39, 23), ToQColor(Darkest));
    EXPECT_EQ(At(idle, 1, 1), ToQColor(Light));     // inner ring
    EXPECT_EQ(At(idle, 38, 12), ToQColor(Dark));
    EXPECT_EQ(At(idle, 20, 22), ToQColor(Dark));
    EXPECT_EQ(At(idle, 3, 12), ToQColor(Face));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button.b, &enter);
    EXPECT_TRUE(button.b.Hot());
    EXPECT_EQ(At(button.Paint(), 3, 12), QColor(139, 139, 139)); // a quarter of the way to white
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button.b, &leave);
    EXPECT_FALSE(button.b.Hot());

    button.b.setDown(true);
    const QImage pressed = button.Paint();
    EXPECT_EQ(At(pressed, 0, 0), ToQColor(Dark)); // a single ring
    EXPECT_EQ(At(pressed, 39, 23), ToQColor(Dark));
    EXPECT_EQ(At(pressed, 1, 1), QColor(178, 178, 178)); // half way to white: 177.5 to 178
}

TEST(FancyButton, GradientFaceAndContentShiftedWhilePressed) {
    Button button;
    button.b.SetGradient(true);
    button.b.SetGradColor1(MakeColor(128, 128, 128));
    button.b.SetGradColor2(clBlack);
    QImage glyph(8, 8, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    glyph.setPixelColor(3, 3, QColor(255, 255, 0));
    button.b.SetGlyph(glyph);
    const QImage idle = button.Paint();
    EXPECT_EQ(At(idle, 20, 2), QColor(128, 128, 128)); // the gradient starts under the frame
    EXPECT_LT(At(idle, 20, 21).red(), 20);
    // The glyph's key colour is transparent; its one yellow pixel is centred without a caption.
    auto findYellow = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(255, 255, 0))
                    return QPoint(x, y);
        return QPoint(-1, -1);
    };
    const QPoint atRest = findYellow(idle);
    EXPECT_EQ(atRest, QPoint(20 - 6 + 3, 12 - 4 + 3)); // block of 8 + Spacing 4, centred
    EXPECT_NE(idle.pixelColor(atRest.x() - 1, atRest.y()), QColor(255, 0, 255));
    button.b.setDown(true);
    EXPECT_EQ(findYellow(button.Paint()), atRest + QPoint(1, 1));
    // With Margin 0 the content starts at the left edge.
    button.b.setDown(false);
    button.b.SetMargin(0);
    EXPECT_EQ(findYellow(button.Paint()), QPoint(3, 12 - 4 + 3));
    button.b.SetMargin(-2);
    EXPECT_EQ(button.b.Margin(), 0);
}

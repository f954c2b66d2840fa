#pragma once

#include "BitmapHelpers.h"

#include <QImage>
#include <QPushButton>

// A push button that draws itself: a two-ring bevelled frame in four colours, a plain or
// gradient face, an optional picture left of the caption, and lighter colours while the mouse
// is over it (a quarter of the way to white) or it is held down (half way).
class TFancyButton : public QPushButton {
    Q_OBJECT
public:
    explicit TFancyButton(QWidget* parent = nullptr);

    TColor FrameDarkest() const { return frameDarkest; }
    TColor FrameDark() const { return frameDark; }
    TColor FrameLightest() const { return frameLightest; }
    TColor FrameLight() const { return frameLight; }
    int Margin() const { return margin; }
    int Spacing() const { return spacing; }
    const QImage& Glyph() const { return glyph; }
    TColor GradColor1() const { return gradColor1; }
    TColor GradColor2() const { return gradColor2; }
    bool Gradient() const { return gradient; }
    TColor Color() const { return color; }
    TColor FontColor() const { return fontColor; }
    bool Hot() const { return hot; }

    void SetFrameDarkest(TColor c) { Change(frameDarkest, c); }
    void SetFrameDark(TColor c) { Change(frameDark, c); }
    void SetFrameLightest(TColor c) { Change(frameLightest, c); }
    void SetFrameLight(TColor c) { Change(frameLight, c); }
    void SetMargin(int value); // values below -1 are ignored
    void SetSpacing(int value) { Change(spacing, value); }
    void SetGlyph(const QImage& picture);
    void SetGradColor1(TColor c) { Change(gradColor1, c); }
    void SetGradColor2(TColor c) { Change(gradColor2, c); }
    void SetGradient(bool on) { Change(gradient, on); }
    void SetColor(TColor c) { Change(color, c); }
    void SetFontColor(TColor c) { Change(fontColor, c); }

    // Each channel moved the fraction x of the way to white, halves rounded to even.
    static TColor Lighten(TColor colour, double x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <typename T> void Change(T& field, T value) {
        if (field == value)
            return;
        field = value;
        update();
    }
    bool IsDefault() const;
    void DrawButton(QPainter& p, TRect r) const;
    void DrawFace(QPainter& p, TRect& r) const;
    void DrawFrame(QPainter& p, TRect& r, TColor brush) const;
    void DrawContent(QPainter& p, TRect r) const;
    void DrawFocus(QPainter& p, TRect r) const;

    TColor frameDarkest = cl3DDkShadow;
    TColor frameDark = clBtnShadow;
    TColor frameLightest = clBtnHighlight;
    TColor frameLight = cl3DLight;
    int margin = -1;
    int spacing = 4;
    QImage glyph;
    QImage glyphCutOut; // the glyph with its bottom-left colour made transparent
    TColor gradColor1 = MakeColor(192, 192, 192);
    TColor gradColor2 = clBlack;
    bool gradient = false;
    TColor color = clBtnFace;
    TColor fontColor = clBlack;
    bool hot = false;
};

#pragma once

#include "IntVector.h"

#include <QImage>
#include <QPainter>
#include <array>
#include <cstdint>
#include <functional>

// A colour as the game stores it: red in the lowest byte, then green, then blue (0x00BBGGRR).
// A value with the top bit set names a system colour, resolved before channels are taken apart.
using TColor = uint32_t;

struct TRGB {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const TRGB&) const = default;
};

constexpr TColor MakeColor(int r, int g, int b) { return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16); }
constexpr TColor clBlack = MakeColor(0, 0, 0);
constexpr TColor clWhite = MakeColor(255, 255, 255);
constexpr TColor clTableGreen = MakeColor(0, 128, 0);
constexpr TColor SystemColorFlag = 0x80000000u;
// System colours, by the classic index of the window system.
constexpr TColor clBtnFace = SystemColorFlag | 15;
constexpr TColor clBtnShadow = SystemColorFlag | 16;
constexpr TColor clBtnHighlight = SystemColorFlag | 20;
constexpr TColor cl3DDkShadow = SystemColorFlag | 21;
constexpr TColor cl3DLight = SystemColorFlag | 22;

// One of the program's own pictures, read in the format its name ends in (".png"); a null
// image when it cannot be read. Unlike QImage(path) it does not first offer the file to every
// installed image plugin, which loads them all: a few milliseconds of the start.
QImage ReadPicture(const QString& path);

// The colour with any system colour resolved to its RGB value.
TColor ResolveColor(TColor c);
TRGB SplitColorRGB(TColor c);
// Blue, green, red: the byte order of a 32-bit pixel in memory.
std::array<uint8_t, 3> ColorToPixelBytes(TColor c);
bool SameRGB(TColor a, TColor b);
TColor SwapRedBlue(TColor c);
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

// Solid fills: the whole rectangle, edges included. The painter keeps the brush and pen.
void FillCanvasRect(QPainter& canvas, const TRect& r, TColor c);
void FillBitmapRect(QImage& bitmap, const TRect& r, TColor c);
void FillBitmap(QImage& bitmap, TColor c);

// A vertical gradient from c1 in the top row toward c2; the last row stops one step short.
void GradientFill(QPainter& canvas, const TRect& r, TColor c1, TColor c2);
// The whole bitmap scaled into the rectangle with smoothing.
void StretchDrawHalftone(QPainter& canvas, const TRect& r, const QImage& bitmap);
// Alpha by colour key, premultiplied: pixels of the key colour get alpha; with othersOpaque
// every other pixel gets 255, otherwise other pixels are left untouched.
void SetAlphaByKey(QImage& bitmap, TColor key, int alpha, bool othersOpaque);
// Source-over blend of the whole bitmap scaled into the rectangle, at a constant opacity and,
// with perPixel, through the bitmap's own premultiplied alpha.
void AlphaDraw(QPainter& canvas, const TRect& r, const QImage& bitmap, bool perPixel, int opacity);
void AlphaDrawConst(QPainter& canvas, const TRect& r, const QImage& bitmap, int opacity);

// The fade's easing: close to 0 for most of the range, rising steeply to 1 at the end.
double Ease(double t);
// Blends the bitmap over the image in 256 growing steps over about durationMs, showing each
// step with show() and letting window messages run between steps.
void FadeIn(QImage& image, const QImage& bitmap, int durationMs, const std::function<void()>& show);
// Fades the image to a solid colour the same way.
void FadeImageTo(QImage& image, TColor c, int durationMs, const std::function<void()>& show);

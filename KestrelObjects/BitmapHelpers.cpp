#include "BitmapHelpers.h"

#include "Timings.h"

#include "TimeSource.h"

#include <QFileInfo>
#include <QImageReader>

#include <cmath>

namespace {
// Classic default values of the system colours the game's controls use.
TColor SystemColorValue(unsigned index) {
    switch (index) {
    case 15: return MakeColor(240, 240, 240); // button face
    case 16: return MakeColor(160, 160, 160); // button shadow
    case 20: return MakeColor(255, 255, 255); // button highlight
    case 21: return MakeColor(105, 105, 105); // 3-D dark shadow
    case 22: return MakeColor(227, 227, 227); // 3-D light
    default: return clBlack;
    }
}

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }
} // namespace

QImage ReadPicture(const QString& path) {
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

TColor ResolveColor(TColor c) { return (c & SystemColorFlag) ? SystemColorValue(c & 0xFF) : (c & 0xFFFFFF); }

TRGB SplitColorRGB(TColor c) {
    c = ResolveColor(c);
    return {uint8_t(c & 0xFF), uint8_t((c >> 8) & 0xFF), uint8_t((c >> 16) & 0xFF)};
}

std::array<uint8_t, 3> ColorToPixelBytes(TColor c) {
    return {uint8_t((c >> 16) & 0xFF), uint8_t((c >> 8) & 0xFF), uint8_t(c & 0xFF)};
}

bool SameRGB(TColor a, TColor b) { return (a & 0xFFFFFF) == (b & 0xFFFFFF); }

TColor SwapRedBlue(TColor c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

QColor ToQColor(TColor c) {
    const TRGB rgb = SplitColorRGB(c);
    return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

TColor FromQColor(const QColor& c) { return MakeColor(c.red(), c.green(), c.blue()); }

void FillCanvasRect(QPainter& canvas, const TRect& r, TColor c) {
    const QColor colour = ToQColor(c);
    canvas.setBrush(colour);
    canvas.setPen(Qt::NoPen);
    canvas.fillRect(r.ToQRect(), colour);
    canvas.setPen(QPen(colour, 1));
}

void FillBitmapRect(QImage& bitmap, const TRect& r, TColor c) {
    QPainter canvas(&bitmap);
    FillCanvasRect(canvas, r, c);
}

void FillBitmap(QImage& bitmap, TColor c) { bitmap.fill(ToQColor(c)); }

void GradientFill(QPainter& canvas, const TRect& r, TColor c1, TColor c2) {
    const int n = r.Bottom - r.Top;
    if (n <= 0)
        return;
    const TRGB a = SplitColorRGB(c1), b = SplitColorRGB(c2);
    auto channel = [n](int from, int to, int k) {
        return from + int(std::ceil(double(to - from) / n * k));
    };
    for (int k = 0; k < n; ++k) {
        const QColor colour(channel(a.Red, b.Red, k), channel(a.Green, b.Green, k), channel(a.Blue, b.Blue, k));
        canvas.fillRect(QRect(r.Left, r.Top + k, r.Width(), 1), colour);
    }
}

void StretchDrawHalftone(QPainter& canvas, const TRect& r, const QImage& bitmap) {
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, true);
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    canvas.drawImage(r.ToQRect(), bitmap);
    canvas.restore();
}

void SetAlphaByKey(QImage& bitmap, TColor key, int alpha, bool othersOpaque) {
    if (bitmap.format() != QImage::Format_ARGB32_Premultiplied)
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto keyBytes = ColorToPixelBytes(ResolveColor(key));
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* px = reinterpret_cast<uint8_t*>(bitmap.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x, px += 4) {
            int a;
            if (px[0] == keyBytes[0] && px[1] == keyBytes[1] && px[2] == keyBytes[2])
                a = alpha;
            else if (othersOpaque)
                a = 255;
            else
                continue;
            for (int i = 0; i < 3; ++i)
                px[i] = uint8_t(RoundHalfEven(px[i] * a / 255.0));
            px[3] = uint8_t(a);
        }
    }
}

void AlphaDraw(QPainter& canvas, const TRect& r, const QImage& bitmap, bool perPixel, int opacity) {
    canvas.save();
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    canvas.setOpacity(opacity / 255.0);
    // A picture made for a finer screen covers its rectangle pixel for pixel there.
    const QSizeF logical = bitmap.deviceIndependentSize();
    const bool scaled = r.Width() != qRound(logical.width()) || r.Height() != qRound(logical.height());
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, scaled);
    if (perPixel || !bitmap.hasAlphaChannel())
        canvas.drawImage(r.ToQRect(), bitmap);
    else
        canvas.drawImage(r.ToQRect(), bitmap.convertToFormat(QImage::Format_RGB32));
    canvas.restore();
}

void AlphaDrawConst(QPainter& canvas, const TRect& r, const QImage& bitmap, int opacity) {
    AlphaDraw(canvas, r, bitmap, false, opacity);
}

double Ease(double t) { return t / ((1 - t) * 50 + 1); }

void FadeIn(QImage& image, const QImage& bitmap, int durationMs, const std::function<void()>& show) {
    const int last = Timing::FadeSteps - 1;
    const int stepWait = durationMs / last;
    // The whole picture, in its own (logical) pixels.
    const QSizeF size = image.deviceIndependentSize();
    const TRect whole{0, 0, qRound(size.width()), qRound(size.height())};
    for (int i = 0; i <= last; ++i) {
        const int opacity = RoundHalfEven(Ease(double(i) / last) * 255);
        {
            QPainter canvas(&image);
            AlphaDrawConst(canvas, whole, bitmap, opacity);
        }
        if (show)
            show();
        WaitProcessing(stepWait);
    }
}

void FadeImageTo(QImage& image, TColor c, int durationMs, const std::function<void()>& show) {
    QImage solid(image.size(), QImage::Format_RGB32);
    FillBitmap(solid, c);
    FadeIn(image, solid, durationMs, show);
}

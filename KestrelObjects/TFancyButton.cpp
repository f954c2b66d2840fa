#include "TFancyButton.h"

#include <QEnterEvent>
#include <QPainter>
#include <cmath>

namespace {
// An outlined rectangle covering r, its inside filled with the brush colour.
void Rectangle(QPainter& p, const TRect& r, TColor pen, TColor brush) {
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    p.fillRect(r.ToQRect(), ToQColor(brush));
    p.setPen(QPen(ToQColor(pen), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

// Light top and left edges, dark bottom and right edges (and the corners on the right and
// the bottom-left one).
void Bevel(QPainter& p, const TRect& r, TColor light, TColor dark, TColor brush) {
    Rectangle(p, r, light, brush);
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    const QColor d = ToQColor(dark);
    p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width() - 1, 1), d);
    p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), d);
}

TRect Shrunk(const TRect& r, int d) { return r.Inflated(-d); }

// A block of the given size centred in r by integer halving, or starting at x = margin.
TRect Block(const TRect& r, int width, int height, int margin) {
    const QPoint c = r.Centre();
    TRect block{c.x() - width / 2, c.y() - height / 2, c.x() - width / 2 + width, c.y() - height / 2 + height};
    if (margin >= 0)
        block = block.Offset({margin - block.Left, 0});
    return block;
}
} // namespace

TFancyButton::TFancyButton(QWidget* parent) : QPushButton(parent) { setAttribute(Qt::WA_Hover, true); }

void TFancyButton::SetMargin(int value) {
    if (value >= -1)
        Change(margin, value);
}

void TFancyButton::SetGlyph(const QImage& picture) {
    glyph = picture;
    glyphCutOut = QImage();
    if (!glyph.isNull()) {
        glyphCutOut = glyph.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = glyphCutOut.pixel(0, glyphCutOut.height() - 1);
        for (int y = 0; y < glyphCutOut.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(glyphCutOut.scanLine(y));
            for (int x = 0; x < glyphCutOut.width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    update();
}

TColor TFancyButton::Lighten(TColor colour, double x) {
    const TRGB c = SplitColorRGB(colour);
    auto lift = [x](int v) { return int(std::nearbyint((255 - v) * x + v)); };
    return MakeColor(lift(c.Red), lift(c.Green), lift(c.Blue));
}

bool TFancyButton::IsDefault() const { return isDefault() || (autoDefault() && hasFocus()); }

void TFancyButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    DrawButton(p, TRect{0, 0, width(), height()});
}

void TFancyButton::enterEvent(QEnterEvent* event) {
    hot = true;
    update();
    QPushButton::enterEvent(event);
}

void TFancyButton::leaveEvent(QEvent* event) {
    hot = false;
    update();
    QPushButton::leaveEvent(event);
}

void TFancyButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
    QPushButton::changeEvent(event);
}

void TFancyButton::DrawButton(QPainter& p, TRect r) const {
    TRect face = r;
    DrawFace(p, face);
    DrawContent(p, r);
    if (IsDefault() && hasFocus())
        DrawFocus(p, r);
}

void TFancyButton::DrawFace(QPainter& p, TRect& r) const {
    const double x = isDown() ? 0.5 : (hot ? 0.25 : 0.0);
    const TColor brush = Lighten(color, x);
    DrawFrame(p, r, brush);
    if (gradient)
        GradientFill(p, r, Lighten(gradColor1, x), Lighten(gradColor2, x));
    else if (r.Width() > 0 && r.Height() > 0)
        p.fillRect(r.ToQRect(), ToQColor(brush));
}

void TFancyButton::DrawFrame(QPainter& p, TRect& r, TColor brush) const {
    if (IsDefault() || hasFocus()) {
        Rectangle(p, r, frameDarkest, brush);
        r = Shrunk(r, 1);
    }
    if (isDown()) {
        Rectangle(p, r, frameDark, brush);
    } else {
        Bevel(p, r, frameLightest, frameDarkest, brush);
        r = Shrunk(r, 1);
        Bevel(p, r, frameLight, frameDark, brush);
    }
    r = Shrunk(r, 1);
}

void TFancyButton::DrawContent(QPainter& p, TRect r) const {
    if (isDown())
        r = r.Offset({1, 1});
    const QFontMetrics metrics(font());
    const int tw = metrics.horizontalAdvance(text()), th = metrics.height();
    const bool hasGlyph = glyph.height() > 0;
    const int a = hasGlyph ? glyph.width() + spacing : 0;
    const int gh = hasGlyph ? glyph.height() : 0;
    TRect caption = Block(r, a + tw, th, margin);
    caption.Left += a;
    if (hasGlyph) {
        const TRect glyphBlock = Block(r, a + tw, gh, margin);
        p.drawImage(glyphBlock.TopLeft(), glyphCutOut);
    }
    if (!isEnabled()) {
        // Embossed: a white copy one pixel down and right under a grey one.
        p.setPen(Qt::white);
        p.drawText(caption.ToQRect().translated(1, 1), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
        p.setPen(QColor(128, 128, 128));
        p.drawText(caption.ToQRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
    } else {
        p.setPen(ToQColor(fontColor));
        p.drawText(caption.ToQRect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}

void TFancyButton::DrawFocus(QPainter& p, TRect r) const {
    r = Shrunk(r, gradient ? 2 : 4);
    // The dots invert what lies under them, so they show on the light and the dark end of a
    // gradient alike.
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    p.restore();
}

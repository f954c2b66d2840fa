#include "sheet.h"

#include "catalogue.h"
#include "pictures.h"

#include "cards/art/common.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace cardart {

namespace {

constexpr int kGap = 6;
constexpr int kLabelHeight = 12;
const QColor kTable(0, 128, 0);

QImage load(const QDir& dir, const QString& relative) {
    QImage image(dir.filePath(relative));
    if (image.isNull()) std::fprintf(stderr, "cardart: missing %s\n", qPrintable(relative));
    return image;
}

// The game's sprite drawing: screen AND mask, then OR the card (black outside its outline).
QImage onTable(const QImage& card, const QImage& mask) {
    QImage out(card.size(), QImage::Format_RGB32);
    const QImage m = mask.convertToFormat(QImage::Format_RGB32);
    const QImage c = card.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, (kTable.rgb() & m.pixel(x, y)) | c.pixel(x, y));
    return out;
}

// The button code: the bottom-left pixel's colour is transparent, on a dark gradient button.
QImage onButton(const QImage& glyph) {
    QImage keyed = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1);
    for (int y = 0; y < keyed.height(); ++y)
        for (int x = 0; x < keyed.width(); ++x)
            if (keyed.pixel(x, y) == key) keyed.setPixel(x, y, 0);
    QImage button(keyed.size() + QSize(8, 8), QImage::Format_RGB32);
    QPainter p(&button);
    QLinearGradient face(0, 0, 0, button.height());
    face.setColorAt(0, QColor(90, 90, 90));
    face.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(button.rect(), face);
    p.drawImage(4, 4, keyed);
    return button;
}

QImage onCheckerboard(const QImage& image) {
    QImage out(image.size(), QImage::Format_RGB32);
    QPainter p(&out);
    for (int y = 0; y < out.height(); y += 8)
        for (int x = 0; x < out.width(); x += 8)
            p.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? QColor(200, 200, 200) : QColor(250, 250, 250));
    p.drawImage(0, 0, image);
    return out;
}

// Places pictures left to right with a label under each, wrapping at the sheet's width.
class Layout {
public:
    Layout(QPainter& painter, int width) : painter_(painter), width_(width) {}
    void place(const QImage& image, const QString& label) {
        if (x_ > kGap && x_ + image.width() > width_) newRow();
        painter_.drawImage(x_, y_, image);
        painter_.setPen(Qt::white);
        painter_.drawText(QRect(x_ - 2, y_ + image.height(), image.width() + 4, kLabelHeight),
                          Qt::AlignCenter, label);
        x_ += image.width() + kGap;
        rowHeight_ = std::max(rowHeight_, image.height() + kLabelHeight);
    }
    void newRow() {
        if (x_ == kGap) return;
        x_ = kGap;
        y_ += rowHeight_ + kGap;
        rowHeight_ = 0;
    }
    void heading(const QString& text) {
        newRow();
        painter_.setPen(Qt::yellow);
        painter_.drawText(QRect(kGap, y_, width_, 14), Qt::AlignLeft | Qt::AlignVCenter, text);
        y_ += 16;
    }
    int bottom() const { return y_ + rowHeight_ + kGap; }

private:
    QPainter& painter_;
    int width_;
    int x_ = kGap;
    int y_ = kGap;
    int rowHeight_ = 0;
};

void layoutCardSet(Layout& layout, const QDir& dir, int offset) {
    const QString set = offset ? "small" : "large";
    const QImage mask = load(dir, QString("cards/%1.png").arg(400 + offset));
    const QList<int> ids = largeCardIds();
    layout.heading(set + " faces and backs as drawn on the table (screen AND mask OR card)");
    for (int id : ids) {
        if (id >= 400) break;
        if (id == 1 || id == 14 || id == 27 || id == 40 || id == 200) layout.newRow();
        const QImage card = load(dir, QString("cards/%1.png").arg(id + offset));
        layout.place(mask.isNull() || card.isNull() ? card : onTable(card, mask),
                     QString::number(id + offset));
    }
    layout.heading(set + " mask, slot, highlight, shadow; raw faces (black corners)");
    for (int id : {400, 401, 402, 403, 1, 13, 40, 52, 205})
        layout.place(load(dir, QString("cards/%1.png").arg(id + offset)), QString::number(id + offset));
}

void layoutPictures(Layout& layout, const QDir& dir) {
    layout.heading("glyphs raw and on a button, about fan, icons on a checkerboard");
    for (const char* name : {"glyph_deal", "glyph_undo", "glyph_hint", "glyph_ok", "glyph_cancel"}) {
        const QImage glyph = load(dir, QString("pictures/%1.png").arg(name));
        layout.place(glyph, "");
        layout.place(glyph.isNull() ? glyph : onButton(glyph), QString(name).mid(6));
    }
    layout.place(load(dir, "pictures/about_fan.png"), "about_fan");
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = load(dir, QString("pictures/icon_%1.png").arg(size));
        layout.place(icon.isNull() ? icon : onCheckerboard(icon), QString::number(size));
    }
}

} // namespace

int writeContactSheet(const QString& outDir, const QString& sheetPath) {
    const QDir dir(outDir);
    constexpr int width = 13 * (71 + kGap) + kGap;
    QImage sheet(width, 2000, QImage::Format_RGB32);
    sheet.fill(QColor(0, 90, 0));
    int bottom = 0;
    {
        QPainter painter(&sheet);
        QFont font = painter.font();
        font.setPixelSize(9);
        painter.setFont(font);
        Layout layout(painter, width);
        layoutCardSet(layout, dir, 0);
        layoutCardSet(layout, dir, kSmallIdOffset);
        layoutPictures(layout, dir);
        bottom = layout.bottom();
    }
    savePng(sheet.copy(0, 0, width, bottom), sheetPath);
    return 0;
}

int writeZoom(const QStringList& args) {
    const QImage in(args[0]);
    const int factor = args[2].toInt();
    if (in.isNull() || factor < 1 || (args.size() != 3 && args.size() != 7)) {
        std::fputs("cardart: --zoom <in.png> <out.png> <factor> [x y w h]\n", stderr);
        return 2;
    }
    QRect crop = in.rect();
    if (args.size() == 7)
        crop =
            QRect(args[3].toInt(), args[4].toInt(), args[5].toInt(), args[6].toInt()).intersected(in.rect());
    savePng(in.copy(crop).scaled(crop.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation),
            args[1]);
    return 0;
}

int writeStrip(const QStringList& args) {
    const int factor = args.value(1).toInt();
    QList<QImage> images;
    int width = kGap, height = 0;
    for (const QString& path : args.mid(2)) {
        const QImage image(path);
        if (image.isNull()) {
            std::fprintf(stderr, "cardart: cannot read %s\n", qPrintable(path));
            return 1;
        }
        images.append(image);
        width += image.width() * factor + kGap;
        height = std::max(height, image.height() * factor);
    }
    if (factor < 1 || images.isEmpty()) {
        std::fputs("cardart: --strip <out.png> <factor> <in.png>...\n", stderr);
        return 2;
    }
    QImage strip(width, height + 2 * kGap, QImage::Format_RGB32);
    strip.fill(kTable);
    QPainter p(&strip);
    int x = kGap;
    for (const QImage& image : images) {
        p.drawImage(x, kGap,
                    image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        x += image.width() * factor + kGap;
    }
    p.end();
    savePng(strip, args[0]);
    return 0;
}

namespace {

// A face or back must be black wherever its set's mask is mostly white (outside the outline).
QString outlineProblem(const QImage& card, const QImage& mask) {
    if (mask.size() != card.size()) return "its mask is missing or of another size";
    for (int y = 0; y < card.height(); ++y)
        for (int x = 0; x < card.width(); ++x)
            if (qGray(mask.pixel(x, y)) >= 128 && (card.pixel(x, y) & 0xffffff) != 0)
                return QString("not black outside the mask's outline at %1,%2").arg(x).arg(y);
    return {};
}

// Extra rules beyond the size: what the game's drawing code relies on.
QString formatProblem(const QDir& dir, const QString& path, const QImage& image) {
    const QString name = QFileInfo(path).completeBaseName();
    const int id = name.toInt() % kSmallIdOffset;
    if (path.startsWith("cards/")) {
        if (id == 400) return image.isGrayscale() ? QString() : "mask is not grayscale";
        if (image.hasAlphaChannel()) return "card picture has alpha";
        if (id == 403)
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb c = image.pixel(x, y) & 0xffffff;
                    if (c != 0 && c != 0xffffff && c != 0xe02040)
                        return "shadow has a colour other than black, white and red";
                }
        if (id < 400) {
            const int set = name.toInt() - id;
            return outlineProblem(image, QImage(dir.filePath(QString("cards/%1.png").arg(set + 400))));
        }
        return {};
    }
    if (name.startsWith("glyph_") && image.pixel(0, image.height() - 1) != kGlyphKeyColour)
        return "bottom-left pixel is not the key colour";
    if (name.startsWith("icon_") && (!image.hasAlphaChannel() || qAlpha(image.pixel(0, 0)) != 0))
        return "icon has no transparent corner";
    return {};
}

} // namespace

int checkPictures(const QString& outDir) {
    const QDir dir(outDir);
    int problems = 0, checked = 0;
    // The card pictures are checked when they were written (cardart --cards).
    for (const Picture& picture : catalogue(nullptr, dir.exists("cards"))) {
        ++checked;
        const QImage image(dir.filePath(picture.relativePath));
        QString problem;
        if (image.isNull())
            problem = "missing or unreadable";
        else if (image.size() != picture.size)
            problem = QString("is %1x%2, should be %3x%4")
                          .arg(image.width())
                          .arg(image.height())
                          .arg(picture.size.width())
                          .arg(picture.size.height());
        else
            problem = formatProblem(dir, picture.relativePath, image);
        if (!problem.isEmpty()) {
            ++problems;
            std::fprintf(stderr, "%s: %s\n", qPrintable(picture.relativePath), qPrintable(problem));
        }
    }
    std::printf("%d pictures checked, %d problems\n", checked, problems);
    return problems ? 1 : 0;
}

} // namespace cardart

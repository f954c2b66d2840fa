#include "TPictureStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstring>

namespace {
// What each file starts with: a mark and the layout of the pixels that follow.
struct Header {
    char magic[8];
    qint32 width;
    qint32 height;
    qint32 format;
    qint32 bytesPerLine;
    qint64 ratioThousandths;
};
constexpr char Magic[8] = {'T', 'W', 'C', 'A', 'R', 'D', '1', '\0'};

bool KnownFormat(qint32 format) {
    return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32 ||
           format == QImage::Format_Grayscale8 || format == QImage::Format_RGB888;
}

// No card picture is larger; anything beyond is damage.
constexpr int LargestSide = 4096;

qint64 Thousandths(qreal ratio) { return qRound64(ratio * 1000); }
} // namespace

TPictureStore::TPictureStore(const QString& folder, const QString& stamp)
    : root(folder), folder(folder + '/' + stamp) {}

QString TPictureStore::DefaultFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/Tarnwell/cards");
}

QString TPictureStore::ProgramStamp() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return QStringLiteral("%1-%2").arg(program.size()).arg(program.lastModified().toMSecsSinceEpoch());
}

QString TPictureStore::PathOf(QSize card, qreal ratio, const QString& name) const {
    return QStringLiteral("%1/%2x%3@%4/%5.pic")
        .arg(folder)
        .arg(card.width())
        .arg(card.height())
        .arg(Thousandths(ratio))
        .arg(name);
}

QImage TPictureStore::Load(QSize card, qreal ratio, const QString& name, QSize pixels) const {
    if (root.isEmpty())
        return {};
    QFile file(PathOf(card, ratio, name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    Header header;
    if (bytes.size() < qsizetype(sizeof header))
        return {};
    std::memcpy(&header, bytes.constData(), sizeof header);
    const QSize size(header.width, header.height);
    if (std::memcmp(header.magic, Magic, sizeof Magic) != 0 || !KnownFormat(header.format) ||
        (pixels.isEmpty() ? size.isEmpty() || size.width() > LargestSide || size.height() > LargestSide
                          : size != pixels) ||
        header.ratioThousandths != Thousandths(ratio))
        return {};
    QImage picture(size, QImage::Format(header.format));
    if (picture.isNull() || header.bytesPerLine != picture.bytesPerLine() ||
        bytes.size() != qsizetype(sizeof header) + picture.sizeInBytes())
        return {};
    std::memcpy(picture.bits(), bytes.constData() + sizeof header, size_t(picture.sizeInBytes()));
    picture.setDevicePixelRatio(ratio);
    return picture;
}

void TPictureStore::Save(QSize card, qreal ratio, const QString& name, const QImage& picture) const {
    if (root.isEmpty() || picture.isNull() || !KnownFormat(picture.format()))
        return;
    const QString path = PathOf(card, ratio, name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    Header header{};
    std::memcpy(header.magic, Magic, sizeof Magic);
    header.width = picture.width();
    header.height = picture.height();
    header.format = picture.format();
    header.bytesPerLine = qint32(picture.bytesPerLine());
    header.ratioThousandths = Thousandths(ratio);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(reinterpret_cast<const char*>(&header), sizeof header);
    file.write(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
    file.commit();
}

void TPictureStore::ClearOtherBuilds() const {
    if (root.isEmpty())
        return;
    const QString own = QFileInfo(folder).fileName();
    const QDir dir(root);
    for (const QString& build : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (build != own)
            QDir(dir.filePath(build)).removeRecursively();
}

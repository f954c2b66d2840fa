#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Card pictures kept on disk between runs, under the user's cache folder, so that a start needs
// no drawing: what one run drew, the next reads back. Each picture is one small file of its raw
// pixels, written whole or not at all; a file that is missing, damaged or of another size is
// simply drawn again. The pictures of one build of the program are kept apart from another's,
// and those of older builds are cleared away.
class TPictureStore {
public:
    // A store in `folder`, for the pictures of the build identified by `stamp`.
    TPictureStore(const QString& folder, const QString& stamp);

    // The cache folder of the program ($XDG_CACHE_HOME/Tarnwell/cards) and the stamp of the
    // running program (its file's size and time): a rebuilt program draws its pictures afresh.
    static QString DefaultFolder();
    static QString ProgramStamp();

    // A picture of a set (card size and ratio) by name, or a null image when there is none that
    // has the expected size in device pixels (any size when that is empty).
    QImage Load(QSize card, qreal ratio, const QString& name, QSize pixels) const;
    // Keeps a picture; a failure to write leaves nothing behind and is not reported.
    void Save(QSize card, qreal ratio, const QString& name, const QImage& picture) const;

    // Removes the pictures of other builds; the program does it once at start.
    void ClearOtherBuilds() const;

private:
    QString PathOf(QSize card, qreal ratio, const QString& name) const;

    QString root;
    QString folder;
};

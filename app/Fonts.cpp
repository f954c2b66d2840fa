#include "Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

void LoadGameFonts() {
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf", "ms_sans_serif.ttf"}) {
        const QString path = QStringLiteral("/usr/share/wine/fonts/") + QString::fromLatin1(file);
        if (QFile::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
}

QFont GameFont(const QString& family, int pixelSize, bool bold) {
    QStringList families{family};
    if (family == QLatin1String("Georgia") || family == QLatin1String("Elephant"))
        families << QStringLiteral("DejaVu Serif");
    else if (family == QLatin1String("MS Sans Serif") || family == QLatin1String("System"))
        families << QStringLiteral("Tahoma") << QStringLiteral("DejaVu Sans");
    else
        families << QStringLiteral("DejaVu Sans");
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

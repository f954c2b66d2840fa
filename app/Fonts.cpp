#include "Fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {
QStringList StandIns(const QString& family) {
    if (family == QLatin1String("Georgia"))
        return {QStringLiteral("DejaVu Serif Condensed"), QStringLiteral("DejaVu Serif")};
    if (family == QLatin1String("Elephant"))
        return {QStringLiteral("DejaVu Serif")};
    return {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")};
}

// Whether a family is installed under this name, in any letter case.
bool Installed(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// Whether the family draws the face itself at any size. Only a family installed under its own
// name counts: one that the font configuration merely points at another font is not the design
// (and asking the configuration about every name costs more than the list of families). A
// family with no bold face would be drawn in its regular weight (bitmap fonts are not
// thickened), so it does not count for bold.
bool LooksUpFace(const QString& family, bool bold) {
    if (!Installed(family) || !QFontDatabase::isSmoothlyScalable(family))
        return false;
    if (!bold)
        return true;
    for (const QString& style : QFontDatabase::styles(family))
        if (QFontDatabase::weight(family, style) >= QFont::DemiBold)
            return true;
    return false;
}

// The same, asked of the font database once per family and weight: each question goes through
// the font configuration's substitutions, a few milliseconds each, and the windows ask the same
// few again and again while they are built.
bool HasFace(const QString& family, bool bold) {
    static QHash<QString, bool> known[2];
    QHash<QString, bool>& answers = known[bold ? 1 : 0];
    const auto found = answers.constFind(family);
    if (found != answers.constEnd())
        return *found;
    return answers[family] = LooksUpFace(family, bold);
}
} // namespace

QFont GameFont(const QString& family, int pixelSize, bool bold) {
    // One family, not a list to fall through: for a list, Qt sorts every installed font by its
    // likeness to the first (a few milliseconds) when the font first draws; for one family it
    // does so only if a character is ever missing from it.
    QString chosen = family;
    if (!HasFace(family, bold)) {
        const QStringList standIns = StandIns(family);
        const auto found = std::find_if(standIns.begin(), standIns.end(), Installed);
        chosen = found != standIns.end() ? *found : standIns.constFirst();
    }
    QFont font;
    font.setFamily(chosen);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont WindowFont() {
    return GameFont("System", 13, false);
}
QFont ButtonFont() {
    return GameFont("Georgia", 27, true);
}
QFont PanelFont() {
    return GameFont("Tahoma", 16, true);
}
QFont SolverFont() {
    return GameFont("Georgia", 16, true);
}

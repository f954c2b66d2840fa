#include "TIniFile.h"

#include "GameError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

namespace {
QString KeyOf(const QString& section, const QString& key) { return section + QLatin1Char('/') + key; }
} // namespace

bool ParseIniInteger(const QString& text, int64_t& value) {
    const QString t = text.trimmed();
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

bool ParseIniFloat(const QString& text, double& value) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok)
        value = v;
    return ok;
}

QString TIniFile::DefaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Tarnwell/Tarnwell.ini");
}

TIniFile::TIniFile(const QString& iniPath)
    : path(iniPath), settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

TIniFile::~TIniFile() = default;

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return settings->contains(KeyOf(section, key));
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return Text(section, key, def, QStringLiteral(", "));
}

QString TIniFile::Text(const QString& section, const QString& key, const QString& def, const QString& comma) const {
    const QVariant v = settings->value(KeyOf(section, key));
    if (!v.isValid())
        return def;
    // An unquoted value with commas comes back as a list; it is one text to us.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(comma);
    return v.toString();
}

int64_t TIniFile::ReadInt64(const QString& section, const QString& key, int64_t def) const {
    int64_t value = def;
    return ParseIniInteger(ReadString(section, key, QString()), value) ? value : def;
}

int32_t TIniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
    const int64_t value = ReadInt64(section, key, def);
    return value >= INT32_MIN && value <= INT32_MAX ? int32_t(value) : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInt64(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const {
    double value = def;
    // "0,5" arrives as the list ("0", "5"): its parts are joined by the bare comma again.
    return ParseIniFloat(Text(section, key, QString(), QStringLiteral(",")), value) ? value : def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    Remember(KeyOf(section, key));
    settings->setValue(KeyOf(section, key), value);
    written.insert(KeyOf(section, key), value);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int64_t value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value) {
    WriteString(section, key, QString::number(value, 'g', 15));
}

void TIniFile::EraseSection(const QString& section) {
    settings->beginGroup(section);
    const QStringList keys = settings->allKeys();
    settings->endGroup();
    for (const QString& key : keys)
        Remember(KeyOf(section, key));
    settings->remove(section);
    erased.append(section);
    const QString prefix = section + QLatin1Char('/');
    for (auto it = written.begin(); it != written.end();)
        it = it.key().startsWith(prefix) ? written.erase(it) : std::next(it);
}

void TIniFile::Commit() {
    QDir().mkpath(QFileInfo(path).absolutePath());
    // QSettings keeps the first error it met. A hand-damaged line (a section header without
    // its bracket) is reported as a format error on reading, yet the file is still read as far
    // as it goes and rewritten whole; after such a read the status says nothing about the
    // write, so the file itself is checked.
    const bool statusTellsWrite = settings->status() == QSettings::NoError;
    settings->sync();
    const bool ok = statusTellsWrite ? settings->status() == QSettings::NoError : FileHoldsChanges();
    if (!ok) {
        Revert();
        throw TGameError(QStringLiteral("Unable to write to %1").arg(path));
    }
    originals.clear();
}

void TIniFile::Remember(const QString& fullKey) {
    if (!originals.contains(fullKey))
        originals.insert(fullKey, settings->contains(fullKey) ? settings->value(fullKey) : QVariant());
}

void TIniFile::Revert() {
    for (auto it = originals.cbegin(); it != originals.cend(); ++it) {
        if (it.value().isValid())
            settings->setValue(it.key(), it.value());
        else
            settings->remove(it.key());
    }
    originals.clear();
    written.clear();
    erased.clear();
}

bool TIniFile::FileHoldsChanges() const {
    if (written.isEmpty() && erased.isEmpty())
        return true;
    // A copy under another name is read afresh, not from QSettings' cache of this file.
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("check.ini"));
    if (!dir.isValid() || !QFile::copy(path, copy))
        return false;
    QSettings check(copy, QSettings::IniFormat);
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        if (check.value(it.key()).toString() != it.value())
            return false;
    for (const QString& section : erased) {
        check.beginGroup(section);
        const QStringList keys = check.allKeys();
        check.endGroup();
        for (const QString& key : keys)
            if (!written.contains(KeyOf(section, key)))
                return false;
    }
    return true;
}

#include "TIniFile.h"

#include "AtomicFile.h"
#include "GameError.h"

#include <QDateTime>
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
    return Value(KeyOf(section, key)).isValid();
}

bool TIniFile::Erased(const QString& fullKey) const {
    for (const QString& section : erased)
        if (fullKey.startsWith(section + QLatin1Char('/')))
            return true;
    return false;
}

QVariant TIniFile::Value(const QString& fullKey) const {
    if (const auto it = written.constFind(fullKey); it != written.cend())
        return *it;
    if (Erased(fullKey))
        return {};
    return settings->value(fullKey);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return Text(section, key, def, QStringLiteral(", "));
}

QString TIniFile::Text(const QString& section, const QString& key, const QString& def, const QString& comma) const {
    const QVariant v = Value(KeyOf(section, key));
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
    if (!erased.contains(section))
        erased.append(section);
    const QString prefix = section + QLatin1Char('/');
    for (auto it = written.begin(); it != written.end();)
        it = it.key().startsWith(prefix) ? written.erase(it) : std::next(it);
}

QByteArray TIniFile::Compose() const {
    // What the file holds now (it may have changed since this accessor read it), less the
    // erased sections, with the values written on top.
    settings->sync();
    QMap<QString, QVariant> values;
    for (const QString& key : settings->allKeys())
        if (!Erased(key))
            values.insert(key, settings->value(key));
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        values.insert(it.key(), it.value());

    // QSettings puts the values into INI form in a draft of its own, in a private folder beside
    // the file: it never writes the file itself, so neither a failed write of its own nor a lock
    // left behind by another process can harm or hold up the game's file.
    const QString folder = QFileInfo(path).absolutePath();
    QTemporaryDir scratch(folder + QStringLiteral("/.ini-XXXXXX"));
    if (!scratch.isValid())
        throw TGameError(scratch.errorString());
    const QString draft = scratch.filePath(QStringLiteral("draft.ini"));
    {
        QSettings out(draft, QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            out.setValue(it.key(), it.value());
        out.sync();
        if (out.status() != QSettings::NoError)
            throw TGameError(QStringLiteral("draft not written"));
    }
    QFile file(draft);
    if (!file.open(QIODevice::ReadOnly))
        throw TGameError(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TGameError(file.errorString());

    // QSettings does not always notice that it could not finish writing (on a full disk it
    // may keep a cut-off draft and report success), so the draft is read back, from a copy under
    // a name it has never seen, and must hold every value.
    const QString copy = scratch.filePath(QStringLiteral("check.ini"));
    WriteFileAtomically(copy, bytes);
    QSettings check(copy, QSettings::IniFormat);
    const QStringList keys = check.allKeys();
    if (keys.size() != values.size())
        throw TGameError(QStringLiteral("draft incomplete"));
    for (const QString& key : keys) {
        const auto it = values.constFind(key);
        if (it == values.cend() || check.value(key) != *it)
            throw TGameError(QStringLiteral("draft incomplete"));
    }
    return bytes;
}

void TIniFile::Commit() {
    if (written.isEmpty() && erased.isEmpty())
        return;
    const QFileInfo before(path);
    const bool existed = before.exists();
    const qint64 oldSize = existed ? before.size() : -1;
    const QDateTime oldTime = existed ? before.lastModified() : QDateTime();
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteFileAtomically(path, Compose());
    } catch (const TGameError&) {
        written.clear();
        erased.clear();
        throw TGameError(QStringLiteral("Unable to write to %1").arg(path));
    }
    written.clear();
    erased.clear();

    // QSettings keeps what it read of a file for the whole process and reads it again only
    // when its size or its time (to the millisecond) has changed. A new file of the old size
    // written within the same millisecond would look unchanged, so its time is moved on.
    const QFileInfo after(path);
    if (existed && after.size() == oldSize && after.lastModified() <= oldTime) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            file.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
    }
    settings->sync();
}

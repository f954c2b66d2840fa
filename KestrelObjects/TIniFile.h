#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <memory>

class QSettings;

// The game's INI file, read through QSettings with the game's own value rules: integers are
// written in decimal and read also as hexadecimal ("0x" or "$"); booleans are written 1 or 0
// and read as integers (anything but 0 is true); reals are written with a full stop and read
// with a full stop or a comma; a value that does not parse reads as the default.
// Writes are collected in the accessor (its own readings see them at once) and reach the file
// only with Commit, which replaces the file whole or not at all.
class TIniFile {
public:
    // The file every part of the game shares: $XDG_CONFIG_HOME/Tarnwell/Tarnwell.ini, or
    // ~/.config/Tarnwell/Tarnwell.ini when the variable is not set.
    static QString DefaultPath();

    explicit TIniFile(const QString& path = DefaultPath());
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& Path() const { return path; }

    bool ValueExists(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    int64_t ReadInt64(const QString& section, const QString& key, int64_t def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    double ReadFloat(const QString& section, const QString& key, double def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int64_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value);
    void EraseSection(const QString& section);

    // Writes the file anew: what it holds now with this accessor's changes on top. The new
    // text replaces the old file only once every byte of it is on the disk. Throws TGameError
    // "Unable to write to <path>" when that cannot be done; the file is then unchanged and the
    // changes are taken back, so that later readings see what the file holds.
    void Commit();

private:
    // The value as text, a value that QSettings split at its commas joined again by comma.
    QString Text(const QString& section, const QString& key, const QString& def, const QString& comma) const;
    // A value as this accessor sees it: its own change, or else the file's; invalid when missing.
    QVariant Value(const QString& fullKey) const;
    bool Erased(const QString& fullKey) const;
    // The text of the whole file after the changes, in the INI form QSettings writes.
    QByteArray Compose() const;

    QString path;
    // Reads the file; it is never written through, so it never writes the file itself.
    std::unique_ptr<QSettings> settings;
    // The changes made through this accessor: values written, and sections erased before them.
    QMap<QString, QString> written;
    QStringList erased;
};

// Integer text as the INI file may hold it: decimal, or hexadecimal after "0x" or "$".
bool ParseIniInteger(const QString& text, int64_t& value);
// Real text with a full stop or a comma as the decimal separator.
bool ParseIniFloat(const QString& text, double& value);

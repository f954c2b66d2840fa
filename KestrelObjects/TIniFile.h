#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class QSettings;

// The game's INI file, read and written through QSettings with the game's own value rules:
// integers are written in decimal and read also as hexadecimal ("0x" or "$"); booleans are
// written 1 or 0 and read as integers (anything but 0 is true); reals are written with a full
// stop and read with a full stop or a comma; a value that does not parse reads as the default.
// Writes are collected and reach the file, atomically, only with Commit.
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

    // Writes everything changed to the file in one atomic step. Throws TGameError
    // "Unable to write to <path>" when the file cannot be written; the file is then unchanged.
    void Commit();

private:
    QString path;
    std::unique_ptr<QSettings> settings;
};

// Integer text as the INI file may hold it: decimal, or hexadecimal after "0x" or "$".
bool ParseIniInteger(const QString& text, int64_t& value);
// Real text with a full stop or a comma as the decimal separator.
bool ParseIniFloat(const QString& text, double& value);

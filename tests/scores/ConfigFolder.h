#pragma once

#include "KestrelObjects/GameError.h"
#include "KestrelObjects/TIniFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <ostream>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>


// A configuration folder of its own for one test: XDG_CONFIG_HOME points into a temporary
// folder for the lifetime of the object, so the game's INI file lives there.
class ConfigFolder {
public:
    ConfigFolder() : previous(qgetenv("XDG_CONFIG_HOME")), hadPrevious(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        // Readable by the ordinary user the permission tests run as.
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    }
    ~ConfigFolder() {
        // Give back write access so that the folder can be removed.
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (hadPrevious)
            qputenv("XDG_CONFIG_HOME", previous);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    ConfigFolder(const ConfigFolder&) = delete;
    ConfigFolder& operator=(const ConfigFolder&) = delete;

    QString IniPath() const { return TIniFile::DefaultPath(); }
    QString Folder() const { return QFileInfo(IniPath()).absolutePath(); }

    void Write(const QByteArray& text) const {
        QDir().mkpath(Folder());
        QFile f(IniPath());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(text);
    }
    QByteArray Read() const {
        QFile f(IniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool Exists() const { return QFileInfo::exists(IniPath()); }

    // The file read-only in a writable folder, or a writable file in a read-only folder.
    void MakeFileReadOnly() const {
        QFile::setPermissions(Folder(), QFile::Permissions(0x7777));
        QFile::setPermissions(IniPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    void MakeFolderReadOnly() const {
        QFile::setPermissions(IniPath(), QFile::Permissions(0x6666));
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::ExeOther);
    }

private:
    QTemporaryDir dir;
    QByteArray previous;
    bool hadPrevious;
};

// The message of the TGameError an action raised, or "" when it raised none.
inline QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const TGameError& e) {
        return e.Message();
    }
    return QString();
}

// Runs a check whose file access must meet the permissions of an ordinary user and returns its
// report. Permissions do not bind root, so under root the check runs in a child process that
// has become an ordinary user; the report comes back through a pipe.
inline QString AsOrdinaryUser(const std::function<QString()>& check) {
    if (geteuid() != 0)
        return check();
    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("pipe failed");
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return QStringLiteral("fork failed");
    }
    if (pid == 0) {
        close(fds[0]);
        const uid_t nobody = 65534;
        const QByteArray report = setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0
                                      ? check().toUtf8()
                                      : QByteArray("could not become an ordinary user");
        const ssize_t written = ::write(fds[1], report.constData(), size_t(report.size()));
        _exit(written == report.size() ? 0 : 1);
    }
    close(fds[1]);
    QByteArray report;
    char buffer[512];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, n);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return QString::fromUtf8(report);
}

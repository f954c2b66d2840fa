#include "TSoundOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {
constexpr const char* LibraryName = "tarnwell_sound";
constexpr const char* MakerName = "TarnwellMakeSoundOutput";
using MakeOutput = ISoundOutput* (*)();
} // namespace

TSoundOutput::TSoundOutput(QStringList libraryPaths) : paths(std::move(libraryPaths)) {}
TSoundOutput::~TSoundOutput() = default;

QStringList TSoundOutput::LibraryPaths() {
    const QString file = QStringLiteral("lib%1.so").arg(QLatin1String(LibraryName));
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.filePath(file), QDir::cleanPath(program.filePath(QStringLiteral(TARNWELL_LIBRARY_RELATIVE_DIR "/") + file)),
            QStringLiteral(TARNWELL_LIBRARY_INSTALL_DIR "/") + file, QLatin1String(LibraryName)};
}

void TSoundOutput::Prepare() {
    if (!tried) {
        tried = true;
        QStringList reasons;
        for (const QString& path : paths) {
            QLibrary library(path);
            if (const auto make = reinterpret_cast<MakeOutput>(library.resolve(MakerName))) {
                // The library stays loaded for the rest of the run (QLibrary unloads only when told).
                player.reset(make());
                break;
            }
            reasons << library.errorString();
        }
        if (!player)
            qWarning("The sound library was not found (%s): the game plays without sound",
                     qPrintable(reasons.join(QLatin1String("; "))));
    }
    if (player)
        player->Prepare();
}

void TSoundOutput::PlaySound(SoundEffect effect, bool loop) {
    Prepare();
    if (player)
        player->PlaySound(effect, loop);
}

void TSoundOutput::StopSound() {
    if (player)
        player->StopSound();
}

#pragma once

#include "cards/SoundEffects.h"

#include <QStringList>

#include <memory>

// The game's sound output, which lives in a library of its own (the player and Qt's multimedia
// libraries under it): the library is loaded when the output is first told to get ready, which
// the program does once its window is up, so that starting the game never waits for it. Found
// beside the program or where it is installed; without it the game plays without sound, and
// says so once.
class TSoundOutput final : public ISoundOutput {
public:
    // Looks for the library along the given paths (LibraryPaths() for the program's own).
    explicit TSoundOutput(QStringList paths = LibraryPaths());
    ~TSoundOutput() override;

    void Prepare() override;
    void PlaySound(SoundEffect effect, bool loop) override;
    void StopSound() override;

    // Whether the library was found and gave its player.
    bool Loaded() const { return player != nullptr; }
    // Where the library is looked for, in order: the program's folder, then the folder it is
    // installed in; last of all by its bare name, which finds it if it is loaded already.
    static QStringList LibraryPaths();

private:
    const QStringList paths;
    bool tried = false;
    std::unique_ptr<ISoundOutput> player;
};

#include "app/TSoundOutput.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

namespace {
int toldNoLibrary = 0;
void CountTold(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QLatin1String("The sound library was not found")) &&
        message.endsWith(QLatin1String(": the game plays without sound")))
        ++toldNoLibrary;
}
} // namespace

// The library is looked for beside the program first, then where it is installed, and last by
// its bare name.
TEST(SoundOutput, TheLibraryIsLookedForBesideTheProgramFirst) {
    const QStringList paths = TSoundOutput::LibraryPaths();
    ASSERT_EQ(paths.size(), 4);
    EXPECT_EQ(paths[0], QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libtarnwell_sound.so")));
    EXPECT_TRUE(paths[1].endsWith(QLatin1String("/tarnwell/libtarnwell_sound.so"))) << paths[1].toStdString();
    EXPECT_TRUE(paths[2].startsWith(QLatin1Char('/')) && paths[2].endsWith(QLatin1String("/tarnwell/libtarnwell_sound.so")))
        << paths[2].toStdString();
    EXPECT_EQ(paths[3], QStringLiteral("tarnwell_sound"));
}

// Found (these tests carry the library), it gives its player, which plays and stops without an
// output as the player does: silently.
TEST(SoundOutput, FoundItLoadsThePlayerWhenFirstToldToGetReady) {
    TSoundOutput output;
    EXPECT_FALSE(output.Loaded());
    output.Prepare();
    ASSERT_TRUE(output.Loaded());
    output.PlaySound(SoundEffect::Deal, true);
    output.StopSound();
}

// Not found anywhere, the game goes on without sound and says so once.
TEST(SoundOutput, NotFoundTheGamePlaysWithoutSoundAndSaysSoOnce) {
    TSoundOutput output({QStringLiteral("/nonexistent/libtarnwell_sound.so"), QStringLiteral("tarnwell_no_such_library")});
    toldNoLibrary = 0;
    const QtMessageHandler before = qInstallMessageHandler(CountTold);
    output.PlaySound(SoundEffect::Error, false);
    EXPECT_FALSE(output.Loaded());
    output.Prepare();
    output.PlaySound(SoundEffect::Deal, true);
    output.StopSound();
    qInstallMessageHandler(before);
    EXPECT_FALSE(output.Loaded());
    EXPECT_EQ(toldNoLibrary, 1);
}

#include "app/Fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

// A design family is used only where it is installed under its own name, in any letter case;
// otherwise the nearest Debian family that is installed stands in. A font names one family: a
// list would have Qt sort every installed font for fallbacks the first time it draws.
TEST(GameFonts, TheDesignFamilyOnlyWhereItIsInstalledElseTheFirstStandInInstalled) {
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Serif")))
        GTEST_SKIP() << "DejaVu Serif is not installed";
    EXPECT_EQ(GameFont("DejaVu Serif", 16, true).families(), QStringList({"DejaVu Serif"}));
    EXPECT_EQ(GameFont("dejavu serif", 16, false).families(), QStringList({"dejavu serif"}));

    const auto firstInstalled = [](const QString& condensed, const QString& plain) {
        return QStringList({QFontDatabase::families().contains(condensed) ? condensed : plain});
    };
    const QStringList sans = firstInstalled("DejaVu Sans Condensed", "DejaVu Sans");
    const QStringList serif = firstInstalled("DejaVu Serif Condensed", "DejaVu Serif");
    EXPECT_EQ(GameFont("No Such Family", 13, false).families(), sans);
    const auto standsIn = [](const QString& family, const QStringList& standIn) {
        if (!QFontDatabase::families().contains(family)) {
            EXPECT_EQ(GameFont(family, 16, true).families(), standIn) << qPrintable(family);
        }
    };
    standsIn("Georgia", serif);
    standsIn("Tahoma", sans);
    standsIn("Elephant", {"DejaVu Serif"});
}

// What is asked for is what is drawn: the size in pixels and a real bold face.
TEST(GameFonts, SizeAndWeightAreTheOnesAskedFor) {
    const QFont font = GameFont("Tahoma", 16, true);
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_TRUE(QFontInfo(font).bold());
    EXPECT_FALSE(QFontInfo(GameFont("Tahoma", 16, false)).bold());
}

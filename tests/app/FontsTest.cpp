#include "app/Fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

// A design family leads only where it is installed under its own name, in any letter case;
// otherwise the nearest Debian family stands in, with the plain DejaVu family behind it.
TEST(GameFonts, TheDesignFamilyLeadsOnlyWhereItIsInstalled) {
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Serif")))
        GTEST_SKIP() << "DejaVu Serif is not installed";
    const QFont installed = GameFont("DejaVu Serif", 16, true);
    EXPECT_EQ(installed.families(), QStringList({"DejaVu Serif", "DejaVu Sans Condensed", "DejaVu Sans"}));
    EXPECT_EQ(GameFont("dejavu serif", 16, false).families().front(), QStringLiteral("dejavu serif"));

    EXPECT_EQ(GameFont("No Such Family", 13, false).families(),
              QStringList({"DejaVu Sans Condensed", "DejaVu Sans"}));
    EXPECT_EQ(GameFont("Georgia", 27, true).families().back(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(GameFont("Tahoma", 16, true).families().back(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(GameFont("Elephant", 19, true).families().back(), QStringLiteral("DejaVu Serif"));
}

// What is asked for is what is drawn: the size in pixels and a real bold face.
TEST(GameFonts, SizeAndWeightAreTheOnesAskedFor) {
    const QFont font = GameFont("Tahoma", 16, true);
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_TRUE(QFontInfo(font).bold());
    EXPECT_FALSE(QFontInfo(GameFont("Tahoma", 16, false)).bold());
}

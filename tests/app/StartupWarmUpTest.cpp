#include "app/Fonts.h"
#include "app/StartupWarmUp.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QStringList>

#include <chrono>
#include <future>

using namespace std::chrono_literals;

// A program whose application object never came (making it threw) still ends: the worker
// reads the font configuration and stops, and nothing waits on it for ever.
TEST(StartupWarmUp, WithoutAnApplicationObjectItStillEnds) {
    auto ended = std::async(std::launch::async, [] { TStartupWarmUp warmUp; });
    ASSERT_EQ(ended.wait_for(20s), std::future_status::ready);
}

// With one, the game's fonts come out as they would without the warming: looked up on the
// worker, the answers are the same the window would have found.
TEST(StartupWarmUp, TheFontsItLooksUpAreTheOnesTheWindowUses) {
    {
        TStartupWarmUp warmUp;
        warmUp.ApplicationMade();
    }
    const QStringList families = QFontDatabase::families();
    for (const QFont& font : {WindowFont(), ButtonFont(), PanelFont(), SolverFont()}) {
        SCOPED_TRACE(font.families().join(u',').toStdString());
        ASSERT_GE(font.families().size(), 2);
        // The design family leads only where it is installed; its stand-ins always follow.
        const bool designed = families.contains(font.families().front(), Qt::CaseInsensitive);
        EXPECT_TRUE(designed || font.families().front().startsWith(QLatin1String("DejaVu")));
        EXPECT_TRUE(font.families().back().startsWith(QLatin1String("DejaVu")));
    }
    EXPECT_EQ(ButtonFont().pixelSize(), 27);
    EXPECT_TRUE(ButtonFont().bold());
    EXPECT_EQ(PanelFont().pixelSize(), 16);
    EXPECT_EQ(WindowFont().pixelSize(), 13);
    EXPECT_FALSE(WindowFont().bold());
}

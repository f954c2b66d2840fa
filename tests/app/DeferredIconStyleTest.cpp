#include "app/TDeferredIconStyle.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace {
QImage Drawn(const QIcon& icon, QSize size, qreal ratio = 1) { return icon.pixmap(size, ratio).toImage(); }
} // namespace

// The menu bar's overflow arrows, read only when drawn, look as the base style draws them, at
// every size and ratio; every other standard picture comes from the base style as it is.
TEST(DeferredIconStyle, DrawsEveryStandardPictureAsTheBaseStyleDoes) {
    TDeferredIconStyle style;
    QStyle* base = style.baseStyle();
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_MessageBoxWarning}) {
        const QIcon mine = style.standardIcon(which);
        const QIcon theirs = base->standardIcon(which);
        ASSERT_FALSE(mine.isNull()) << which;
        EXPECT_EQ(mine.availableSizes(), theirs.availableSizes()) << which;
        for (const QSize size : {QSize(8, 5), QSize(16, 10), QSize(32, 32)}) {
            EXPECT_EQ(mine.actualSize(size), theirs.actualSize(size)) << which;
            EXPECT_EQ(Drawn(mine, size), Drawn(theirs, size)) << which;
            EXPECT_EQ(Drawn(mine, size, 2), Drawn(theirs, size, 2)) << which;
        }
        // A copy of the icon, as a button keeps, draws the same.
        const QIcon copy = mine;
        EXPECT_EQ(Drawn(copy, QSize(16, 10)), Drawn(theirs, QSize(16, 10))) << which;
    }
}

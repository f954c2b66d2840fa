#include "cards/TCardPictures.h"
#include "cards/TDeck.h"
#include "cards/TPictureCache.h"
#include "cards/TPictureStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QSize Pixels(const QImage& image) { return image.size(); }
} // namespace

// Every picture keeps the size of its set at the two sets, doubles its pixels (not its size on
// the board) at a ratio of 2, and grows in proportion for a card of another size.
TEST(CardPictures, SizesAtBothSetsAtTwiceTheDensityAndInProportion) {
    struct {
        QSize card;
        qreal ratio;
        QSize highlight, shadow; // in board pixels
    } const sets[] = {
        {{71, 96}, 1.0, {77, 102}, {83, 108}},     {{54, 72}, 1.0, {60, 76}, {66, 84}},
        {{71, 96}, 2.0, {77, 102}, {83, 108}},     {{54, 72}, 2.0, {60, 76}, {66, 84}},
        {{107, 144}, 1.0, {117, 154}, {125, 162}}, // 1.5 times: a band of 5, a shadow 9 away
    };
    for (const auto& s : sets) {
        TCardPictures set(s.card, s.ratio);
        const QSize device(qRound(s.card.width() * s.ratio), qRound(s.card.height() * s.ratio));
        EXPECT_EQ(set.Card(), s.card);
        EXPECT_EQ(Pixels(set.Mask), device);
        EXPECT_EQ(Pixels(set.Slot), device);
        EXPECT_EQ(Pixels(set.Face(12)), device);
        EXPECT_EQ(Pixels(set.Back(5)), device);
        EXPECT_EQ(LogicalSize(set.Highlight), s.highlight);
        EXPECT_EQ(LogicalSize(set.Shadow), s.shadow);
        EXPECT_EQ(Pixels(set.Shadow), s.shadow * s.ratio);
        for (const QImage* picture : {&set.Mask, &set.Slot, &set.Highlight, &set.Shadow})
            EXPECT_EQ(picture->devicePixelRatio(), s.ratio);
        EXPECT_EQ(set.Face(12).devicePixelRatio(), s.ratio);
    }
}

// Faces, backs and the mask come from one outline: the card shows exactly where the mask is
// black, the corners are clear, and the border is one board pixel of black at any ratio.
TEST(CardPictures, OneOutlineForFaceBackAndMask) {
    for (qreal ratio : {1.0, 2.0}) {
        TCardPictures set(QSize(71, 96), ratio);
        const QImage face = set.Face(0), back = set.Back(5);
        const QImage mask = set.Mask;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const int inside = 255 - mask.constScanLine(y)[x];
                ASSERT_EQ(qAlpha(face.pixel(x, y)), inside) << ratio << " " << x << "," << y;
                ASSERT_EQ(qAlpha(back.pixel(x, y)), inside) << ratio << " " << x << "," << y;
            }
        const int r = int(ratio);
        EXPECT_EQ(qAlpha(face.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(face.pixel(mask.width() - 1, mask.height() - 1)), 0);
        // Along the top edge, away from the corners: black for one board pixel, then the face.
        for (int y = 0; y < r; ++y)
            EXPECT_EQ(face.pixel(35 * r, y), qRgb(0, 0, 0)) << ratio;
        EXPECT_EQ(face.pixel(35 * r, r), qRgb(255, 255, 255)) << ratio;
        // The slot: black along its top, bright green along its bottom, a board pixel thick.
        EXPECT_EQ(set.Slot.pixel(30 * r, r - 1), qRgb(0, 0, 0));
        EXPECT_EQ(set.Slot.pixel(30 * r, r), qRgb(0, 128, 0));
        EXPECT_EQ(set.Slot.pixel(30 * r, set.Slot.height() - r), qRgb(0, 255, 0));
    }
}

// The small set shows the beach where the large one shows the robot.
TEST(CardPictures, TheSmallSetsThirdBackIsTheBeach) {
    TCardPictures small(QSize(54, 72), 1.0);
    EXPECT_EQ(small.Back(3), small.Back(11));
    TCardPictures large(QSize(71, 96), 1.0);
    EXPECT_NE(large.Back(3), large.Back(11));
}

// Pictures kept on disk are read back instead of drawn; a damaged file or one of another size
// is drawn again and written anew; the pictures of other builds are cleared away.
TEST(CardPictures, TheStoreReadsBackWhatItKeptAndIgnoresWhatIsDamaged) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto store = std::make_shared<TPictureStore>(folder.path(), QStringLiteral("build-2"));
    const QSize card(71, 96);
    // A face that could not have been drawn: the store's copy is used.
    QImage red(card, QImage::Format_ARGB32_Premultiplied);
    red.fill(qRgb(255, 0, 0));
    store->Save(card, 1.0, QStringLiteral("face-7"), red);
    TCardPictures set(card, 1.0, store);
    EXPECT_EQ(set.Face(7).pixel(35, 48), qRgb(255, 0, 0));
    // What the set drew is now on disk: mask, slot, highlight, shadow and the face it drew.
    const QImage drawn = set.Face(8);
    for (const char* name : {"mask", "slot", "highlight", "shadow", "face-8"})
        EXPECT_FALSE(store
                         ->Load(card, 1.0, name,
                                name == QStringLiteral("highlight") ? QSize(77, 102)
                                : name == QStringLiteral("shadow")  ? QSize(83, 108)
                                                                    : card)
                         .isNull())
            << name;
    EXPECT_EQ(store->Load(card, 1.0, QStringLiteral("face-8"), card), drawn);
    // Another ratio, another size asked for: not that file.
    EXPECT_TRUE(store->Load(card, 2.0, QStringLiteral("face-8"), card * 2).isNull());
    EXPECT_TRUE(store->Load(card, 1.0, QStringLiteral("face-8"), QSize(54, 72)).isNull());

    // Cut short or scribbled over: drawn again.
    const QString path = folder.filePath(QStringLiteral("build-2/71x96@1000/face-9.pic"));
    store->Save(card, 1.0, QStringLiteral("face-9"), red);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.resize(file.size() / 2);
    }
    TCardPictures again(card, 1.0, store);
    EXPECT_EQ(again.Face(9), TCardPictures(card, 1.0).Face(9)) << "drawn, not the red file";

    QDir(folder.path()).mkpath(QStringLiteral("build-1/71x96@1000"));
    store->ClearOtherBuilds();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"build-2"}));
}

// A deck given a new card size shows the pictures of the size before, scaled, until the worker
// has made the new ones; then it says so on the main thread, and every card has its own.
TEST(CardPictures, ANewSizeStandsInWithTheOldPicturesUntilTheNewOnesAreMade) {
    TDeck deck;
    deck.FinishPictures();
    ASSERT_FALSE(deck.ShowsStandIns());
    int told = 0;
    deck.OnPicturesChanged = [&told] { ++told; };
    // A size no other test uses, so that its faces are not made yet.
    deck.SetPictureSize(QSize(83, 112), 1.0);
    EXPECT_EQ(deck.CardSize(), QPoint(83, 112));
    EXPECT_EQ(LogicalSize(deck.Card(0).HighlightImage), QSize(91, 120)); // made at once
    EXPECT_TRUE(deck.ShowsStandIns());
    QElapsedTimer clock;
    clock.start();
    while (told == 0 && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(deck.ShowsStandIns());
    EXPECT_EQ(deck.Card(30).FaceImage.size(), QSize(83, 112));

    // A new back is never stood in for by the old design.
    const QImage old = deck.Card(0).BackImage;
    deck.SetBack(9);
    EXPECT_NE(deck.Card(0).BackImage, old);
    deck.FinishPictures();
    EXPECT_EQ(deck.Card(0).BackImage, TPictureCache::Shared().Set(QSize(83, 112), 1.0)->Back(9));
}

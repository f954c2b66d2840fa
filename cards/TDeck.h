#pragma once

#include "TCard.h"
#include "TShuffler.h"

class TCardPictures;
class TPictureJob;

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Runs `draw` clipped to an area of the painter (which is left as it was).
void DrawClipped(QPainter& canvas, const QRegion& area, const std::function<void()>& draw);

// The engine's repaint: with true it redraws the whole board and shows it, with false it only
// shows the board image as it stands.
using RepaintProc = std::function<void(bool redraw)>;

// All cards of one or more 52-card decks: their sizes and names, the card under a point, the
// stacking order as cards are put down or picked up, and their drawing and animation.
//
// The pictures are drawn at run time for the card size and pixel ratio in force (the two sets
// of the game, or any size the window asks for). A new size gets its outline pictures at once;
// its faces and backs are made in the background, and until they are, the cards show those of
// the size before, scaled. A face or back that was never made is made when first drawn.
class TDeck {
public:
    TDeck();
    ~TDeck();
    TDeck(const TDeck&) = delete;
    TDeck& operator=(const TDeck&) = delete;

    // The game's two sets: large (71 x 96) or small (54 x 72) cards.
    bool LargeCards = true;
    int32_t BackIndex = 5;
    int32_t DeckCount = 0;
    QPoint GrabOffset;
    std::vector<std::unique_ptr<TCard>> Cards;
    QImage SlotImage;
    TShuffler Shuffler;

    TCard& Card(int index) { return *Cards[size_t(index)]; }
    const TCard& Card(int index) const { return *Cards[size_t(index)]; }
    int Count() const { return int(Cards.size()); }

    void FreeCards();
    void BuildCards();
    void LoadImages();
    void SetDeckCount(int32_t n);
    void DrawSlot(QPainter& canvas, int x, int y) const;
    // Index of the topmost card under the point, or -1; sets GrabOffset.
    int CardAt(QPoint p);
    // Puts the card on top of the visible cards it overlaps.
    void Restack(TCard& card);
    // Every card, in rising Depth.
    std::vector<TCard*> SortByDepth() const;
    // Every visible card, lowest Depth first. What a card above covers with its opaque inside is
    // not drawn beneath it: the picture is the same, the work much less on a large board.
    void DrawAll(QPainter& canvas) const;
    // What drawing the visible cards covers with opaque card (nothing drawn before the cards
    // shows there afterwards), and everything it may draw on (a highlight or shadow included).
    struct Cover {
        QRegion Opaque;
        QRegion Touched;
    };
    Cover CardCover() const;
    void SetAllVisible(bool flag);
    void ClearHighlights();
    // Moves the listed cards as one group so that the first follows the point at GrabOffset.
    void MoveCardsTo(QPoint p, const std::vector<int>& list, bool lifted);
    // Slides the listed cards so that the first travels from `from` to `to` in steps + 1 frames.
    void AnimateMove(QPoint from, QPoint to, int steps, int delayMs, const std::vector<int>& list,
                     const RepaintProc& repaint);
    // Turns a card over on the board image in steps + 1 frames and toggles its FaceUp.
    void FlipCard(TCard& card, QImage& board, int steps, int delayMs, const RepaintProc& repaint);
    void SetLargeCards(bool flag);
    void SetBack(int32_t index);
    // Pictures for cards of any size (board pixels) at a pixel ratio (device pixels to a board
    // pixel); reloads them when either changes. SetLargeCards goes back to the set's size.
    void SetPictureSize(QSize card, qreal ratio);
    qreal PixelRatio() const { return ratio; }
    // The card size of the large or the small set.
    static QSize SetCardSize(bool large) { return large ? QSize(71, 96) : QSize(54, 72); }

    int CardHeight() const;
    int CardWidth() const;
    QPoint CardSize() const { return {CardWidth(), CardHeight()}; }
    // How many times the pictures were loaded (a reload is the expensive part of a change).
    int ImageLoads() const { return imageLoads; }
    // Called on the program's main thread when pictures made in the background have replaced
    // stand-ins, so that the board can be drawn again.
    std::function<void()> OnPicturesChanged;
    // Every card has its own pictures of the size in force: waits for the background work and
    // makes what is left (tests and benchmarks; the program never waits).
    void FinishPictures();
    // True while some card still shows a picture of another size.
    bool ShowsStandIns() const;

    static int RankOf(int index) { return index % 13; }
    static int SuitOf(int index) { return (index / 13) % 4; }
    // The short name of a card Index ("AH", "10D", "KS"), for one deck of 52.
    static QString CardName(int index);
    QString NameOf(int index) const;

private:
    // Gives every card the pictures of the current set that are made.
    void TakeReadyPictures();
    // Makes the picture a card is about to be drawn with, when it has none.
    void EnsurePicture(TCard& card, bool face) const;
    // The part of a card that its picture covers opaquely (empty when that is not sure: a
    // stand-in, or a pixel ratio that places pictures between device pixels).
    QRect OpaqueCore(const TCard& card) const;

    int imageLoads = 0;
    QSize pictureSize{71, 96};
    qreal ratio = 1.0;
    int loadedBack = -1;
    std::shared_ptr<TCardPictures> pictures;
    std::shared_ptr<TPictureJob> job;
};

#pragma once

#include "TCard.h"
#include "TShuffler.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// The engine's repaint: with true it redraws the whole board and shows it, with false it only
// shows the board image as it stands.
using RepaintProc = std::function<void(bool redraw)>;

// All cards of one or more 52-card decks: their sizes and names, the card under a point, the
// stacking order as cards are put down or picked up, and their drawing and animation.
class TDeck {
public:
    TDeck();
    ~TDeck();
    TDeck(const TDeck&) = delete;
    TDeck& operator=(const TDeck&) = delete;

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
    void DrawAll(QPainter& canvas) const;
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

    int CardHeight() const;
    int CardWidth() const;
    QPoint CardSize() const { return {CardWidth(), CardHeight()}; }
    // How many times the pictures were loaded (a reload is the expensive part of a change).
    int ImageLoads() const { return imageLoads; }

    static int RankOf(int index) { return index % 13; }
    static int SuitOf(int index) { return (index / 13) % 4; }
    // The short name of a card Index ("AH", "10D", "KS"), for one deck of 52.
    static QString CardName(int index);
    QString NameOf(int index) const;

private:
    int imageLoads = 0;
};

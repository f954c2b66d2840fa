#include "TDeck.h"

#include "CardResources.h"
#include "KestrelObjects/BitmapHelpers.h"
#include "KestrelObjects/TimeSource.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace {
// The shadow picture made see-through: white vanishes, black becomes a quarter-strength shadow.
QImage PrepareShadow(QImage shadow) {
    shadow = shadow.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    SetAlphaByKey(shadow, clBlack, 64, true);
    SetAlphaByKey(shadow, clWhite, 0, false);
    return shadow;
}

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }
} // namespace

TDeck::TDeck() { SetDeckCount(1); }

TDeck::~TDeck() { FreeCards(); }

void TDeck::FreeCards() { Cards.clear(); }

void TDeck::BuildCards() {
    FreeCards();
    for (int i = 0; i < 52 * DeckCount; ++i)
        Cards.push_back(std::make_unique<TCard>(i));
    Shuffler.SetDeckCount(DeckCount);
}

void TDeck::LoadImages() {
    const int base = LargeCards ? 0 : CardResource::SmallSet;
    SlotImage = LoadCardBitmap(base + CardResource::Slot);
    const QImage mask = LoadCardBitmap(base + CardResource::Mask).convertToFormat(QImage::Format_Grayscale8);
    const QImage back = LoadCardBitmap(base + CardResource::FirstBack + BackIndex);
    const QImage highlight = LoadCardBitmap(base + CardResource::Highlight);
    // Every card keeps its own handle on the pictures; the pixels are shared until written.
    const QImage shadow = PrepareShadow(LoadCardBitmap(base + CardResource::Shadow));
    const QImage maskedBack = CutOutByMask(back, mask);
    std::array<QImage, 52> faces;
    for (int v = 0; v < 52; ++v)
        faces[size_t(v)] = LoadCardBitmap(base + v + 1);
    for (auto& card : Cards)
        card->SetImages(faces[size_t(card->Value)], back, mask, highlight, shadow, maskedBack);
    ++imageLoads;
}

void TDeck::SetDeckCount(int32_t n) {
    if (n == DeckCount)
        return;
    DeckCount = n;
    BuildCards();
    LoadImages();
}

void TDeck::DrawSlot(QPainter& canvas, int x, int y) const { canvas.drawImage(QPoint(x, y), SlotImage); }

int TDeck::CardAt(QPoint p) {
    GrabOffset = QPoint(0, 0);
    int bestDepth = -1, result = -1;
    for (const auto& card : Cards) {
        if (card->ContainsPoint(p) && card->Depth > bestDepth) {
            bestDepth = card->Depth;
            result = card->Index;
        }
    }
    if (result >= 0)
        GrabOffset = p - Card(result).Position;
    return result;
}

void TDeck::Restack(TCard& card) {
    int highest = 0;
    for (const auto& other : Cards) {
        if (other.get() != &card && other->Visible && other->Overlaps(card))
            highest = std::max(highest, other->Depth);
    }
    card.Depth = highest + 1;
}

std::vector<TCard*> TDeck::SortByDepth() const {
    std::vector<TCard*> list;
    list.reserve(Cards.size());
    for (const auto& card : Cards)
        list.push_back(card.get());
    std::sort(list.begin(), list.end(), [](const TCard* a, const TCard* b) { return a->Depth < b->Depth; });
    return list;
}

void TDeck::DrawAll(QPainter& canvas) const {
    for (const TCard* card : SortByDepth())
        if (card->Visible)
            card->DrawCard(canvas);
}

void TDeck::SetAllVisible(bool flag) {
    for (auto& card : Cards)
        card->Visible = flag;
}

void TDeck::ClearHighlights() {
    for (auto& card : Cards)
        card->Highlighted = false;
}

void TDeck::MoveCardsTo(QPoint p, const std::vector<int>& list, bool lifted) {
    if (list.empty())
        return;
    const QPoint target = p - GrabOffset;
    const QPoint offset = target - Card(list.front()).Position;
    for (int index : list)
        Card(index).Visible = false;
    const int last = int(list.size()) - 1;
    for (int k = 0; k <= last; ++k) {
        TCard& card = Card(list[size_t(k)]);
        card.Lifted = lifted;
        card.Position += offset;
        if (lifted)
            card.Depth = INT_MAX - (last - k);
        else
            Restack(card);
        card.Visible = true;
    }
}

void TDeck::AnimateMove(QPoint from, QPoint to, int steps, int delayMs, const std::vector<int>& list,
                        const RepaintProc& repaint) {
    if (!repaint)
        return;
    steps = std::max(steps, 1);
    GrabOffset = QPoint(0, 0);
    const double stepX = double(to.x() - from.x()) / steps, stepY = double(to.y() - from.y()) / steps;
    for (int i = 0; i <= steps; ++i) {
        const QPoint p(from.x() + RoundHalfEven(stepX * i), from.y() + RoundHalfEven(stepY * i));
        MoveCardsTo(p, list, i < steps);
        repaint(true);
        BusyWait(delayMs);
    }
}

void TDeck::FlipCard(TCard& card, QImage& board, int steps, int delayMs, const RepaintProc& repaint) {
    steps = std::max(steps, 1);
    card.Visible = false;
    repaint(true);
    card.SaveUnder(board);
    for (int c = 0; c <= steps; ++c) {
        const double angle = c * (180.0 / steps);
        {
            QPainter canvas(&board);
            card.RestoreUnder(canvas);
            card.DrawSqueezed(canvas, angle);
        }
        repaint(false);
        BusyWait(delayMs);
    }
    card.FaceUp = !card.FaceUp;
    card.Visible = true;
    repaint(true);
}

void TDeck::SetLargeCards(bool flag) {
    if (flag == LargeCards)
        return;
    LargeCards = flag;
    LoadImages();
}

void TDeck::SetBack(int32_t index) {
    if (index == BackIndex)
        return;
    BackIndex = index;
    LoadImages();
}

int TDeck::CardHeight() const { return Cards.empty() ? 0 : Cards.front()->Height(); }

int TDeck::CardWidth() const { return Cards.empty() ? 0 : Cards.front()->Width(); }

QString TDeck::CardName(int index) {
    static const std::array<const char*, 13> ranks = {"A", "2", "3", "4", "5", "6", "7",
                                                      "8", "9", "10", "J", "Q", "K"};
    static const std::array<char, 4> suits = {'H', 'D', 'C', 'S'};
    if (index < 0)
        return QStringLiteral("??");
    return QString::fromLatin1(ranks[size_t(RankOf(index))]) + QChar::fromLatin1(suits[size_t(SuitOf(index))]);
}

QString TDeck::NameOf(int index) const {
    return index >= 0 && index < Count() ? CardName(index) : QStringLiteral("??");
}

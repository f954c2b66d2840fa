#include "TDeck.h"

#include "TCardPictures.h"
#include "TPictureCache.h"
#include "KestrelObjects/TimeSource.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace {
int RoundHalfEven(double v) { return int(std::nearbyint(v)); }
} // namespace

TDeck::TDeck() { SetDeckCount(1); }

TDeck::~TDeck() {
    if (job)
        job->Cancel();
    FreeCards();
}

void TDeck::FreeCards() { Cards.clear(); }

void TDeck::BuildCards() {
    FreeCards();
    for (int i = 0; i < 52 * DeckCount; ++i)
        Cards.push_back(std::make_unique<TCard>(i));
    Shuffler.SetDeckCount(DeckCount);
}

void TDeck::LoadImages() {
    pictures = TPictureCache::Shared().Set(pictureSize, ratio);
    SlotImage = pictures->Slot;
    // A new back is never stood in for by the old one; a new size is, by its own picture.
    const bool sameBack = loadedBack == BackIndex;
    const QImage back = pictures->ReadyBack(BackIndex);
    for (auto& card : Cards) {
        const QImage face = pictures->ReadyFace(card->Value);
        card->SetImages(pictureSize, face.isNull() ? card->FaceImage : face,
                        !back.isNull() ? back
                        : sameBack     ? card->BackImage
                                       : QImage(),
                        pictures->Mask, pictures->Highlight, pictures->Shadow);
    }
    loadedBack = BackIndex;
    ++imageLoads;
    if (job)
        job->Cancel();
    job.reset();
    if (!pictures->Complete(BackIndex))
        job = TPictureCache::Shared().Complete(pictures, BackIndex, [this] {
            TakeReadyPictures();
            if (OnPicturesChanged)
                OnPicturesChanged();
        });
}

void TDeck::TakeReadyPictures() {
    const QImage back = pictures->ReadyBack(BackIndex);
    for (auto& card : Cards) {
        if (const QImage face = pictures->ReadyFace(card->Value); !face.isNull())
            card->FaceImage = face;
        if (!back.isNull())
            card->BackImage = back;
    }
}

void TDeck::FinishPictures() {
    TPictureCache::Shared().WaitIdle();
    for (auto& card : Cards) {
        card->FaceImage = pictures->Face(card->Value);
        card->BackImage = pictures->Back(BackIndex);
    }
}

bool TDeck::ShowsStandIns() const {
    for (const auto& card : Cards)
        for (const QImage* image : {&card->FaceImage, &card->BackImage})
            if (!image->isNull() && (LogicalSize(*image) != pictureSize || image->devicePixelRatio() != ratio))
                return true;
    return false;
}

void TDeck::EnsurePicture(TCard& card, bool face) const {
    QImage& image = face ? card.FaceImage : card.BackImage;
    if (image.isNull())
        image = face ? pictures->Face(card.Value) : pictures->Back(BackIndex);
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

QRect TDeck::OpaqueCore(const TCard& card) const {
    const QImage& picture = card.FaceUp ? card.FaceImage : card.BackImage;
    if (ratio != std::floor(ratio) || picture.devicePixelRatio() != ratio || LogicalSize(picture) != pictureSize)
        return {};
    // Full rows between the rounded corners.
    const int corner = int(std::ceil(pictures->Art().radius)) + 1;
    const QRect r = card.BoundsRect().ToQRect();
    return r.adjusted(0, corner, 0, -corner);
}

void DrawClipped(QPainter& canvas, const QRegion& area, const std::function<void()>& draw) {
    // Rectangle by rectangle: a painter clipped to a rectangle still copies pictures line by
    // line, where any other clip would take it through its general (and slower) path.
    canvas.save();
    for (const QRect& r : area) {
        canvas.setClipRect(r);
        draw();
    }
    canvas.restore();
}

namespace {
// Everything drawing a card may touch: its highlight and shadow, and a pixel round them.
QRect Extent(const TCard& card) {
    QRect r = card.BoundsRect().Inflated(1).ToQRect();
    r |= card.CentredRect(card.ShadowImage).ToQRect();
    r |= card.CentredRect(card.HighlightImage).ToQRect();
    return r.adjusted(-1, -1, 1, 1);
}
} // namespace

TDeck::Cover TDeck::CardCover() const {
    Cover cover;
    for (const auto& card : Cards) {
        if (!card->Visible)
            continue;
        cover.Opaque += OpaqueCore(*card);
        cover.Touched += Extent(*card);
    }
    return cover;
}

void TDeck::DrawAll(QPainter& canvas) const {
    std::vector<TCard*> order;
    for (TCard* card : SortByDepth()) {
        if (!card->Visible)
            continue;
        EnsurePicture(*card, card->FaceUp);
        order.push_back(card);
    }
    // What shows of each card: its extent less the opaque cores of the cards above it, found
    // from the top down with one growing region (a stacked deck would otherwise cost a union
    // for every pair of cards).
    std::vector<QRect> extents(order.size());
    std::vector<QRegion> shown(order.size());
    QRegion above;
    for (size_t i = order.size(); i-- > 0;) {
        extents[i] = Extent(*order[i]);
        shown[i] = above.intersects(extents[i]) ? QRegion(extents[i]) - above : QRegion(extents[i]);
        above += OpaqueCore(*order[i]);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        if (shown[i].isEmpty())
            continue;
        if (shown[i].rectCount() == 1 && shown[i].boundingRect() == extents[i])
            order[i]->DrawCard(canvas);
        else
            DrawClipped(canvas, shown[i], [&] { order[i]->DrawCard(canvas); });
    }
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
    EnsurePicture(card, true);
    EnsurePicture(card, false);
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
    if (flag == LargeCards && pictureSize == SetCardSize(flag))
        return;
    LargeCards = flag;
    pictureSize = SetCardSize(flag);
    LoadImages();
}

void TDeck::SetPictureSize(QSize card, qreal pixelRatio) {
    if (card == pictureSize && pixelRatio == ratio)
        return;
    pictureSize = card;
    ratio = pixelRatio;
    LoadImages();
}

void TDeck::SetBack(int32_t index) {
    if (index == BackIndex)
        return;
    BackIndex = index;
    LoadImages();
}

int TDeck::CardHeight() const { return pictureSize.height(); }

int TDeck::CardWidth() const { return pictureSize.width(); }

QString TDeck::CardName(int index) {
    static const std::array<const char*, 13> ranks = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    static const std::array<char, 4> suits = {'H', 'D', 'C', 'S'};
    if (index < 0)
        return QStringLiteral("??");
    return QString::fromLatin1(ranks[size_t(RankOf(index))]) + QChar::fromLatin1(suits[size_t(SuitOf(index))]);
}

QString TDeck::NameOf(int index) const {
    return index >= 0 && index < Count() ? CardName(index) : QStringLiteral("??");
}

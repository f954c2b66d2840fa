// The quick search for possible moves, keyed on the last card of each column, and hints.
#include "TwGame.h"

#include "Rules.h"
#include "KestrelObjects/TimeSource.h"

namespace {
bool Joins(const TCard& t, const TCard* other) { return other && Rules::Joins(t.Index, other->Index); }
} // namespace

bool TGame::FindMoves() {
    HintCursor = 0;
    HintList.clear();
    for (int c = 0; c < ColumnCountMax; ++c) {
        if (ColumnCount(c) == 0)
            continue;
        const int bottom = BottomRow(c);
        TCard* t = Cell(c, bottom);
        std::array<TCard*, 2> found{};
        int count = 0;
        for (int other = 0; other < ColumnCountMax && count < 2; ++other) {
            if (other == c)
                continue;
            for (int row = 0; row < RowCountMax && Cell(other, row) && count < 2; ++row) {
                TCard* card = Cell(other, row);
                if (card->FaceUp && Joins(*t, card))
                    found[size_t(count++)] = card;
            }
        }
        TCard* pocketCard = nullptr;
        for (int p = 0; p < HomeCount && !pocketCard; ++p)
            if (Joins(*t, Pocket(p)))
                pocketCard = Pocket(p);
        for (int i = 0; i < count; ++i)
            HintList.push_back({t, found[size_t(i)]});
        if (pocketCard)
            HintList.push_back({t, pocketCard});
        if (Rules::IsAce(t->Index))
            HintList.push_back({t, nullptr});
        if (Rules::IsKing(t->Index) && bottom != 0 && FirstEmptyColumn() != -1)
            HintList.push_back({t, nullptr});
    }
    Host().SetPanelText(StatusPanel::MoveCntDis, QString::number(HintList.size()));
    return !HintList.empty();
}

namespace {
void ShowNoMoreMoves(IGameHost& host) {
    host.ShowGameMessage(GameMessagePage::Message, QStringLiteral("Hints"), QStringLiteral("No More Moves"),
                         QStringLiteral("OK"), QString());
}
} // namespace

void TGame::CheckBlocked() {
    if (!FindMoves() && CardCounter > 0)
        ShowNoMoreMoves(Host());
}

void TGame::ShowNextHint() {
    if (HintList.empty()) {
        ShowNoMoreMoves(Host());
        return;
    }
    const HintPair pair = HintList[size_t(HintCursor)];
    HintCursor = (HintCursor + 1) % int(HintList.size());
    FlashPair(pair);
}

void TGame::FlashPair(const HintPair& pair) {
    auto mark = [&pair](bool on) {
        pair.First->Highlighted = on;
        if (pair.Second)
            pair.Second->Highlighted = on;
    };
    for (int i = 0; i < Timing::HintFlashes; ++i) {
        mark(true);
        PaintBoard();
        BusyWait(Timing::HintFlashMs);
        mark(false);
        PaintBoard();
        BusyWait(Timing::HintFlashMs);
    }
    HintCount = CountUp(HintCount);
    ShowStatus();
}

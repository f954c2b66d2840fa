// The score, computed afresh from the board, and the prompt and score panels.
#include "TwGame.h"

#include "Rules.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// Cards home: a pocket up to rank r is worth 3 * (r + 1) * (r + 2) / 2.
int32_t PocketPoints(const TBoard& board) {
    int32_t points = 0;
    for (int p = 0; p < HomeCount; ++p) {
        if (const TCard* top = board[size_t(p)]) {
            const int r = top->Rank;
            points += 3 * (r + 1) * (r + 2) / 2;
        }
    }
    return points;
}

// Same-suit runs in one column: descending runs count twice the ranks, ascending once.
int32_t ColumnPoints(const TGame& game, int column) {
    int32_t points = 0;
    bool down = false, up = false;
    for (int row = 0; row + 1 < RowCountMax; ++row) {
        const TCard* upper = game.Cell(column, row);
        const TCard* lower = game.Cell(column, row + 1);
        if (!upper || !lower)
            break;
        // Only face-up pairs count; a pair in no run leaves both flags as they are.
        if (!upper->FaceUp || !lower->FaceUp)
            continue;
        const int u = upper->Rank, l = lower->Rank;
        if (Rules::Descends(upper->Index, lower->Index)) {
            points += 2 * (l + 1) + (down ? 0 : 2 * (u + 1));
            down = true;
            up = false;
        } else if (Rules::Ascends(upper->Index, lower->Index)) {
            points += (l + 1) + (up ? 0 : u + 1);
            up = true;
            down = false;
        }
    }
    return points;
}

// A bonus of up to 1092 points, falling to nothing as the measure grows past its limit.
int32_t Bonus(double spent, double limit) {
    return spent > limit ? 0 : int32_t(std::nearbyint((limit - spent) / limit * 1092.0));
}
} // namespace

int32_t TGame::ComputeScore() {
    int64_t score = PocketPoints(GameArray);
    for (int column = 0; column < ColumnCountMax; ++column)
        score += ColumnPoints(*this, column);
    if (UndoCount > 10)
        score -= 2 * int64_t(UndoCount);
    if (HintCount > 10)
        score -= 2 * int64_t(HintCount);
    if (GameState == TGameState::Won) {
        score += Bonus(host.GameTime().Time(), 600);
        if (MoveCount <= 120)
            score += Bonus(double(MoveCount - 52), 120);
    }
    const auto result = int32_t(std::clamp<int64_t>(score, INT32_MIN, INT32_MAX));
    if (GameState == TGameState::Won) {
        FinalScore = result;
        FinalTime = host.GameTime().AccumulatedMicros();
    }
    return result;
}

void TGame::ShowStatus() {
    QString prompt;
    if (!GameActive)
        prompt = QStringLiteral("Please Deal Cards");
    else if (Protocol.ClickPhase == 0)
        prompt = QStringLiteral("Click On Card From Pile");
    else
        prompt = QStringLiteral("Click On Destination");
    host.SetPanelText(StatusPanel::MessageDis, prompt);
    host.SetPanelText(StatusPanel::ScoreDis, QString::number(ComputeScore()) + QStringLiteral(" Pts."));
}

void TGame::ShowError(const QString& text) {
    if (!text.isEmpty())
        Sound.PlayEffect(SoundEffect::Error);
    host.SetPanelText(StatusPanel::ErrorDis, text);
}

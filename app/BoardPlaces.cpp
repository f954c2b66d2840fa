#include "BoardPlaces.h"

#include "engine/TwGame.h"

#include <algorithm>

namespace BoardPlaces {

QString CardWords(int index) {
    static const char* const ranks[13] = {"Ace",   "Two",   "Three", "Four", "Five",  "Six",  "Seven",
                                          "Eight", "Nine",  "Ten",   "Jack", "Queen", "King"};
    static const char* const suits[4] = {"Hearts", "Diamonds", "Clubs", "Spades"};
    if (index < 0 || index >= DeckSize)
        return QString();
    return QStringLiteral("%1 of %2").arg(QLatin1String(ranks[index % 13]), QLatin1String(suits[index / 13]));
}

QString CardSpoken(const TCard& card) {
    return card.FaceUp ? CardWords(card.Index) : QStringLiteral("face-down card");
}

QString PocketName(const TGame& game, int pocket) {
    if (!game.GameActive)
        return pocket == 0 ? QStringLiteral("Deck") : QStringLiteral("Home %1: empty").arg(pocket + 1);
    const TCard* top = game.GameArray[size_t(pocket)];
    return QStringLiteral("Home %1: %2").arg(pocket + 1).arg(top ? CardWords(top->Index) : QStringLiteral("empty"));
}

QString ColumnName(const TGame& game, int column) {
    const int count = game.ColumnCount(column);
    QString name = QStringLiteral("Column %1: ").arg(column + 1);
    if (count == 0)
        return name + QStringLiteral("empty");
    name += count == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(count);
    int down = 0;
    for (int row = 0; row < count; ++row)
        if (!game.Cell(column, row)->FaceUp)
            ++down;
    if (down > 0)
        name += QStringLiteral(", %1 face down").arg(down);
    return name;
}

std::vector<int> RestingRows(const TGame& game, int column) {
    std::vector<int> rows;
    const int count = game.ColumnCount(column);
    for (int row = 0; row < count; ++row)
        if (game.Cell(column, row)->FaceUp || row == count - 1)
            rows.push_back(row);
    return rows;
}

BoardSlot Clamp(const TGame& game, BoardSlot place) {
    if (place.Column < 0) {
        place.Row = std::clamp(place.Row, 0, HomeCount - 1);
        place.Card = nullptr;
        return place;
    }
    place.Column = std::min(place.Column, ColumnCountMax - 1);
    const std::vector<int> rows = RestingRows(game, place.Column);
    if (rows.empty())
        return BoardSlot{place.Column, 0, nullptr};
    const auto at = std::lower_bound(rows.begin(), rows.end(), place.Row);
    place.Row = at == rows.end() ? rows.back() : *at;
    place.Card = game.Cell(place.Column, place.Row);
    return place;
}

BoardSlot ColumnPlace(const TGame& game, int column) { return Clamp(game, BoardSlot{column, RowCountMax, nullptr}); }

BoardSlot Locate(const TGame& game, const TCard& card) {
    for (int column = 0; column < ColumnCountMax; ++column)
        for (int row = 0; row < RowCountMax && game.Cell(column, row); ++row)
            if (game.Cell(column, row) == &card)
                return BoardSlot{column, row, game.Cell(column, row)};
    // A pocket holds its suit from the Ace up to its top card.
    for (int pocket = 0; pocket < HomeCount; ++pocket) {
        const TCard* top = game.GameArray[size_t(pocket)];
        if (top && top->Suit == card.Suit && card.Rank <= top->Rank)
            return BoardSlot{-1, pocket, nullptr};
    }
    return BoardSlot{};
}

QRect PocketRect(const TGame& game, int pocket) { return QRect(game.PocketPosition(pocket), game.Geometry.Card); }

QRect CardRect(const TGame& game, int column, int row) {
    const QSize card = game.Geometry.Card;
    if (row >= game.BottomRow(column))
        return QRect(game.CellPosition(column, row), card);
    return QRect(game.CellPosition(column, row), QSize(card.width(), game.Geometry.ColumnStep[size_t(column)]));
}

QRect ColumnRect(const TGame& game, int column) {
    const QRect top(game.CellPosition(column, 0), game.Geometry.Card);
    return top.united(CardRect(game, column, game.BottomRow(column)));
}

QRect PlaceRect(const TGame& game, const BoardSlot& place) {
    if (place.Column < 0)
        return PocketRect(game, place.Row);
    if (!place.Card)
        return QRect(game.CellPosition(place.Column, 0), game.Geometry.Card);
    return CardRect(game, place.Column, place.Row);
}

QPoint ClickPoint(const TGame& game, const BoardSlot& place) {
    const QRect r = PlaceRect(game, place);
    return r.topLeft() + QPoint(r.width() / 2, r.height() / 2);
}

} // namespace BoardPlaces

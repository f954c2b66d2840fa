// The board model: queries over the pile and the start of the engine.
#include "TwGame.h"

TGame::TGame(IGameHost& hostWindow) : Sound(hostWindow), host(hostWindow) { UndoRing.resize(UndoRingSize); }

TGame::~TGame() = default;

int TGame::ColumnCount(int column) const {
    for (int row = 0; row < RowCountMax; ++row)
        if (!Cell(column, row))
            return row;
    return RowCountMax;
}

int TGame::BottomRow(int column) const {
    for (int row = RowCountMax - 1; row >= 1; --row)
        if (Cell(column, row))
            return row;
    return 0;
}

int TGame::FirstEmptyColumn() const {
    for (int column = 0; column < ColumnCountMax; ++column)
        if (ColumnCount(column) == 0)
            return column;
    return -1;
}

void TGame::ClearBoard(TBoard& board) { board.fill(nullptr); }

void TGame::EngineStart() {
    Deck = std::make_unique<TDeck>();
    SmallCards = host.ScreenWidth() < 800;
    SetCardSize(SmallCards);
    GameActive = false;
    UndoHead = UndoTail = 0;
    GatherDeck();
    ShowStatus();
    ShowError(QString());
    GameState = TGameState::NotDealt;
}

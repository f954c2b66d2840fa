// The board model: queries over the pile and the start of the engine.
#include "TwGame.h"

#include "Rules.h"

TGame::TGame(IGameHost& hostWindow) : Sound(hostWindow), host(hostWindow) {}

TGame::~TGame() = default;

int TGame::ColumnCount(int column) const { return Rules::ColumnCount(Board(), column); }

int TGame::BottomRow(int column) const { return Rules::BottomRow(Board(), column); }

int TGame::FirstEmptyColumn() const { return Rules::FirstEmptyColumn(Board()); }

void TGame::ClearBoard(TBoard& board) { board.fill(nullptr); }

void TGame::EngineStart() {
    Deck = std::make_unique<TDeck>();
    // Pictures made in the background replace their stand-ins on the next paint; the board is
    // painted now, unless the fireworks have it (the celebration paints it when it ends).
    Deck->OnPicturesChanged = [this] {
        if (!CelebrationRunning)
            PaintBoard();
    };
    SmallCards = host.ScreenWidth() < 800;
    SetCardSize(SmallCards);
    GameActive = false;
    UndoRing.Clear();
    GatherDeck();
    ShowStatus();
    ShowError(QString());
    GameState = TGameState::NotDealt;
}

// Feeds arbitrary bytes to the saved-game reader of a game in play. Whatever the bytes, a load
// either takes up a sound game or throws TGameError and leaves the table exactly as it was;
// anything else (a crash, a sanitizer report, another exception, a broken invariant) aborts.
#include "KestrelObjects/GameError.h"
#include "engine/TwGame.h"
#include "tests/support/FakeHost.h"
#include "tests/support/VirtualTimeSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void Expect(bool condition, const char* what) {
    if (!condition)
        Broken(what);
}

// What a failed load must leave alone.
struct Table {
    TBoard GameArray, GameCopy;
    int32_t CardCounter, MoveCount;
    TGameState GameState;
    bool GameActive;
    int UndoHead, UndoTail;
    int64_t Clock;
    std::vector<std::pair<bool, bool>> Faces;

    static Table Of(TGame& game, FakeHost& host) {
        Table t{game.GameArray, game.GameCopy, game.CardCounter, game.MoveCount, game.GameState,
                game.GameActive, game.UndoRing.UndoHead(), game.UndoRing.UndoTail(), host.Clock.ElapsedMicros(), {}};
        t.Faces.reserve(game.Deck->Cards.size());
        for (const auto& card : game.Deck->Cards)
            t.Faces.emplace_back(card->FaceUp, card->DealFaceUp);
        return t;
    }
    bool operator==(const Table&) const = default;
};

// Every card once, on a cell or beneath a pocket's top card; no column with a hole.
int CheckBoard(const TBoard& board) {
    std::array<int, 52> seen{};
    int home = 0;
    for (int p = 0; p < HomeCount; ++p)
        if (const TCard* top = board[size_t(p)]) {
            for (int i = top->Index - top->Rank; i <= top->Index; ++i)
                ++seen[size_t(i)];
            home += top->Rank + 1;
        }
    for (int c = 0; c < ColumnCountMax; ++c) {
        bool ended = false;
        for (int r = 0; r < RowCountMax; ++r) {
            const TCard* card = board[size_t(PileSlot(c, r))];
            Expect(!(ended && card), "a column with a gap");
            ended = ended || !card;
            if (card)
                ++seen[size_t(card->Index)];
        }
    }
    for (int n : seen)
        Expect(n == 1, "a card missing or twice");
    return home;
}

struct Harness {
    VirtualTimeSource clock;
    FakeHost host;
    TGame game{host};
    // In memory where the system offers it: the input is written anew for every run.
    QTemporaryDir dir{QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                          ? QStringLiteral("/dev/shm/tarnwell-fuzz-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/tarnwell-fuzz-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("input.twl"));

    Harness() {
        game.EngineStart();
        game.DealGame();
        host.Sounds.clear();
    }
};

Harness& TheHarness() {
    static int argc = 1;
    static char name[] = "fuzz_load_game";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Harness harness;
    return harness;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Harness& h = TheHarness();
    {
        QFile file(h.path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            Broken("cannot write the input file");
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    // Play went on for a moment; the reader itself takes no time on the virtual clock.
    h.clock.Advance(1);
    const Table before = Table::Of(h.game, h.host);
    // Every other input is read as a game kept over closing, with its undo and redo history.
    const bool withPlay = size % 2 == 1;
    bool loaded = false;
    try {
        h.game.LoadGameFile(h.path, withPlay ? TGame::TKeep::GameAndPlay : TGame::TKeep::Game);
        loaded = true;
    } catch (const TGameError& e) {
        Expect(!e.Message().isEmpty(), "a refusal without a message");
    }
    if (!loaded) {
        Expect(Table::Of(h.game, h.host) == before, "a failed load changed the table");
        return 0;
    }
    const int home = CheckBoard(h.game.GameArray);
    CheckBoard(h.game.GameCopy);
    Expect(h.game.CardCounter == 52 - home, "CardCounter against the board");
    Expect(h.game.MoveCount >= 0, "a negative MoveCount");
    Expect(h.game.GameActive && h.game.GameState == TGameState::Playing, "not in play after a load");
    Expect(withPlay ? h.game.UndoRing.Count() >= 1 : h.game.UndoRing.UndoHead() == 1 && h.game.UndoRing.UndoTail() == 0,
           "undo ring not restarted");
    // A kept history, whatever boards it holds, is taken back and made again soundly (a step
    // that would win is left alone: the celebration is no part of reading a file).
    for (int i = 0; withPlay && i < 3 && h.game.CanRedo() && h.game.RedoList.back().CardCounter > 0; ++i) {
        h.game.RedoMove();
        CheckBoard(h.game.GameArray);
    }
    for (int i = 0; withPlay && i < 4; ++i) {
        h.game.UndoMove();
        CheckBoard(h.game.GameArray);
    }
    Expect(h.host.Clock.Running() && h.host.Clock.ElapsedMicros() >= 0, "clock not running on");
    // The position plays on: a restart and an undo keep it sound.
    h.game.RestartGame();
    CheckBoard(h.game.GameArray);
    h.game.UndoMove();
    CheckBoard(h.game.GameArray);
    h.host.Sounds.clear();
    return 0;
}

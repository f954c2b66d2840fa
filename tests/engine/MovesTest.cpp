#include "support/BoardClicks.h"
#include "support/EngineFixture.h"

namespace {
// Card numbers by suit and rank: hearts 0..12, diamonds 13..25, clubs 26..38, spades 39..51.
constexpr int H(int rank) { return rank - 1; }
constexpr int D(int rank) { return 13 + rank - 1; }
constexpr int C(int rank) { return 26 + rank - 1; }
constexpr int S(int rank) { return 39 + rank - 1; }
} // namespace

class MovesTest : public EngineFixture {
public:
    MovesTest() { EmptyBoardInPlay(); }

    void Layout() {
        game.LayoutBoard();
        host.Sounds.clear();
        host.Messages.clear();
    }
    QStringList Sounds() const { return QStringList(host.Sounds.begin(), host.Sounds.end()); }
    int UndoRecords() const { return game.UndoRing.Count(); }
};

TEST_F(MovesTest, EveryRefusalInItsOrderOfChecks) {
    struct Case {
        const char* what;
        std::function<void(MovesTest&)> board;
        std::function<std::vector<QPoint>(const TGame&)> clicks;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"gap between columns", [](MovesTest& t) { t.PutColumn(0, {H(5)}); },
         [](const TGame& g) { return std::vector<QPoint>{g.CellPosition(0, 0) + QPoint(75, 5)}; }, "Not A Valid Card"},
        {"first click on a pocket", [](MovesTest& t) { t.game.Pocket(0) = t.Card(H(1)); },
         [](const TGame& g) { return std::vector<QPoint>{OnPocket(g, 0)}; }, "Select a card from the pile"},
        {"first click on an empty column", [](MovesTest&) {},
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 3, 0)}; }, "Select a card from the pile"},
        {"first click below a column", [](MovesTest& t) { t.PutColumn(2, {H(5), S(3)}); },
         [](const TGame& g) { return std::vector<QPoint>{BelowColumn(g, 2)}; }, "Select a card from the pile"},
        {"first click on a face-down card", [](MovesTest& t) { t.PutColumn(1, {H(5), S(3)}, {H(5)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 1, 0)}; }, "Only face-up cards can move"},
        {"own column, no pocket takes it", [](MovesTest& t) { t.PutColumn(1, {H(5), S(3)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 1, 0), OnCell(g, 1, 1)}; },
         "Can't move to same column"},
        {"other suit", [](MovesTest& t) { t.PutColumn(0, {H(5)}); t.PutColumn(1, {D(6)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnCell(g, 1, 0)}; }, "Cards must be in sequence"},
        {"two ranks apart", [](MovesTest& t) { t.PutColumn(0, {H(5)}); t.PutColumn(1, {H(7)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnCell(g, 1, 0)}; }, "Cards must be in sequence"},
        {"King onto the next suit's Ace", [](MovesTest& t) { t.PutColumn(0, {H(13)}); t.PutColumn(1, {D(1)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnCell(g, 1, 0)}; }, "Cards must be in sequence"},
        {"Ace onto the previous suit's King", [](MovesTest& t) { t.PutColumn(0, {D(1)}); t.PutColumn(1, {H(13)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnCell(g, 1, 0)}; }, "Cards must be in sequence"},
        {"only the top card of the run is compared", [](MovesTest& t) { t.PutColumn(0, {H(5), S(9)}); t.PutColumn(1, {S(10)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnCell(g, 1, 0)}; }, "Cards must be in sequence"},
        {"non-King to an empty column", [](MovesTest& t) { t.PutColumn(0, {H(12)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnCell(g, 4, 0)}; }, "Only a king can move here"},
        {"King with cards below, not at the top", [](MovesTest& t) { t.PutColumn(0, {H(2), S(13), S(12)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 1), OnCell(g, 4, 0)}; }, "King must be at the bottom"},
        {"run to a pocket out of sequence", [](MovesTest& t) { t.PutColumn(0, {H(3), H(1)}); t.PutColumn(1, {D(9)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 0)}; }, "Card not at bottom/in Sequence"},
        // An Ace above the bottom card does not break a run on its way home; the pocket's checks
        // then refuse it.
        {"run with an Ace above to an empty pocket", [](MovesTest& t) { t.PutColumn(0, {H(1), H(5)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 0)}; }, "Only an Ace can move here"},
        {"run with an Ace above to another suit's pocket", [](MovesTest& t) { t.PutColumn(0, {H(1), H(5)}); t.game.Pocket(1) = t.Card(S(3)); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 1)}; }, "Card not in sequence with Home"},
        {"run with an Ace above to a full pocket", [](MovesTest& t) { t.PutColumn(0, {D(1), D(5)}); t.game.Pocket(2) = t.Card(H(13)); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 2)}; }, "Card not in sequence with Home"},
        // A damaged board (the Ace both above the run and in the pocket) must not bury the pocket.
        {"damaged board: Ace above a run that fits", [](MovesTest& t) { t.PutColumn(0, {H(1), H(5)}); t.game.Pocket(0) = t.Card(H(4)); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 0)}; }, "Card not at bottom/in Sequence"},
        {"run to a pocket, another suit inside", [](MovesTest& t) { t.PutColumn(0, {H(3), D(2)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 0)}; }, "Card not at bottom/in Sequence"},
        {"not next to the pocket's top", [](MovesTest& t) { t.PutColumn(0, {H(4)}); t.game.Pocket(1) = t.Card(H(2)); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 1)}; }, "Card not in sequence with Home"},
        {"pocket up to its King", [](MovesTest& t) { t.PutColumn(0, {D(1)}); t.game.Pocket(2) = t.Card(H(13)); t.PutColumn(5, {S(4)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 2)}; }, "Home Pocket is Full."},
        {"non-Ace to an empty pocket", [](MovesTest& t) { t.PutColumn(0, {H(2)}); },
         [](const TGame& g) { return std::vector<QPoint>{OnCell(g, 0, 0), OnPocket(g, 3)}; }, "Only an Ace can move here"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyBoardInPlay();
        c.board(*this);
        Layout();
        const TBoard before = game.GameArray;
        const int undoHead = game.UndoRing.UndoHead(), moves = game.MoveCount, counter = game.CardCounter;
        for (QPoint p : c.clicks(game))
            Click(game, p);
        EXPECT_EQ(host.Panel(StatusPanel::ErrorDis), c.message);
        EXPECT_EQ(Sounds().filter("ERROR").size(), 1);
        EXPECT_EQ(Sounds().last(), "ERROR");
        EXPECT_EQ(game.GameArray, before);
        EXPECT_EQ(game.UndoRing.UndoHead(), undoHead);
        EXPECT_EQ(game.MoveCount, moves);
        EXPECT_EQ(game.CardCounter, counter);
        EXPECT_EQ(game.Protocol.ClickPhase, 0);
        EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Click On Card From Pile");
    }
}

TEST_F(MovesTest, SameSuitEitherWayAndTheRunMovesAsItIs) {
    for (int target : {H(6), H(4)}) {
        EmptyBoardInPlay();
        PutColumn(0, {S(13), H(5), C(9), D(2)}, {S(13)}); // cards below the 5 move with it, as they are
        PutColumn(1, {target});
        Layout();
        Click(game, OnCell(game, 0, 1));
        EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Click On Destination");
        Click(game, OnCell(game, 1, 0));
        EXPECT_EQ(game.Cell(1, 1), Card(H(5)));
        EXPECT_EQ(game.Cell(1, 3), Card(D(2)));
        EXPECT_EQ(game.ColumnCount(0), 1);
        EXPECT_EQ(game.MoveCount, 1);
        EXPECT_EQ(UndoRecords(), 1);
        // The face-down card left at the bottom is turned over.
        EXPECT_TRUE(Card(S(13))->FaceUp);
        EXPECT_EQ(Sounds(), QStringList({"PLAYCARD", "MOVETO"}));
        EXPECT_EQ(host.Panel(StatusPanel::ErrorDis), "");
        EXPECT_EQ(host.Panel(StatusPanel::CardDis), Card(target)->Name);
    }
}

TEST_F(MovesTest, KingsToAnEmptyColumn) {
    // A King alone at the bottom of its column, and a King heading its column with cards below.
    PutColumn(0, {H(2), S(13)});
    PutColumn(1, {D(13), D(12), D(11)});
    Layout();
    Click(game, OnCell(game, 0, 1));
    Click(game, OnCell(game, 5, 0));
    EXPECT_EQ(game.Cell(5, 0), Card(S(13)));
    Click(game, OnCell(game, 1, 0));
    Click(game, OnCell(game, 6, 0));
    EXPECT_EQ(game.ColumnCount(6), 3);
    EXPECT_EQ(game.ColumnCount(1), 0);
    EXPECT_EQ(game.MoveCount, 2);
}

TEST_F(MovesTest, RunsGoHomeCardByCard) {
    game.Pocket(0) = Card(H(2));
    PutColumn(0, {S(7), H(5), H(4), H(3)}, {S(7)});
    PutColumn(1, {D(9)});
    Layout();
    Click(game, OnCell(game, 0, 1));
    Click(game, OnCell(game, 0, 3)); // clicking the run's own column sends it home
    EXPECT_EQ(game.Pocket(0), Card(H(5)));
    EXPECT_EQ(game.ColumnCount(0), 1);
    EXPECT_EQ(game.MoveCount, 3);
    EXPECT_EQ(game.CardCounter, 49);
    EXPECT_EQ(UndoRecords(), 3);
    EXPECT_EQ(Sounds(), QStringList({"PLAYCARD", "MOVETO", "MOVEHOME", "MOVETO", "MOVEHOME", "MOVETO", "MOVEHOME"}));
    EXPECT_TRUE(Card(S(7))->FaceUp);
    for (int i = H(1); i <= H(5); ++i)
        EXPECT_EQ(Card(i)->Position, game.PocketPosition(0));

    // An Ace goes to the first empty pocket; the pocket itself as destination works too.
    EmptyBoardInPlay();
    PutColumn(3, {D(1)});
    game.Pocket(0) = Card(H(1));
    Layout();
    Click(game, OnCell(game, 3, 0));
    Click(game, OnPocket(game, 2));
    EXPECT_EQ(game.Pocket(2), Card(D(1)));
    EXPECT_EQ(game.CardCounter, 51);
}

TEST_F(MovesTest, ClickPhasesAndHighlights) {
    PutColumn(0, {H(5)});
    PutColumn(1, {H(6)});
    Layout();
    Click(game, OnCell(game, 0, 0));
    EXPECT_EQ(game.Protocol.ClickPhase, 1);
    EXPECT_TRUE(Card(H(5))->Highlighted);
    EXPECT_EQ(game.Protocol.DragList, std::vector<int>({H(5)}));
    // A click on nothing forgets the choice.
    Click(game, QPoint(5, 480));
    EXPECT_EQ(game.Protocol.ClickPhase, 0);
    EXPECT_FALSE(Card(H(5))->Highlighted);
    EXPECT_EQ(host.Panel(StatusPanel::ErrorDis), "Not A Valid Card");
    Click(game, OnCell(game, 0, 0));
    Click(game, OnCell(game, 1, 0));
    EXPECT_FALSE(Card(H(5))->Highlighted);
    EXPECT_FALSE(Card(H(6))->Highlighted);
    EXPECT_EQ(game.Cell(1, 1), Card(H(5)));
}

TEST_F(MovesTest, DragAndDropAndTheSlideBack) {
    PutColumn(0, {H(5), H(4)});
    PutColumn(1, {H(6)});
    PutColumn(2, {C(2)});
    Layout();
    const QPoint start = Card(H(5))->Position;
    const QPoint grab = OnCell(game, 0, 0);
    game.BoardMouseDown(true, grab.x(), grab.y());
    EXPECT_EQ(game.Protocol.DragActive, true);
    const QPoint over = OnCell(game, 2, 0);
    game.BoardMouseMove(over.x(), over.y());
    EXPECT_TRUE(Card(H(5))->Lifted);
    EXPECT_EQ(Card(H(5))->Position, start + (over - grab));
    EXPECT_EQ(Card(H(4))->Position - Card(H(5))->Position, QPoint(0, 30));
    game.BoardMouseUp(over.x(), over.y()); // the club refuses the hearts
    EXPECT_EQ(host.Panel(StatusPanel::ErrorDis), "Cards must be in sequence");
    EXPECT_EQ(Card(H(5))->Position, start);
    EXPECT_FALSE(Card(H(5))->Lifted);
    EXPECT_FALSE(game.Protocol.DragActive);
    EXPECT_EQ(Sounds(), QStringList({"PLAYCARD", "STARTMOVE", "ERROR"}));

    host.Sounds.clear();
    game.BoardMouseDown(true, grab.x(), grab.y());
    const QPoint onto = OnCell(game, 1, 0);
    game.BoardMouseMove(onto.x() - 10, onto.y());
    game.BoardMouseMove(onto.x(), onto.y());
    game.BoardMouseUp(onto.x(), onto.y());
    EXPECT_EQ(game.Cell(1, 2), Card(H(4)));
    EXPECT_EQ(Card(H(4))->Position, game.CellPosition(1, 2));
    EXPECT_EQ(Sounds(), QStringList({"PLAYCARD", "STARTMOVE", "MOVETO"}));

    // A press and release without movement only chooses the card.
    game.BoardMouseDown(true, OnCell(game, 2, 0).x(), OnCell(game, 2, 0).y());
    game.BoardMouseUp(OnCell(game, 2, 0).x(), OnCell(game, 2, 0).y());
    EXPECT_EQ(game.Protocol.ClickPhase, 1);
    // The right button alone does nothing.
    game.BoardMouseDown(false, OnCell(game, 1, 0).x(), OnCell(game, 1, 0).y());
    EXPECT_EQ(game.Protocol.ClickPhase, 1);
}

TEST_F(MovesTest, HoverNamesTheCardUnderThePointer) {
    PutColumn(0, {H(5), S(10)}, {H(5)});
    Layout();
    const QPoint top = OnCell(game, 0, 0), bottom = OnCell(game, 0, 1);
    game.BoardMouseMove(top.x(), top.y());
    EXPECT_EQ(host.Panel(StatusPanel::CurCardDis), "Down");
    game.BoardMouseMove(bottom.x(), bottom.y());
    EXPECT_EQ(host.Panel(StatusPanel::CurCardDis), "10S");
    game.BoardMouseMove(400, 480);
    EXPECT_EQ(host.Panel(StatusPanel::CurCardDis), "None");
}

TEST_F(MovesTest, TheLastCardHomeWinsTheGame) {
    for (int p = 0; p < 4; ++p)
        game.Pocket(p) = Card(p * 13 + 11); // every Queen home
    for (int c = 0; c < 4; ++c)
        PutColumn(c, {c * 13 + 12});
    game.CardCounter = 4;
    game.MoveCount = 60;
    Layout();
    for (int c = 0; c < 4; ++c) {
        Click(game, OnCell(game, c, 0));
        Click(game, OnCell(game, c, 0));
    }
    EXPECT_EQ(game.CardCounter, 0);
    EXPECT_EQ(game.GameState, TGameState::Won);
    EXPECT_FALSE(game.GameActive);
    EXPECT_TRUE(host.Messages.empty()); // no "No More Moves" after the winning move
    EXPECT_EQ(host.Panel(StatusPanel::ErrorDis), "Congratulations!!");
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Please Deal Cards");
    ASSERT_EQ(host.TopScores.size(), 1u);
    EXPECT_EQ(host.TopScores[0].first, game.FinalScore);
    EXPECT_GT(game.FinalScore, 1092);
    // Flashed seven times white and red, then back to the panel's colour.
    ASSERT_EQ(host.PanelRepaints.size(), 15u);
    EXPECT_EQ(host.PanelRepaints[0].second, clWhite);
    EXPECT_EQ(host.PanelRepaints[1].second, MakeColor(255, 0, 0));
    EXPECT_EQ(host.PanelRepaints[14].second, MakeColor(0, 191, 0));
    // The cards lie face down on the deck again, while the pockets keep the won position.
    for (const auto& card : game.Deck->Cards)
        EXPECT_FALSE(card->FaceUp);
    EXPECT_EQ(game.Pocket(0), Card(12));
    // After a win a click on the deck deals at once.
    Click(game, game.Geometry.HomeOrigin + QPoint(10, 10));
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.CardCounter, 52);
}

TEST_F(MovesTest, EverySlideAndFlipHasItsStepsAndDelays) {
    // Each animation draws steps + 1 frames and waits its delay after each of them.
    struct Case {
        const char* what;
        std::function<void(MovesTest&)> play;
        int frames, waitedMs;
    };
    const std::vector<Case> cases = {
        {"a run to a column: 8 steps of 10 ms",
         [](MovesTest& t) { t.PutColumn(0, {H(5)}); t.PutColumn(1, {H(6)}); t.Layout();
                            Click(t.game, OnCell(t.game, 0, 0)); Click(t.game, OnCell(t.game, 1, 0)); },
         9, 90},
        {"a card home: 10 steps of 10 ms",
         [](MovesTest& t) { t.PutColumn(0, {H(1)}); t.Layout();
                            Click(t.game, OnCell(t.game, 0, 0)); Click(t.game, OnPocket(t.game, 0)); },
         11, 110},
        {"a move that turns a card up: the slide, then a flip of 20 steps of 5 ms",
         [](MovesTest& t) { t.PutColumn(0, {S(2), H(5)}, {S(2)}); t.PutColumn(1, {H(6)}); t.Layout();
                            Click(t.game, OnCell(t.game, 0, 1)); Click(t.game, OnCell(t.game, 1, 0)); },
         9 + 21, 90 + 105},
        {"a refused drop slides back: 10 steps of 15 ms",
         [](MovesTest& t) { t.PutColumn(0, {H(5)}); t.PutColumn(1, {D(7)}); t.Layout();
                            const QPoint from = OnCell(t.game, 0, 0), to = OnCell(t.game, 1, 0);
                            t.game.BoardMouseDown(true, from.x(), from.y());
                            t.game.BoardMouseMove(to.x(), to.y());
                            t.game.BoardMouseUp(to.x(), to.y()); },
         11, 165},
        {"an undo of a run: 10 steps of 2 ms",
         [](MovesTest& t) { t.PutColumn(0, {H(5)}); t.PutColumn(1, {H(6)}); t.Layout(); t.game.TakeSnapshot();
                            Click(t.game, OnCell(t.game, 0, 0)); Click(t.game, OnCell(t.game, 1, 0));
                            t.clock.BusyWaits = 0; t.clock.BusyWaitedMs = 0; t.game.UndoMove(); },
         11, 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyBoardInPlay();
        clock.BusyWaits = 0;
        clock.BusyWaitedMs = 0;
        c.play(*this);
        EXPECT_EQ(clock.BusyWaits, c.frames);
        EXPECT_EQ(clock.BusyWaitedMs, c.waitedMs);
    }
}

TEST_F(MovesTest, TheWindowHearsOfEveryNewPositionAndOfNoRefusal) {
    PutColumn(0, {H(5)});
    PutColumn(1, {H(6)});
    PutColumn(2, {D(9)});
    Layout();
    game.TakeSnapshot();
    const int before = host.PositionChanges;
    Click(game, OnCell(game, 0, 0));
    Click(game, OnCell(game, 2, 0)); // refused
    EXPECT_EQ(host.PositionChanges, before);
    Click(game, OnCell(game, 0, 0));
    Click(game, OnCell(game, 1, 0)); // made
    EXPECT_EQ(host.PositionChanges, before + 1);
    game.UndoMove();
    game.RedoMove();
    game.RestartGame();
    EXPECT_EQ(host.PositionChanges, before + 4);
    game.DealGame(3u);
    EXPECT_EQ(host.PositionChanges, before + 5);
}

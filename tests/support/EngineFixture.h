#pragma once

#include "FakeHost.h"
#include "VirtualTimeSource.h"
#include "engine/TwGame.h"

#include <gtest/gtest.h>
#include <initializer_list>

// An engine on a fake window and a virtual clock, started as the program starts it, with a
// board image of the main window's size.
class EngineFixture : public ::testing::Test {
public:
    static constexpr int BoardWidth = 794;
    static constexpr int BoardHeight = 508;

    VirtualTimeSource clock;
    FakeHost host;
    TGame game{host};

    EngineFixture() {
        game.BoardImage = QImage(BoardWidth, BoardHeight, QImage::Format_ARGB32_Premultiplied);
        game.EngineStart();
    }

    TCard* Card(int index) { return &game.Deck->Card(index); }

    // An empty board of a game in play: every card off the table.
    void EmptyBoardInPlay() {
        TGame::ClearBoard(game.GameArray);
        game.GameState = TGameState::Playing;
        game.GameActive = true;
        game.CardCounter = 52;
        game.MoveCount = 0;
        game.UndoRing.Clear();
        game.ResetMoveProtocol();
    }

    // Lays cards (by Index) into a column from row 0 down, all face up unless listed in faceDown.
    void PutColumn(int column, std::initializer_list<int> cards, std::initializer_list<int> faceDown = {}) {
        int row = 0;
        for (int index : cards) {
            TCard* card = Card(index);
            card->FaceUp = std::find(faceDown.begin(), faceDown.end(), index) == faceDown.end();
            game.Cell(column, row++) = card;
        }
    }
};

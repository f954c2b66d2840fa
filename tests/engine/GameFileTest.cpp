#include "support/EngineFixture.h"

#include "KestrelObjects/GameError.h"
#include "support/FailingDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
QString DataFile(const QString& name) {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../data/") + name;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// Everything of the game on the table that a load may change, comparable as a whole: the two
// boards, the undo ring, the chosen card, every counter, every card's faces and place, the clock
// and what the window was told.
struct TableState {
    std::vector<const void*> Cards;
    std::vector<int64_t> Values;
    std::map<StatusPanel, QString> Panels;
    bool operator==(const TableState&) const = default;

    static TableState Of(TGame& game, FakeHost& host) {
        TableState s;
        s.Cards.assign(game.GameArray.begin(), game.GameArray.end());
        s.Cards.insert(s.Cards.end(), game.GameCopy.begin(), game.GameCopy.end());
        s.Cards.push_back(game.Protocol.SourceSlot().Card);
        s.Values = {game.CardCounter, game.MoveCount, game.UndoCount, game.HintCount, int(game.GameState),
                    game.GameActive, game.Protocol.ClickPhase, game.UndoRing.UndoHead(), game.UndoRing.UndoTail(), host.Clock.Running(),
                    host.Clock.ElapsedMicros(), host.DisplayTimer, host.BoardShows};
        for (const BoardSnapshot& record : game.UndoRing.Slots()) {
            s.Values.push_back(record.CardCounter);
            s.Cards.insert(s.Cards.end(), record.Home.begin(), record.Home.end());
            s.Cards.insert(s.Cards.end(), record.Pile.begin(), record.Pile.end());
            s.Values.insert(s.Values.end(), record.FaceUp.begin(), record.FaceUp.end());
        }
        for (const auto& c : game.Deck->Cards)
            s.Values.insert(s.Values.end(), {c->FaceUp, c->DealFaceUp, c->Visible, c->Highlighted,
                                             c->Position.x(), c->Position.y(), c->Depth});
        s.Panels = host.Panels;
        return s;
    }
};

class GameFileTest : public EngineFixture {
protected:
    QTemporaryDir dir;
    QString File(const QString& name) const { return dir.filePath(name); }

    // A game near its end, small enough to read: hearts and diamonds home, spades home up to
    // the Queen, the King of spades alone in column 0, all clubs in column 3 from the King
    // down; pocket 2 empty. Its deal had the clubs in column 0 and the spades home.
    void SmallGame() {
        EmptyBoardInPlay();
        game.Pocket(0) = Card(12);
        game.Pocket(1) = Card(25);
        game.Pocket(3) = Card(51);
        for (int row = 0; row < 13; ++row)
            game.Cell(0, row) = Card(26 + row);
        game.GameCopy = game.GameArray;
        TGame::ClearBoard(game.GameArray);
        game.Pocket(0) = Card(12);
        game.Pocket(1) = Card(25);
        game.Pocket(3) = Card(50);
        game.Cell(0, 0) = Card(51);
        for (int row = 0; row < 13; ++row) {
            TCard* club = Card(38 - row);
            game.Cell(3, row) = club;
            club->FaceUp = row >= 10;
            club->DealFaceUp = row % 2 == 0;
        }
        for (int top : {12, 25, 50}) {
            Card(top)->FaceUp = true;
            Card(top)->DealFaceUp = true; // all three were home in the deal
        }
        Card(51)->FaceUp = Card(51)->DealFaceUp = true;
        game.CardCounter = 14;
        game.MoveCount = 117;
        host.Clock.Reset();
        host.Clock.SetTime(83.25);
    }

    // A dealt game in the middle of a move, with an undo history and a running clock.
    void GameInProgress() {
        game.DealGame();
        clock.Advance(42000);
        game.MoveCount = 3;
        game.UndoCount = 2;
        game.HintCount = 1;
        game.TakeSnapshot();
        game.Protocol.ClickPhase = 1;
        game.Protocol.SourceSlot() = {2, 4, game.Cell(2, 4)};
        game.Cell(2, 4)->Highlighted = true;
        host.Panels[StatusPanel::ErrorDis] = QStringLiteral("Can't move to same column");
    }

    void ExpectFaces(const std::vector<std::pair<bool, bool>>& faces) {
        for (int i = 0; i < 52; ++i) {
            EXPECT_EQ(Card(i)->FaceUp, faces[size_t(i)].first) << "card " << i;
            EXPECT_EQ(Card(i)->DealFaceUp, faces[size_t(i)].second) << "card " << i;
        }
    }

    std::vector<std::pair<bool, bool>> Faces() {
        std::vector<std::pair<bool, bool>> faces;
        for (int i = 0; i < 52; ++i)
            faces.emplace_back(Card(i)->FaceUp, Card(i)->DealFaceUp);
        return faces;
    }
};
} // namespace

TEST_F(GameFileTest, ADealSavedAndLoadedPlaysOnAndRestartsAsDealt) {
    game.DealGame();
    clock.Advance(65500);
    const TBoard dealt = game.GameArray;
    const auto dealtFaces = Faces();
    const QString path = File(QStringLiteral("Game.twl"));
    game.SaveGameFile(path);
    // Saving changes nothing and leaves the clock running.
    EXPECT_TRUE(game.GameArray == dealt);
    EXPECT_TRUE(host.Clock.Running());
    EXPECT_EQ(host.Clock.ElapsedMicros(), 65500000);

    // Another deal with a move half made, then the saved game again.
    game.DealGame();
    game.UndoCount = 4;
    game.HintCount = 2;
    game.Protocol.ClickPhase = 1;
    game.Protocol.SourceSlot() = {0, 2, game.Cell(0, 2)};
    game.Cell(0, 2)->Highlighted = true;
    clock.Advance(1000);
    game.LoadGameFile(path);

    EXPECT_TRUE(game.GameArray == dealt);
    EXPECT_TRUE(game.GameCopy == dealt);
    ExpectFaces(dealtFaces);
    EXPECT_EQ(game.CardCounter, 52);
    EXPECT_EQ(game.MoveCount, 0);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_TRUE(game.GameActive);
    EXPECT_EQ(game.UndoCount, 4); // penalties carry on
    EXPECT_EQ(game.HintCount, 2);
    EXPECT_EQ(game.Protocol.ClickPhase, 0);
    EXPECT_EQ(game.Protocol.SourceSlot().Card, nullptr);
    EXPECT_TRUE(std::none_of(game.Deck->Cards.begin(), game.Deck->Cards.end(),
                             [](const auto& c) { return c->Highlighted || !c->Visible; }));
    EXPECT_EQ(game.UndoRing.UndoHead(), 1);
    EXPECT_EQ(game.UndoRing.UndoTail(), 0);
    EXPECT_TRUE(
        std::equal(game.UndoRing.Slots()[0].Pile.begin(), game.UndoRing.Slots()[0].Pile.end(), dealt.begin() + HomeCount));
    EXPECT_TRUE(host.DisplayTimer);
    EXPECT_EQ(host.Panel(StatusPanel::MessageDis), "Click On Card From Pile");
    EXPECT_EQ(host.Panel(StatusPanel::MoveCntDis), QString::number(game.HintList.size()));
    // The clock runs on from the saved time.
    EXPECT_TRUE(host.Clock.Running());
    EXPECT_EQ(host.Clock.ElapsedMicros(), 65500000);
    clock.Advance(2000);
    EXPECT_EQ(host.Clock.ElapsedMicros(), 67500000);
    // Cards sit where the layout puts them.
    EXPECT_EQ(game.Cell(7, 9)->Position, game.CellPosition(7, 9));

    game.RestartGame();
    EXPECT_TRUE(game.GameArray == dealt);
    ExpectFaces(dealtFaces);
    EXPECT_EQ(host.Clock.ElapsedMicros(), 0);
}

TEST_F(GameFileTest, RestartAfterLoadingLaysTheDealOutFaceDownWhereItWas) {
    game.DealGame();
    const TBoard dealt = game.GameArray;
    const auto dealtFaces = Faces();
    // Play turned a dealt face-down card over, and two cards changed places.
    TCard* turned = game.Cell(3, 2);
    ASSERT_FALSE(turned->FaceUp);
    turned->FaceUp = true;
    std::swap(game.Cell(1, 3), game.Cell(2, 4));
    game.MoveCount = 9;
    const TBoard played = game.GameArray;
    const QString path = File(QStringLiteral("Played.twl"));
    game.SaveGameFile(path);

    game.DealGame();
    game.LoadGameFile(path);
    EXPECT_TRUE(game.GameArray == played);
    EXPECT_TRUE(turned->FaceUp);
    EXPECT_FALSE(turned->DealFaceUp);
    EXPECT_EQ(game.MoveCount, 9);
    game.RestartGame();
    EXPECT_TRUE(game.GameArray == dealt);
    ExpectFaces(dealtFaces);
    EXPECT_FALSE(turned->FaceUp);
}

TEST_F(GameFileTest, TheFileIsWrittenExactlyAsTheGoldenOne) {
    SmallGame();
    const QString path = File(QStringLiteral("Small.twl"));
    game.SaveGameFile(path);
    const QByteArray written = ReadAll(path);
    const QByteArray golden = ReadAll(DataFile(QStringLiteral("SmallGame.twl")));
    if (written != golden) {
        WriteAll(QDir::temp().filePath(QStringLiteral("SmallGame.actual.twl")), written);
        FAIL() << "written file differs from tests/data/SmallGame.twl; it is kept as "
               << QDir::temp().filePath(QStringLiteral("SmallGame.actual.twl")).toStdString();
    }

    // Loaded onto a table where nothing was dealt, it is the game again.
    auto indexes = [](const TBoard& board) {
        std::vector<int> result;
        for (const TCard* card : board)
            result.push_back(card ? card->Index : -1);
        return result;
    };
    FakeHost otherHost;
    TGame other(otherHost);
    other.BoardImage = game.BoardImage;
    other.EngineStart();
    other.LoadGameFile(DataFile(QStringLiteral("SmallGame.twl")));
    EXPECT_EQ(indexes(other.GameArray), indexes(game.GameArray));
    EXPECT_EQ(indexes(other.GameCopy), indexes(game.GameCopy));
    EXPECT_EQ(other.CardCounter, 14);
    EXPECT_EQ(other.MoveCount, 117);
    EXPECT_EQ(otherHost.Clock.ElapsedMicros(), 83250000);
    EXPECT_EQ(other.GameState, TGameState::Playing);
    for (int i = 0; i < 52; ++i) {
        EXPECT_EQ(other.Deck->Card(i).FaceUp, Card(i)->FaceUp || i < 26 || i > 38) << i; // home: face up
        EXPECT_EQ(other.Deck->Card(i).DealFaceUp, Card(i)->DealFaceUp || i < 26 || i > 38) << i;
    }
    // Restart lays out its deal: clubs in column 0, spades home up to the King.
    other.RestartGame();
    EXPECT_EQ(other.CardCounter, 13);
    EXPECT_EQ(other.Cell(0, 12)->Index, 38);
    EXPECT_EQ(other.Pocket(3)->Index, 51);
    EXPECT_EQ(other.ColumnCount(3), 0);
}

TEST_F(GameFileTest, TheSimplerLayoutLoadsAndRestartsToTheLoadedPosition) {
    // Another root name, no deal of its own, no counters, booleans written in several ways, no
    // DealFaceUp, and elements this reader does not know at every level.
    WriteAll(File(QStringLiteral("Simple.twl")), R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- written by hand -->
<OldGame Version="0.9">
  <Comment>kept for people</Comment>
  <Home>
    <Card Row="0" Valid="-1" Index="12" FaceUp="1"/>
    <Card Row="1" Valid="true" Index="25" FaceUp="TRUE"/>
    <Card Row="2" Valid="True" Index="36" FaceUp="True"/>
    <Card Row="3" Valid="True" Index="50" FaceUp="True" DealFaceUp="True"/>
    <Note Valid="False">ignored</Note>
  </Home>
  <Pile>
    <Card Column="5" Row="0" Valid="True" Index="37" FaceUp="0"/>
    <Card Column="5" Row="1" Valid="True" Index="38" FaceUp="True"/>
    <Card Column="2" Row="0" Valid="True" Index="51" FaceUp=" False "/>
    <Card Column="0" Row="0" Valid="False"/>
  </Pile>
</OldGame>
)");
    game.DealGame();
    clock.Advance(5000);
    game.LoadGameFile(File(QStringLiteral("Simple.twl")));
    EXPECT_EQ(game.Pocket(2), Card(36));
    EXPECT_EQ(game.Cell(5, 1), Card(38));
    EXPECT_EQ(game.Cell(2, 0), Card(51));
    EXPECT_EQ(game.ColumnCount(0), 0);
    EXPECT_TRUE(game.GameCopy == game.GameArray);
    EXPECT_EQ(game.CardCounter, 3); // from the board: 49 cards are home
    EXPECT_EQ(game.MoveCount, 0);
    EXPECT_EQ(host.Clock.ElapsedMicros(), 0);
    EXPECT_TRUE(host.Clock.Running());
    EXPECT_FALSE(Card(37)->FaceUp);
    EXPECT_FALSE(Card(37)->DealFaceUp); // from FaceUp
    EXPECT_TRUE(Card(38)->DealFaceUp);
    EXPECT_FALSE(Card(51)->FaceUp);
    EXPECT_TRUE(Card(30)->FaceUp); // beneath a pocket's top card

    const TBoard loaded = game.GameArray;
    const auto faces = Faces();
    game.MoveCount = 4;
    game.RestartGame();
    EXPECT_TRUE(game.GameArray == loaded);
    ExpectFaces(faces);
    EXPECT_EQ(game.CardCounter, 3);
    EXPECT_EQ(game.MoveCount, 0);
}

TEST_F(GameFileTest, MissingOrEmptyCountersTakeTheirDefaults) {
    SmallGame();
    game.SaveGameFile(File(QStringLiteral("Small.twl")));
    QString text = QString::fromUtf8(ReadAll(File(QStringLiteral("Small.twl"))));
    // No MoveCount and no deal at all, an empty CardCounter and ElapsedTime, an unknown element.
    for (const char* element : {"MoveCount", "GameCopy"})
        text.remove(QRegularExpression(QStringLiteral("<%1>.*</%1>").arg(element),
                                       QRegularExpression::DotMatchesEverythingOption));
    text.replace(QStringLiteral("<Integer>14</Integer>"), QStringLiteral("<Integer />"));
    text.replace(QStringLiteral("<GameArray>"), QStringLiteral("<GameArray><Extra/>"));
    text.replace(QStringLiteral("<Float>83.25</Float>"), QStringLiteral("<Float></Float>"));
    WriteAll(File(QStringLiteral("Defaults.twl")), text.toUtf8());
    game.DealGame();
    clock.Advance(3000);
    game.LoadGameFile(File(QStringLiteral("Defaults.twl")));
    EXPECT_EQ(game.CardCounter, 14); // the board's own count where 52 would contradict it
    EXPECT_EQ(game.MoveCount, 0);
    EXPECT_EQ(host.Clock.ElapsedMicros(), 0);
    EXPECT_EQ(game.Pocket(3), Card(50));
    EXPECT_TRUE(game.GameCopy == game.GameArray); // the board serves as its own deal
}

TEST_F(GameFileTest, AFileThatFailsLeavesTheGameOnTheTableUntouched) {
    SmallGame();
    const QString goldenPath = DataFile(QStringLiteral("SmallGame.twl"));
    const QString golden = QString::fromUtf8(ReadAll(goldenPath));
    ASSERT_FALSE(golden.isEmpty());
    auto changed = [&](const QString& from, const QString& to) {
        QString text = golden;
        const qsizetype at = text.indexOf(from);
        EXPECT_GE(at, 0) << from.toStdString();
        return text.replace(at, from.size(), to);
    };
    auto without = [&](const QString& pattern) {
        return QString(golden).remove(
            QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption));
    };
    struct Case {
        const char* name;
        QString content; // written to the file; a null text writes no file
        QString message;
    };
    const std::vector<Case> cases = {
        {"missing file", QString(), "No such file or directory"},
        {"empty file", QString(""), "Empty Game File"},
        {"only a comment", QString("<?xml version=\"1.0\"?>\n<!-- nothing -->\n"), "Empty Game File"},
        {"plain text", QString("hello"), "No document element found at offset 5"},
        {"cut short", golden.left(700), "The file is not well-formed XML: "},
        {"larger than a saved game", golden + "<!--" + QString(1 << 20, 'x') + "-->", "larger than 1 MiB"},
        {"Float for Integer",
         changed("<CardCounter>\n    <Integer>14</Integer>", "<CardCounter><Float>14</Float>"),
         "Expected Integer. Found: Float"},
        {"counter without value",
         changed("<MoveCount>\n    <Integer>117</Integer>\n  </MoveCount>", "<MoveCount/>"),
         "\"MoveCount\" holds no value: expected Integer"},
        {"time not a real", changed("<Float>83.25</Float>", "<Float>83.2.5</Float>"),
         "'83.2.5' is not a valid floating point value"},
        {"count not an integer", changed("<Integer>117</Integer>", "<Integer>lots</Integer>"),
         "'lots' is not a valid integer value"},
        {"pile row out of range", changed("Column=\"3\" Row=\"12\"", "Column=\"3\" Row=\"52\""),
         "\"Row\" 52 is no pile row (0..51)"},
        {"pile column out of range",
         changed("Column=\"0\" Row=\"0\" Valid=\"True\" Name=\"KS\"",
                 "Column=\"8\" Row=\"0\" Valid=\"True\" Name=\"KS\""),
         "\"Column\" 8 is no pile column (0..7)"},
        {"home row out of range",
         changed("Row=\"3\" Valid=\"True\" Name=\"QS\"", "Row=\"-1\" Valid=\"True\" Name=\"QS\""),
         "\"Row\" -1 is no home pocket (0..3)"},
        {"index out of range", changed("Index=\"51\"", "Index=\"52\""), "\"Index\" 52 is no card (0..51)"},
        {"index not a number", changed("Index=\"33\"", "Index=\"8C\""),
         "\"Index\": '8C' is not a valid integer value"},
        {"face not a boolean", changed("FaceUp=\"True\"", "FaceUp=\"Yes\""),
         "'Yes' is not a valid boolean value"},
        {"card without Valid", changed(" Valid=\"True\"", ""), "the attribute \"Valid\" is missing"},
        {"card without Index", changed(" Index=\"33\"", ""), "the attribute \"Index\" is missing"},
        {"element without Valid", changed("<Pile>", "<Pile><Note/>"), "Note on line"},
        {"card twice", changed("Index=\"33\"", "Index=\"34\""), "The card 9C lies twice on the saved board"},
        {"card missing", without("<Card Column=\"0\" Row=\"0\" Valid=\"True\" Name=\"KS\"[^\n]*\n"),
         "The card KS is missing from the saved board"},
        {"card missing from the deal", without("<Card Column=\"0\" Row=\"12\"[^\n]*\n"),
         "The card KC is missing from the saved deal"},
        {"gap in a column", changed("Column=\"3\" Row=\"5\"", "Column=\"3\" Row=\"20\""),
         "Column 3 of the saved board has a gap: row 5 is empty but row 6 holds 7C"},
        {"empty deal",
         QString(golden).replace(
             QRegularExpression("<GameCopy>.*</GameCopy>", QRegularExpression::DotMatchesEverythingOption),
             "<GameCopy />"),
         "There are no cards on the saved deal"},
        {"counter against the board", changed("<Integer>14</Integer>", "<Integer>52</Integer>"),
         "\"CardCounter\" is 52, but 14 cards of the saved board are not home"},
        {"negative move count", changed("<Integer>117</Integer>", "<Integer>-1</Integer>"),
         "\"MoveCount\" -1 is not a count of moves"},
        // Counts no game reaches: the largest integer would overflow at the next move.
        {"move count past any game", changed("<Integer>117</Integer>", "<Integer>2147483647</Integer>"),
         "\"MoveCount\" 2147483647 is not a count of moves"},
        {"move count past the integers", changed("<Integer>117</Integer>", "<Integer>2147483648</Integer>"),
         "The MoveCount on line 53: '2147483648' is not a valid integer value"},
        {"card counter past the integers", changed("<Integer>14</Integer>", "<Integer>99999999999</Integer>"),
         "The CardCounter on line 50: '99999999999' is not a valid integer value"},
        {"time named", changed("<Float>83.25</Float>", "<Float>soon</Float>"),
         "The ElapsedTime on line 56: 'soon' is not a valid floating point value"},
        {"negative time", changed("<Float>83.25</Float>", "<Float>-83.25</Float>"),
         "\"ElapsedTime\" -83.25 is not a game time"},
        {"absurd time", changed("<Float>83.25</Float>", "<Float>1E300</Float>"), "is not a game time"},
    };

    GameInProgress();
    const TableState before = TableState::Of(game, host);
    for (const Case& c : cases) {
        const QString path = File(QString::fromLatin1(c.name).replace(' ', '_') + ".twl");
        if (!c.content.isNull())
            WriteAll(path, c.content.toUtf8());
        QString message = QStringLiteral("(nothing thrown)");
        try {
            game.LoadGameFile(path);
        } catch (const TGameError& e) {
            message = e.Message();
        }
        EXPECT_TRUE(message.contains(c.message)) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(TableState::Of(game, host) == before) << c.name << ": the table changed";
    }

    // Not a file, and not while the cards are being dealt or the celebration runs.
    EXPECT_THROW(game.LoadGameFile(dir.path()), TGameError);
    game.Dealing = true;
    EXPECT_THROW(game.LoadGameFile(goldenPath), TGameError);
    game.Dealing = false;
    game.CelebrationRunning = true;
    EXPECT_THROW(game.LoadGameFile(goldenPath), TGameError);
    game.CelebrationRunning = false;
    EXPECT_TRUE(TableState::Of(game, host) == before) << "a refused command changed the table";

    // The same file, sound, loads.
    game.LoadGameFile(goldenPath);
    EXPECT_EQ(game.MoveCount, 117);
    // The error panel keeps its text until the next refusal or move.
    EXPECT_EQ(host.Panel(StatusPanel::ErrorDis), "Can't move to same column");
}

TEST_F(GameFileTest, TheDealNumberIsKeptInAnElementOfItsOwn) {
    const QString path = File(QStringLiteral("Numbered.twl"));
    game.DealGame(987654321u);
    const TBoard dealt = game.GameArray;
    game.SaveGameFile(path);
    const QString text = QString::fromUtf8(ReadAll(path));
    EXPECT_TRUE(text.contains(QStringLiteral("<DealNumber>\n    <Integer>987654321</Integer>\n  </DealNumber>"))) << text.toStdString();

    game.DealGame(5u);
    game.LoadGameFile(path);
    EXPECT_EQ(game.DealNumber, 987654321u);
    EXPECT_EQ(host.ShownDealNumber, 987654321u);
    EXPECT_EQ(game.GameArray, dealt);

    // A file without the element (every file of the format as first written) has no number.
    game.LoadGameFile(DataFile(QStringLiteral("SmallGame.twl")));
    EXPECT_EQ(game.DealNumber, std::nullopt);
    EXPECT_EQ(host.ShownDealNumber, std::nullopt);

    // A number that is none is refused with the element named, and the table kept.
    game.DealGame(7u);
    for (const char* bad : {"4294967296", "-1", "seven"}) {
        WriteAll(path, QString(text).replace(QStringLiteral("987654321"), QString::fromLatin1(bad)).toUtf8());
        try {
            game.LoadGameFile(path);
            ADD_FAILURE() << bad << " was taken for a deal number";
        } catch (const TGameError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("DealNumber on line"))) << e.what();
        }
        EXPECT_EQ(game.DealNumber, 7u);
    }
}

TEST_F(GameFileTest, AGameKeptOverClosingKeepsItsPlayToo) {
    const QString path = File(QStringLiteral("Resume.twl"));
    GameInProgress(); // 3 moves, 2 undos, 1 hint
    game.GamePlayed = true;
    game.SaveGameFile(path, TGame::TKeep::GameAndPlay);
    const TBoard board = game.GameArray;

    game.DealGame(5u);
    game.UndoCount = game.HintCount = 0;
    game.LoadGameFile(path, TGame::TKeep::GameAndPlay);
    EXPECT_EQ(game.GameArray, board);
    EXPECT_EQ(game.MoveCount, 3);
    EXPECT_EQ(game.UndoCount, 2);
    EXPECT_EQ(game.HintCount, 1);
    EXPECT_TRUE(game.GamePlayed);

    // An ordinary load reads the board and its counters only, as the format always did.
    game.UndoCount = 7;
    game.HintCount = 8;
    game.LoadGameFile(path);
    EXPECT_EQ(game.UndoCount, 7);
    EXPECT_EQ(game.HintCount, 8);
    EXPECT_FALSE(game.GamePlayed);

    // Counts no game reaches are refused like any damage.
    QString text = QString::fromUtf8(ReadAll(path));
    text.replace(QRegularExpression(QStringLiteral("<UndoCount>\\s*<Integer>2</Integer>")),
                 QStringLiteral("<UndoCount><Integer>-4</Integer>"));
    WriteAll(path, text.toUtf8());
    EXPECT_THROW(game.LoadGameFile(path, TGame::TKeep::GameAndPlay), TGameError);
    EXPECT_EQ(game.UndoCount, 7);
}

TEST_F(GameFileTest, AFailedSaveSaysWhyAndChangesNothing) {
    game.DealGame();
    const TableState before = TableState::Of(game, host);
    try {
        game.SaveGameFile(File(QStringLiteral("no/such/folder/Game.twl")));
        FAIL() << "saved into a folder that does not exist";
    } catch (const TGameError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Unable to save the game to \""))) << e.what();
    }
    EXPECT_THROW(game.SaveGameFile(dir.path()), TGameError);
    EXPECT_TRUE(TableState::Of(game, host) == before);

    // Half a deal or the celebration is no game to save: the loader would refuse the file.
    const QString refused = File(QStringLiteral("Refused.twl"));
    for (bool* busy : {&game.Dealing, &game.CelebrationRunning}) {
        *busy = true;
        EXPECT_THROW(game.SaveGameFile(refused), TGameError);
        *busy = false;
    }
    EXPECT_FALSE(QFileInfo::exists(refused));

    // A save over a longer file replaces it whole.
    const QString path = File(QStringLiteral("Game.twl"));
    WriteAll(path, QByteArray(100000, 'x'));
    game.SaveGameFile(path);
    EXPECT_FALSE(ReadAll(path).contains('x' + QByteArray(20, 'x')));
    EXPECT_NO_THROW(game.LoadGameFile(path));
}

TEST_F(GameFileTest, ASaveOnAFullDiskKeepsTheOldFileAndSaysSo) {
    game.DealGame();
    const QString path = File(QStringLiteral("Game.twl"));
    game.SaveGameFile(path);
    const QByteArray old = ReadAll(path);
    ASSERT_GT(old.size(), 4096);
    game.MoveCount = 5; // so that a new save would differ from the old file
    const TableState before = TableState::Of(game, host);
    for (const qint64 room : {qint64(0), qint64(4096), qint64(old.size() - 1)}) {
        QString message;
        {
            DiskFullAfter disk(room);
            try {
                game.SaveGameFile(path);
            } catch (const TGameError& e) {
                message = e.Message();
            }
        }
        EXPECT_EQ(message, QStringLiteral("Unable to save the game to \"%1\": No space left on device").arg(path))
            << room;
        EXPECT_EQ(ReadAll(path), old) << room;
    }
    EXPECT_TRUE(TableState::Of(game, host) == before);

    // The same on a real file system that is full, or has one page left.
    SmallTmpfs disk(64);
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString onDisk = disk.FilePath(QStringLiteral("Game.twl"));
    WriteAll(onDisk, old);
    for (const qint64 free : {0, 4096}) {
        disk.FillLeaving(free);
        EXPECT_THROW(game.SaveGameFile(onDisk), TGameError) << free;
        EXPECT_EQ(ReadAll(onDisk), old) << free;
    }
}

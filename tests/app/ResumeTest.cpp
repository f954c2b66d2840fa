#include "app/TForm1.h"
#include "engine/TwGame.h"
#include "scores/ConfigFolder.h"
#include "scores/TwStatistics.h"
#include "support/BoardClicks.h"
#include "support/VirtualTimeSource.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// A data folder of its own (XDG_DATA_HOME) for the lifetime of the object.
struct DataFolder {
    QTemporaryDir dir;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    DataFolder() { qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path())); }
    ~DataFolder() { qputenv("XDG_DATA_HOME", previous); }
};

// The board by card Index, -1 for an empty slot: the same in every program run.
std::vector<int> Indices(const TBoard& board) {
    std::vector<int> indices;
    for (const TCard* card : board)
        indices.push_back(card ? card->Index : -1);
    return indices;
}

// Starts as the program starts and answers the message that comes up; its text, or nothing.
QString StartAndReadTheMessage(TForm1& form) {
    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    form.OpenAtStart(QString());
    return message;
}

// Plays the first move the search lists, as a player clicks it; false when the deal has none
// of the kinds clicked here.
bool PlayAMove(TGame& game) {
    for (const HintPair& pair : game.HintList) {
        if (!pair.Second || game.HitTest(pair.Second->Position.x() + 5, pair.Second->Position.y() + 5).Column < 0)
            continue;
        const int moves = game.MoveCount;
        Click(game, pair.Second->Position + QPoint(5, 5));
        Click(game, pair.First->Position + QPoint(5, 5));
        return game.MoveCount > moves;
    }
    return false;
}
} // namespace

TEST(ResumeTest, AGameOnTheTableSurvivesClosing) {
    ConfigFolder config;
    DataFolder data;
    VirtualTimeSource clock;
    std::vector<int> board; // card Index per slot, -1 for none
    std::vector<int> faces;
    int64_t elapsed = 0;
    std::vector<int> dealt;
    {
        TForm1 form;
        form.CreateDialogs();
        form.show();
        form.Game().DealGame(31u);
        dealt = Indices(form.Game().GameArray);
        ASSERT_TRUE(PlayAMove(form.Game()));
        form.Game().UndoCount = 4;
        clock.Advance(61000);
        board = Indices(form.Game().GameArray);
        for (const auto& card : form.Game().Deck->Cards)
            faces.push_back(card->FaceUp);
        elapsed = form.GameTime().ElapsedMicros();
        form.close();
    }
    EXPECT_TRUE(QFileInfo::exists(TForm1::KeptGamePath()));
    EXPECT_FALSE(config.Exists()) << "nothing is written to the settings file at closing";

    TForm1 form;
    form.CreateDialogs();
    form.show();
    form.OpenAtStart(QString());
    TGame& game = form.Game();
    ASSERT_EQ(Indices(game.GameArray), board);
    for (size_t i = 0; i < faces.size(); ++i)
        EXPECT_EQ(int(game.Deck->Cards[i]->FaceUp), faces[i]) << i;
    EXPECT_EQ(game.MoveCount, 1);
    EXPECT_EQ(game.UndoCount, 4);
    EXPECT_EQ(game.DealNumber, 31u);
    EXPECT_TRUE(game.GamePlayed);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(form.GameTime().ElapsedMicros(), elapsed); // the clock runs on from where it stood
    EXPECT_FALSE(QFileInfo::exists(TForm1::KeptGamePath())) << "taken up: the game is on the table now";
    // The move made before closing can be taken back, and made again.
    const TBoard resumed = game.GameArray;
    form.UndoMnu->trigger();
    EXPECT_EQ(Indices(game.GameArray), dealt);
    form.RedoMnu->trigger();
    EXPECT_EQ(game.GameArray, resumed);
}

TEST(ResumeTest, WithResumeOffClosingGivesThePlayedGameUp) {
    ConfigFolder config;
    DataFolder data;
    VirtualTimeSource clock;
    {
        TForm1 form;
        form.CreateDialogs();
        form.show();
        form.ResumeGameMnu->trigger();
        ASSERT_FALSE(form.ResumeGameMnu->isChecked());
        form.Game().DealGame(31u);
        ASSERT_TRUE(PlayAMove(form.Game()));
        form.close();
    }
    EXPECT_FALSE(QFileInfo::exists(TForm1::KeptGamePath()));
    EXPECT_EQ(LoadStatistics().Played, 1);
    EXPECT_EQ(LoadStatistics().Won, 0);
}

TEST(ResumeTest, ADamagedKeptGameIsSetAsideWithAMessage) {
    ConfigFolder config;
    DataFolder data;
    VirtualTimeSource clock;
    const QString path = TForm1::KeptGamePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<TarnwellXML><GameArray><Home>");
    }
    TForm1 form;
    form.CreateDialogs();
    form.show();
    const QString message = StartAndReadTheMessage(form);
    EXPECT_TRUE(message.contains(QStringLiteral("cannot be resumed"))) << message.toStdString();
    EXPECT_TRUE(message.contains(path + QStringLiteral(".damaged")));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral(".damaged")));
    EXPECT_EQ(form.Game().GameState, TGameState::NotDealt);
}

TEST(ResumeTest, AKeptGameWhoseHistoryIsDamagedIsResumedWithoutItAndSaysSo) {
    ConfigFolder config;
    DataFolder data;
    VirtualTimeSource clock;
    const QString path = TForm1::KeptGamePath();
    std::vector<int> board;
    {
        TForm1 form;
        form.CreateDialogs();
        form.show();
        form.Game().DealGame(31u);
        ASSERT_TRUE(PlayAMove(form.Game()));
        board = Indices(form.Game().GameArray);
        form.close();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    ASSERT_TRUE(text.contains("<Step>"));
    text.replace("<Step>", "<Step>99 ");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();

    TForm1 form;
    form.CreateDialogs();
    form.show();
    const QString message = StartAndReadTheMessage(form);
    EXPECT_TRUE(message.contains(QStringLiteral("resumed without its undo history"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("The Step on line"))) << message.toStdString();
    EXPECT_EQ(form.Game().GameState, TGameState::Playing);
    EXPECT_EQ(Indices(form.Game().GameArray), board);
    EXPECT_EQ(form.Game().UndoRing.Count(), 1);
}

#pragma once

#include "engine/IGameHost.h"

#include <deque>
#include <map>
#include <vector>

// A window that records what the engine asks of it and answers its dialogs from a script.
class FakeHost : public IGameHost {
public:
    struct Message {
        GameMessagePage Page;
        QString Caption, Text, Ok, Cancel;
    };

    std::map<StatusPanel, QString> Panels;
    std::map<StatusPanel, TColor> FontColours;
    std::vector<std::pair<StatusPanel, TColor>> PanelRepaints;
    std::vector<Message> Messages;
    // Answers for the next dialogs; when empty, a dialog is answered with OK and item 0.
    std::deque<uint8_t> Answers;
    std::vector<QString> Informations;
    std::vector<QString> Sounds; // "MOVETO", "DEAL(loop)", "stop", ...
    int BoardShows = 0;
    QImage LastBoard;
    bool DisplayTimer = false;
    bool SmallCardsCheck = false;
    int Screen = 1280;
    bool Closing = false;
    TStopwatch Clock;
    std::vector<std::pair<int32_t, int64_t>> TopScores;
    std::optional<uint32_t> ShownDealNumber;
    int PositionChanges = 0;
    std::optional<uint32_t> ChosenDealNumber;
    struct EndedGame {
        bool Won;
        int32_t Score;
        int64_t Elapsed;
        bool operator==(const EndedGame&) const = default;
    };
    std::vector<EndedGame> EndedGames;

    QString Panel(StatusPanel p) const {
        auto it = Panels.find(p);
        return it == Panels.end() ? QString() : it->second;
    }

    void SetPanelText(StatusPanel panel, const QString& text) override { Panels[panel] = text; }
    TColor PanelFontColor(StatusPanel panel) override {
        auto it = FontColours.find(panel);
        return it == FontColours.end() ? MakeColor(0, 191, 0) : it->second;
    }
    void SetPanelFontColor(StatusPanel panel, TColor colour) override { FontColours[panel] = colour; }
    void RepaintPanel(StatusPanel panel) override { PanelRepaints.emplace_back(panel, PanelFontColor(panel)); }
    uint8_t ShowGameMessage(GameMessagePage page, const QString& caption, const QString& message,
                            const QString& okCaption, const QString& cancelCaption) override {
        Messages.push_back({page, caption, message, okCaption, cancelCaption});
        if (Answers.empty())
            return GameMessageResult::OkChosen | GameMessageResult::NewGameChosen;
        const uint8_t answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ShowInformation(const QString& text) override { Informations.push_back(text); }
    void ShowBoard(const QImage& board) override {
        ++BoardShows;
        LastBoard = board;
    }
    void SetDisplayTimer(bool on) override { DisplayTimer = on; }
    TStopwatch& GameTime() override { return Clock; }
    void SetSmallCardsCheck(bool small) override { SmallCardsCheck = small; }
    int ScreenWidth() override { return Screen; }
    bool Terminating() override { return Closing; }
    void ShowDealNumber(std::optional<uint32_t> number) override { ShownDealNumber = number; }
    void PositionChanged() override { ++PositionChanges; }
    std::optional<uint32_t> NextDealNumber() override { return ChosenDealNumber; }
    void GameEnded(bool won, int32_t score, int64_t elapsed) override { EndedGames.push_back({won, score, elapsed}); }
    void AddTopScore(int32_t score, int64_t elapsed) override { TopScores.emplace_back(score, elapsed); }
    void PlaySound(SoundEffect effect, bool loop) override {
        Sounds.push_back(SoundEffectName(effect) + (loop ? "(loop)" : ""));
    }
    void StopSound() override { Sounds.push_back(QStringLiteral("stop")); }
};

// Shows the board as the window does: by reference, keeping no copy, so that the game paints on
// the same image from one frame to the next as it does on screen.
class WindowLikeHost : public FakeHost {
public:
    const QImage* Shown = nullptr;
    void ShowBoard(const QImage& board) override {
        ++BoardShows;
        Shown = &board;
    }
};

#pragma once

#include "TwGlobal.h"
#include "solver/Position.h"
#include "engine/IGameHost.h"
#include "KestrelObjects/ChmHelper.h"
#include "KestrelObjects/THelpManager.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class TAboutBox;
class TBoardCursor;
class TBoardView;
class TCardBackDlg;
class TFancyButton;
class TGame;
class TGameMessageDlg;
class TSoundOutput;
class TStatisticsDlg;
class TSolverWatch;
class TSubTimer;
class TTopScoresDlg;
class TReopenMenu;

// The main window: the button strip, the board, the status panels and the menus. It holds no
// game logic; every command and every mouse event on the board goes to the engine.
class TForm1 : public QMainWindow, public IGameHost {
    Q_OBJECT
public:
    TForm1();
    ~TForm1() override;

    // The dialogs, made on first use (in one go) and kept until the end.
    void CreateDialogs();

    TGame& Game() { return *game; }

    // ---- the window's parts
    QWidget* Panel2;
    TFancyButton* DealBtn;
    TFancyButton* UndoBtn;
    TFancyButton* HintBtn;
    TFancyButton* FancyButton1;
    TBoardView* Image1;
    // The keyboard cursor on the board; Space and Enter click through Image1MouseDown/Up.
    TBoardCursor* BoardCursor = nullptr;
    QWidget* Panel6;
    QLabel* CurCardDis;
    QLabel* CardDis;
    QLabel* MoveCntDis;
    QLabel* MessageDis;
    QLabel* ErrorDis;
    QLabel* ScoreDis;
    TSubTimer* GameTime_;
    QTimer DisplayTimer;

    QAction* LoadGame1;
    QAction* SaveGame1;
    QMenu* Reload1;
    QAction* Exit1;
    QAction* DealMnu;
    QAction* Resart1;
    QAction* UndoMnu;
    QAction* Hint1;
    QAction* RedoMnu;
    QAction* DealNumberMnu;
    QAction* StatisticsMnu;
    QAction* SolveMnu;
    QAction* BestMoveMnu;
    QAction* WinnableOnlyMnu;
    // The solver's answer for the position on the table, at the right end of the button strip.
    QLabel* SolverDis = nullptr;
    QAction* opScores1;
    QAction* FitToWindowMnu;
    QAction* CardBacks1;
    QAction* SmallCardsMnu;
    QAction* DisableSoundMnu;
    QAction* ResumeGameMnu;
    QAction* SaveDefaultsMnu;
    QAction* RestoreDefaultsMnu;
    QAction* FactoryDefaults1;
    QAction* ContentsMnu;
    QAction* About1;

    TAboutBox* AboutBox = nullptr;
    TCardBackDlg* CardBackDlg = nullptr;
    TGameMessageDlg* GameMessageDlg = nullptr;
    TTopScoresDlg* TopScoresDlg = nullptr;
    TStatisticsDlg* StatisticsDlg = nullptr;
    TReopenMenu* ReopenMenu1 = nullptr;

    // ---- the board's mouse and size: the one road from the window into the engine
    void Image1MouseDown(Qt::MouseButtons buttons, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(int x, int y);
    void FormResize();

    // ---- commands
    void LoadGame1Click();
    void SaveGame1Click();
    void ReopenMenu1MenuClick(const QString& path);
    // The first game of a start: a saved game named on the command line, or else the game kept
    // when the program last closed (when "Resume Game at Start" is on).
    void OpenAtStart(const QString& file);
    // Where the game on the table is kept over the program's closing.
    static QString KeptGamePath();
    // Loads a saved game named from outside (the command line); like a load from the file
    // dialog, a file that loads goes to the top of the recent files.
    void OpenGameFile(const QString& path);
    void DealMnuClick();
    void Resart1Click();
    void UndoMnuClick();
    void Hint1Click();
    void RedoMnuClick();
    // Deals the deal of a number the player gives.
    void DealNumberMnuClick();
    void StatisticsMnuClick();
    // Plays the solver's winning line from the position on the table, a move at a time, until it
    // is won or a click or key stops it.
    void SolveMnuClick();
    // Flashes the next move of the solver's winning line, as a hint flashes its pair.
    void BestMoveMnuClick();
    // Says in words why the position cannot be won (it may name face-down cards).
    void ShowWhyLost();
    bool Solving() const { return solving; }
    void CardBacks1Click();
    void SmallCardsMnuClick();
    void FitToWindowMnuClick();
    void DisableSoundMnuClick();
    void About1Click();
    void ContentsMnuClick();
    void opScores1Click();
    void SaveDefaultsMnuClick();
    void RestoreDefaultsMnuClick();
    void FactoryDefaults1Click();

    // ---- preferences
    // The preferences in force, as the settings file would keep them.
    TSettings CurrentSettings() const;
    // Card back, card size (the board laid out and repainted), window and sound switch, in this
    // order; the sound's check mark follows the switch here and nowhere else.
    void ApplySettings(const TSettings& settings);

    // ---- the engine's window
    void SetPanelText(StatusPanel panel, const QString& text) override;
    TColor PanelFontColor(StatusPanel panel) override;
    void SetPanelFontColor(StatusPanel panel, TColor colour) override;
    void RepaintPanel(StatusPanel panel) override;
    uint8_t ShowGameMessage(GameMessagePage page, const QString& caption, const QString& message,
                            const QString& okCaption, const QString& cancelCaption) override;
    void ShowInformation(const QString& text) override;
    void ShowBoard(const QImage& board) override;
    void SetDisplayTimer(bool on) override;
    TStopwatch& GameTime() override;
    void SetSmallCardsCheck(bool small) override;
    int ScreenWidth() override;
    bool Terminating() override { return closing; }
    void ShowDealNumber(std::optional<uint32_t> number) override;
    void PositionChanged() override;
    std::optional<uint32_t> NextDealNumber() override;
    void GameEnded(bool won, int32_t score, int64_t elapsedMicros) override;
    void AddTopScore(int32_t score, int64_t elapsedMicros) override;
    void PlaySound(SoundEffect effect, bool loop) override;
    void StopSound() override;

signals:
    // The window has been painted for the first time; what the first paint did not need comes now.
    void FirstPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildButtonStrip();
    void BuildStatusStrip();
    void BuildMenus();
    // Keeps the game on the table for the next start, or, with that off, gives it up.
    void KeepGameForNextStart();
    // Lays out the game kept at the last closing; a file that will not load is set aside.
    void ResumeKeptGame();
    // The sound switch with its check mark.
    void SetSoundDisabled(bool disabled);
    // The check mark of Fit Cards to Window; Small Cards has no say while the cards fit.
    void ShowFitToWindow();
    // Places the window: a stored frame brought onto a screen, or centred on its screen.
    void PlaceWindow(const QRect& frame, bool centred);
    // Gives the window a size at a place (centred when none), fitted with its frame into the
    // available area of its screen: on a small or magnified screen made smaller and moved onto it.
    void PlaceInScreen(QSize size, std::optional<QPoint> place);
    void FormCreate();
    // The open or save dialog for saved games; an empty path when cancelled.
    QString RunGameFileDialog(bool save);
    QLabel* PanelOf(StatusPanel panel) const;
    // Runs a command; a failure is shown in a message box and the program goes on.
    void Guarded(const std::function<void()>& command);
    // A command on the game: guarded, and not taken while a deal or the celebration runs.
    void GameCommand(const std::function<void()>& command);

    // The solver beside play: its answer shown, "Still searching" only after a moment.
    void UpdateSolverDisplay();
    // The message for a position the solver has no winning line for.
    QString NoLineText() const;
    // Says there is no winning line to play or show, offering the reason where it is lost.
    void TellNoLine();
    // One move of the solver's line, played as the player's two clicks; false when refused.
    bool PlaySolverMove(const Solver::Move& move);
    void SolveStep();
    void StopSolving();

    bool closing = false;
    TSolverWatch* solverWatch = nullptr;
    QTimer searchingDelay;
    QTimer solveTimer;
    bool solving = false;
    bool playingSolverMove = false;
    bool painted = false;
    std::unique_ptr<THelpManager> HelpManager;
    std::unique_ptr<TCHMHelper> CHMHelper1;
    std::unique_ptr<TSoundOutput> soundPlayer;
    std::unique_ptr<TGame> game;
};

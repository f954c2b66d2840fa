#pragma once

#include "TwGlobal.h"
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
class TBoardView;
class TCardBackDlg;
class TFancyButton;
class TGame;
class TGameMessageDlg;
class TSoundPlayer;
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
    QAction* opScores1;
    QAction* FitToWindowMnu;
    QAction* CardBacks1;
    QAction* SmallCardsMnu;
    QAction* DisableSoundMnu;
    QAction* SaveDefaultsMnu;
    QAction* RestoreDefaultsMnu;
    QAction* FactoryDefaults1;
    QAction* ContentsMnu;
    QAction* About1;

    TAboutBox* AboutBox = nullptr;
    TCardBackDlg* CardBackDlg = nullptr;
    TGameMessageDlg* GameMessageDlg = nullptr;
    TTopScoresDlg* TopScoresDlg = nullptr;
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
    void DealMnuClick();
    void Resart1Click();
    void UndoMnuClick();
    void Hint1Click();
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
    void AddTopScore(int32_t score, int64_t elapsedMicros) override;
    void PlaySound(SoundEffect effect, bool loop) override;
    void StopSound() override;

signals:
    // The window has been painted for the first time; what the first paint did not need comes now.
    void FirstPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildButtonStrip();
    void BuildStatusStrip();
    void BuildMenus();
    // The sound switch with its check mark.
    void SetSoundDisabled(bool disabled);
    // The check mark of Fit Cards to Window; Small Cards has no say while the cards fit.
    void ShowFitToWindow();
    // Places the window: a stored frame brought onto a screen, or centred on its screen.
    void PlaceWindow(const QRect& frame, bool centred);
    void FormCreate();
    // The open or save dialog for saved games; an empty path when cancelled.
    QString RunGameFileDialog(bool save);
    QLabel* PanelOf(StatusPanel panel) const;
    // Runs a command; a failure is shown in a message box and the program goes on.
    void Guarded(const std::function<void()>& command);
    // A command on the game: guarded, and not taken while a deal or the celebration runs.
    void GameCommand(const std::function<void()>& command);

    bool closing = false;
    bool painted = false;
    std::unique_ptr<THelpManager> HelpManager;
    std::unique_ptr<TCHMHelper> CHMHelper1;
    std::unique_ptr<TSoundPlayer> soundPlayer;
    std::unique_ptr<TGame> game;
};

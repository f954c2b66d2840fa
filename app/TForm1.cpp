#include "TForm1.h"

#include "Fonts.h"
#include "TAboutBox.h"
#include "TBoardView.h"
#include "TCardBackDlg.h"
#include "TGameMessageDlg.h"
#include "TSoundPlayer.h"
#include "TwGlobal.h"
#include "scores/TTopScoresDlg.h"
#include "scores/TwTopScores.h"
#include "engine/TwGame.h"
#include "cards/TPictureCache.h"
#include "KestrelObjects/TFancyButton.h"
#include "KestrelObjects/TReopenMenu.h"
#include "KestrelObjects/TSubTimer.h"
#include "KestrelObjects/Timings.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <exception>

namespace {
const QColor StripGreen(0, 100, 0);
constexpr TColor PanelTextGreen = MakeColor(0, 191, 0);

void Fill(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

TFancyButton* StripButton(QWidget* parent, int x, int width, const QString& caption, const QString& hint,
                          const QString& picture) {
    auto* b = new TFancyButton(parent);
    b->setGeometry(x, 4, width, 34);
    b->setText(caption);
    b->setToolTip(hint);
    b->setFont(GameFont("Georgia", 27, true));
    b->SetFontColor(PanelTextGreen);
    b->SetFrameDarkest(MakeColor(25, 25, 25));
    b->SetFrameDark(MakeColor(51, 51, 51));
    b->SetFrameLight(MakeColor(100, 100, 100));
    b->SetFrameLightest(MakeColor(150, 150, 150));
    b->SetGradColor1(MakeColor(128, 128, 128));
    b->SetGradColor2(clBlack);
    b->SetGradient(true);
    b->setFocusPolicy(Qt::NoFocus);
    if (!picture.isEmpty())
        b->SetGlyph(QImage(picture));
    return b;
}

void StylePanel(QLabel* panel, const QString& hint) {
    panel->setToolTip(hint);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(GameFont("Tahoma", 16, true));
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, ToQColor(PanelTextGreen));
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
}
} // namespace

TForm1::TForm1() : soundPlayer(std::make_unique<TSoundPlayer>()), game(std::make_unique<TGame>(*this)) {
    LoadGameFonts();
    setWindowTitle(QStringLiteral("Tarnwell"));
    setFont(GameFont("System", 13, false));
    Fill(this, QColor(0, 128, 0));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildButtonStrip();
    Image1 = new TBoardView(central);
    BuildStatusStrip();
    column->addWidget(Panel2);
    column->addWidget(Image1, 1);
    column->addWidget(Panel6);
    setCentralWidget(central);
    BuildMenus();

    DisplayTimer.setInterval(Timing::DisplayTimerMs);
    connect(&DisplayTimer, &QTimer::timeout, this, [this] { GameTime_->UpdateDisplay(); });

    resize(794, 603);
    move(451, 160);
    HelpManager = std::make_unique<THelpManager>();
    HelpManager->HelpFile = QStringLiteral("tarnwell.qch");
    HelpManager->MainWindow = this;
    CHMHelper1 = std::make_unique<TCHMHelper>(*HelpManager);
    FormCreate();
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    TPictureCache::Shared().Hold(false);
    Image1->disconnect(this);
    // The engine frees the deck with itself.
    game.reset();
}

void TForm1::BuildButtonStrip() {
    Panel2 = new QWidget;
    Panel2->setFixedHeight(42);
    Fill(Panel2, StripGreen);
    DealBtn = StripButton(Panel2, 5, 125, QStringLiteral("Deal"), QStringLiteral("Deal Cards"),
                          QStringLiteral(":/pictures/glyph_deal.png"));
    UndoBtn = StripButton(Panel2, 132, 125, QStringLiteral("Undo"), QStringLiteral("Undo Last Move"),
                          QStringLiteral(":/pictures/glyph_undo.png"));
    HintBtn = StripButton(Panel2, 260, 125, QStringLiteral("Hint"), QStringLiteral("Show Next Hint"),
                          QStringLiteral(":/pictures/glyph_hint.png"));
    FancyButton1 = StripButton(Panel2, 387, 389, QString(), QStringLiteral("Show Next Hint"), QString());
    FancyButton1->setEnabled(false);
    connect(DealBtn, &QPushButton::clicked, this, &TForm1::DealMnuClick);
    connect(UndoBtn, &QPushButton::clicked, this, &TForm1::UndoMnuClick);
    connect(HintBtn, &QPushButton::clicked, this, &TForm1::Hint1Click);
}

void TForm1::BuildStatusStrip() {
    Panel6 = new QWidget;
    Panel6->setFixedHeight(31);
    Fill(Panel6, StripGreen);
    auto* row = new QHBoxLayout(Panel6);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(0);
    auto add = [row](QLabel* panel, int width, const QString& hint) {
        StylePanel(panel, hint);
        if (width > 0)
            panel->setFixedWidth(width);
        row->addWidget(panel, width > 0 ? 0 : 1);
        return panel;
    };
    CurCardDis = add(new QLabel, 55, QStringLiteral("Card Under Cursor"));
    CardDis = add(new QLabel, 33, QStringLiteral("Selected Card"));
    MoveCntDis = add(new QLabel, 33, QStringLiteral("Possible Moves"));
    MessageDis = add(new QLabel, 225, QStringLiteral("Messages"));
    ErrorDis = add(new QLabel, 0, QStringLiteral("Errors"));
    ScoreDis = add(new QLabel, 96, QStringLiteral("Score"));
    GameTime_ = new TSubTimer;
    add(GameTime_, 104, QStringLiteral("Elapsed Time"));
    GameTime_->Resolution = TResolution::rsAutoScale;
    GameTime_->SetDigits(0);
}

void TForm1::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    LoadGame1 = file->addAction(QStringLiteral("&Load Game..."), this, &TForm1::LoadGame1Click);
    SaveGame1 = file->addAction(QStringLiteral("&Save Game..."), this, &TForm1::SaveGame1Click);
    Reload1 = file->addMenu(QStringLiteral("&Reload"));
    file->addSeparator();
    Exit1 = file->addAction(QStringLiteral("&Exit"), this, &QWidget::close);

    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("&Game"));
    DealMnu = gameMenu->addAction(QStringLiteral("&Deal"), this, &TForm1::DealMnuClick);
    DealMnu->setShortcut(Qt::Key_F2);
    Resart1 = gameMenu->addAction(QStringLiteral("&Resart"), this, &TForm1::Resart1Click);
    Resart1->setShortcut(Qt::Key_R);
    UndoMnu = gameMenu->addAction(QStringLiteral("&Undo"), this, &TForm1::UndoMnuClick);
    UndoMnu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Hint1 = gameMenu->addAction(QStringLiteral("&Hint"), this, &TForm1::Hint1Click);
    Hint1->setShortcut(Qt::Key_H);
    gameMenu->addSeparator();

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    opScores1 = view->addAction(QStringLiteral("&Top Scores"), this, &TForm1::opScores1Click);
    view->addSeparator();
    FitToWindowMnu = view->addAction(QStringLiteral("Fit Cards to Window"), this, &TForm1::FitToWindowMnuClick);
    FitToWindowMnu->setCheckable(true);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    CardBacks1 = options->addAction(QStringLiteral("&Card Backs..."), this, &TForm1::CardBacks1Click);
    SmallCardsMnu = options->addAction(QStringLiteral("&Small Cards"), this, &TForm1::SmallCardsMnuClick);
    SmallCardsMnu->setCheckable(true);
    DisableSoundMnu = options->addAction(QStringLiteral("&Disable Sound"), this, &TForm1::DisableSoundMnuClick);
    DisableSoundMnu->setCheckable(true);
    options->addSeparator();
    SaveDefaultsMnu = options->addAction(QStringLiteral("Save &Defaults"), this, &TForm1::SaveDefaultsMnuClick);
    RestoreDefaultsMnu =
        options->addAction(QStringLiteral("&Restore Defaults"), this, &TForm1::RestoreDefaultsMnuClick);
    FactoryDefaults1 = options->addAction(QStringLiteral("&Factory Defaults"), this, &TForm1::FactoryDefaults1Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    ContentsMnu = help->addAction(QStringLiteral("&Contents..."), this, &TForm1::ContentsMnuClick);
    help->addSeparator();
    About1 = help->addAction(QStringLiteral("&About..."), this, &TForm1::About1Click);
}

void TForm1::FormCreate() {
    // Every left press anywhere in the program may end a running celebration.
    qApp->installEventFilter(this);
    // The card faces are made in the background once the window is up, not before.
    TPictureCache::Shared().Hold(true);
    // The board image gets its size from the laid-out window before the engine starts, at the
    // screen's own pixels.
    centralWidget()->layout()->activate();
    const qreal ratio = Image1->devicePixelRatioF();
    game->BoardImage = QImage(qRound(std::max(Image1->width(), 1) * ratio),
                              qRound(std::max(Image1->height(), 1) * ratio), QImage::Format_ARGB32_Premultiplied);
    game->BoardImage.setDevicePixelRatio(ratio);
    connect(Image1, &TBoardView::MouseDown, this, &TForm1::Image1MouseDown);
    connect(Image1, &TBoardView::MouseMove, this, &TForm1::Image1MouseMove);
    connect(Image1, &TBoardView::MouseUp, this, &TForm1::Image1MouseUp);
    connect(Image1, &TBoardView::Resized, this, &TForm1::FormResize);
    game->EngineStart();
    Guarded([this] { ApplySettings(LoadSettings(CurrentSettings())); });
    Guarded([] { LoadTopScores(); });
    ReopenMenu1 = new TReopenMenu(this);
    ReopenMenu1->SetLimit(10);
    ReopenMenu1->SetINIFile(QStringLiteral("Tarnwell.ini"));
    ReopenMenu1->SetINISection(QStringLiteral("History"));
    ReopenMenu1->SetMenuItem(Reload1);
    ReopenMenu1->OnMenuClick = [this](const QString& path) { ReopenMenu1MenuClick(path); };
    ReopenMenu1->LoadHistory();
}

QString TForm1::RunGameFileDialog(bool save) {
    QFileDialog dialog(this, save ? QStringLiteral("Save Game") : QStringLiteral("Load Game"), QStringLiteral("."));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("twl"));
    dialog.setNameFilters({QStringLiteral("Game Files (*.twl)"), QStringLiteral("Any File (*)")});
    dialog.selectFile(QStringLiteral("Game.twl"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TForm1::LoadGame1Click() {
    if (game->Dealing || game->CelebrationRunning)
        return;
    const QString path = RunGameFileDialog(false);
    if (path.isEmpty())
        return;
    // The list changes only when the load went through.
    GameCommand([&] {
        game->LoadGameFile(path);
        ReopenMenu1->AddFile(path);
        ReopenMenu1->SaveHistory();
    });
}

void TForm1::SaveGame1Click() {
    // As with loading: neither a half-dealt board nor the celebration is a game to save.
    if (game->Dealing || game->CelebrationRunning)
        return;
    if (!game->GameActive || game->GameState == TGameState::Won) {
        QMessageBox::information(this, QStringLiteral("Tarnwell"), QStringLiteral("No Game To Save"), QMessageBox::Ok);
        return;
    }
    const QString path = RunGameFileDialog(true);
    if (path.isEmpty())
        return;
    Guarded([&] {
        game->SaveGameFile(path);
        ReopenMenu1->AddFile(path);
        ReopenMenu1->SaveHistory();
    });
}

void TForm1::ReopenMenu1MenuClick(const QString& path) {
    GameCommand([&] { game->LoadGameFile(path); });
}

void TForm1::CreateDialogs() {
    // Made on first use, in the order the program has always made them; once made, kept.
    if (!AboutBox)
        AboutBox = new TAboutBox(this);
    if (!CardBackDlg)
        CardBackDlg = new TCardBackDlg(this);
    if (!GameMessageDlg)
        GameMessageDlg = new TGameMessageDlg(this);
    if (!TopScoresDlg)
        TopScoresDlg = new TTopScoresDlg(*GameTime_, this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The plain bar fills the button strip to its right end.
    if (watched == Panel2 && event->type() == QEvent::Resize)
        FancyButton1->resize(std::max(0, Panel2->width() - 387 - 10), FancyButton1->height());
    // On a screen of another pixel density the board is drawn again at that screen's pixels.
    if (watched == this && event->type() == QEvent::ScreenChangeInternal)
        FormResize();
    if (!painted && watched == Image1 && event->type() == QEvent::Paint) {
        painted = true;
        QTimer::singleShot(0, this, [this] {
            TPictureCache::Shared().Hold(false);
            soundPlayer->Prepare();
            emit FirstPainted();
        });
    }
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !qobject_cast<QMenuBar*>(watched) &&
        !qobject_cast<QMenu*>(watched))
        game->StopRequested = true;
    return false;
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Nothing is saved on the way out; a running celebration sees the flag and ends.
    closing = true;
    QMainWindow::closeEvent(event);
}

void TForm1::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("Tarnwell"), QString::fromUtf8(e.what()));
    }
}

void TForm1::GameCommand(const std::function<void()>& command) {
    // The deal and the celebration let window messages through while they run; a command that
    // changes the game waits for neither, so it is not taken then.
    if (game->Dealing || game->CelebrationRunning)
        return;
    Guarded(command);
}

void TForm1::Image1MouseDown(Qt::MouseButtons buttons, int x, int y) {
    game->BoardMouseDown(buttons.testFlag(Qt::LeftButton), x, y);
}

void TForm1::Image1MouseMove(int x, int y) { game->BoardMouseMove(x, y); }

void TForm1::Image1MouseUp(int x, int y) { game->BoardMouseUp(x, y); }

void TForm1::FormResize() {
    if (game->Deck)
        game->BoardResize(Image1->width(), Image1->height(), Image1->devicePixelRatioF());
}

void TForm1::DealMnuClick() {
    GameCommand([this] { game->ConfirmDeal(); });
}
void TForm1::Resart1Click() {
    GameCommand([this] { game->ConfirmRestart(); });
}
void TForm1::UndoMnuClick() {
    GameCommand([this] { game->UndoMove(); });
}
void TForm1::Hint1Click() {
    GameCommand([this] { game->ShowNextHint(); });
}
void TForm1::CardBacks1Click() {
    GameCommand([this] {
        CreateDialogs();
        if (const std::optional<int> back = CardBackDlg->ChooseCardBack(game->Deck->BackIndex)) {
            game->Deck->SetBack(*back);
            game->PaintBoard();
        }
    });
}
void TForm1::SmallCardsMnuClick() {
    GameCommand([this] {
        game->SmallCards = !game->SmallCards;
        game->SetCardSize(game->SmallCards);
    });
}
void TForm1::FitToWindowMnuClick() {
    GameCommand([this] { game->SetFitToWindow(!game->FitToWindow); });
    ShowFitToWindow();
}

void TForm1::ShowFitToWindow() {
    FitToWindowMnu->setChecked(game->FitToWindow);
    SmallCardsMnu->setEnabled(!game->FitToWindow);
}

void TForm1::DisableSoundMnuClick() { SetSoundDisabled(!game->Sound.SoundDisabled); }

void TForm1::SetSoundDisabled(bool disabled) {
    game->Sound.SoundDisabled = disabled;
    DisableSoundMnu->setChecked(disabled);
}
void TForm1::About1Click() {
    CreateDialogs();
    AboutBox->exec();
}
void TForm1::ContentsMnuClick() { HelpManager->HelpCommand(HELP_CONTENTS); }
void TForm1::opScores1Click() {
    Guarded([this] {
        CreateDialogs();
        TopScoresDlg->ShowTopScores();
    });
}
void TForm1::SaveDefaultsMnuClick() {
    Guarded([this] { SaveSettings(CurrentSettings()); });
}
void TForm1::RestoreDefaultsMnuClick() {
    GameCommand([this] { ApplySettings(LoadSettings(CurrentSettings())); });
}
void TForm1::FactoryDefaults1Click() {
    GameCommand([this] { ApplySettings(FactorySettings()); });
}

TSettings TForm1::CurrentSettings() const {
    TSettings s;
    s.CardBack = game->Deck->BackIndex;
    s.SmallCards = game->SmallCards;
    s.FitToWindow = game->FitToWindow;
    s.Frame = QRect(pos(), size());
    s.SoundDisabled = game->Sound.SoundDisabled;
    return s;
}

void TForm1::ApplySettings(const TSettings& s) {
    game->Deck->SetBack(s.CardBack);
    // Applied even when unchanged: this also lays the board out and repaints it.
    game->SmallCards = s.SmallCards;
    game->FitToWindow = s.FitToWindow;
    game->SetCardSize(s.SmallCards);
    ShowFitToWindow();
    PlaceWindow(s.Frame, s.Centred);
    SetSoundDisabled(s.SoundDisabled);
}

void TForm1::PlaceWindow(const QRect& frame, bool centred) {
    if (!centred) {
        QList<QRect> screens;
        for (const QScreen* s : QGuiApplication::screens())
            screens.append(s->availableGeometry());
        const QRect fitted = FitWindowToScreens(frame, screens);
        resize(fitted.size());
        move(fitted.topLeft());
        return;
    }
    // The window frame's own margins count in centring it.
    const QSize margins = frameGeometry().size() - size();
    resize(frame.size());
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect area = s->availableGeometry();
        const QSize outer = size() + margins;
        // Never with the title bar above the top of the screen.
        move(std::max(area.left(), area.left() + (area.width() - outer.width()) / 2),
             std::max(area.top(), area.top() + (area.height() - outer.height()) / 2));
    }
}

QLabel* TForm1::PanelOf(StatusPanel panel) const {
    switch (panel) {
    case StatusPanel::CurCardDis: return CurCardDis;
    case StatusPanel::CardDis: return CardDis;
    case StatusPanel::MoveCntDis: return MoveCntDis;
    case StatusPanel::MessageDis: return MessageDis;
    case StatusPanel::ErrorDis: return ErrorDis;
    case StatusPanel::ScoreDis: return ScoreDis;
    }
    return ErrorDis;
}

void TForm1::SetPanelText(StatusPanel panel, const QString& text) { PanelOf(panel)->setText(text); }

TColor TForm1::PanelFontColor(StatusPanel panel) {
    return FromQColor(PanelOf(panel)->palette().color(QPalette::WindowText));
}

void TForm1::SetPanelFontColor(StatusPanel panel, TColor colour) {
    QLabel* label = PanelOf(panel);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, ToQColor(colour));
    label->setPalette(pal);
}

void TForm1::RepaintPanel(StatusPanel panel) { PanelOf(panel)->repaint(); }

uint8_t TForm1::ShowGameMessage(GameMessagePage page, const QString& caption, const QString& message,
                                const QString& okCaption, const QString& cancelCaption) {
    CreateDialogs();
    return GameMessageDlg->ShowGameMessage(page, caption, message, okCaption, cancelCaption);
}

void TForm1::ShowInformation(const QString& text) {
    QMessageBox::information(this, QStringLiteral("Tarnwell"), text, QMessageBox::Ok);
}

void TForm1::ShowBoard(const QImage& board) { Image1->ShowImage(board); }

void TForm1::SetDisplayTimer(bool on) {
    if (on)
        DisplayTimer.start();
    else
        DisplayTimer.stop();
}

TStopwatch& TForm1::GameTime() { return *GameTime_; }

void TForm1::SetSmallCardsCheck(bool small) { SmallCardsMnu->setChecked(small); }

int TForm1::ScreenWidth() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

void TForm1::AddTopScore(int32_t score, int64_t elapsedMicros) {
    // A table that cannot be written says so; the won game still ends as it should.
    Guarded([&] {
        const int entry = ::AddTopScore(score, elapsedMicros,
                                        [this](const QString& caption, const QString& label, const QString& name) {
                                            return TTopScoresDlg::AskTopScoreName(this, caption, label, name);
                                        });
        if (entry >= 0) {
            CreateDialogs();
            TopScoresDlg->ShowNewEntry(entry);
        }
    });
}

void TForm1::PlaySound(SoundEffect effect, bool loop) { soundPlayer->PlaySound(effect, loop); }

void TForm1::StopSound() { soundPlayer->StopSound(); }

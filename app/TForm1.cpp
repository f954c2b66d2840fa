#include "TForm1.h"

#include "Fonts.h"
#include "TAboutBox.h"
#include "TBoardAccessible.h"
#include "TBoardCursor.h"
#include "TBoardView.h"
#include "TDealNumberDlg.h"
#include "TCardBackDlg.h"
#include "TGameMessageDlg.h"
#include "TSoundOutput.h"
#include "TStatisticsDlg.h"
#include "TSolverWatch.h"
#include "BoardPlaces.h"
#include "TwGlobal.h"
#include "scores/TTopScoresDlg.h"
#include "scores/TwTopScores.h"
#include "engine/TwGame.h"
#include "cards/TPictureCache.h"
#include "KestrelObjects/BitmapHelpers.h"
#include "KestrelObjects/TFancyButton.h"
#include "KestrelObjects/TReopenMenu.h"
#include "KestrelObjects/TSubTimer.h"
#include "KestrelObjects/TimeSource.h"
#include "KestrelObjects/Timings.h"

#include <QApplication>
#include <QFileDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QKeyEvent>
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
// The window's size and place before any preference says otherwise.
constexpr QRect BuiltInFrame(451, 160, 794, 603);
// A window frame's margins before the window manager has framed the window: a caption bar and
// thin borders, as most window managers draw them.
constexpr QMargins TypicalFrame(4, 30, 4, 4);

// The margins the window frame adds around the window: as drawn once the window is shown, or
// as most window managers draw them before that. Platforms without window frames add none.
QMargins FrameMargins(const QWidget& form) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return {};
    if (!form.isVisible())
        return TypicalFrame;
    const QRect outer = form.frameGeometry();
    const QRect inner = form.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}
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
    b->setFont(ButtonFont());
    b->SetFontColor(PanelTextGreen);
    b->SetFrameDarkest(MakeColor(25, 25, 25));
    b->SetFrameDark(MakeColor(51, 51, 51));
    b->SetFrameLight(MakeColor(100, 100, 100));
    b->SetFrameLightest(MakeColor(150, 150, 150));
    b->SetGradColor1(MakeColor(128, 128, 128));
    b->SetGradColor2(clBlack);
    b->SetGradient(true);
    // Tab reaches the buttons; a focused button has the default look, and Space or Enter clicks
    // it. A click with the mouse leaves the focus where it was.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(true);
    if (!picture.isEmpty())
        b->SetGlyph(ReadPicture(picture));
    return b;
}

void StylePanel(QLabel* panel, const QString& hint) {
    panel->setToolTip(hint);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(PanelFont());
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, ToQColor(PanelTextGreen));
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
}
} // namespace

TForm1::TForm1() : soundPlayer(std::make_unique<TSoundOutput>()), game(std::make_unique<TGame>(*this)) {
    // Before any widget: the board's interface for screen readers comes from this factory.
    InstallBoardAccessibility();
    setWindowTitle(QStringLiteral("Tarnwell"));
    setFont(WindowFont());
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
    solverWatch = new TSolverWatch({}, this);
    connect(solverWatch, &TSolverWatch::Changed, this, &TForm1::UpdateSolverDisplay);
    searchingDelay.setSingleShot(true);
    searchingDelay.setInterval(Timing::SolverSearchingNoticeMs);
    connect(&searchingDelay, &QTimer::timeout, this, &TForm1::UpdateSolverDisplay);
    solveTimer.setSingleShot(true);
    solveTimer.setInterval(Timing::SolveStepPauseMs);
    connect(&solveTimer, &QTimer::timeout, this, &TForm1::SolveStep);
    connect(&DisplayTimer, &QTimer::timeout, this, [this] { GameTime_->UpdateDisplay(); });

    // The built-in size and place, fitted to the screen; stored ones may follow (LoadSettings).
    // The built-in size and place, on a small or magnified screen made smaller and moved onto it.
    PlaceInScreen(BuiltInFrame.size(), BuiltInFrame.topLeft());
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
    // The cursor reads the game, which goes first.
    delete BoardCursor;
    BoardCursor = nullptr;
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
    // Over the right end of the plain bar, which it leaves in view.
    SolverDis = new QLabel(Panel2);
    SolverDis->setFont(SolverFont());
    SolverDis->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SolverDis->setAttribute(Qt::WA_TranslucentBackground);
    SolverDis->setStyleSheet(QStringLiteral("color: rgb(0, 191, 0); a { color: rgb(255, 255, 0); }"));
    SolverDis->setToolTip(QStringLiteral("The solver: whether this game can still be won, with the cards as they lie"));
    // The keyboard reaches the reason through Solve and Best Move; the strip's Tab order stays.
    SolverDis->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    SolverDis->setFocusPolicy(Qt::NoFocus);
    connect(SolverDis, &QLabel::linkActivated, this, [this] { ShowWhyLost(); });
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
    LoadGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveGame1 = file->addAction(QStringLiteral("&Save Game..."), this, &TForm1::SaveGame1Click);
    SaveGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Reload1 = file->addMenu(QStringLiteral("&Reload"));
    file->addSeparator();
    Exit1 = file->addAction(QStringLiteral("&Exit"), this, &QWidget::close);
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

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
    RedoMnu = gameMenu->addAction(QStringLiteral("R&edo"), this, &TForm1::RedoMnuClick);
    RedoMnu->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Greyed in the open menu when there is nothing to make again; the keys always reach it.
    connect(gameMenu, &QMenu::aboutToShow, this, [this] { RedoMnu->setEnabled(game->CanRedo()); });
    connect(gameMenu, &QMenu::aboutToHide, this, [this] { RedoMnu->setEnabled(true); });
    DealNumberMnu = gameMenu->addAction(QStringLiteral("Deal &Number..."), this, &TForm1::DealNumberMnuClick);
    StatisticsMnu = gameMenu->addAction(QStringLiteral("S&tatistics..."), this, &TForm1::StatisticsMnuClick);
    SolveMnu = gameMenu->addAction(QStringLiteral("S&olve"), this, &TForm1::SolveMnuClick);
    BestMoveMnu = gameMenu->addAction(QStringLiteral("&Best Move"), this, &TForm1::BestMoveMnuClick);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    opScores1 = view->addAction(QStringLiteral("&Top Scores"), this, &TForm1::opScores1Click);
    view->addSeparator();
    FitToWindowMnu = view->addAction(QStringLiteral("&Fit Cards to Window"), this, &TForm1::FitToWindowMnuClick);
    FitToWindowMnu->setCheckable(true);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    CardBacks1 = options->addAction(QStringLiteral("&Card Backs..."), this, &TForm1::CardBacks1Click);
    SmallCardsMnu = options->addAction(QStringLiteral("&Small Cards"), this, &TForm1::SmallCardsMnuClick);
    SmallCardsMnu->setCheckable(true);
    DisableSoundMnu = options->addAction(QStringLiteral("&Disable Sound"), this, &TForm1::DisableSoundMnuClick);
    DisableSoundMnu->setCheckable(true);
    // A switch of its own: its check mark is the setting.
    ResumeGameMnu = options->addAction(QStringLiteral("Resume &Game at Start"));
    ResumeGameMnu->setCheckable(true);
    ResumeGameMnu->setChecked(true);
    WinnableOnlyMnu = options->addAction(QStringLiteral("&Winnable Deals Only"));
    WinnableOnlyMnu->setCheckable(true);
    options->addSeparator();
    SaveDefaultsMnu = options->addAction(QStringLiteral("Save &Defaults"), this, &TForm1::SaveDefaultsMnuClick);
    RestoreDefaultsMnu =
        options->addAction(QStringLiteral("&Restore Defaults"), this, &TForm1::RestoreDefaultsMnuClick);
    FactoryDefaults1 = options->addAction(QStringLiteral("&Factory Defaults"), this, &TForm1::FactoryDefaults1Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    ContentsMnu = help->addAction(QStringLiteral("&Contents..."), this, &TForm1::ContentsMnuClick);
    ContentsMnu->setShortcut(QKeySequence(Qt::Key_F1));
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
    // Keys on the board click where the cursor rests, as the mouse would: press, then release.
    BoardCursor = new TBoardCursor(*game, *Image1);
    BoardCursor->Click = [this](QPoint p) {
        Image1MouseDown(Qt::LeftButton, p.x(), p.y());
        Image1MouseUp(p.x(), p.y());
    };
    setTabOrder(DealBtn, UndoBtn);
    setTabOrder(UndoBtn, HintBtn);
    setTabOrder(HintBtn, Image1);
    Image1->setFocus();
    // Nothing is drawn on the board until the window shows it, at its final size.
    game->DrawBoard = false;
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
    if (!path.isEmpty())
        OpenGameFile(path);
}

void TForm1::OpenGameFile(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    // The list changes only when the load went through.
    GameCommand([&] {
        game->LoadGameFile(file);
        ReopenMenu1->AddFile(file);
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
    if (!StatisticsDlg)
        StatisticsDlg = new TStatisticsDlg(*GameTime_, this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The plain bar fills the button strip to its right end.
    if (watched == Panel2 && event->type() == QEvent::Resize) {
        FancyButton1->resize(std::max(0, Panel2->width() - 387 - 10), FancyButton1->height());
        SolverDis->setGeometry(FancyButton1->geometry().adjusted(12, 2, -12, -2));
    }
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
    // A click or a key stops the solver playing its line, and does nothing else: not even a
    // key's shortcut, which is claimed before Qt would try it.
    if (solving && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (solving && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
        StopSolving();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !qobject_cast<QMenuBar*>(watched) &&
        !qobject_cast<QMenu*>(watched))
        game->StopRequested = true;
    // A menu bar reached by a tap on Alt takes the next plain letter as a menu's underlined
    // letter, not as the window's one-letter shortcut (H would give a hint, not the Help menu).
    if (event->type() == QEvent::ShortcutOverride && watched == menuBar() && menuBar()->hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && !key->text().isEmpty() && key->text().front().isLetterOrNumber()) {
            event->accept();
            return true;
        }
    }
    return false;
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A running celebration sees the flag and ends. "Tarnwell.ini" is written on the way out
    // only when a game is given up (its statistics).
    closing = true;
    Guarded([this] { KeepGameForNextStart(); });
    QMainWindow::closeEvent(event);
}

QString TForm1::KeptGamePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tarnwell/Resume.twl");
}

void TForm1::KeepGameForNextStart() {
    const QString path = KeptGamePath();
    const bool inPlay = game->GameActive && game->GameState == TGameState::Playing && !game->Dealing &&
                        !game->CelebrationRunning;
    if (ResumeGameMnu->isChecked() && inPlay) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        game->SaveGameFile(path, TGame::TKeep::GameAndPlay);
        return;
    }
    QFile::remove(path);
    if (!ResumeGameMnu->isChecked())
        game->AbandonGame();
}

void TForm1::OpenAtStart(const QString& file) {
    if (!file.isEmpty())
        OpenGameFile(file);
    else if (ResumeGameMnu->isChecked())
        ResumeKeptGame();
}

void TForm1::ResumeKeptGame() {
    const QString path = KeptGamePath();
    if (!QFileInfo::exists(path))
        return;
    try {
        const QString historyFault = game->LoadGameFile(path, TGame::TKeep::GameAndPlay);
        // Taken up: from now on it is the game on the table, kept again at the next closing.
        QFile::remove(path);
        if (!historyFault.isEmpty())
            QMessageBox::information(this, QStringLiteral("Tarnwell"),
                                     QStringLiteral("The game kept when Tarnwell last closed was resumed without its "
                                                    "undo history, which could not be read.\n\n%1")
                                         .arg(historyFault));
    } catch (const std::exception& e) {
        const QString aside = path + QStringLiteral(".damaged");
        QFile::remove(aside);
        QFile::rename(path, aside);
        QMessageBox::warning(this, QStringLiteral("Tarnwell"),
                             QStringLiteral("The game kept when Tarnwell last closed cannot be resumed, and its file "
                                            "was set aside as %1.\n\n%2")
                                 .arg(aside, QString::fromUtf8(e.what())));
    }
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

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!game->DrawBoard) {
        game->DrawBoard = true;
        FormResize();
    }
}

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
void TForm1::RedoMnuClick() {
    GameCommand([this] { game->RedoMove(); });
}

void TForm1::DealNumberMnuClick() {
    if (game->Dealing || game->CelebrationRunning)
        return;
    if (const std::optional<uint32_t> number = AskDealNumber(this, game->DealNumber))
        GameCommand([this, number] { game->DealGame(number); });
}

void TForm1::StatisticsMnuClick() {
    CreateDialogs();
    StatisticsDlg->ShowStatistics();
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
    s.ResumeGame = ResumeGameMnu->isChecked();
    s.WinnableOnly = WinnableOnlyMnu->isChecked();
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
    ResumeGameMnu->setChecked(s.ResumeGame);
    WinnableOnlyMnu->setChecked(s.WinnableOnly);
}

void TForm1::PlaceWindow(const QRect& frame, bool centred) {
    if (centred) {
        PlaceInScreen(frame.size(), std::nullopt);
        return;
    }
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens.append(s->availableGeometry());
    const QRect fitted = FitWindowToScreens(frame, screens);
    resize(fitted.size());
    move(fitted.topLeft());
}

void TForm1::PlaceInScreen(QSize size, std::optional<QPoint> place) {
    const QMargins margins = FrameMargins(*this);
    const QSize outer = size.grownBy(margins);
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) {
        resize(size);
        move(place.value_or(QPoint(0, 0)));
        return;
    }
    const QRect area = s->availableGeometry();
    const QPoint at = place.value_or(area.topLeft() + QPoint((area.width() - outer.width()) / 2,
                                                             (area.height() - outer.height()) / 2));
    const QRect frame = FitWindowIntoArea(QRect(at, outer), area);
    resize(frame.size().shrunkBy(margins));
    move(frame.topLeft());
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

void TForm1::SetPanelText(StatusPanel panel, const QString& text) {
    QLabel* label = PanelOf(panel);
    const bool changed = label->text() != text;
    label->setText(text);
    // A screen reader hears what the game says back: every refusal, even one said twice, and a
    // new prompt or score.
    const bool refusal = panel == StatusPanel::ErrorDis && !text.isEmpty();
    if (refusal || (changed && (panel == StatusPanel::MessageDis || panel == StatusPanel::ScoreDis)))
        AnnouncePanelText(label);
}

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

void TForm1::ShowBoard(const QImage& board) {
    if (BoardCursor)
        BoardCursor->BoardShown();
    Image1->ShowImage(board);
}

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

void TForm1::ShowDealNumber(std::optional<uint32_t> number) {
    setWindowTitle(number ? QStringLiteral("Tarnwell - Deal %1").arg(*number) : QStringLiteral("Tarnwell"));
}

void TForm1::PositionChanged() {
    // A change the line being played did not make ends its playing; so does the game's end,
    // before the fireworks and the name prompt take their clicks and keys.
    if (solving && (!playingSolverMove || !game->GameActive))
        StopSolving();
    const bool inPlay = game->GameActive && game->GameState == TGameState::Playing;
    if (const std::optional<Solver::Position> position = inPlay ? PositionOf(*game) : std::nullopt) {
        const bool wasAnswered = solverWatch->Answer().State != TSolverState::Searching;
        solverWatch->Watch(*position);
        if (wasAnswered && solverWatch->Answer().State == TSolverState::Searching)
            searchingDelay.start();
    } else {
        solverWatch->Forget();
    }
}

void TForm1::UpdateSolverDisplay() {
    const TSolverAnswer& answer = solverWatch->Answer();
    switch (answer.State) {
    case TSolverState::Idle: SolverDis->clear(); break;
    case TSolverState::Searching:
        // Most positions are decided at once: the last answer stays up for a moment meanwhile.
        if (!searchingDelay.isActive())
            SolverDis->setText(QStringLiteral("Still searching"));
        break;
    case TSolverState::Winnable: SolverDis->setText(QStringLiteral("Winnable")); break;
    case TSolverState::Lost:
        SolverDis->setText(QStringLiteral("Cannot be won &nbsp;<a href=\"why\" style=\"color: #ffff00\">Why?</a>"));
        break;
    case TSolverState::TooHard: SolverDis->setText(QStringLiteral("Too hard to tell")); break;
    }
    if (answer.State != TSolverState::Searching)
        searchingDelay.stop();
}

QString TForm1::NoLineText() const {
    switch (solverWatch->Answer().State) {
    case TSolverState::Searching: return QStringLiteral("The solver is still looking at this position. Try again in a moment.");
    case TSolverState::Lost: return QStringLiteral("This game cannot be won from here, with the cards as they lie.");
    case TSolverState::TooHard: return QStringLiteral("This position is too hard for the solver to tell.");
    case TSolverState::Idle:
    case TSolverState::Winnable: break;
    }
    return QStringLiteral("There is no game to solve.");
}

void TForm1::ShowWhyLost() {
    const TSolverAnswer& answer = solverWatch->Answer();
    if (answer.State != TSolverState::Lost)
        return;
    const QString reason = answer.Reason.empty()
                               ? QStringLiteral("No short reason is known: the solver tried every way to play on, "
                                                "and none of them wins.")
                               : QString::fromStdString(answer.Reason);
    QMessageBox::information(this, QStringLiteral("Why it cannot be won"), reason, QMessageBox::Ok);
}

void TForm1::TellNoLine() {
    if (solverWatch->Answer().State != TSolverState::Lost) {
        ShowInformation(NoLineText());
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Tarnwell"), NoLineText(), QMessageBox::Ok, this);
    QPushButton* why = box.addButton(QStringLiteral("&Why?"), QMessageBox::ActionRole);
    box.exec();
    if (box.clickedButton() == why)
        ShowWhyLost();
}

void TForm1::SolveMnuClick() {
    if (game->Dealing || game->CelebrationRunning || solving)
        return;
    const TSolverAnswer& answer = solverWatch->Answer();
    if (!game->GameActive || answer.State != TSolverState::Winnable || answer.Moves.empty()) {
        TellNoLine();
        return;
    }
    solving = true;
    SolveStep();
}

void TForm1::SolveStep() {
    if (!solving)
        return;
    const TSolverAnswer& answer = solverWatch->Answer();
    if (!game->GameActive || answer.State != TSolverState::Winnable || answer.Moves.empty()) {
        StopSolving();
        return;
    }
    playingSolverMove = true;
    bool made = false;
    Guarded([&] { made = PlaySolverMove(answer.Moves.front()); });
    playingSolverMove = false;
    if (made && game->GameActive)
        solveTimer.start();
    else
        StopSolving();
}

void TForm1::StopSolving() {
    solving = false;
    solveTimer.stop();
}

bool TForm1::PlaySolverMove(const Solver::Move& move) {
    const BoardSlot source{move.Column, move.Row, game->Cell(move.Column, move.Row)};
    const BoardSlot target = move.IsHome() ? BoardSlot{-1, move.Pocket, game->Pocket(move.Pocket)}
                                           : BoardPlaces::ColumnPlace(*game, move.TargetColumn);
    const int moves = game->MoveCount;
    for (const BoardSlot& place : {source, target}) {
        const QPoint p = BoardPlaces::ClickPoint(*game, place);
        Image1MouseDown(Qt::LeftButton, p.x(), p.y());
        Image1MouseUp(p.x(), p.y());
    }
    return game->MoveCount > moves;
}

void TForm1::BestMoveMnuClick() {
    GameCommand([this] {
        const TSolverAnswer& answer = solverWatch->Answer();
        if (!game->GameActive || answer.State != TSolverState::Winnable || answer.Moves.empty()) {
            TellNoLine();
            return;
        }
        const Solver::Move& move = answer.Moves.front();
        HintPair pair{game->Cell(move.Column, move.Row), nullptr};
        if (move.IsHome())
            pair.Second = game->Pocket(move.Pocket);
        else if (game->ColumnCount(move.TargetColumn) > 0)
            pair.Second = game->Cell(move.TargetColumn, game->BottomRow(move.TargetColumn));
        game->FlashPair(pair);
    });
}

std::optional<uint32_t> TForm1::NextDealNumber() {
    if (!WinnableOnlyMnu->isChecked())
        return std::nullopt;
    // From the number the clock would give, upwards, until the solver proves one can be won.
    uint32_t number = uint32_t(CurrentTimeSource().MillisecondsOfDayUtc());
    QElapsedTimer spent;
    spent.start();
    Solver::Budget budget;
    budget.Nodes /= 5;
    do {
        if (Solver::Solve(Solver::Position::FromDeal(number), budget).Answer == Solver::Verdict::Winnable)
            return number;
        ++number;
    } while (spent.elapsed() < Timing::WinnableDealSearchMs);
    ShowInformation(QStringLiteral("No deal the solver could prove winnable was found within a second. "
                                   "This deal is dealt as it comes, and it may not be winnable."));
    return number;
}

void TForm1::GameEnded(bool won, int32_t score, int64_t elapsedMicros) {
    // A record that cannot be written says so; the game goes on as it would have.
    Guarded([&] {
        TStatistics statistics = LoadStatistics();
        if (won)
            statistics.RecordWin(score, elapsedMicros);
        else
            statistics.RecordLoss(elapsedMicros);
        SaveStatistics(statistics);
    });
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

// End-to-end tests: the real program on an X server of its own, played with the mouse and the
// keyboard through xdotool as a player would, and checked on the screen and in the files it
// writes. run-under-xvfb.sh starts the server; the program's path comes as the first argument
// or in TARNWELL_BINARY.
//
// The board is checked by its pixels: the table is plain green, so a place holds a card when it
// is not; a card that moved is found again by comparing its picture with the one taken where it
// was before. Every wait polls the screen or the window list against a deadline.
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

QString GameBinary;

constexpr QRgb TableGreen = qRgb(0, 128, 0);
constexpr QRgb StripGreen = qRgb(0, 100, 0);
// The program's windows and its board need a moment on a busy machine; nothing legitimate
// takes this long.
constexpr int WindowTimeout = 15000;
constexpr int BoardTimeout = 10000;

// A step that did not happen ends the test with what was awaited; GoogleTest reports it.
struct StepFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const QString& what) { throw StepFailed(what.toStdString()); }

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs = 25) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (done())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(pollMs);
    }
}

// ---------------------------------------------------------------- X input and windows

QString RunTool(const QString& program, const QStringList& args, bool mustSucceed = true) {
    QProcess tool;
    tool.start(program, args);
    if (!tool.waitForStarted(5000))
        Fail(QStringLiteral("%1 did not start").arg(program));
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished();
        Fail(QStringLiteral("%1 %2 did not finish").arg(program, args.join(QLatin1Char(' '))));
    }
    if (mustSucceed && (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0))
        Fail(QStringLiteral("%1 %2 failed: %3")
                 .arg(program, args.join(QLatin1Char(' ')), QString::fromLocal8Bit(tool.readAllStandardError())));
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QString Xdotool(const QStringList& args, bool mustSucceed = true) {
    return RunTool(QStringLiteral("xdotool"), args, mustSucceed);
}

// Visible top-level windows whose title matches the pattern.
QStringList FindWindows(const QString& titlePattern) {
    const QStringList args{QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                           titlePattern};
    // Finding nothing is an exit status of 1.
    const QString out = Xdotool(args, false);
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString WaitForWindow(const QString& titlePattern, int timeoutMs = WindowTimeout) {
    QString found;
    WaitUntil(
        [&] {
            const QStringList ids = FindWindows(titlePattern);
            if (!ids.isEmpty())
                found = ids.constLast();
            return !found.isEmpty();
        },
        timeoutMs, 50);
    if (found.isEmpty())
        Fail(QStringLiteral("no window \"%1\" appeared").arg(titlePattern));
    return found;
}

void WaitForWindowGone(const QString& titlePattern, int timeoutMs = WindowTimeout) {
    if (!WaitUntil([&] { return FindWindows(titlePattern).isEmpty(); }, timeoutMs, 50))
        Fail(QStringLiteral("the window \"%1\" did not close").arg(titlePattern));
}

QRect WindowGeometry(const QString& id) {
    const QString out = Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
    QRect r;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (key == QLatin1String("X"))
            r.moveLeft(value);
        else if (key == QLatin1String("Y"))
            r.moveTop(value);
        else if (key == QLatin1String("WIDTH"))
            r.setWidth(value);
        else if (key == QLatin1String("HEIGHT"))
            r.setHeight(value);
    }
    return r;
}

// What a window asks of the window manager through its Motif hints: the functions and the
// decorations words, or -1 for each when the window sets none.
struct MotifHints {
    long functions = -1;
    long decorations = -1;
};

MotifHints ReadMotifHints(const QString& id) {
    // "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x26, 0x1e, 0x0, 0x0": flags, functions, decorations, ...
    const QString out = RunTool(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_MOTIF_WM_HINTS")});
    const QStringList words = out.section(QLatin1Char('='), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    MotifHints hints;
    if (words.size() < 3)
        return hints;
    bool ok = false;
    const long flags = words[0].trimmed().toLong(&ok, 16);
    if (ok && (flags & 1))
        hints.functions = words[1].trimmed().toLong(nullptr, 16);
    if (ok && (flags & 2))
        hints.decorations = words[2].trimmed().toLong(nullptr, 16);
    return hints;
}

// A modal dialog asks for a caption and a close box and for nothing that minimises or maximises
// it (window managers that follow the Motif hints then draw no such buttons).
void ExpectCloseBoxOnly(const QString& id, const char* what) {
    constexpr long All = 0x1, Minimise = 0x8, Maximise = 0x10, Close = 0x20;
    constexpr long DecorAll = 0x1, DecorTitle = 0x8, DecorMinimise = 0x20, DecorMaximise = 0x40;
    const MotifHints hints = ReadMotifHints(id);
    ASSERT_GE(hints.functions, 0) << what << " sets no Motif functions";
    ASSERT_GE(hints.decorations, 0) << what << " sets no Motif decorations";
    EXPECT_EQ(hints.functions & (All | Minimise | Maximise), 0) << what;
    EXPECT_EQ(hints.functions & Close, Close) << what;
    EXPECT_EQ(hints.decorations & (DecorAll | DecorMinimise | DecorMaximise), 0) << what;
    EXPECT_EQ(hints.decorations & DecorTitle, DecorTitle) << what;
}

void Focus(const QString& id) { Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id}); }

// Keys with a pause between them, so a menu that a key opens is up before the next key.
void Keys(const QStringList& keys) {
    Xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("120")} + keys);
}

void Type(const QString& text) {
    Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), text});
}

// ---------------------------------------------------------------- the screen

QImage GrabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// With TARNWELL_E2E_SHOTS set to a folder, the screen at each named step is saved there, to see
// where the clicks land.
void Shot(const QString& step) {
    const QString folder = qEnvironmentVariable("TARNWELL_E2E_SHOTS");
    if (!folder.isEmpty())
        GrabScreen().save(QDir(folder).filePath(step + QStringLiteral(".png")));
}

bool IsTable(const QImage& board, QPoint p) { return board.pixel(p) == TableGreen; }

// Where cards lie for one card size (board pixels).
struct Geometry {
    int w, h, margin, columnGap, pocketGap, rowStep;

    QPoint Pocket(int i) const { return {margin, margin + i * (h + pocketGap)}; }
    QPoint Cell(int column, int row, int step = 0) const {
        return {margin + w + columnGap + column * (w + columnGap), margin + row * (step ? step : rowStep)};
    }
    QRect Card(QPoint topLeft) const { return {topLeft, QSize(w, h)}; }
    QPoint Centre(QPoint topLeft) const { return topLeft + QPoint(w / 2, h / 2); }
    // The visible top of a card that another card covers.
    QRect Strip(QPoint topLeft) const { return {topLeft, QSize(w, rowStep)}; }
    // The row distance of a column of n cards on a board of the given height.
    int StepFor(int n, int boardHeight) const {
        const int avail = boardHeight - margin - h - 10;
        return avail >= n * rowStep ? rowStep : std::max(1, avail / n);
    }
};
constexpr Geometry Large{71, 96, 30, 9, 16, 30};
constexpr Geometry Small{54, 72, 23, 7, 12, 23};

// A part of the board without its outer 4 pixels: the rounded corners of a card let the card or
// the slot beneath show through, which differs from place to place.
QImage Part(const QImage& board, const QRect& r) { return board.copy(r.adjusted(4, 4, -4, -4)); }

// ---------------------------------------------------------------- the known position

// Card Index = suit * 13 + rank: hearts, diamonds, clubs, spades; rank 0 the Ace.
QString CardName(int index) {
    static const char* ranks[13] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    static const char suits[4] = {'H', 'D', 'C', 'S'};
    return QString::fromLatin1(ranks[index % 13]) + QLatin1Char(suits[index / 13]);
}

constexpr int FourHearts = 3, FiveHearts = 4, SixHearts = 5, AceSpades = 39, KingClubs = 38, NineDiamonds = 21,
              EightDiamonds = 20, TenDiamonds = 22;

struct PileCard {
    int index;
    bool faceUp;
};

// The Ace to the 4 of hearts home; 5H, 6H, AS, KC (down) 9D 8D, 10D in columns 0..4; the other
// 41 cards face down over columns 5..7, each with its last card face up.
std::array<std::vector<PileCard>, 8> KnownPile() {
    std::array<std::vector<PileCard>, 8> pile;
    pile[0] = {{FiveHearts, true}};
    pile[1] = {{SixHearts, true}};
    pile[2] = {{AceSpades, true}};
    pile[3] = {{KingClubs, false}, {NineDiamonds, true}, {EightDiamonds, true}};
    pile[4] = {{TenDiamonds, true}};
    std::vector<int> rest;
    for (int index = 0; index < 52; ++index) {
        const bool placed = index <= SixHearts || index == AceSpades || index == KingClubs || index == NineDiamonds ||
                            index == EightDiamonds || index == TenDiamonds;
        if (!placed)
            rest.push_back(index);
    }
    const size_t sizes[3] = {14, 14, 13};
    size_t next = 0;
    for (int c = 5; c < 8; ++c)
        for (size_t k = 0; k < sizes[c - 5]; ++k, ++next)
            pile[size_t(c)].push_back({rest[next], k + 1 == sizes[c - 5]});
    return pile;
}

QString KnownPositionXml() {
    const auto pile = KnownPile();
    auto card = [](int column, int row, int index, bool up) {
        const QString face = up ? QStringLiteral("True") : QStringLiteral("False");
        return QStringLiteral("      <Card Column=\"%1\" Row=\"%2\" Valid=\"True\" Name=\"%3\" Index=\"%4\" "
                              "FaceUp=\"%5\" DealFaceUp=\"%5\" />\n")
            .arg(column)
            .arg(row)
            .arg(CardName(index))
            .arg(index)
            .arg(face);
    };
    QString board = QStringLiteral("    <Home>\n");
    board += card(0, 0, FourHearts, true);
    for (int pocket = 1; pocket < 4; ++pocket)
        board += QStringLiteral("      <Card Column=\"0\" Row=\"%1\" Valid=\"False\" />\n").arg(pocket);
    board += QStringLiteral("    </Home>\n    <Pile>\n");
    for (int c = 0; c < 8; ++c)
        for (size_t r = 0; r < pile[size_t(c)].size(); ++r)
            board += card(c, int(r), pile[size_t(c)][r].index, pile[size_t(c)][r].faceUp);
    board += QStringLiteral("    </Pile>\n");
    return QStringLiteral("<?xml version=\"1.0\"?>\n<TarnwellXML Tranwell=\"1.0\">\n") +
           QStringLiteral("  <GameArray>\n") + board + QStringLiteral("  </GameArray>\n") +
           QStringLiteral("  <GameCopy>\n") + board + QStringLiteral("  </GameCopy>\n") +
           QStringLiteral("  <CardCounter>\n    <Integer>48</Integer>\n  </CardCounter>\n"
                          "  <MoveCount>\n    <Integer>0</Integer>\n  </MoveCount>\n"
                          "  <ElapsedTime>\n    <Float>0</Float>\n  </ElapsedTime>\n</TarnwellXML>\n");
}

// What a saved file says about the live board and the counters.
struct SavedGame {
    QString root;
    std::array<int, 4> pockets{-1, -1, -1, -1};
    std::array<std::vector<int>, 8> columns;
    int cardCounter = -1;
    int moveCount = -1;
};

SavedGame ReadSavedGame(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot open %1").arg(path));
    SavedGame saved;
    QXmlStreamReader xml(&file);
    QStringList open;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (open.isEmpty())
                saved.root = name;
            const bool live = open.contains(QLatin1String("GameArray"));
            const auto a = xml.attributes();
            if (live && name == QLatin1String("Card") && a.value(QLatin1String("Valid")) == QLatin1String("True")) {
                const int column = a.value(QLatin1String("Column")).toInt();
                const int row = a.value(QLatin1String("Row")).toInt();
                const int index = a.value(QLatin1String("Index")).toInt();
                if (open.constLast() == QLatin1String("Home") && row >= 0 && row < 4)
                    saved.pockets[size_t(row)] = index;
                else if (open.constLast() == QLatin1String("Pile") && column >= 0 && column < 8 &&
                         row == int(saved.columns[size_t(column)].size()))
                    saved.columns[size_t(column)].push_back(index);
            }
            if (name == QLatin1String("Integer") && open.size() >= 2) {
                const int value = xml.readElementText().trimmed().toInt();
                if (open.constLast() == QLatin1String("CardCounter"))
                    saved.cardCounter = value;
                else if (open.constLast() == QLatin1String("MoveCount"))
                    saved.moveCount = value;
                continue;
            }
            open.append(name);
        } else if (xml.isEndElement() && !open.isEmpty()) {
            open.removeLast();
        }
    }
    if (xml.hasError())
        Fail(QStringLiteral("%1 is not well-formed XML: %2").arg(path, xml.errorString()));
    return saved;
}

// "key=value" for every key of one section of an INI file.
QStringList IniSection(const QString& path, const QString& section) {
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(section);
    QStringList lines;
    for (const QString& key : ini.childKeys())
        lines << key + QLatin1Char('=') + ini.value(key).toString();
    return lines;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The image plugins a running program has loaded, by their files.
QStringList ImagePluginsLoaded(qint64 pid) {
    QStringList found;
    for (const QByteArray& line : FileBytes(QStringLiteral("/proc/%1/maps").arg(pid)).split('\n')) {
        const QString file = QString::fromLocal8Bit(line.mid(line.indexOf('/')));
        if (file.contains(QLatin1String("/imageformats/")) && !found.contains(file))
            found << file;
    }
    return found;
}

// ---------------------------------------------------------------- the running program

class Program {
public:
    QTemporaryDir work;
    QTemporaryDir config;
    QProcess process;
    QString window;
    QRect frame;
    QRect board; // on the screen
    // Nothing done yet: no game on the table, as the program starts.
    bool fresh = true;

    QString IniPath() const { return config.filePath(QStringLiteral("Tarnwell/Tarnwell.ini")); }
    QString WorkFile(const QString& name) const { return work.filePath(name); }

    // Starts the program with the given arguments and finds its main window: of the windows
    // titled "Tarnwell" (a message box may be one), the largest.
    void Start(const QStringList& arguments = {}) {
        if (!work.isValid() || !config.isValid())
            Fail(QStringLiteral("no temporary folders"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), config.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), config.filePath(QStringLiteral("cache")));
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        env.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(work.path());
        // Into a file, so that a talkative program never blocks on a full pipe.
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardOutputFile(LogPath());
        process.start(GameBinary, arguments);
        if (!process.waitForStarted(WindowTimeout))
            Fail(QStringLiteral("cannot start %1: %2").arg(GameBinary, process.errorString()));
        window = WaitForWindow(QStringLiteral("^Tarnwell$"));
        for (const QString& id : FindWindows(QStringLiteral("^Tarnwell$"))) {
            const QRect g = WindowGeometry(id);
            if (g.width() * g.height() > WindowGeometry(window).width() * WindowGeometry(window).height())
                window = id;
        }
        Locate();
    }

    bool Running() const { return process.state() == QProcess::Running; }

    void Stop() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    QString LogPath() const { return config.filePath(QStringLiteral("tarnwell.log")); }
    QString Output() const { return QString::fromLocal8Bit(FileBytes(LogPath())); }

    // Where the window and its board are now, after the program moved its window.
    void Locate() {
        frame = WindowGeometry(window);
        FindBoard();
    }

    // The board lies below the dark button strip: the first row of table green under it, in
    // the strip's plain margin left of the Deal button; it ends where the status strip begins.
    void FindBoard() {
        const bool found = WaitUntil(
            [&] {
                const QImage screen = GrabScreen();
                const int x = frame.left() + 2;
                int y = frame.top();
                while (y <= frame.bottom() && screen.pixel(x, y) != StripGreen)
                    ++y;
                while (y <= frame.bottom() && screen.pixel(x, y) == StripGreen)
                    ++y;
                if (y > frame.bottom() || screen.pixel(x, y) != TableGreen)
                    return false;
                const int top = y;
                while (y <= frame.bottom() && screen.pixel(x, y) == TableGreen)
                    ++y;
                if (y > frame.bottom() || screen.pixel(x, y) != StripGreen)
                    return false;
                int left = frame.left() + 2;
                while (left > frame.left() && screen.pixel(left - 1, top + 2) == TableGreen)
                    --left;
                int right = left;
                while (right < frame.right() && screen.pixel(right + 1, top + 2) == TableGreen)
                    ++right;
                board = QRect(QPoint(left, top), QPoint(right, y - 1));
                // Painted once the first pocket holds something: the deck at start, the
                // hearts of the known position later.
                return !IsTable(screen.copy(board), Large.Centre(Large.Pocket(0)));
            },
            WindowTimeout, 50);
        if (!found)
            Fail(QStringLiteral("no board under the button strip of the window at %1,%2")
                     .arg(frame.left())
                     .arg(frame.top()));
    }

    QImage Board() const { return GrabScreen().copy(board); }

    QImage WaitForBoard(const std::function<bool(const QImage&)>& done, const QString& what,
                        int timeoutMs = BoardTimeout) const {
        QImage shown;
        if (!WaitUntil(
                [&] {
                    shown = Board();
                    return done(shown);
                },
                timeoutMs)) {
            const QString shot = QDir::temp().filePath(QStringLiteral("tarnwell-e2e-failed.png"));
            GrabScreen().save(shot);
            Fail(QStringLiteral("the board never showed %1 (screen saved as %2)").arg(what, shot));
        }
        return shown;
    }

    // The board once it has stopped changing: the same picture twice, a few frames apart.
    QImage SettledBoard() const {
        QImage last = Board();
        QImage settled;
        WaitUntil(
            [&] {
                const QImage now = Board();
                const bool same = now == last;
                last = now;
                if (same)
                    settled = now;
                return same;
            },
            BoardTimeout, 80);
        if (settled.isNull())
            Fail(QStringLiteral("the board never stopped changing"));
        return settled;
    }

    QPoint OnScreen(QPoint p) const { return board.topLeft() + p; }

    void Click(QPoint p) {
        fresh = false;
        const QPoint s = OnScreen(p);
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(s.x()), QString::number(s.y()),
                 QStringLiteral("click"), QStringLiteral("1")});
    }

    // Press, then move in steps with the button held, as a hand drags; Release lets go.
    void DragTo(QPoint from, QPoint to) {
        fresh = false;
        const QPoint a = OnScreen(from);
        const QPoint b = OnScreen(to);
        QStringList args{QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(a.x()),
                         QString::number(a.y()), QStringLiteral("mousedown"), QStringLiteral("1")};
        constexpr int steps = 8;
        for (int i = 1; i <= steps; ++i) {
            const QPoint p = a + (b - a) * i / steps;
            args << QStringLiteral("sleep") << QStringLiteral("0.03") << QStringLiteral("mousemove")
                 << QStringLiteral("--sync") << QString::number(p.x()) << QString::number(p.y());
        }
        Xdotool(args);
    }

    void Release() { Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}); }

    void Drag(QPoint from, QPoint to) {
        DragTo(from, to);
        Release();
    }

    // The main window has the keyboard, then the keys; for a shortcut or a menu by its letters.
    void Press(const QStringList& keys) {
        fresh = false;
        Focus(window);
        Keys(keys);
    }

    // A message box of the program's own beside its main window: seen (a screenshot named
    // after the step) and answered with Return.
    void DismissMessage(const QString& step) {
        QString box;
        const bool shown = WaitUntil(
            [&] {
                for (const QString& id : FindWindows(QStringLiteral("^Tarnwell$")))
                    if (id != window)
                        box = id;
                return !box.isEmpty();
            },
            WindowTimeout, 50);
        if (!shown)
            Fail(QStringLiteral("no message box at the step \"%1\"").arg(step));
        Shot(step);
        Focus(box);
        Keys({QStringLiteral("Return")});
        if (!WaitUntil([&] { return FindWindows(QStringLiteral("^Tarnwell$")).size() == 1; }, WindowTimeout, 50))
            Fail(QStringLiteral("the message box did not close at the step \"%1\"").arg(step));
    }

    // A file dialog opened by a menu command: the name typed over the proposed one, then Return.
    void ChooseFile(const QStringList& menuKeys, const QString& title, const QString& name) {
        Press(menuKeys);
        const QString dialog = WaitForWindow(QStringLiteral("^%1$").arg(title));
        Focus(dialog);
        Keys({QStringLiteral("ctrl+a")});
        Type(name);
        Shot(title);
        Keys({QStringLiteral("Return")});
        WaitForWindowGone(QStringLiteral("^%1$").arg(title));
    }
};

// ---------------------------------------------------------------- the test suite

class EndToEnd : public ::testing::Test {
protected:
    static inline std::unique_ptr<Program> program;
    // Pictures taken once and compared with later: the start screen (empty slots), the board
    // of the known position as first loaded.
    static inline QImage startBoard;
    static inline QImage knownBoard;

    static void TearDownTestSuite() {
        if (program) {
            program->Stop();
            const bool failed = ::testing::UnitTest::GetInstance()->failed_test_count() > 0;
            if (failed || qEnvironmentVariableIsSet("TARNWELL_E2E_LOG")) {
                const QString out = program->Output();
                if (!out.isEmpty())
                    std::fprintf(stderr, "--- output of the program ---\n%s\n", qPrintable(out));
            }
        }
        program.reset();
    }

    void SetUp() override {
        if (GameBinary.isEmpty())
            GTEST_SKIP() << "no program given (argument or TARNWELL_BINARY)";
        if (!program || !program->Running())
            StartProgram();
    }

    static void StartProgram() {
        if (program && program->Running())
            program->Stop();
        program = std::make_unique<Program>();
        program->Start();
        startBoard = program->Board();
    }

    Program& P() { return *program; }

    static QImage EmptySlot() { return Part(startBoard, Large.Card(Large.Pocket(1))); }

    // A column of n cards: its last card ends where a card of that many rows would, and the
    // table shows just below it. An empty column shows its slot as on the start screen.
    bool ColumnHolds(const QImage& board, int column, int n) const {
        const Geometry& g = Large;
        if (n == 0)
            return Part(board, g.Card(g.Cell(column, 0))) == EmptySlot();
        const int step = g.StepFor(n, board.height());
        const QPoint last = g.Cell(column, n - 1, step);
        return !IsTable(board, g.Centre(last)) && !IsTable(board, last + QPoint(g.w / 2, g.h - 3)) &&
               IsTable(board, last + QPoint(g.w / 2, g.h + 3));
    }

    bool PocketEmpty(const QImage& board, int pocket) const {
        return Part(board, Large.Card(Large.Pocket(pocket))) == EmptySlot();
    }

    bool ShowsKnownPosition(const QImage& board) const {
        static const int counts[8] = {1, 1, 1, 3, 1, 14, 14, 13};
        for (int c = 0; c < 8; ++c)
            if (!ColumnHolds(board, c, counts[c]))
                return false;
        return !PocketEmpty(board, 0) && PocketEmpty(board, 1) && PocketEmpty(board, 2) && PocketEmpty(board, 3);
    }

    // Writes the known position into the working folder and loads it through the file dialog.
    QImage LoadKnownPosition() {
        const QString path = P().WorkFile(QStringLiteral("known.twl"));
        if (!QFileInfo::exists(path)) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(KnownPositionXml().toUtf8()) < 0)
                Fail(QStringLiteral("cannot write %1").arg(path));
        }
        P().ChooseFile({QStringLiteral("alt+f"), QStringLiteral("l")}, QStringLiteral("Load Game"),
                       QStringLiteral("known.twl"));
        P().WaitForBoard([&](const QImage& b) { return ShowsKnownPosition(b); }, QStringLiteral("the loaded position"));
        const QImage loaded = P().SettledBoard();
        if (knownBoard.isNull())
            knownBoard = loaded;
        EXPECT_EQ(loaded, knownBoard) << "the known position looks different from its first load";
        return loaded;
    }

    // 5H onto 6H by two clicks; the board afterwards.
    QImage MoveFiveOntoSix(const QImage& before) {
        const Geometry& g = Large;
        const QImage five = Part(before, g.Card(g.Cell(0, 0)));
        P().Click(g.Centre(g.Cell(0, 0)));
        P().Click(g.Centre(g.Cell(1, 0)));
        P().WaitForBoard(
            [&](const QImage& b) {
                return Part(b, g.Card(g.Cell(1, 1))) == five && ColumnHolds(b, 0, 0) && ColumnHolds(b, 1, 2);
            },
            QStringLiteral("the 5 of hearts on the 6"));
        return P().SettledBoard();
    }

    // AS from column 2 to the empty pocket 1 by two clicks.
    QImage MoveAceHome(const QImage& before) {
        const Geometry& g = Large;
        const QImage ace = Part(before, g.Card(g.Cell(2, 0)));
        P().Click(g.Centre(g.Cell(2, 0)));
        P().Click(g.Centre(g.Pocket(1)));
        P().WaitForBoard([&](const QImage& b) { return Part(b, g.Card(g.Pocket(1))) == ace && ColumnHolds(b, 2, 0); },
                         QStringLiteral("the Ace of spades home"));
        return P().SettledBoard();
    }
};

TEST_F(EndToEnd, DealsFromTheDeckAndLoadsAKnownPosition) {
    if (!P().fresh)
        StartProgram();
    const Geometry& g = Large;
    // Without settings the window has its built-in size and place.
    EXPECT_EQ(P().frame, QRect(451, 160, 794, 603));
    // Before the first deal: the deck on pocket 0, every other place an empty slot.
    for (int c = 0; c < 8; ++c)
        EXPECT_TRUE(ColumnHolds(startBoard, c, 0)) << "column " << c << " is not empty at start";
    for (int pocket = 2; pocket < 4; ++pocket)
        EXPECT_TRUE(PocketEmpty(startBoard, pocket)) << "pocket " << pocket << " is not empty at start";

    // A click on the deck deals the staircase: 3 cards in column 0 up to 10 in column 7.
    P().Click(g.Centre(g.Pocket(0)));
    P().WaitForBoard(
        [&](const QImage& b) {
            for (int c = 0; c < 8; ++c)
                if (!ColumnHolds(b, c, c + 3))
                    return false;
            return PocketEmpty(b, 0);
        },
        QStringLiteral("a dealt game"));
    const QImage dealt = P().SettledBoard();
    Shot(QStringLiteral("dealt"));
    for (int c = 0; c < 8; ++c)
        EXPECT_TRUE(ColumnHolds(dealt, c, c + 3)) << "column " << c;
    // The start and the deal read every picture they show without loading the image plugins.
    const QStringList plugins = ImagePluginsLoaded(P().process.processId());
    EXPECT_TRUE(plugins.isEmpty()) << qPrintable(plugins.join(QLatin1String(", ")));

    const QImage loaded = LoadKnownPosition();
    Shot(QStringLiteral("known"));
    EXPECT_NE(loaded, dealt);
    // The face-down King of clubs shows the same back as the face-down cards of column 5.
    EXPECT_EQ(Part(loaded, g.Strip(g.Cell(3, 0))), Part(loaded, g.Strip(g.Cell(5, 0, g.StepFor(14, loaded.height())))));
}

TEST_F(EndToEnd, MovesADragUndoAndRestart) {
    const Geometry& g = Large;
    const QImage loaded = LoadKnownPosition();

    // 5H dropped on 10D is refused: while held it has left its column, let go it slides back.
    P().DragTo(g.Centre(g.Cell(0, 0)), g.Centre(g.Cell(4, 0)) + QPoint(0, 20));
    // On a busy machine the card may be seen on its way before it reaches the pointer.
    P().WaitForBoard(
        [&](const QImage& b) { return ColumnHolds(b, 0, 0) && !IsTable(b, g.Centre(g.Cell(4, 0)) + QPoint(0, 60)); },
        QStringLiteral("the 5 of hearts lifted off its column and following the pointer"));
    P().Release();
    P().WaitForBoard([&](const QImage& b) { return b == loaded; }, QStringLiteral("the refused card back in place"));

    const QImage afterFive = MoveFiveOntoSix(loaded);
    const QImage beforeDrag = MoveAceHome(afterFive);
    EXPECT_TRUE(ColumnHolds(beforeDrag, 0, 0));

    // 9D with 8D below it dragged onto 10D; the King of clubs left behind turns face up.
    const QImage kingBack = Part(beforeDrag, g.Strip(g.Cell(3, 0)));
    const QImage nine = Part(beforeDrag, g.Strip(g.Cell(3, 1)));
    const QImage eight = Part(beforeDrag, g.Card(g.Cell(3, 2)));
    P().Drag(g.Cell(3, 1) + QPoint(g.w / 2, g.rowStep / 2), g.Centre(g.Cell(4, 0)));
    P().WaitForBoard(
        [&](const QImage& b) {
            return Part(b, g.Strip(g.Cell(4, 1))) == nine && Part(b, g.Card(g.Cell(4, 2))) == eight &&
                   ColumnHolds(b, 3, 1) && ColumnHolds(b, 4, 3) && Part(b, g.Strip(g.Cell(3, 0))) != kingBack;
        },
        QStringLiteral("the run of diamonds on the 10 and the King face up"));
    EXPECT_NE(Part(P().SettledBoard(), g.Strip(g.Cell(3, 0))), kingBack);
    Shot(QStringLiteral("dragged"));

    // Undo puts the run back and the King face down again: the board as before the drag.
    P().Press({QStringLiteral("ctrl+z")});
    P().WaitForBoard([&](const QImage& b) { return b == beforeDrag; }, QStringLiteral("the board before the drag"));

    // Restart, confirmed in its dialog, lays out the loaded position again.
    P().Press({QStringLiteral("r")});
    const QString question = WaitForWindow(QStringLiteral("^Restart$"));
    Shot(QStringLiteral("restart"));
    Focus(question);
    Keys({QStringLiteral("Return")});
    WaitForWindowGone(QStringLiteral("^Restart$"));
    P().WaitForBoard([&](const QImage& b) { return b == loaded; }, QStringLiteral("the restarted position"));
}

TEST_F(EndToEnd, SavesAndReloadsFromTheRecentFiles) {
    const QImage loaded = LoadKnownPosition();
    const QImage afterFive = MoveFiveOntoSix(loaded);

    const QString saved = P().WorkFile(QStringLiteral("saved.twl"));
    QFile::remove(saved);
    P().ChooseFile({QStringLiteral("alt+f"), QStringLiteral("s")}, QStringLiteral("Save Game"),
                   QStringLiteral("saved.twl"));
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(saved).size() > 0; }, BoardTimeout))
        << "no file " << qPrintable(saved);
    const QByteArray text = FileBytes(saved);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\s*(<\\?xml[^>]*\\?>\\s*)?<TarnwellXML[\\s>]"))
                    .match(QString::fromUtf8(text))
                    .hasMatch())
        << text.left(200).constData();
    // The file holds the board on the table: 5H below 6H, column 0 empty, one move made.
    const SavedGame game = ReadSavedGame(saved);
    EXPECT_EQ(game.root, QStringLiteral("TarnwellXML"));
    EXPECT_EQ(game.pockets[0], FourHearts);
    EXPECT_TRUE(game.columns[0].empty());
    EXPECT_EQ(game.columns[1], (std::vector<int>{SixHearts, FiveHearts}));
    EXPECT_EQ(game.columns[3], (std::vector<int>{KingClubs, NineDiamonds, EightDiamonds}));
    EXPECT_EQ(game.cardCounter, 48);
    EXPECT_EQ(game.moveCount, 1);

    // Saving and loading put the files on the recent list, newest first.
    QSettings ini(P().IniPath(), QSettings::IniFormat);
    EXPECT_EQ(QFileInfo(ini.value(QStringLiteral("History/Path0")).toString()).canonicalFilePath(),
              QFileInfo(saved).canonicalFilePath());
    EXPECT_EQ(QFileInfo(ini.value(QStringLiteral("History/Path1")).toString()).fileName(), QStringLiteral("known.twl"));

    // Another move, then the first recent entry: the saved board comes back.
    const QImage afterAce = MoveAceHome(afterFive);
    Shot(QStringLiteral("ace-home"));
    EXPECT_NE(afterAce, afterFive);
    const QStringList historyBefore = IniSection(P().IniPath(), QStringLiteral("History"));
    P().Press({QStringLiteral("alt+f"), QStringLiteral("r"), QStringLiteral("1")});
    P().WaitForBoard([&](const QImage& b) { return b == afterFive; }, QStringLiteral("the reloaded board"));
    // Reopening a recent file leaves the list as it was (the game it replaced goes to the
    // statistics as given up).
    EXPECT_EQ(IniSection(P().IniPath(), QStringLiteral("History")), historyBefore);
    QSettings ini2(P().IniPath(), QSettings::IniFormat);
    EXPECT_GE(ini2.value(QStringLiteral("Statistics/Played")).toInt(), 1);
}

TEST_F(EndToEnd, ADamagedFileIsRefusedAndLosesNothing) {
    const QImage loaded = LoadKnownPosition();
    const QImage afterFive = MoveFiveOntoSix(loaded);

    // A saved game cut off half-way, as a full disk leaves it.
    const QString damaged = P().WorkFile(QStringLiteral("damaged.twl"));
    const QByteArray xml = KnownPositionXml().toUtf8();
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xml.left(xml.size() / 2));
    }
    const QByteArray iniBefore = FileBytes(P().IniPath());
    P().ChooseFile({QStringLiteral("alt+f"), QStringLiteral("l")}, QStringLiteral("Load Game"),
                   QStringLiteral("damaged.twl"));

    // The refusal is a message box of the program's own, besides its main window.
    P().DismissMessage(QStringLiteral("damaged"));

    // The game on the table, the file and the recent list are as they were.
    EXPECT_EQ(P().SettledBoard(), afterFive);
    EXPECT_EQ(FileBytes(damaged), xml.left(xml.size() / 2));
    EXPECT_EQ(FileBytes(P().IniPath()), iniBefore);
    // And the game goes on.
    MoveAceHome(afterFive);
}

TEST_F(EndToEnd, ATinyWindowLosesNothing) {
    const QImage loaded = LoadKnownPosition();
    const QRect before = P().frame;
    // Smaller than a card, smaller than the strips, then back: the game is laid out again as it
    // was. The window may keep a least size of its own, so the wait is for any change.
    QRect shown = before;
    for (const QSize size : {QSize(150, 100), QSize(60, 40), before.size()}) {
        Xdotool({QStringLiteral("windowsize"), P().window, QString::number(size.width()),
                 QString::number(size.height())});
        WaitUntil(
            [&] {
                const QRect now = WindowGeometry(P().window);
                const bool changed = now != shown;
                shown = now;
                return changed;
            },
            2000, 50);
        Shot(QStringLiteral("tiny-%1").arg(size.width()));
        ASSERT_TRUE(P().Running()) << "the program ended at a window of " << size.width() << "x" << size.height();
    }
    P().Locate();
    EXPECT_EQ(P().frame, before);
    P().WaitForBoard([&](const QImage& b) { return b == loaded; }, QStringLiteral("the board at its size again"));
}

TEST_F(EndToEnd, CardBackAndSizeAreSavedAsDefaults) {
    const Geometry& g = Large;
    const QImage loaded = LoadKnownPosition();
    const QImage back = Part(loaded, g.Strip(g.Cell(3, 0)));

    // Cancel leaves the back as it is.
    P().Press({QStringLiteral("alt+o"), QStringLiteral("c")});
    QString dialog = WaitForWindow(QStringLiteral("^Select Card Backs$"));
    Focus(dialog);
    Keys({QStringLiteral("Down"), QStringLiteral("Escape")});
    WaitForWindowGone(QStringLiteral("^Select Card Backs$"));
    EXPECT_EQ(P().SettledBoard(), loaded);

    // The next back with OK: face-down cards change, face-up ones do not.
    P().Press({QStringLiteral("alt+o"), QStringLiteral("c")});
    dialog = WaitForWindow(QStringLiteral("^Select Card Backs$"));
    Focus(dialog);
    Keys({QStringLiteral("Down"), QStringLiteral("Return")});
    WaitForWindowGone(QStringLiteral("^Select Card Backs$"));
    const QImage newBack = P().WaitForBoard(
        [&](const QImage& b) {
            const QImage strip = Part(b, g.Strip(g.Cell(3, 0)));
            return strip != back && !IsTable(b, g.Cell(3, 0) + QPoint(g.w / 2, g.rowStep / 2));
        },
        QStringLiteral("another card back"));
    Shot(QStringLiteral("back"));
    EXPECT_EQ(Part(newBack, g.Card(g.Cell(0, 0))), Part(loaded, g.Card(g.Cell(0, 0))));
    EXPECT_EQ(Part(newBack, g.Card(g.Pocket(0))), Part(loaded, g.Card(g.Pocket(0))));

    // Small cards: pockets and columns move to the small geometry.
    auto showsGeometry = [](const QImage& b, const Geometry& k) {
        if (IsTable(b, k.Centre(k.Pocket(0))) || !IsTable(b, k.Pocket(0) + QPoint(k.w / 2, k.h + k.pocketGap / 2)))
            return false;
        for (int c = 0; c < 8; ++c) {
            const QPoint top = k.Cell(c, 0) + QPoint(0, 8);
            if (IsTable(b, top + QPoint(k.w / 2, 0)) || !IsTable(b, top + QPoint(k.w + k.columnGap / 2, 0)))
                return false;
        }
        return true;
    };
    EXPECT_TRUE(showsGeometry(loaded, Large));
    EXPECT_FALSE(showsGeometry(loaded, Small));
    P().Press({QStringLiteral("alt+o"), QStringLiteral("s")});
    const QImage small = P().WaitForBoard([&](const QImage& b) { return showsGeometry(b, Small); },
                                          QStringLiteral("the small card layout"));
    Shot(QStringLiteral("small"));
    EXPECT_FALSE(showsGeometry(small, Large));

    // "Save Defaults" shares its letter with "Disable Sound": the second D is the one.
    const QFileInfo iniInfo(P().IniPath());
    P().Press({QStringLiteral("alt+o"), QStringLiteral("d"), QStringLiteral("d"), QStringLiteral("Return")});
    ASSERT_TRUE(WaitUntil(
        [&] {
            QSettings ini(P().IniPath(), QSettings::IniFormat);
            return ini.contains(QStringLiteral("Display/CardBack"));
        },
        BoardTimeout))
        << "Save Defaults wrote nothing to " << qPrintable(P().IniPath());
    QSettings ini(P().IniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Display/CardBack")).toString(), QStringLiteral("6"));
    EXPECT_EQ(ini.value(QStringLiteral("Display/SmallCards")).toString(), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("Layout/ScreenWidth")).toInt(), P().frame.width());
    EXPECT_EQ(ini.value(QStringLiteral("Layout/ScreenHeight")).toInt(), P().frame.height());
    EXPECT_EQ(ini.value(QStringLiteral("Layout/PositionX")).toInt(), P().frame.left());
    EXPECT_EQ(ini.value(QStringLiteral("Layout/PositionY")).toInt(), P().frame.top());
    EXPECT_EQ(ini.value(QStringLiteral("Sound/Disable")).toString(), QStringLiteral("0"));
    // The recent files written before stay.
    EXPECT_GE(ini.value(QStringLiteral("History/Count")).toInt(), 1);

    // Factory defaults: the first back, large cards, the window centred; the file keeps what
    // was saved.
    const QByteArray saved = FileBytes(P().IniPath());
    const QRect before = P().frame;
    P().Press({QStringLiteral("alt+o"), QStringLiteral("f")});
    ASSERT_TRUE(WaitUntil([&] { return WindowGeometry(P().window) != before; }, WindowTimeout, 50))
        << "the window stayed where it was";
    P().Locate();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(P().frame.size(), QSize(794, 603));
    EXPECT_LE(std::abs(P().frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(P().frame.center().y() - screen.center().y()), 1);
    P().WaitForBoard([&](const QImage& b) { return b == loaded; }, QStringLiteral("the factory back and card size"));
    EXPECT_EQ(FileBytes(P().IniPath()), saved);
}

TEST_F(EndToEnd, TopScoresAndHelpOpenTheirWindows) {
    P().Press({QStringLiteral("alt+v"), QStringLiteral("t")});
    const QString scores = WaitForWindow(QStringLiteral("^Top Scores$"));
    Shot(QStringLiteral("scores"));
    ExpectCloseBoxOnly(scores, "Top Scores");
    // The main window keeps its minimise and maximise buttons.
    const long mainFunctions = ReadMotifHints(P().window).functions;
    EXPECT_TRUE(mainFunctions > 0 && (mainFunctions & 0x18) == 0x18) << mainFunctions;
    Focus(scores);
    Keys({QStringLiteral("Escape")});
    WaitForWindowGone(QStringLiteral("^Top Scores$"));

    // A help viewer, not a message box that says there is none.
    P().Press({QStringLiteral("alt+h"), QStringLiteral("c")});
    const QString help = WaitForWindow(QStringLiteral("Help"));
    Shot(QStringLiteral("help"));
    const QRect r = WindowGeometry(help);
    EXPECT_GE(r.width(), 400);
    EXPECT_GE(r.height(), 300);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(r))
        << "the help window lies off the screen at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    // Escape closes it; with no window manager it would otherwise stay over the board.
    Focus(help);
    Keys({QStringLiteral("Escape")});
    WaitForWindowGone(QStringLiteral("Help"));

    // The other kinds of modal window: a dialog of the game's own, and a prompt.
    const std::pair<QStringList, QString> others[] = {
        {{QStringLiteral("alt+h"), QStringLiteral("a")}, QStringLiteral("^About Tarnwell$")},
        {{QStringLiteral("alt+g"), QStringLiteral("n")}, QStringLiteral("^Deal Number$")},
    };
    for (const auto& [keys, title] : others) {
        P().Press(keys);
        const QString id = WaitForWindow(title);
        ExpectCloseBoxOnly(id, qPrintable(title));
        Focus(id);
        Keys({QStringLiteral("Escape")});
        WaitForWindowGone(title);
    }
}

TEST_F(EndToEnd, AGameLeftOnTheTableIsThereAtTheNextStart) {
    // A program of its own, with no preferences saved by the tests before.
    StartProgram();
    const QImage afterFive = MoveFiveOntoSix(LoadKnownPosition());
    const QByteArray iniBefore = FileBytes(P().IniPath());
    P().Press({QStringLiteral("alt+f"), QStringLiteral("e")});
    ASSERT_TRUE(P().process.waitForFinished(WindowTimeout)) << "the program did not end";
    EXPECT_TRUE(QFileInfo::exists(P().config.filePath(QStringLiteral("data/Tarnwell/Resume.twl"))));
    EXPECT_EQ(FileBytes(P().IniPath()), iniBefore) << "keeping the game writes nothing to the settings file";
    // Started again with the same folders (and the window where it was saved): the same game,
    // and it goes on.
    P().Start();
    const Geometry& g = Large;
    const QImage five = Part(afterFive, g.Card(g.Cell(1, 1)));
    const QImage resumed = P().WaitForBoard(
        [&](const QImage& b) {
            return Part(b, g.Card(g.Cell(1, 1))) == five && ColumnHolds(b, 0, 0) && ColumnHolds(b, 1, 2) &&
                   !PocketEmpty(b, 0) && PocketEmpty(b, 1);
        },
        QStringLiteral("the game as it was left"));
    MoveAceHome(resumed);
}

TEST_F(EndToEnd, PlaysByKeysAlone) {
    const Geometry& g = Large;
    const QImage loaded = LoadKnownPosition();
    // The keyboard cursor: a cyan frame 5 pixels outside the place it rests on.
    const QRgb cursorCyan = qRgb(0, 220, 255);
    auto framed = [&](const QImage& b, QPoint place) {
        return b.pixel(place + QPoint(-5, 20)) == cursorCyan && b.pixel(place + QPoint(-6, 20)) == cursorCyan;
    };

    // The board kept the keyboard through the file dialog. Home is the first column: the 5 of
    // hearts, chosen with Space and put on the 6 with Right and Space.
    const QImage five = Part(loaded, g.Card(g.Cell(0, 0)));
    P().Press({QStringLiteral("Home"), QStringLiteral("space"), QStringLiteral("Right"), QStringLiteral("space")});
    P().WaitForBoard(
        [&](const QImage& b) {
            return Part(b, g.Card(g.Cell(1, 1))) == five && ColumnHolds(b, 0, 0) && framed(b, g.Cell(1, 1));
        },
        QStringLiteral("the 5 of hearts on the 6, with the cursor on it"));
    Shot(QStringLiteral("keys-five"));

    // The Ace of spades home: chosen, and Space again on its own column.
    const QImage ace = Part(loaded, g.Card(g.Cell(2, 0)));
    P().Press({QStringLiteral("Right"), QStringLiteral("space"), QStringLiteral("space")});
    P().WaitForBoard(
        [&](const QImage& b) {
            return Part(b, g.Card(g.Pocket(1))) == ace && ColumnHolds(b, 2, 0) && framed(b, g.Pocket(1));
        },
        QStringLiteral("the Ace of spades home, with the cursor on its pocket"));

    // The 9 and 8 of diamonds onto the 10: Up reaches the 9 above the 8; the King of clubs
    // left behind turns face up.
    const QImage before = P().SettledBoard();
    const QImage kingBack = Part(before, g.Strip(g.Cell(3, 0)));
    const QImage nine = Part(before, g.Strip(g.Cell(3, 1)));
    const QImage eight = Part(before, g.Card(g.Cell(3, 2)));
    P().Press({QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("Right"),
               QStringLiteral("Up"), QStringLiteral("space"), QStringLiteral("Right"), QStringLiteral("space")});
    P().WaitForBoard(
        [&](const QImage& b) {
            return Part(b, g.Strip(g.Cell(4, 1))) == nine && Part(b, g.Card(g.Cell(4, 2))) == eight &&
                   ColumnHolds(b, 3, 1) && ColumnHolds(b, 4, 3) && Part(b, g.Strip(g.Cell(3, 0))) != kingBack &&
                   framed(b, g.Cell(4, 1));
        },
        QStringLiteral("the run of diamonds on the 10 by keys"));
    Shot(QStringLiteral("keys-run"));

    // Ctrl+S asks where to save; Escape leaves the dialog.
    P().Press({QStringLiteral("ctrl+s")});
    const QString dialog = WaitForWindow(QStringLiteral("^Save Game$"));
    Focus(dialog);
    Keys({QStringLiteral("Escape")});
    WaitForWindowGone(QStringLiteral("^Save Game$"));

    // A mouse press hides the cursor again.
    P().Click(QPoint(P().board.width() - 8, P().board.height() - 8));
    P().WaitForBoard([&](const QImage& b) { return !framed(b, g.Cell(4, 1)); }, QStringLiteral("the cursor hidden"));
}

TEST_F(EndToEnd, ExitEndsTheProgramAndWritesNothing) {
    const QByteArray iniBefore = FileBytes(P().IniPath());
    const QDateTime modifiedBefore = QFileInfo(P().IniPath()).lastModified();
    P().Press({QStringLiteral("alt+f"), QStringLiteral("e")});
    ASSERT_TRUE(P().process.waitForFinished(WindowTimeout)) << "the program did not end";
    EXPECT_EQ(P().process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(P().process.exitCode(), 0);
    EXPECT_EQ(FileBytes(P().IniPath()), iniBefore);
    EXPECT_EQ(QFileInfo(P().IniPath()).lastModified(), modifiedBefore);
}

// Magnified twice, the screen has half its pixels to offer: the window's built-in size does not
// fit, and the window must still open wholly on the screen. Runs after the suite above has
// closed its program, so the one window called Tarnwell is this one's.
TEST(EndToEndScreen, AMagnifiedWindowOpensWhollyOnTheScreen) {
    if (GameBinary.isEmpty())
        GTEST_SKIP() << "no program given (argument or TARNWELL_BINARY)";
    QTemporaryDir config;
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), config.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    env.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(config.path());
    game.setProcessChannelMode(QProcess::MergedChannels);
    game.setStandardOutputFile(config.filePath(QStringLiteral("tarnwell.log")));
    game.start(GameBinary, {});
    ASSERT_TRUE(game.waitForStarted(WindowTimeout)) << game.errorString().toStdString();
    QRect frame;
    try {
        frame = WindowGeometry(WaitForWindow(QStringLiteral("^Tarnwell$")));
    } catch (const StepFailed& e) {
        ADD_FAILURE() << e.what();
    }
    game.kill();
    game.waitForFinished(5000);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.width() << "x" << frame.height() << " at " << frame.x() << ","
                                        << frame.y() << " on a screen of " << screen.width() << "x"
                                        << screen.height();
    EXPECT_GE(frame.width(), screen.width() / 2) << "the window should use the room it has";
}

} // namespace

TEST_F(EndToEnd, OpensASavedGameNamedOnTheCommandLine) {
    // As a double-click in a file manager starts it: "tarnwell FILE.twl".
    program = std::make_unique<Program>();
    {
        QFile file(P().WorkFile(QStringLiteral("known.twl")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(KnownPositionXml().toUtf8());
    }
    P().Start({QStringLiteral("known.twl")});
    P().fresh = false;
    P().WaitForBoard([&](const QImage& b) { return ShowsKnownPosition(b); }, QStringLiteral("the opened game"));
    // Like a load from the file dialog, the file goes to the top of the recent files.
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(P().IniPath()); }, WindowTimeout));
    QSettings ini(P().IniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("History/Path0")).toString(), P().WorkFile(QStringLiteral("known.twl")));
    MoveFiveOntoSix(P().SettledBoard());

    // A file that is no saved game: the load's message, then an empty table.
    program = std::make_unique<Program>();
    {
        QFile file(P().WorkFile(QStringLiteral("junk.twl")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("no game in here");
    }
    P().Start({QStringLiteral("junk.twl")});
    P().fresh = false;
    P().DismissMessage(QStringLiteral("junk-opened"));
    EXPECT_EQ(P().SettledBoard(), startBoard);
    EXPECT_FALSE(QFileInfo::exists(P().IniPath())) << "a file that did not load is not remembered";
    P().Stop();
}

int main(int argc, char** argv) {
    // The screen is grabbed from the X server the program runs on, never from an offscreen one.
    qputenv("QT_QPA_PLATFORM", "xcb");
    ::testing::InitGoogleTest(&argc, argv);
    const QString given = argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("TARNWELL_BINARY");
    // The program runs in a folder of its own, so a relative path is taken from here.
    if (!given.isEmpty())
        GameBinary = QFileInfo(given).absoluteFilePath();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "No X display: run this under run-under-xvfb.sh\n");
        return 77;
    }
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

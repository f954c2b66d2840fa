// The help: the routing of help commands to the compiled-help viewer, the help-file rules, and
// the real help file the build compiles beside the program.
#include "KestrelObjects/ChmHelper.h"
#include "KestrelObjects/THelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

namespace {

// The build puts the help beside the program; the tests live in a sibling folder.
QString BuiltHelpFolder() { return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../app"); }

bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done();
}

bool ShowsTopic(THelpWindow* window, const QString& topic) {
    return window && WaitFor([&] { return window->CurrentTopic() == topic; });
}

// A help system with the helper installed, reading the help the build made; every message the
// player would see is collected instead of shown.
struct HelpSystem : ::testing::Test {
    QWidget mainWindow;
    THelpManager manager;
    std::unique_ptr<TCHMHelper> helper;
    QStringList messages;

    void SetUp() override {
        manager.MainWindow = &mainWindow;
        manager.ShowMessage = [this](QWidget*, const QString& text) { messages << text; };
        manager.HelpFile = QStringLiteral("tarnwell.qch");
        helper = std::make_unique<TCHMHelper>(manager);
        Help().ShowMessage = [this](QWidget*, const QString& text) { messages << text; };
        Help().SearchPath = {BuiltHelpFolder()};
        ASSERT_TRUE(QFile::exists(BuiltHelpFolder() + "/tarnwell.qch")) << "the build did not compile the help";
    }
    void TearDown() override { helper.reset(); }

    THTMLHelpViewer& Viewer() { return helper->Viewer(); }
    TCompiledHelp& Help() { return helper->Viewer().CompiledHelp(); }
    THelpWindow* Window() { return Help().Window(QStringLiteral("tarnwell.qch")); }
};

const QList<std::pair<QString, QString>> ExpectedContents = {
    {"Tarnwell Help", "intro.htm"},
    {"How to play", "howtoplay.htm"},
    {"Moving cards", "moves.htm"},
    {"The home pockets", "home.htm"},
    {"Winning, and when you are stuck", "gameend.htm"},
    {"Hints and possible moves", "hints.htm"},
    {"The solver", "solver.htm"},
    {"Undo and restart", "undo.htm"},
    {"Scoring", "scoring.htm"},
    {"The game clock", "clock.htm"},
    {"Top scores", "topscores.htm"},
    {"Statistics", "statistics.htm"},
    {"Saving and loading games", "saving.htm"},
    {"Card backs and card sizes", "cards.htm"},
    {"Sound", "sound.htm"},
    {"Settings", "settings.htm"},
    {"The game window", "window.htm"},
    {"Keyboard and mouse", "keys.htm"},
    {"Playing with the keyboard", "keyboard.htm"},
};

} // namespace

TEST(HelpCommands, EachApplicationCommandMapsToItsCompiledHelpCommand) {
    const struct {
        uint16_t command;
        QVariant data;
        CompiledHelpCall expected;
    } rows[] = {
        {HELP_CONTEXT, 70, {HH_HELP_CONTEXT, 70}},
        {HELP_CONTEXTPOPUP, 8, {HH_HELP_CONTEXT, 8}},
        {HELP_QUIT, 99, {HH_CLOSE_ALL, 0}},
        {HELP_CONTENTS, 99, {HH_DISPLAY_TOC, 0}},
        {HELP_FINDER, QStringLiteral("scoring.htm"), {HH_DISPLAY_TOPIC, QStringLiteral("scoring.htm")}},
        {HELP_KEY, QStringLiteral("Score"), {HH_DISPLAY_INDEX, QStringLiteral("Score")}},
        {0, 5, {HH_DISPLAY_TOPIC, 0}},
        {4, QStringLiteral("x"), {HH_DISPLAY_TOPIC, 0}},
        {258, 5, {HH_DISPLAY_TOPIC, 0}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MapHelpCommand(row.command, row.data), row.expected) << "help command " << row.command;
}

TEST(HelpFiles, ExtensionDecidesCompiledOrPlainHelpInAnyLetterCase) {
    const struct {
        const char* file;
        bool compiled;
        bool plain;
    } rows[] = {
        {"GAME.QCH", true, false},      {"tarnwell.qch", true, false},  {"/usr/share/t/Help.Qch", true, false},
        {"game.hlp", false, true},      {"GAME.HLP", false, true},      {"tarnwell.html", false, false},
        {"qch", false, false},          {"notes.qch.bak", false, false}, {"/data.qch/readme", false, false},
        {"", false, false},
    };
    TWinHelpMakeBehave tester;
    for (const auto& row : rows) {
        const QString file = QString::fromLatin1(row.file);
        EXPECT_EQ(IsCompiledHelpFile(file), row.compiled) << row.file;
        EXPECT_EQ(IsPlainHelpFile(file), row.plain) << row.file;
        EXPECT_EQ(tester.CanShowTopic("intro", file), row.plain) << row.file;
        EXPECT_EQ(tester.CanShowALink("link", file), row.plain) << row.file;
        EXPECT_EQ(tester.CanShowContext(1, file), row.plain) << row.file;
    }
    EXPECT_TRUE(tester.GetHelpStrings("link").isEmpty());
    EXPECT_TRUE(tester.GetHelpPath().isEmpty());
    EXPECT_TRUE(tester.GetDefaultHelpFile().isEmpty());
}

TEST(HelpFiles, ViewerAnswersOnlyForCompiledHelp) {
    THelpManager manager;
    TCHMHelper helper(manager);
    THTMLHelpViewer& viewer = helper.Viewer();
    EXPECT_EQ(viewer.GetViewerName(), "HTMLHelp Viewer");
    EXPECT_EQ(viewer.HelpManager, &manager);
    EXPECT_EQ(manager.ViewerCount(), 1);

    manager.HelpFile = "GAME.QCH";
    EXPECT_EQ(viewer.UnderstandsKeyword("Score"), 1);
    EXPECT_EQ(viewer.GetHelpStrings("Score"), QStringList{"Score"});
    EXPECT_TRUE(viewer.CanShowTableOfContents());
    EXPECT_TRUE(viewer.UnderstandsTopic("intro.htm"));
    EXPECT_TRUE(viewer.UnderstandsContext(1, "GAME.QCH"));

    manager.HelpFile = "game.hlp";
    EXPECT_EQ(viewer.UnderstandsKeyword("Score"), 0);
    EXPECT_TRUE(viewer.GetHelpStrings("Score").isEmpty());
    EXPECT_FALSE(viewer.CanShowTableOfContents());
    EXPECT_FALSE(viewer.UnderstandsTopic("intro.htm"));
    EXPECT_FALSE(viewer.UnderstandsContext(1, "game.hlp"));
    ASSERT_NE(manager.WinHelpTester(), nullptr);
    EXPECT_TRUE(manager.WinHelpTester()->CanShowTopic("", "game.hlp"));
}

TEST(HelpFiles, WithoutTheHelperPlainHelpIsExplainedNotShown) {
    THelpManager manager;
    QStringList messages;
    manager.ShowMessage = [&](QWidget*, const QString& text) { messages << text; };
    manager.SetWinHelpTester(std::make_shared<TWinHelpMakeBehave>());
    manager.HelpFile = "GAME.HLP";
    EXPECT_FALSE(manager.HelpCommand(HELP_CONTENTS));
    manager.HelpFile = "manual.pdf";
    EXPECT_FALSE(manager.HelpCommand(HELP_CONTEXT, 3));
    manager.HelpFile.clear();
    EXPECT_FALSE(manager.HelpCommand(HELP_KEY, QStringLiteral("Score")));
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[0].contains("GAME.HLP") && messages[0].contains("plain help")) << messages[0].toStdString();
    EXPECT_TRUE(messages[1].contains("No help viewer") && messages[1].contains("manual.pdf")) << messages[1].toStdString();
    EXPECT_EQ(messages[2], "This program has no help file.");
}

TEST(HelpFiles, BareNamesAreLookedForInTheSearchPathInOrder) {
    const QStringList standard = TCompiledHelp::DefaultSearchPath();
    ASSERT_FALSE(standard.isEmpty());
    EXPECT_EQ(standard.first(), QCoreApplication::applicationDirPath()) << "beside the program first";
    EXPECT_TRUE(standard.contains(QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/tarnwell")));

    QTemporaryDir first, second;
    QFile inSecond(second.filePath("tarnwell.qch"));
    ASSERT_TRUE(inSecond.open(QIODevice::WriteOnly));
    inSecond.close();
    TCompiledHelp help;
    help.SearchPath = {first.path(), second.path()};
    EXPECT_EQ(help.LocateHelpFile("tarnwell.qch"), second.filePath("tarnwell.qch"));
    QFile inFirst(first.filePath("tarnwell.qch"));
    ASSERT_TRUE(inFirst.open(QIODevice::WriteOnly));
    inFirst.close();
    EXPECT_EQ(help.LocateHelpFile("tarnwell.qch"), first.filePath("tarnwell.qch"));
    EXPECT_TRUE(help.LocateHelpFile("other.qch").isEmpty());
    // A name with a folder is not looked for elsewhere.
    EXPECT_EQ(help.LocateHelpFile(second.filePath("tarnwell.qch")), second.filePath("tarnwell.qch"));
    EXPECT_TRUE(help.LocateHelpFile(second.filePath("sub/tarnwell.qch")).isEmpty());
    EXPECT_TRUE(help.LocateHelpFile(second.path()).isEmpty()) << "a folder is no help file";
}

TEST(HelpFiles, HelpBelongsToTheWindowWithTheKeyboardFocus) {
    QWidget fallback;
    EXPECT_EQ(TCHMHelper::OwnerWindow(&fallback), &fallback);
    QWidget dialog;
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    field->setFocus();
    if (!QTest::qWaitForWindowActive(&dialog))
        GTEST_SKIP() << "this platform cannot activate windows";
    EXPECT_EQ(TCHMHelper::OwnerWindow(&fallback), &dialog);
}

TEST(HelpTopics, AddressesUseTheDoubleColonSlashRule) {
    EXPECT_EQ(TopicAddress("tarnwell.qch", "intro.htm"), "tarnwell.qch::/intro.htm");
    EXPECT_EQ(TopicAddress("tarnwell.qch", "/intro.htm"), "tarnwell.qch::/intro.htm");
    EXPECT_EQ(TopicAddress("tarnwell.qch", ""), "tarnwell.qch");
    EXPECT_EQ(TopicAddress("/usr/share/tarnwell/tarnwell.qch", "scoring.htm#bonus"),
              "/usr/share/tarnwell/tarnwell.qch::/scoring.htm#bonus");

    const TopicAddressParts parts = SplitTopicAddress("tarnwell.qch::/intro.htm");
    EXPECT_EQ(parts.File, "tarnwell.qch");
    EXPECT_EQ(parts.Topic, "intro.htm");
    EXPECT_EQ(SplitTopicAddress("tarnwell.qch::intro.htm").Topic, "intro.htm");
    EXPECT_EQ(SplitTopicAddress("tarnwell.qch").File, "tarnwell.qch");
    EXPECT_TRUE(SplitTopicAddress("tarnwell.qch").Topic.isEmpty());
}

TEST_F(HelpSystem, HandlerPassesEveryCommandMappedWithTheApplicationsHelpFile) {
    const struct {
        uint16_t command;
        QVariant data;
        uint32_t expected;
        QVariant expectedData;
    } rows[] = {
        {HELP_CONTENTS, 0, HH_DISPLAY_TOC, 0},
        {HELP_CONTEXT, 70, HH_HELP_CONTEXT, 70},
        {HELP_CONTEXTPOPUP, 30, HH_HELP_CONTEXT, 30},
        {HELP_KEY, QStringLiteral("Score"), HH_DISPLAY_INDEX, QStringLiteral("Score")},
        {HELP_FINDER, 0, HH_DISPLAY_TOPIC, 0},
        {6, 12, HH_DISPLAY_TOPIC, 0},
        {HELP_QUIT, 5, HH_CLOSE_ALL, 0},
    };
    int calls = 0;
    for (const auto& row : rows) {
        EXPECT_TRUE(manager.HelpCommand(row.command, row.data)) << row.command;
        ASSERT_TRUE(Viewer().LastCall().has_value());
        EXPECT_EQ(Viewer().CallCount(), ++calls);
        const auto& call = *Viewer().LastCall();
        EXPECT_EQ(call.Command, row.expected) << row.command;
        EXPECT_EQ(call.Data, row.expectedData) << row.command;
        EXPECT_EQ(call.File, "tarnwell.qch");
        // Before any help window opens no control has the focus: help belongs to the main window.
        if (calls == 1) {
            EXPECT_EQ(call.Owner.data(), &mainWindow);
        }
        EXPECT_NE(call.Owner.data(), nullptr);
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    // Quit closed the window the other commands had opened.
    EXPECT_TRUE(Help().Windows().isEmpty());
}

TEST_F(HelpSystem, ContentsOfTheRealHelpFileListEveryTopicAndOpenOnTheIntroduction) {
    ASSERT_TRUE(manager.HelpCommand(HELP_CONTENTS));
    THelpWindow* window = Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Tabs()->currentWidget(), static_cast<QWidget*>(window->ContentsView()));
    ASSERT_TRUE(WaitFor([&] { return window->ContentsReady(); }));
    EXPECT_EQ(window->ContentsEntries(), ExpectedContents);
    EXPECT_TRUE(ShowsTopic(window, "intro.htm"));
    EXPECT_EQ(window->windowTitle(), "Tarnwell Help");

    // Every topic is there under its title, and everything it links to or shows is in the file.
    const QRegularExpression reference(R"re((?:href|src)="([^"#]+)(?:#[^"]*)?")re");
    for (const auto& [title, topic] : ExpectedContents) {
        ASSERT_TRUE(window->ShowTopic(topic)) << topic.toStdString();
        EXPECT_EQ(window->CurrentTopic(), topic);
        EXPECT_EQ(window->Page()->documentTitle(), title);
        const QString html = QString::fromUtf8(window->Engine()->fileData(window->TopicUrl(topic)));
        for (auto match = reference.globalMatch(html); match.hasNext();) {
            const QString target = match.next().captured(1);
            EXPECT_TRUE(window->HasTopic(target)) << topic.toStdString() << " refers to " << target.toStdString();
        }
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(HelpSystem, TopicsWithAndWithoutLeadingSlashOpenTheSamePage) {
    Viewer().DisplayTopic("scoring.htm");
    EXPECT_EQ(Viewer().LastCall()->File, "tarnwell.qch::/scoring.htm");
    EXPECT_EQ(Viewer().LastCall()->Command, HH_DISPLAY_TOPIC);
    EXPECT_TRUE(ShowsTopic(Window(), "scoring.htm"));

    Viewer().DisplayTopic("/intro.htm");
    EXPECT_EQ(Viewer().LastCall()->File, "tarnwell.qch::/intro.htm");
    EXPECT_TRUE(ShowsTopic(Window(), "intro.htm"));

    Viewer().DisplayTopic("intro.htm");
    EXPECT_EQ(Viewer().LastCall()->File, "tarnwell.qch::/intro.htm");
    EXPECT_TRUE(ShowsTopic(Window(), "intro.htm"));
    EXPECT_EQ(Help().Windows().size(), 1);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    // A topic the file does not have, or one outside it, leaves the page and says so.
    Viewer().DisplayTopic("nowhere.htm");
    Viewer().DisplayTopic("../org.other/secret.htm");
    EXPECT_EQ(Window()->CurrentTopic(), "intro.htm");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "The help file \"tarnwell.qch\" has no topic \"nowhere.htm\".");
}

TEST_F(HelpSystem, ContextNumbersKeywordsAndTheIndexReachTheirTopics) {
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTEXT, 70));
    EXPECT_TRUE(ShowsTopic(Window(), "scoring.htm"));
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTEXTPOPUP, 60));
    EXPECT_TRUE(ShowsTopic(Window(), "undo.htm"));

    Viewer().ShowHelp("Cards must be in sequence");
    EXPECT_EQ(Viewer().LastCall()->Command, HH_KEYWORD_LOOKUP);
    EXPECT_EQ(Viewer().LastCall()->Data.value<HHAKLink>().Keywords, "Cards must be in sequence");
    EXPECT_TRUE(Viewer().LastCall()->Data.value<HHAKLink>().IndexOnFail);
    EXPECT_TRUE(ShowsTopic(Window(), "moves.htm"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    // An unknown keyword brings up the index with it; an unknown context number is explained.
    Viewer().ShowHelp("no such word");
    EXPECT_EQ(Window()->Tabs()->currentIndex(), 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTEXT, 4242));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "The help file \"tarnwell.qch\" has no topic for help context 4242.");
    EXPECT_EQ(Window()->CurrentTopic(), "moves.htm");
}

TEST_F(HelpSystem, MissingOrDamagedHelpFileGivesAClearMessageAndNoWindow) {
    manager.HelpFile = "nothere.qch";
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTENTS));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("The help file \"nothere.qch\" cannot be found.")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(BuiltHelpFolder())) << "the message names the folders searched";

    QTemporaryDir folder;
    const QString damaged = folder.filePath("GAME.QCH");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no help file at all\n");
    file.close();
    manager.HelpFile = damaged;
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTENTS));
    Viewer().DisplayTopic("intro.htm");
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[1], "The help file \"GAME.QCH\" cannot be shown: it is not a compiled help file, or it is damaged.");
    EXPECT_EQ(messages[2], messages[1]);

    manager.HelpFile.clear();
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTENTS));
    ASSERT_EQ(messages.size(), 4);
    EXPECT_EQ(messages[3], "No help file has been chosen.");
    EXPECT_TRUE(Help().Windows().isEmpty());
    EXPECT_TRUE(QFile::exists(damaged)) << "a damaged help file is left as it was";
}

TEST_F(HelpSystem, HelpFileWorksWithoutItsCollectionAndDespiteADamagedOne) {
    QTemporaryDir folder;
    const QString copy = folder.filePath("tarnwell.qch");
    ASSERT_TRUE(QFile::copy(BuiltHelpFolder() + "/tarnwell.qch", copy));
    manager.HelpFile = copy;
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTENTS));
    THelpWindow* alone = Help().Window(copy);
    ASSERT_NE(alone, nullptr);
    ASSERT_TRUE(WaitFor([&] { return alone->ContentsReady(); }));
    EXPECT_EQ(alone->ContentsEntries(), ExpectedContents);
    EXPECT_TRUE(manager.HelpCommand(HELP_QUIT));

    QFile collection(folder.filePath("tarnwell.qhc"));
    ASSERT_TRUE(collection.open(QIODevice::WriteOnly));
    collection.write("damaged collection");
    collection.close();
    EXPECT_TRUE(manager.HelpCommand(HELP_CONTEXT, 30));
    EXPECT_TRUE(ShowsTopic(Help().Window(copy), "home.htm"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(collection.size(), qint64(sizeof("damaged collection") - 1)) << "the shipped collection is never written";
}

TEST_F(HelpSystem, TheRefusalMessagesAreQuotedExactlyInTheMovesTopic) {
    ASSERT_TRUE(manager.HelpCommand(HELP_CONTENTS));
    THelpWindow* window = Window();
    ASSERT_NE(window, nullptr);
    const QString moves = QString::fromUtf8(window->Engine()->fileData(window->TopicUrl("moves.htm")));
    for (const char* text : {"Not A Valid Card", "Select a card from the pile", "Only face-up cards can move",
                             "Can't move to same column", "Cards must be in sequence", "Only a king can move here",
                             "King must be at the bottom", "Card not at bottom/in Sequence",
                             "Card not in sequence with Home", "Home Pocket is Full.", "Only an Ace can move here"})
        EXPECT_TRUE(moves.contains(QStringLiteral("“") + text + QStringLiteral("”"))) << text;
}

TEST(HelpLifecycle, HelperLeavesTheHelpSystemCleanlyInEitherOrder) {
    {
        THelpManager manager;
        {
            TCHMHelper helper(manager);
            EXPECT_TRUE(manager.HasHelpHandler());
            EXPECT_EQ(manager.ViewerCount(), 1);
        }
        EXPECT_FALSE(manager.HasHelpHandler());
        EXPECT_EQ(manager.ViewerCount(), 0);
    }
    auto manager = std::make_unique<THelpManager>();
    TCHMHelper helper(*manager);
    manager.reset();
    EXPECT_EQ(helper.Viewer().HelpManager, nullptr);
    EXPECT_EQ(helper.Viewer().LastCall()->Command, HH_CLOSE_ALL);
    // With the help system gone the viewer has no help file left to show.
    bool callHelp = true;
    QStringList messages;
    helper.Viewer().CompiledHelp().ShowMessage = [&](QWidget*, const QString& text) { messages << text; };
    EXPECT_TRUE(helper.ApplicationHelp(HELP_CONTENTS, 0, callHelp));
    EXPECT_FALSE(callHelp);
    EXPECT_EQ(messages, QStringList{"No help file has been chosen."});
}

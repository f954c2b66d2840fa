#pragma once

// The application's help system: the help file, the help commands the program issues, and the
// viewers that can show help. A program issues help commands (contents, context, keyword ...)
// through HelpCommand; an installed application help handler sees each command first and may
// take it over; otherwise the command goes to the first registered viewer that understands it.
// Plain help files (.hlp) have their own route, guarded by a tester; this system has no viewer
// for them and says so.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

// Help commands of the application's help protocol. The data of a context command is the
// context number (int), of a keyword command the keyword (QString).
constexpr uint16_t HELP_CONTEXT = 1;
constexpr uint16_t HELP_QUIT = 2;
constexpr uint16_t HELP_CONTENTS = 3;
constexpr uint16_t HELP_CONTEXTPOPUP = 8;
constexpr uint16_t HELP_FINDER = 11;
constexpr uint16_t HELP_KEY = 257;

class IHelpManager {
public:
    virtual ~IHelpManager() = default;
    // The application's current help file, as set (a bare name or a path).
    virtual QString GetHelpFile() = 0;
    // The window help belongs to when no other window asks for it.
    virtual QWidget* GetHandle() = 0;
    // A viewer leaves the help system.
    virtual void Release(int viewerID) = 0;
};

class ICustomHelpViewer {
public:
    virtual ~ICustomHelpViewer() = default;
    virtual QString GetViewerName() = 0;
    // How many topics the viewer knows for the keyword (0: none).
    virtual int UnderstandsKeyword(const QString& keyword) = 0;
    virtual QStringList GetHelpStrings(const QString& keyword) = 0;
    virtual bool CanShowTableOfContents() = 0;
    virtual void ShowTableOfContents() = 0;
    virtual void ShowHelp(const QString& keyword) = 0;
    // The number the help system gave the viewer when it registered.
    virtual void NotifyID(int viewerID) = 0;
    // Close what the viewer shows, staying registered.
    virtual void SoftShutDown() = 0;
    // The help system is going away: close everything and forget it.
    virtual void ShutDown() = 0;
};

class IExtendedHelpViewer {
public:
    virtual ~IExtendedHelpViewer() = default;
    virtual bool UnderstandsTopic(const QString& topic) = 0;
    virtual void DisplayTopic(const QString& topic) = 0;
    virtual bool UnderstandsContext(int contextID, const QString& helpFile) = 0;
    virtual void DisplayHelpByContext(int contextID, const QString& helpFile) = 0;
};

// Decides which files the plain-help route may show.
class IWinHelpTester {
public:
    virtual ~IWinHelpTester() = default;
    virtual bool CanShowALink(const QString& link, const QString& fileName) = 0;
    virtual bool CanShowTopic(const QString& topic, const QString& fileName) = 0;
    virtual bool CanShowContext(int context, const QString& fileName) = 0;
    virtual QStringList GetHelpStrings(const QString& link) = 0;
    virtual QString GetHelpPath() = 0;
    virtual QString GetDefaultHelpFile() = 0;
};

class THelpManager : public QObject, public IHelpManager {
    Q_OBJECT
public:
    // Sees every help command first. Returns whether the command was handled; leaving callHelp
    // true lets the help system carry the command out as well.
    using HelpHandler = std::function<bool(uint16_t command, const QVariant& data, bool& callHelp)>;
    using MessageFunction = std::function<void(QWidget* owner, const QString& text)>;

    explicit THelpManager(QObject* parent = nullptr);
    ~THelpManager() override;

    // The application's help file. A bare name is looked for beside the program and in its
    // installed data folders by the viewer that shows it.
    QString HelpFile;
    // The program's main window.
    QPointer<QWidget> MainWindow;
    // Tells the player what the help system itself cannot do; a message box unless replaced.
    MessageFunction ShowMessage;

    void SetHelpHandler(HelpHandler handler);
    bool HasHelpHandler() const { return bool(handler); }

    // Carries out one help command; returns whether it was handled.
    bool HelpCommand(uint16_t command, const QVariant& data = {});

    // Adds a viewer, tells it its number and returns the manager it now reports to.
    IHelpManager* RegisterViewer(ICustomHelpViewer* viewer);
    int ViewerCount() const { return int(viewers.size()); }

    void SetWinHelpTester(std::shared_ptr<IWinHelpTester> tester);
    IWinHelpTester* WinHelpTester() const { return winHelpTester.get(); }

    QString GetHelpFile() override { return HelpFile; }
    QWidget* GetHandle() override { return MainWindow; }
    void Release(int viewerID) override;

private:
    bool DefaultHelp(uint16_t command, const QVariant& data);
    bool PlainHelp(uint16_t command, const QVariant& data);

    struct Registered {
        int id;
        ICustomHelpViewer* viewer;
    };
    std::vector<Registered> viewers;
    int nextViewerID = 1;
    HelpHandler handler;
    std::shared_ptr<IWinHelpTester> winHelpTester;
};

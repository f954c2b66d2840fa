#pragma once

// Compiled help for the program. The application speaks the help commands of plain help files
// (contents, context, keyword ...) while its help file is a compiled help file (.qch).
// TCHMHelper bridges the two: it takes every help command of the application and turns it into
// a command of the compiled-help viewer, registers THTMLHelpViewer with the help system for
// compiled help files, and installs TWinHelpMakeBehave so that the plain-help route is kept to
// ".hlp" files.

#include "KestrelObjects/TCompiledHelp.h"
#include "KestrelObjects/THelpManager.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

// One command for the compiled-help viewer.
struct CompiledHelpCall {
    uint32_t Command = HH_DISPLAY_TOPIC;
    QVariant Data;
    bool operator==(const CompiledHelpCall&) const = default;
};

// The compiled-help command that carries out an application help command:
//   context (1), context pop-up (8) -> help by context number (15), with the context number
//   quit (2)                         -> close all (18), with 0
//   contents (3)                     -> table of contents (1), with 0
//   finder (11)                      -> display topic (0), with the command's data
//   keyword (257)                    -> index (2), with the command's data
//   any other                        -> display topic (0), with 0
CompiledHelpCall MapHelpCommand(uint16_t command, const QVariant& data);

// A file name's extension with its dot (".qch"), or empty; a dot in a folder name is no extension.
QString FileExtension(const QString& fileName);
// Compiled help: the extension is ".qch", in any letter case.
bool IsCompiledHelpFile(const QString& fileName);
// Plain help: the extension is ".hlp", in any letter case.
bool IsPlainHelpFile(const QString& fileName);
// The address of a topic in a help file: the file alone for no topic, file + "::" + topic for a
// topic that begins with "/", else file + "::/" + topic.
QString TopicAddress(const QString& helpFile, const QString& topic);

// Answers the plain-help route: it may show only ".hlp" files.
class TWinHelpMakeBehave : public IWinHelpTester {
public:
    bool CanShowALink(const QString& link, const QString& fileName) override;
    bool CanShowTopic(const QString& topic, const QString& fileName) override;
    bool CanShowContext(int context, const QString& fileName) override;
    QStringList GetHelpStrings(const QString& link) override;
    QString GetHelpPath() override;
    QString GetDefaultHelpFile() override;
};

// The help system's viewer for compiled help files.
class THTMLHelpViewer : public ICustomHelpViewer, public IExtendedHelpViewer {
public:
    THTMLHelpViewer();
    ~THTMLHelpViewer() override;

    QString GetViewerName() override;
    int UnderstandsKeyword(const QString& keyword) override;
    QStringList GetHelpStrings(const QString& keyword) override;
    bool CanShowTableOfContents() override;
    void ShowTableOfContents() override;
    void ShowHelp(const QString& keyword) override;
    void NotifyID(int viewerID) override;
    void SoftShutDown() override;
    void ShutDown() override;

    bool UnderstandsTopic(const QString& topic) override;
    void DisplayTopic(const QString& topic) override;
    bool UnderstandsContext(int contextID, const QString& helpFile) override;
    void DisplayHelpByContext(int contextID, const QString& helpFile) override;

    // Passes one command to the compiled-help viewer, and remembers it.
    void HtmlHelp(QWidget* owner, const QString& file, uint32_t command, const QVariant& data);

    struct Call {
        QPointer<QWidget> Owner;
        QString File;
        uint32_t Command = 0;
        QVariant Data;
    };
    // The last command passed on, if any.
    const std::optional<Call>& LastCall() const { return lastCall; }
    int CallCount() const { return callCount; }

    // The help system the viewer reports to; none once it has shut down.
    IHelpManager* HelpManager = nullptr;
    int ViewerID = 0;

    // The compiled-help viewer that shows the help windows.
    TCompiledHelp& CompiledHelp() { return *viewer; }

private:
    QString HelpFile() const;
    bool HelpFileIsCompiled() const;
    QWidget* ManagerWindow() const;

    std::unique_ptr<TCompiledHelp> viewer;
    std::optional<Call> lastCall;
    int callCount = 0;
};

// Placed on the main window: routes all of the application's help to the compiled help file.
class TCHMHelper {
public:
    explicit TCHMHelper(THelpManager& manager);
    ~TCHMHelper();
    TCHMHelper(const TCHMHelper&) = delete;
    TCHMHelper& operator=(const TCHMHelper&) = delete;

    // The application help handler: every command is mapped and passed to the viewer, owned by
    // the window of the control that has the keyboard focus; it is always handled here.
    bool ApplicationHelp(uint16_t command, const QVariant& data, bool& callHelp);

    THTMLHelpViewer& Viewer() { return *viewer; }

    // The window help belongs to: that of the focused control, else the active window, else
    // the fallback.
    static QWidget* OwnerWindow(QWidget* fallback);

private:
    QPointer<THelpManager> manager;
    std::unique_ptr<THTMLHelpViewer> viewer;
};

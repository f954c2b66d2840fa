#pragma once

// The compiled-help viewer: carries out the commands of the compiled-help protocol on Qt Help
// files (.qch), each file shown in its own help window. A help file is named by a path or by a
// bare name that is looked for in SearchPath; a topic address is the file followed by "::/"
// and the topic's path inside it ("tarnwell.qch::/intro.htm").

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <map>

class QWidget;
class THelpWindow;

// Commands of the compiled-help viewer.
constexpr uint32_t HH_DISPLAY_TOPIC = 0;   // data: a topic (QString) or nothing for the first topic
constexpr uint32_t HH_DISPLAY_TOC = 1;     // the table of contents
constexpr uint32_t HH_DISPLAY_INDEX = 2;   // data: a keyword to look for in the index, or nothing
constexpr uint32_t HH_KEYWORD_LOOKUP = 13; // data: an HHAKLink
constexpr uint32_t HH_HELP_CONTEXT = 15;   // data: the context number (int)
constexpr uint32_t HH_CLOSE_ALL = 18;      // closes every help window

// A keyword lookup: the first keyword of the list that the index knows opens its topic.
struct HHAKLink {
    QString Keywords;       // separated by ";"
    QString Url;            // topic shown when no keyword is found (empty: none)
    QString MsgText;        // message shown when nothing is found (empty: none)
    QString MsgTitle;       // its title
    QString Window;         // window name; every file has one window here
    bool IndexOnFail = false; // show the index when nothing is found
};
Q_DECLARE_METATYPE(HHAKLink)

struct TopicAddressParts {
    QString File;
    QString Topic; // without the leading "/"; empty for the file's first topic
};

// Splits "file::/topic" (or "file::topic") into its file and topic.
TopicAddressParts SplitTopicAddress(const QString& address);

class TCompiledHelp : public QObject {
    Q_OBJECT
public:
    using MessageFunction = std::function<void(QWidget* owner, const QString& text)>;

    explicit TCompiledHelp(QObject* parent = nullptr);
    ~TCompiledHelp() override;

    // Carries out one command for the help file (or topic address) named by file. Returns the
    // help window that shows the result, or nullptr. A failure (no such file, a file that
    // cannot be read, an unknown topic or context) is shown to the player through ShowMessage.
    THelpWindow* HtmlHelp(QWidget* owner, const QString& file, uint32_t command, const QVariant& data);

    // Folders a bare help file name is looked for in, first match wins.
    QStringList SearchPath;
    // The program's folder, the installed data folder beside it, the configured data folder
    // and the system's data folders.
    static QStringList DefaultSearchPath();
    // The absolute path of a help file, or empty when it exists nowhere.
    QString LocateHelpFile(const QString& name) const;

    // The open help window of a file (by the name it was asked for or by its path), or nullptr.
    THelpWindow* Window(const QString& file) const;
    QList<THelpWindow*> Windows() const;

    // Tells the player what went wrong; a message box unless replaced.
    MessageFunction ShowMessage;

private:
    THelpWindow* OpenWindow(QWidget* owner, const QString& name, const QString& path);
    void CloseAll();
    void Carry(THelpWindow* window, const QString& name, uint32_t command, const TopicAddressParts& address,
               const QVariant& data);

    std::map<QString, QPointer<THelpWindow>> windows; // by absolute path
};

#include "TCompiledHelp.h"

#include "THelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

namespace {

QString MessageTitle() { return QCoreApplication::applicationName() + QStringLiteral(" Help"); }

QString WithoutLeadingSlashes(QString topic) {
    while (topic.startsWith(QLatin1Char('/')))
        topic.remove(0, 1);
    return topic;
}

bool IsString(const QVariant& data) { return data.typeId() == QMetaType::QString; }

} // namespace

TopicAddressParts SplitTopicAddress(const QString& address) {
    const qsizetype at = address.indexOf(QStringLiteral("::"));
    if (at < 0)
        return {address, QString()};
    return {address.left(at), WithoutLeadingSlashes(address.mid(at + 2))};
}

TCompiledHelp::TCompiledHelp(QObject* parent) : QObject(parent), SearchPath(DefaultSearchPath()) {
    ShowMessage = [](QWidget* owner, const QString& text) { QMessageBox::warning(owner, MessageTitle(), text); };
}

TCompiledHelp::~TCompiledHelp() { CloseAll(); }

QStringList TCompiledHelp::DefaultSearchPath() {
    const QString programDir = QCoreApplication::applicationDirPath();
    QStringList path{programDir};
#ifdef KESTREL_HELP_RELATIVE_DIR
    path << QDir::cleanPath(programDir + QLatin1Char('/') + QStringLiteral(KESTREL_HELP_RELATIVE_DIR));
#endif
#ifdef KESTREL_HELP_INSTALL_DIR
    path << QStringLiteral(KESTREL_HELP_INSTALL_DIR);
#endif
#ifdef KESTREL_HELP_DATA_NAME
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        path << data + QLatin1Char('/') + QStringLiteral(KESTREL_HELP_DATA_NAME);
#endif
    path.removeDuplicates();
    return path;
}

QString TCompiledHelp::LocateHelpFile(const QString& name) const {
    if (name.isEmpty())
        return QString();
    // A name with a folder is taken as it is; a bare name is looked for.
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        return info.isFile() ? info.absoluteFilePath() : QString();
    }
    for (const QString& folder : SearchPath) {
        const QFileInfo info(QDir(folder), name);
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return QString();
}

THelpWindow* TCompiledHelp::Window(const QString& file) const {
    const QString path = LocateHelpFile(SplitTopicAddress(file).File);
    const auto found = windows.find(path);
    return found == windows.end() ? nullptr : found->second.data();
}

QList<THelpWindow*> TCompiledHelp::Windows() const {
    QList<THelpWindow*> all;
    for (const auto& [path, window] : windows)
        if (window)
            all.append(window);
    return all;
}

void TCompiledHelp::CloseAll() {
    const auto open = std::move(windows);
    windows.clear();
    for (const auto& [path, window] : open)
        delete window.data();
}

THelpWindow* TCompiledHelp::HtmlHelp(QWidget* owner, const QString& file, uint32_t command, const QVariant& data) {
    switch (command) {
    case HH_CLOSE_ALL:
        CloseAll();
        return nullptr;
    case HH_DISPLAY_TOPIC:
    case HH_DISPLAY_TOC:
    case HH_DISPLAY_INDEX:
    case HH_KEYWORD_LOOKUP:
    case HH_HELP_CONTEXT:
        break;
    default:
        return nullptr; // not a command of this viewer
    }

    const TopicAddressParts address = SplitTopicAddress(file);
    if (address.File.isEmpty()) {
        ShowMessage(owner, QStringLiteral("No help file has been chosen."));
        return nullptr;
    }
    const QString name = QFileInfo(address.File).fileName();
    const QString path = LocateHelpFile(address.File);
    if (path.isEmpty()) {
        QString text = QStringLiteral("The help file \"%1\" cannot be found.").arg(name);
        if (!address.File.contains(QLatin1Char('/')) && !SearchPath.isEmpty())
            text += QStringLiteral("\n\nIt was looked for in:\n") + SearchPath.join(QLatin1Char('\n'));
        ShowMessage(owner, text);
        return nullptr;
    }

    THelpWindow* window = windows.count(path) ? windows[path].data() : nullptr;
    if (!window && !(window = OpenWindow(owner, name, path)))
        return nullptr;
    window->show();
    window->raise();
    window->activateWindow();
    Carry(window, name, command, address, data);
    return window;
}

THelpWindow* TCompiledHelp::OpenWindow(QWidget* owner, const QString& name, const QString& path) {
    auto* window = new THelpWindow;
    if (!window->Open(path)) {
        ShowMessage(owner, QStringLiteral("The help file \"%1\" cannot be shown: %2.").arg(name, window->Error()));
        delete window;
        return nullptr;
    }
    // The first showing lies over the window that asked for help, inside its screen.
    if (owner) {
        const QWidget* top = owner->window();
        QRect frame(QPoint(), window->size());
        frame.moveCenter(top->frameGeometry().center());
        if (const QScreen* screen = top->screen()) {
            const QRect room = screen->availableGeometry();
            frame.moveLeft(std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - frame.width())));
            frame.moveTop(std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - frame.height())));
        }
        window->move(frame.topLeft());
    }
    windows[path] = window;
    return window;
}

void TCompiledHelp::Carry(THelpWindow* window, const QString& name, uint32_t command, const TopicAddressParts& address,
                          const QVariant& data) {
    switch (command) {
    case HH_DISPLAY_TOPIC: {
        const QString topic = !address.Topic.isEmpty() ? address.Topic
                              : IsString(data)         ? WithoutLeadingSlashes(data.toString())
                                                       : QString();
        if (!window->ShowTopic(topic)) {
            if (window->CurrentTopic().isEmpty())
                window->ShowTopic(QString());
            ShowMessage(window, QStringLiteral("The help file \"%1\" has no topic \"%2\".").arg(name, topic));
        }
        break;
    }
    case HH_DISPLAY_TOC:
        window->ShowContents();
        break;
    case HH_DISPLAY_INDEX:
        window->ShowIndex(IsString(data) ? data.toString() : QString());
        break;
    case HH_KEYWORD_LOOKUP: {
        HHAKLink link;
        if (data.canConvert<HHAKLink>()) {
            link = data.value<HHAKLink>();
        } else {
            link.Keywords = data.toString();
            link.IndexOnFail = true;
        }
        const QStringList keywords = link.Keywords.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString& keyword : keywords)
            if (window->ShowKeyword(keyword.trimmed()))
                return;
        // The fallback page may be given as a topic or as a whole topic address.
        const TopicAddressParts fallback = SplitTopicAddress(link.Url);
        const QString fallbackTopic = link.Url.contains(QStringLiteral("::")) ? fallback.Topic : WithoutLeadingSlashes(link.Url);
        if (!fallbackTopic.isEmpty() && window->ShowTopic(fallbackTopic))
            return;
        if (link.IndexOnFail) {
            window->ShowIndex(keywords.isEmpty() ? QString() : keywords.first().trimmed());
            return;
        }
        if (window->CurrentTopic().isEmpty())
            window->ShowTopic(QString());
        if (!link.MsgText.isEmpty())
            ShowMessage(window, link.MsgTitle.isEmpty() ? link.MsgText : link.MsgTitle + QStringLiteral("\n\n") + link.MsgText);
        break;
    }
    case HH_HELP_CONTEXT:
        if (!window->ShowContext(data.toInt())) {
            if (window->CurrentTopic().isEmpty())
                window->ShowTopic(QString());
            ShowMessage(window,
                        QStringLiteral("The help file \"%1\" has no topic for help context %2.").arg(name).arg(data.toInt()));
        }
        break;
    default:
        break;
    }
}

#include "THelpManager.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>

namespace {
QString MessageTitle() { return QCoreApplication::applicationName() + QStringLiteral(" Help"); }
} // namespace

THelpManager::THelpManager(QObject* parent) : QObject(parent) {
    ShowMessage = [](QWidget* owner, const QString& text) { QMessageBox::information(owner, MessageTitle(), text); };
}

THelpManager::~THelpManager() {
    // Viewers may outlive the help system; each is told to let go of it.
    const std::vector<Registered> left = viewers;
    viewers.clear();
    for (const Registered& r : left)
        r.viewer->ShutDown();
}

void THelpManager::SetHelpHandler(HelpHandler h) { handler = std::move(h); }

IHelpManager* THelpManager::RegisterViewer(ICustomHelpViewer* viewer) {
    const int id = nextViewerID++;
    viewers.push_back({id, viewer});
    viewer->NotifyID(id);
    return this;
}

void THelpManager::Release(int viewerID) {
    std::erase_if(viewers, [viewerID](const Registered& r) { return r.id == viewerID; });
}

void THelpManager::SetWinHelpTester(std::shared_ptr<IWinHelpTester> tester) { winHelpTester = std::move(tester); }

bool THelpManager::HelpCommand(uint16_t command, const QVariant& data) {
    if (handler) {
        bool callHelp = true;
        const bool handled = handler(command, data, callHelp);
        if (!callHelp)
            return handled;
    }
    return DefaultHelp(command, data);
}

bool THelpManager::DefaultHelp(uint16_t command, const QVariant& data) {
    // A copy: a viewer may leave the help system while it works.
    const std::vector<Registered> current = viewers;
    switch (command) {
    case HELP_QUIT:
        for (const Registered& r : current)
            r.viewer->SoftShutDown();
        return true;
    case HELP_CONTENTS:
    case HELP_FINDER:
        for (const Registered& r : current)
            if (r.viewer->CanShowTableOfContents()) {
                r.viewer->ShowTableOfContents();
                return true;
            }
        break;
    case HELP_KEY:
        for (const Registered& r : current)
            if (r.viewer->UnderstandsKeyword(data.toString()) > 0) {
                r.viewer->ShowHelp(data.toString());
                return true;
            }
        break;
    case HELP_CONTEXT:
    case HELP_CONTEXTPOPUP:
        for (const Registered& r : current)
            if (auto* extended = dynamic_cast<IExtendedHelpViewer*>(r.viewer);
                extended && extended->UnderstandsContext(data.toInt(), HelpFile)) {
                extended->DisplayHelpByContext(data.toInt(), HelpFile);
                return true;
            }
        break;
    default:
        break;
    }
    return PlainHelp(command, data);
}

bool THelpManager::PlainHelp(uint16_t command, const QVariant& data) {
    QWidget* owner = MainWindow;
    if (HelpFile.isEmpty()) {
        ShowMessage(owner, QStringLiteral("This program has no help file."));
        return false;
    }
    const QString name = QFileInfo(HelpFile).fileName();
    const bool plain =
        winHelpTester &&
        (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP ? winHelpTester->CanShowContext(data.toInt(), HelpFile)
         : command == HELP_KEY ? winHelpTester->CanShowALink(data.toString(), HelpFile)
                               : winHelpTester->CanShowTopic(data.toString(), HelpFile));
    if (plain)
        ShowMessage(owner, QStringLiteral("The help file \"%1\" is in the old plain help format, which cannot be shown "
                                          "on this system.")
                               .arg(name));
    else
        ShowMessage(owner, QStringLiteral("No help viewer can show the help file \"%1\".").arg(name));
    return false;
}

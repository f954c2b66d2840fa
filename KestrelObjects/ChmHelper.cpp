#include "ChmHelper.h"

#include <QApplication>
#include <QWidget>

CompiledHelpCall MapHelpCommand(uint16_t command, const QVariant& data) {
    switch (command) {
    case HELP_CONTEXT:
    case HELP_CONTEXTPOPUP:
        return {HH_HELP_CONTEXT, data};
    case HELP_QUIT:
        return {HH_CLOSE_ALL, 0};
    case HELP_CONTENTS:
        return {HH_DISPLAY_TOC, 0};
    case HELP_FINDER:
        return {HH_DISPLAY_TOPIC, data};
    case HELP_KEY:
        return {HH_DISPLAY_INDEX, data};
    default:
        return {HH_DISPLAY_TOPIC, 0};
    }
}

QString FileExtension(const QString& fileName) {
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? fileName.mid(dot) : QString();
}

bool IsCompiledHelpFile(const QString& fileName) {
    return FileExtension(fileName).compare(QLatin1String(".qch"), Qt::CaseInsensitive) == 0;
}

bool IsPlainHelpFile(const QString& fileName) {
    return FileExtension(fileName).compare(QLatin1String(".hlp"), Qt::CaseInsensitive) == 0;
}

QString TopicAddress(const QString& helpFile, const QString& topic) {
    if (topic.isEmpty())
        return helpFile;
    if (topic.startsWith(QLatin1Char('/')))
        return helpFile + QStringLiteral("::") + topic;
    return helpFile + QStringLiteral("::/") + topic;
}

// ---- TWinHelpMakeBehave

bool TWinHelpMakeBehave::CanShowALink(const QString&, const QString& fileName) { return IsPlainHelpFile(fileName); }
bool TWinHelpMakeBehave::CanShowTopic(const QString&, const QString& fileName) { return IsPlainHelpFile(fileName); }
bool TWinHelpMakeBehave::CanShowContext(int, const QString& fileName) { return IsPlainHelpFile(fileName); }
QStringList TWinHelpMakeBehave::GetHelpStrings(const QString&) { return {}; }
QString TWinHelpMakeBehave::GetHelpPath() { return {}; }
QString TWinHelpMakeBehave::GetDefaultHelpFile() { return {}; }

// ---- THTMLHelpViewer

THTMLHelpViewer::THTMLHelpViewer() : viewer(std::make_unique<TCompiledHelp>()) {}

THTMLHelpViewer::~THTMLHelpViewer() = default;

QString THTMLHelpViewer::HelpFile() const { return HelpManager ? HelpManager->GetHelpFile() : QString(); }

bool THTMLHelpViewer::HelpFileIsCompiled() const { return IsCompiledHelpFile(HelpFile()); }

QWidget* THTMLHelpViewer::ManagerWindow() const { return HelpManager ? HelpManager->GetHandle() : nullptr; }

void THTMLHelpViewer::HtmlHelp(QWidget* owner, const QString& file, uint32_t command, const QVariant& data) {
    lastCall = Call{owner, file, command, data};
    ++callCount;
    viewer->HtmlHelp(owner, file, command, data);
}

QString THTMLHelpViewer::GetViewerName() { return QStringLiteral("HTMLHelp Viewer"); }

int THTMLHelpViewer::UnderstandsKeyword(const QString&) { return HelpFileIsCompiled() ? 1 : 0; }

QStringList THTMLHelpViewer::GetHelpStrings(const QString& keyword) {
    return HelpFileIsCompiled() ? QStringList{keyword} : QStringList{};
}

bool THTMLHelpViewer::CanShowTableOfContents() { return HelpFileIsCompiled(); }

void THTMLHelpViewer::ShowTableOfContents() { HtmlHelp(ManagerWindow(), HelpFile(), HH_DISPLAY_TOC, 0); }

void THTMLHelpViewer::ShowHelp(const QString& keyword) {
    HHAKLink link;
    link.Keywords = keyword;
    link.IndexOnFail = true;
    HtmlHelp(ManagerWindow(), HelpFile(), HH_KEYWORD_LOOKUP, QVariant::fromValue(link));
}

void THTMLHelpViewer::NotifyID(int viewerID) { ViewerID = viewerID; }

void THTMLHelpViewer::SoftShutDown() { HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0); }

void THTMLHelpViewer::ShutDown() {
    SoftShutDown();
    HelpManager = nullptr;
}

bool THTMLHelpViewer::UnderstandsTopic(const QString&) { return HelpFileIsCompiled(); }

void THTMLHelpViewer::DisplayTopic(const QString& topic) {
    HtmlHelp(ManagerWindow(), TopicAddress(HelpFile(), topic), HH_DISPLAY_TOPIC, 0);
}

bool THTMLHelpViewer::UnderstandsContext(int, const QString&) { return HelpFileIsCompiled(); }

void THTMLHelpViewer::DisplayHelpByContext(int contextID, const QString& helpFile) {
    HtmlHelp(ManagerWindow(), helpFile, HH_HELP_CONTEXT, contextID);
}

// ---- TCHMHelper

TCHMHelper::TCHMHelper(THelpManager& helpManager) : manager(&helpManager), viewer(std::make_unique<THTMLHelpViewer>()) {
    helpManager.SetWinHelpTester(std::make_shared<TWinHelpMakeBehave>());
    viewer->HelpManager = helpManager.RegisterViewer(viewer.get());
    helpManager.SetHelpHandler(
        [this](uint16_t command, const QVariant& data, bool& callHelp) { return ApplicationHelp(command, data, callHelp); });
}

TCHMHelper::~TCHMHelper() {
    if (manager)
        manager->SetHelpHandler({});
    viewer->SoftShutDown();
    if (manager && viewer->HelpManager)
        manager->Release(viewer->ViewerID);
}

QWidget* TCHMHelper::OwnerWindow(QWidget* fallback) {
    if (QWidget* focus = QApplication::focusWidget())
        return focus->window();
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return fallback;
}

bool TCHMHelper::ApplicationHelp(uint16_t command, const QVariant& data, bool& callHelp) {
    const CompiledHelpCall call = MapHelpCommand(command, data);
    QWidget* fallback = manager ? manager->GetHandle() : nullptr;
    viewer->HtmlHelp(OwnerWindow(fallback), manager ? manager->HelpFile : QString(), call.Command, call.Data);
    callHelp = false;
    return true;
}

#include "THelpWindow.h"

#include <QAction>
#include <QCompressedHelpInfo>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHelpContentItem>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>

namespace {

const QString HelpScheme = QStringLiteral("qthelp");

// Shows pages and their pictures and style sheets straight out of the help file.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine* e, QWidget* parent) : QTextBrowser(parent), engine(e) {}

    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() == HelpScheme)
            return engine->fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine* engine;
};

void CollectEntries(QHelpContentItem* item, QList<std::pair<QString, QString>>& out,
                    const std::function<QString(const QUrl&)>& topicOf) {
    out.append({item->title(), topicOf(item->url())});
    for (int i = 0; i < item->childCount(); ++i)
        CollectEntries(item->child(i), out, topicOf);
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent) : QMainWindow(parent) {
    // A help window never keeps the program running once the game's window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    baseTitle = QCoreApplication::applicationName() + QStringLiteral(" Help");
    setWindowTitle(baseTitle);
}

THelpWindow::~THelpWindow() {
    // The views show the engine's models: they go first.
    delete takeCentralWidget();
    delete engine;
}

bool THelpWindow::Open(const QString& file) {
    error.clear();
    if (engine) {
        error = QStringLiteral("a help window shows one help file only");
        return false;
    }
    const QFileInfo info(file);
    if (!info.isFile()) {
        error = QStringLiteral("the file does not exist");
        return false;
    }
    if (!info.isReadable()) {
        error = QStringLiteral("the file may not be read");
        return false;
    }
    helpFile = info.absoluteFilePath();
    nameSpace = QCompressedHelpInfo::fromCompressedHelpFile(helpFile).namespaceName();
    if (nameSpace.isEmpty()) {
        error = QStringLiteral("it is not a compiled help file, or it is damaged");
        return false;
    }

    // The collection shipped beside the help file is used as it is, read-only; without it (or
    // when it names another file) a private collection is made for this window alone.
    const QString shipped = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".qhc");
    if (!(QFileInfo(shipped).isFile() && OpenCollection(shipped, true))) {
        privateCollection = std::make_unique<QTemporaryDir>();
        if (!privateCollection->isValid()) {
            error = QStringLiteral("no folder for its collection can be made: %1").arg(privateCollection->errorString());
            return false;
        }
        if (!OpenCollection(privateCollection->filePath(QStringLiteral("help.qhc")), false))
            return false;
    }

    const QList<QUrl> files = engine->files(nameSpace, QString());
    if (files.isEmpty()) {
        error = QStringLiteral("it holds no topics");
        return false;
    }
    rootFolder = files.first().path().section(QLatin1Char('/'), 1, 1);
    const QString title = engine->customValue(QStringLiteral("WindowTitle")).toString();
    if (!title.isEmpty())
        baseTitle = title;

    page = new HelpBrowser(engine, this);
    page->setOpenLinks(false);
    page->setFrameShape(QFrame::NoFrame);
    connect(page, &QTextBrowser::anchorClicked, this, &THelpWindow::LinkClicked);
    connect(page, &QTextBrowser::sourceChanged, this, &THelpWindow::PageChanged);

    contentsView = engine->contentWidget();
    contentsView->setHeaderHidden(true);
    connect(contentsView, &QHelpContentWidget::linkActivated, this, &THelpWindow::Navigate);
    connect(engine->contentModel(), &QHelpContentModel::contentsCreated, this, &THelpWindow::ContentsCreated);

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    auto* lookFor = new QLabel(QStringLiteral("&Look for:"), indexPage);
    indexFilter = new QLineEdit(indexPage);
    indexFilter->setClearButtonEnabled(true);
    lookFor->setBuddy(indexFilter);
    indexView = engine->indexWidget();
    indexLayout->addWidget(lookFor);
    indexLayout->addWidget(indexFilter);
    indexLayout->addWidget(indexView);
    connect(indexFilter, &QLineEdit::textChanged, indexView, [this](const QString& text) {
        indexView->filterIndices(text);
    });
    connect(indexFilter, &QLineEdit::returnPressed, indexView, &QHelpIndexWidget::activateCurrentItem);
    connect(indexView, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { Navigate(link.url); });
    connect(indexView, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty())
                    Navigate(links.first().url);
            });

    tabs = new QTabWidget(this);
    tabs->addTab(contentsView, QStringLiteral("&Contents"));
    tabs->addTab(indexPage, QStringLiteral("&Index"));

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(tabs);
    splitter->addWidget(page);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 650});
    setCentralWidget(splitter);

    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"), page,
                                   &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(page, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"),
                                      page, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(page, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Home"), this,
                                   [this] { ShowTopic(QString()); });
    home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    bar->addSeparator();
    QAction* larger = bar->addAction(QStringLiteral("Larger"), page, [this] { page->zoomIn(1); });
    larger->setShortcut(QKeySequence::ZoomIn);
    QAction* smaller = bar->addAction(QStringLiteral("Smaller"), page, [this] { page->zoomOut(1); });
    smaller->setShortcut(QKeySequence::ZoomOut);
    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    // A comfortable reading size that still fits small screens.
    QSize size(960, 680);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    UpdateTitle();
    if (ContentsReady())
        ContentsCreated();
    return true;
}

bool THelpWindow::OpenCollection(const QString& collection, bool shipped) {
    delete engine;
    engine = new QHelpEngine(collection, this);
    engine->setReadOnly(shipped);
    engine->setUsesFilterEngine(true);
    const auto fail = [this](const QString& why) {
        error = why;
        delete engine;
        engine = nullptr;
        return false;
    };
    if (!engine->setupData())
        return fail(QStringLiteral("its collection cannot be opened: %1").arg(engine->error()));
    if (shipped) {
        if (!engine->registeredDocumentations().contains(nameSpace))
            return fail(QStringLiteral("its collection does not list it"));
        const QString listed = QFileInfo(engine->documentationFileName(nameSpace)).canonicalFilePath();
        if (listed != QFileInfo(helpFile).canonicalFilePath())
            return fail(QStringLiteral("its collection lists another file"));
        return true;
    }
    if (!engine->registerDocumentation(helpFile))
        return fail(QStringLiteral("it cannot be read: %1").arg(engine->error()));
    return true;
}

QUrl THelpWindow::TopicUrl(const QString& topic) const {
    QString path = topic;
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    const QUrl root(QStringLiteral("qthelp://%1/%2/").arg(nameSpace, rootFolder));
    return root.resolved(QUrl(path));
}

bool THelpWindow::HasTopic(const QString& topic) const {
    if (!engine)
        return false;
    QUrl url = TopicUrl(topic);
    url.setFragment(QString());
    // The page must lie inside this file, and exist there.
    return url.host() == nameSpace.toLower() && url.path().startsWith(QLatin1Char('/') + rootFolder + QLatin1Char('/')) &&
           !engine->fileData(url).isEmpty();
}

QString THelpWindow::TopicOf(const QUrl& url) const {
    const QString prefix = QLatin1Char('/') + rootFolder + QLatin1Char('/');
    const QString path = url.path();
    return path.startsWith(prefix) ? path.mid(prefix.size()) : path;
}

QString THelpWindow::CurrentTopic() const {
    return page && !page->source().isEmpty() ? TopicOf(page->source()) : QString();
}

bool THelpWindow::ShowTopic(const QString& topic) {
    if (!engine)
        return false;
    if (topic.isEmpty()) {
        if (!ContentsReady()) {
            firstTopicPending = true;
            return true;
        }
        QHelpContentModel* model = engine->contentModel();
        if (QHelpContentItem* first = model->rowCount() ? model->contentItemAt(model->index(0, 0)) : nullptr) {
            Navigate(first->url());
            return true;
        }
        return false;
    }
    if (!HasTopic(topic))
        return false;
    Navigate(TopicUrl(topic));
    return true;
}

void THelpWindow::ShowContents() {
    if (!engine)
        return;
    tabs->setCurrentWidget(contentsView);
    if (page->source().isEmpty())
        ShowTopic(QString());
}

void THelpWindow::ShowIndex(const QString& keyword) {
    if (!engine)
        return;
    tabs->setCurrentIndex(tabs->indexOf(indexFilter->parentWidget()));
    indexFilter->setText(keyword);
    indexView->filterIndices(keyword);
    indexFilter->setFocus();
    if (page->source().isEmpty())
        ShowTopic(QString());
}

int THelpWindow::KeywordCount(const QString& keyword) const {
    return engine ? int(engine->documentsForKeyword(keyword).size()) : 0;
}

bool THelpWindow::ShowKeyword(const QString& keyword) {
    if (!engine)
        return false;
    const QList<QHelpLink> links = engine->documentsForKeyword(keyword);
    if (links.isEmpty())
        return false;
    Navigate(links.first().url);
    return true;
}

bool THelpWindow::ShowContext(int context) {
    if (!engine)
        return false;
    // A topic answers a context number through an index entry whose id is "context-<number>".
    const QList<QHelpLink> links = engine->documentsForIdentifier(QStringLiteral("context-%1").arg(context));
    if (links.isEmpty())
        return false;
    Navigate(links.first().url);
    return true;
}

bool THelpWindow::ContentsReady() const {
    return engine && !engine->contentModel()->isCreatingContents() && engine->contentModel()->rowCount() > 0;
}

QList<std::pair<QString, QString>> THelpWindow::ContentsEntries() const {
    QList<std::pair<QString, QString>> entries;
    if (!ContentsReady())
        return entries;
    QHelpContentModel* model = engine->contentModel();
    for (int row = 0; row < model->rowCount(); ++row)
        CollectEntries(model->contentItemAt(model->index(row, 0)), entries,
                       [this](const QUrl& url) { return TopicOf(url); });
    return entries;
}

void THelpWindow::Navigate(const QUrl& url) {
    if (url.isEmpty())
        return;
    firstTopicPending = false;
    if (url == page->source())
        page->reload();
    else
        page->setSource(url);
}

void THelpWindow::ContentsCreated() {
    contentsView->expandToDepth(0);
    if (firstTopicPending)
        ShowTopic(QString());
    else
        PageChanged(page->source());
    emit contentsReady();
}

void THelpWindow::PageChanged(const QUrl& url) {
    // The contents follow the page.
    const QModelIndex at = url.isEmpty() ? QModelIndex() : contentsView->indexOf(url);
    if (at.isValid()) {
        contentsView->setCurrentIndex(at);
        contentsView->scrollTo(at);
    }
    UpdateTitle();
}

void THelpWindow::LinkClicked(const QUrl& link) {
    const QUrl url = link.isRelative() ? page->source().resolved(link) : link;
    if (url.scheme() == HelpScheme) {
        Navigate(url);
    } else if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
               url.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
    }
}

void THelpWindow::UpdateTitle() {
    const QString pageTitle = page ? page->documentTitle() : QString();
    setWindowTitle(pageTitle.isEmpty() || pageTitle == baseTitle ? baseTitle : pageTitle + QStringLiteral(" - ") + baseTitle);
}

#pragma once

// The help window of one compiled help file (.qch): the table of contents and the index beside
// the page, with back, forward and home. Topics are paths inside the help file relative to its
// root ("intro.htm", "scoring.htm#bonus").

#include <QMainWindow>
#include <QString>
#include <QUrl>

#include <memory>

class QHelpContentWidget;
class QHelpEngine;
class QHelpIndexWidget;
class QLineEdit;
class QTabWidget;
class QTemporaryDir;
class QTextBrowser;

class THelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    ~THelpWindow() override;

    // Opens a compiled help file. On failure nothing is shown and Error() says why.
    bool Open(const QString& helpFile);
    QString Error() const { return error; }
    QString HelpFile() const { return helpFile; }

    // The address of a topic inside the help file.
    QUrl TopicUrl(const QString& topic) const;
    bool HasTopic(const QString& topic) const;
    // The topic on the page ("intro.htm"), without its anchor; empty before the first page.
    QString CurrentTopic() const;

    // Shows a topic; the first topic of the contents when topic is empty (as soon as the
    // contents are read). False, with the page unchanged, when the file has no such topic.
    bool ShowTopic(const QString& topic);
    // Brings the table of contents to the front, and the first topic when no page is shown.
    void ShowContents();
    // Brings the index to the front, looking for the keyword in it.
    void ShowIndex(const QString& keyword);
    // The number of topics the index gives for a keyword.
    int KeywordCount(const QString& keyword) const;
    // Shows the first topic of a keyword; false when the index does not know it.
    bool ShowKeyword(const QString& keyword);
    // Shows the topic of a help context number; false when no topic has it.
    bool ShowContext(int context);

    // The contents as read from the file, true once they are complete.
    bool ContentsReady() const;
    // Every entry of the contents in reading order: its title and its topic.
    QList<std::pair<QString, QString>> ContentsEntries() const;

    QHelpEngine* Engine() const { return engine; }
    QHelpContentWidget* ContentsView() const { return contentsView; }
    QHelpIndexWidget* IndexView() const { return indexView; }
    QTextBrowser* Page() const { return page; }
    QTabWidget* Tabs() const { return tabs; }

signals:
    void contentsReady();

private:
    bool OpenCollection(const QString& collection, bool shipped);
    QString TopicOf(const QUrl& url) const;
    void Navigate(const QUrl& url);
    void ContentsCreated();
    void PageChanged(const QUrl& url);
    void LinkClicked(const QUrl& url);
    void UpdateTitle();

    QHelpEngine* engine = nullptr;
    std::unique_ptr<QTemporaryDir> privateCollection;
    QString helpFile;
    QString nameSpace;
    QString rootFolder; // the file's virtual folder: topics live under qthelp://<namespace>/<folder>/
    QString baseTitle;
    QString error;
    bool firstTopicPending = false;

    QTabWidget* tabs = nullptr;
    QHelpContentWidget* contentsView = nullptr;
    QHelpIndexWidget* indexView = nullptr;
    QLineEdit* indexFilter = nullptr;
    QTextBrowser* page = nullptr;
};

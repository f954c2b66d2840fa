#include "TReopenMenu.h"

#include "TIniFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <algorithm>
#include <exception>

TReopenMenu::TReopenMenu(QObject* parent) : QObject(parent) {}

// The entries are children of this object; deleting them takes them off the menu.
TReopenMenu::~TReopenMenu() = default;

void TReopenMenu::SetMenuItem(QMenu* item) {
    if (item == menu)
        return;
    if (menu) {
        for (QAction* entry : entries)
            menu->removeAction(entry);
        menu->menuAction()->setEnabled(true);
    }
    menu = item;
    if (menu)
        for (QAction* entry : entries)
            menu->addAction(entry);
    MenuChanged();
}

void TReopenMenu::SetNumberItems(bool on) {
    if (on == numberItems)
        return;
    numberItems = on;
    Renumber();
}

void TReopenMenu::SetShowPath(bool on) {
    if (on == showPath)
        return;
    showPath = on;
    Renumber();
}

QString TReopenMenu::INIPath() const {
    if (iniFile.isEmpty() || iniFile.contains(QLatin1Char('/')))
        return iniFile;
    return QFileInfo(TIniFile::DefaultPath()).absolutePath() + QLatin1Char('/') + iniFile;
}

QString TReopenMenu::FileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void TReopenMenu::ShowWarning(const QString& text) {
    QMessageBox::warning(nullptr, QCoreApplication::applicationName(), text, QMessageBox::Ok);
}

void TReopenMenu::ShowAccessError() {
    if (showErrors)
        ShowWarning(QStringLiteral("Unable to access: ") + iniFile + QStringLiteral("\r\n") +
                    QStringLiteral("You may not permission to access the Windows folder"));
}

int TReopenMenu::IndexOfPath(const QString& path) const {
    for (int i = 0; i < paths.size(); ++i)
        if (paths[i].compare(path, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TReopenMenu::DeleteEntry(int index) {
    delete entries[size_t(index)];
    entries.erase(entries.begin() + index);
    paths.removeAt(index);
}

void TReopenMenu::ClearEntries() {
    while (!entries.empty())
        DeleteEntry(int(entries.size()) - 1);
}

QString TReopenMenu::Caption(int index) const {
    const QString& path = paths[index];
    QString text = showPath ? path : FileNamePart(path);
    // A name such as "R&D.twl" shows its ampersand instead of taking it for an accelerator.
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return numberItems ? QStringLiteral("&%1 %2").arg(index + 1).arg(text) : text;
}

void TReopenMenu::Renumber() {
    for (int i = 0; i < int(entries.size()); ++i)
        entries[size_t(i)]->setText(Caption(i));
}

// An empty submenu is greyed out rather than opening onto nothing.
void TReopenMenu::MenuChanged() {
    if (menu)
        menu->menuAction()->setEnabled(!entries.empty());
}

void TReopenMenu::InsertEntry(const QString& path, bool atTop) {
    if (noDuplicates)
        if (const int i = IndexOfPath(path); i >= 0)
            DeleteEntry(i);
    auto* entry = new QAction(this);
    entry->setStatusTip(path);
    connect(entry, &QAction::triggered, this, [this, entry] {
        // An exception must not unwind through the event loop.
        try {
            ItemClick(entry);
        } catch (const std::exception& e) {
            ShowWarning(QString::fromUtf8(e.what()));
        }
    });
    QAction* before = nullptr;
    if (atTop) {
        if (!entries.empty())
            before = entries.front();
        entries.insert(entries.begin(), entry);
        paths.insert(0, path);
    } else {
        if (menu && !entries.empty()) {
            const QList<QAction*> all = menu->actions();
            const qsizetype last = all.indexOf(entries.back());
            if (last >= 0 && last + 1 < all.size())
                before = all[last + 1];
        }
        entries.push_back(entry);
        paths.append(path);
    }
    if (menu)
        menu->insertAction(before, entry);
    // Every caption is set, numbered or not, so a new entry never shows without one.
    Renumber();
}

void TReopenMenu::TrimToLimit() {
    while (!entries.empty() && int(entries.size()) > limit)
        DeleteEntry(int(entries.size()) - 1);
}

void TReopenMenu::AddFile(const QString& path) {
    if (!menu)
        return;
    InsertEntry(path, true);
    TrimToLimit();
    MenuChanged();
}

void TReopenMenu::ItemClick(QAction* entry) {
    const auto it = std::find(entries.begin(), entries.end(), entry);
    if (it == entries.end())
        return;
    const QString path = paths[int(it - entries.begin())];
    if (OnMenuClick)
        OnMenuClick(path);
    if (updateOnClick)
        AddFile(path);
}

bool TReopenMenu::Readable(const QString& file) {
    const QFileInfo info(file);
    if (info.exists() && (!info.isFile() || !info.isReadable())) {
        ShowAccessError();
        return false;
    }
    return true;
}

void TReopenMenu::LoadHistory() {
    if (!menu)
        return;
    ClearEntries();
    MenuChanged();
    // Without a section the whole file would be taken for the list.
    if (iniFile.isEmpty() || iniSection.isEmpty())
        return;
    const QString file = INIPath();
    if (!Readable(file))
        return;
    const TIniFile ini(file);
    const int count =
        std::clamp(ini.ReadInteger(iniSection, QStringLiteral("Count"), 0), 0, MaxLoadedEntries);
    for (int k = 0; k < count; ++k)
        InsertEntry(ini.ReadString(iniSection, QStringLiteral("Path%1").arg(k), QString()), false);
    MenuChanged();
}

void TReopenMenu::SaveHistory() {
    // Erasing an empty section name would erase every section of the shared file.
    if (!menu || iniFile.isEmpty() || iniSection.isEmpty())
        return;
    const QString file = INIPath();
    // A file that cannot be read would be written back holding this section alone.
    if (!Readable(file))
        return;
    try {
        TIniFile ini(file);
        ini.EraseSection(iniSection);
        ini.WriteInteger(iniSection, QStringLiteral("Count"), paths.size());
        for (int k = 0; k < paths.size(); ++k)
            ini.WriteString(iniSection, QStringLiteral("Path%1").arg(k), paths[k]);
        ini.Commit();
    } catch (const std::exception&) {
        ShowAccessError();
    }
}

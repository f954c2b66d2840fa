#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

class QAction;

// The recently used files as numbered entries of a submenu ("&1 Game.twl", "&2 ..."), the most
// recent at the top, kept in one section of an INI file:
//
//   [History]
//   Count=2
//   Path0=/home/me/Game.twl
//   Path1=/home/me/Other.twl
//
// Choosing an entry hands its full path to OnMenuClick. Nothing checks that the files exist;
// whoever opens the path reports a missing one. INI failures never propagate: they end the
// operation and are shown only when ShowErrors is set.
class TReopenMenu : public QObject {
    Q_OBJECT
public:
    using TMenuClickEvent = std::function<void(const QString& path)>;

    // A hand-edited "Count" beyond this loads no more entries than this.
    static constexpr int MaxLoadedEntries = 100;

    explicit TReopenMenu(QObject* parent = nullptr);
    ~TReopenMenu() override;

    // The most entries kept after an AddFile (LoadHistory does not trim).
    int32_t Limit() const { return limit; }
    void SetLimit(int32_t value) { limit = value; }
    // The INI file; a bare file name lies beside the game's own settings file.
    const QString& INIFile() const { return iniFile; }
    void SetINIFile(const QString& file) { iniFile = file; }
    const QString& INISection() const { return iniSection; }
    void SetINISection(const QString& section) { iniSection = section; }
    // The submenu whose items are the entries; without one the component does nothing.
    QMenu* MenuItem() const { return menu; }
    void SetMenuItem(QMenu* item);
    // Captions carry "&<n> " before the name.
    bool NumberItems() const { return numberItems; }
    void SetNumberItems(bool on);
    // Adding a path already listed, in any letter case, moves it instead of listing it twice.
    bool NoDuplicates() const { return noDuplicates; }
    void SetNoDuplicates(bool on) { noDuplicates = on; }
    // Captions show the full path instead of the file name.
    bool ShowPath() const { return showPath; }
    void SetShowPath(bool on);
    // INI failures are reported in a warning box.
    bool ShowErrors() const { return showErrors; }
    void SetShowErrors(bool on) { showErrors = on; }
    // Choosing an entry also moves it to the top.
    bool UpdateOnClick() const { return updateOnClick; }
    void SetUpdateOnClick(bool on) { updateOnClick = on; }

    // Called with the entry's full path when an entry is chosen.
    TMenuClickEvent OnMenuClick;

    // Rebuilds the entries from the INI file.
    void LoadHistory();
    // Replaces the INI section with the entries.
    void SaveHistory();
    // Puts the path at the top and trims to Limit; nothing is stored until SaveHistory.
    void AddFile(const QString& path);
    // What choosing an entry does. Exceptions of OnMenuClick pass through (and the entry then
    // stays where it is); from the menu itself they are shown in a warning box.
    void ItemClick(QAction* entry);

    // The listed paths, entry 0 (the most recent) first.
    const QStringList& Paths() const { return paths; }
    // The file LoadHistory and SaveHistory open.
    QString INIPath() const;
    // The part of a path after its last "/".
    static QString FileNamePart(const QString& path);

protected:
    // The warning box; tests replace it.
    virtual void ShowWarning(const QString& text);

private:
    void ShowAccessError();
    // Whether the file can be read (or is not there yet); when not, says so as errors are shown.
    bool Readable(const QString& file);
    int IndexOfPath(const QString& path) const;
    void DeleteEntry(int index);
    void ClearEntries();
    void InsertEntry(const QString& path, bool atTop);
    void TrimToLimit();
    QString Caption(int index) const;
    void Renumber();
    void MenuChanged();

    int32_t limit = 5;
    QString iniFile;
    QString iniSection;
    QPointer<QMenu> menu;
    bool numberItems = true;
    bool noDuplicates = true;
    bool showPath = false;
    bool showErrors = false;
    bool updateOnClick = false;

    // Entry i of the menu shows paths[i].
    QStringList paths;
    std::vector<QAction*> entries;
};

#pragma once

#include "KestrelObjects/TCentredDialog.h"

class QPushButton;
class QTableView;
class TStopwatch;
class TTopScoresModel;

// The top-ten table on screen: a header row, a number column and one row per entry, free
// entries blank, with "Clear Scores" and "Close" below. The program has one, created with the
// other dialogs and shown by the main window.
class TTopScoresDlg : public TCentredDialog {
    Q_OBJECT
public:
    // The clock panel's stopwatch formats the stored game times with its own Digits.
    explicit TTopScoresDlg(const TStopwatch& clock, QWidget* parent = nullptr);
    ~TTopScoresDlg() override;

    // Shows the table modally and writes it when the dialog closes, however it closes. Throws
    // TGameError when the file cannot be written.
    void ShowTopScores();
    // Shows the table with a new entry (its index) as the selected row.
    void ShowNewEntry(int index);
    // The name prompt of a new entry: an input box with OK and Cancel whose field takes up to 255
    // characters; the edited text on OK, the default unchanged on Cancel.
    static QString AskTopScoreName(QWidget* parent, const QString& caption, const QString& label,
                                   const QString& defaultName);

    // The text of a grid cell: row 0 is the header, rows 1 to 10 show entries 0 to 9.
    static QString TopGridCellText(int column, int row, const TStopwatch& clock);

    // The grid's current row, 1 to 10 (the header row is not counted out): selected and scrolled
    // into view. It keeps its value between showings.
    void SetCurrentRow(int row);
    int CurrentRow() const;
    // Asks "Are you sure?" and on Yes empties the table and repaints the grid.
    void Button1Click();
    // Redraws the grid from the table, its columns wide enough for their texts.
    void RefreshGrid();

    QWidget* Panel1;
    QWidget* Panel2;
    QTableView* TopGrid;
    QPushButton* Button1;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Widens a column whose header or texts (in this locale, with the clock's digits) would not
    // fit its designed width, and the dialog with it; the designed widths are the least.
    void FitColumns();

    const TStopwatch& clock;
    TTopScoresModel* model;
};

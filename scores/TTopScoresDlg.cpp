#include "TTopScoresDlg.h"

#include "TwTopScores.h"
#include "KestrelObjects/TStopwatch.h"

#include <QAbstractTableModel>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

namespace {
constexpr int ClientWidth = 463;
constexpr int ClientHeight = 205;
constexpr int StripHeight = 40;
constexpr int GridBorder = 4;
constexpr int RowHeight = 24;
constexpr int TextInset = 2;
constexpr int CloseLeft = 379;
constexpr std::array<int, 6> ColumnWidths = {35, 117, 77, 64, 69, 64};
constexpr int NameLimit = 255;
// The width a caption bar takes besides its text: the window icon, the buttons and margins.
constexpr int CaptionBarExtras = 160;
const std::array<const char*, 6> Headers = {"#", "Name", "Score", "Date", "Time", "Elapsed Time"};

// The locale's long time format without its time-zone part: the stored times are plain local
// times, and a zone name beside them would be today's zone, not theirs.
QString LongTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    return result.simplified();
}

// Writes each cell's text at a small inset from its top-left corner, clipped to the cell; the
// view paints the background, the grid lines and the selected row.
class TopGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        painter->save();
        painter->setClipRect(opt.rect);
        painter->setFont(opt.font);
        const bool selected = opt.state & QStyle::State_Selected;
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(opt.rect.adjusted(TextInset, TextInset, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          text);
        painter->restore();
    }
};
} // namespace

// The ten entries as grid rows, read from the table each time they are drawn.
class TTopScoresModel : public QAbstractTableModel {
public:
    TTopScoresModel(const TStopwatch& clock, QObject* parent) : QAbstractTableModel(parent), clock(clock) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : TopScoreCount; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(Headers.size()); }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return TTopScoresDlg::TopGridCellText(index.column(), index.row() + 1, clock);
        // The number column is fixed, like the header row.
        if (role == Qt::BackgroundRole && index.column() == 0)
            return QGuiApplication::palette().button();
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
            return TTopScoresDlg::TopGridCellText(section, 0, clock);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return index.column() == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

    void Refresh() { emit dataChanged(index(0, 0), index(TopScoreCount - 1, columnCount({}) - 1)); }

private:
    const TStopwatch& clock;
};

TTopScoresDlg::TTopScoresDlg(const TStopwatch& clock, QWidget* parent) : TCentredDialog(parent), clock(clock) {
    setWindowTitle(QStringLiteral("Top Scores"));
    setFixedSize(ClientWidth, ClientHeight);
    if (parent)
        setFont(parent->font());

    Panel2 = new QWidget(this);
    Panel2->setGeometry(0, 0, ClientWidth, ClientHeight - StripHeight);
    auto* border = new QVBoxLayout(Panel2);
    border->setContentsMargins(GridBorder, GridBorder, GridBorder, GridBorder);
    TopGrid = new QTableView(Panel2);
    border->addWidget(TopGrid);
    model = new TTopScoresModel(clock, this);
    TopGrid->setModel(model);
    TopGrid->setItemDelegate(new TopGridDelegate(TopGrid));
    TopGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    TopGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    TopGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TopGrid->setShowGrid(true);
    TopGrid->setWordWrap(false);
    TopGrid->setCornerButtonEnabled(false);
    TopGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    TopGrid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    TopGrid->verticalHeader()->hide();
    TopGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TopGrid->verticalHeader()->setMinimumSectionSize(RowHeight);
    TopGrid->verticalHeader()->setDefaultSectionSize(RowHeight);
    QHeaderView* header = TopGrid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFixedHeight(RowHeight);
    for (int c = 0; c < int(ColumnWidths.size()); ++c)
        header->resizeSection(c, ColumnWidths[size_t(c)]);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, ClientHeight - StripHeight, ClientWidth, StripHeight);
    Button1 = new QPushButton(QStringLiteral("Clear Scores"), Panel1);
    Button1->setGeometry(8, 8, 75, 25);
    Button1->setAutoDefault(false);
    CancelBtn = new QPushButton(QStringLiteral("Close"), Panel1);
    CancelBtn->setGeometry(CloseLeft, 8, 75, 25);
    CancelBtn->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TTopScoresDlg::Button1Click);
    // Esc rejects the dialog as Close does.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    FitColumns();
    TopGrid->setFocus();
    SetCurrentRow(1);
}

TTopScoresDlg::~TTopScoresDlg() = default;

void TTopScoresDlg::ShowTopScores() {
    exec();
    SaveTopScores();
}

void TTopScoresDlg::ShowNewEntry(int index) {
    SetCurrentRow(index + 1);
    ShowTopScores();
}

QString TTopScoresDlg::AskTopScoreName(QWidget* parent, const QString& caption, const QString& label,
                                       const QString& defaultName) {
    QInputDialog box(parent, TCentredDialog::CloseBoxOnly());
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(caption);
    box.setLabelText(label);
    box.setTextValue(defaultName);
    if (auto* edit = box.findChild<QLineEdit*>()) {
        edit->setMaxLength(NameLimit);
        // Wide enough for the whole caption beside the caption bar's icon and close box (window
        // managers draw captions in a bold font of about the program's size); the dialog's
        // layout sizes it to its contents, so the edit field sets the width.
        QFont captionFont = box.font();
        captionFont.setBold(true);
        const QMargins margins = box.layout() ? box.layout()->contentsMargins() : QMargins();
        edit->setMinimumWidth(QFontMetrics(captionFont).horizontalAdvance(caption) + CaptionBarExtras -
                              margins.left() - margins.right());
    }
    return box.exec() == QDialog::Accepted ? box.textValue() : defaultName;
}

QString TTopScoresDlg::TopGridCellText(int column, int row, const TStopwatch& clock) {
    if (column < 0 || column >= int(Headers.size()) || row < 0 || row > TopScoreCount)
        return {};
    if (row == 0)
        return QString::fromLatin1(Headers[size_t(column)]);
    const TScoreInfo& entry = TopScoreTable[size_t(row - 1)];
    if (!entry.InUse())
        return {};
    const QLocale locale;
    switch (column) {
    case 0: return QString::number(row);
    case 1: return entry.Name;
    case 2: return QString::number(entry.Score);
    case 3: return locale.toString(FromDayCount(entry.Date).date(), QLocale::ShortFormat);
    case 4: return locale.toString(FromDayCount(entry.Date).time(), LongTimeFormat(locale));
    default: return clock.FormatAutoScale(entry.Elapsed);
    }
}

void TTopScoresDlg::SetCurrentRow(int row) {
    row = std::clamp(row, 1, TopScoreCount);
    const QModelIndex index = model->index(row - 1, 1);
    TopGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    TopGrid->scrollTo(index);
}

int TTopScoresDlg::CurrentRow() const {
    const QModelIndex index = TopGrid->currentIndex();
    return index.isValid() ? index.row() + 1 : 1;
}

void TTopScoresDlg::Button1Click() {
    if (QMessageBox::question(this, QStringLiteral("Confirm"), QStringLiteral("Are you sure?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    ClearTopScores();
    RefreshGrid();
}

void TTopScoresDlg::FitColumns() {
    QHeaderView* header = TopGrid->horizontalHeader();
    const QFontMetrics headerText(header->font());
    const QFontMetrics cellText(TopGrid->font());
    const int headerPadding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    const int cellPadding = 2 * TextInset + 2;
    // The widest dates, times and game times the columns may have to show, whatever the table
    // holds now, so that the dialog does not change its width from one game to the next.
    const QLocale locale;
    QStringList samples[6];
    for (int month = 1; month <= 12; ++month)
        samples[3] << locale.toString(QDate(2088, month, 28), QLocale::ShortFormat);
    for (const QTime& time : {QTime(10, 58, 58), QTime(23, 58, 58)})
        samples[4] << locale.toString(time, LongTimeFormat(locale));
    for (const int64_t micros : {999'000LL, 59'000'000LL, 3'599'000'000LL, 86'399'000'000LL})
        samples[5] << clock.FormatAutoScale(micros);
    int extra = 0;
    for (int c = 0; c < int(ColumnWidths.size()); ++c) {
        int need = headerText.horizontalAdvance(TopGridCellText(c, 0, clock)) + headerPadding;
        // Names are the player's own and may be long; their column keeps its width.
        if (c != 1) {
            for (int row = 1; row <= TopScoreCount; ++row)
                samples[c] << TopGridCellText(c, row, clock);
            for (const QString& text : samples[c])
                need = std::max(need, cellText.horizontalAdvance(text) + cellPadding);
        }
        const int width = std::max(ColumnWidths[size_t(c)], need);
        header->resizeSection(c, width);
        extra += width - ColumnWidths[size_t(c)];
    }
    const int width = ClientWidth + extra;
    setFixedSize(width, ClientHeight);
    Panel2->setGeometry(0, 0, width, ClientHeight - StripHeight);
    Panel1->setGeometry(0, ClientHeight - StripHeight, width, StripHeight);
    // "Close" keeps its place at the right edge.
    CancelBtn->move(CloseLeft + extra, CancelBtn->y());
}

void TTopScoresDlg::RefreshGrid() {
    FitColumns();
    model->Refresh();
    TopGrid->viewport()->update();
}

void TTopScoresDlg::showEvent(QShowEvent* event) {
    // Before centring: the table may need wider columns than at the last showing.
    FitColumns();
    TCentredDialog::showEvent(event);
    RefreshGrid();
    // The table may have changed since the last showing; the current row is shown again.
    TopGrid->scrollTo(TopGrid->currentIndex());
}

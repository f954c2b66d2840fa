#include "TCardBackDlg.h"

#include "Fonts.h"
#include "KestrelObjects/BitmapHelpers.h"
#include "cards/CardResources.h"

#include <QFrame>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace {
constexpr int RowHeight = 108;

// Each row shows the large picture of its back with the row number at the left edge.
class BackDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        const QImage back = LoadCardBitmap(CardResource::FirstBack + index.row());
        p->drawImage(r.left() + 18, r.top() + 5, back);
        p->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        p->drawText(QRect(r.left(), r.top(), 18, 20), Qt::AlignLeft | Qt::AlignTop, QString::number(index.row() + 1));
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {96, RowHeight}; }
};

// A button picture with its bottom-left colour made transparent, and a greyed form for the
// disabled state.
QIcon GlyphIcon(const QString& path) {
    QImage image = ReadPicture(path).convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    const QRgb key = image.pixel(0, image.height() - 1);
    QImage grey = image;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c == key) {
                image.setPixel(x, y, 0);
                grey.setPixel(x, y, 0);
            } else {
                const int g = qGray(c) / 2 + 96;
                grey.setPixel(x, y, qRgba(g, g, g, 255));
            }
        }
    }
    QIcon icon(QPixmap::fromImage(image));
    icon.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
    return icon;
}
} // namespace

TCardBackDlg::TCardBackDlg(QWidget* parent) : TCentredDialog(parent) {
    setWindowTitle(QStringLiteral("Select Card Backs"));
    setFixedSize(233, 247);
    setFont(GameFont("MS Sans Serif", 11, true));

    auto* bevel1 = new QFrame(this);
    bevel1->setGeometry(8, 8, 129, 233);
    bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    BackList = new QListWidget(this);
    BackList->setGeometry(16, 16, 113, 217);
    BackList->setItemDelegate(new BackDelegate(BackList));
    BackList->setUniformItemSizes(true);
    for (int i = 1; i <= CardResource::BackCount; ++i)
        BackList->addItem(QString::number(i));

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setGeometry(148, 8, 77, 27);
    OKBtn->setDefault(true);
    OKBtn->setIcon(GlyphIcon(QStringLiteral(":/pictures/glyph_ok.png")));
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setGeometry(148, 48, 77, 27);
    CancelBtn->setIcon(GlyphIcon(QStringLiteral(":/pictures/glyph_cancel.png")));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> TCardBackDlg::ChooseCardBack(int current) {
    BackList->setCurrentRow(current >= 0 && current < CardResource::BackCount ? current : -1);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    // With no row chosen the back in use stays.
    const int row = BackList->currentRow();
    return row >= 0 ? row : current;
}

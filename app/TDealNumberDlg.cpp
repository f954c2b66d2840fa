#include "TDealNumberDlg.h"

#include "KestrelObjects/TCentredDialog.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>

std::optional<uint32_t> ParseDealNumber(const QString& text) {
    const QString digits = text.trimmed();
    bool ok = false;
    const qulonglong number = digits.toULongLong(&ok, 10);
    if (!ok || digits.isEmpty() || !digits.front().isDigit() || number > UINT32_MAX)
        return std::nullopt;
    return uint32_t(number);
}

std::optional<uint32_t> AskDealNumber(QWidget* parent, std::optional<uint32_t> current) {
    QInputDialog box(parent, TCentredDialog::CloseBoxOnly());
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(QStringLiteral("Deal Number"));
    box.setLabelText(QStringLiteral("Deal number (0 to 4294967295):"));
    box.setTextValue(current ? QString::number(*current) : QString());
    if (auto* edit = box.findChild<QLineEdit*>())
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,10}")), edit));
    while (box.exec() == QDialog::Accepted) {
        if (const std::optional<uint32_t> number = ParseDealNumber(box.textValue()))
            return number;
        QMessageBox::information(parent, QStringLiteral("Tarnwell"),
                                 QStringLiteral("A deal number is a whole number from 0 to 4294967295."));
    }
    return std::nullopt;
}

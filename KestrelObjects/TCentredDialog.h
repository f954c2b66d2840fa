#pragma once

#include <QDialog>

// A dialog that opens centred on the screen of the window that opened it.
class TCentredDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCentredDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {}) : QDialog(parent, flags) {}

protected:
    void showEvent(QShowEvent* event) override;
};

#pragma once

#include <QDialog>

// A dialog that opens centred on the screen of the window that opened it. Being modal, it has
// a caption with a close box and nothing to minimise or maximise it.
class TCentredDialog : public QDialog {
    Q_OBJECT
public:
    // type: Qt::Dialog, or Qt::Tool for a small caption bar.
    explicit TCentredDialog(QWidget* parent = nullptr, Qt::WindowType type = Qt::Dialog)
        : QDialog(parent, CloseBoxOnly(type)) {}

    // The window flags of a modal dialog of the given type: caption and close box only.
    static Qt::WindowFlags CloseBoxOnly(Qt::WindowType type = Qt::Dialog) {
        return type | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    }

protected:
    void showEvent(QShowEvent* event) override;
};

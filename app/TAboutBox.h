#pragma once

#include <QDateTime>
#include "KestrelObjects/TCentredDialog.h"

class QLabel;

// "Version 1.yy.m.d.b": the program file's last-modified date and the last part of its version.
QString BuildVersionText(const QDate& modified, const QString& fileVersion);

// The about box: the program's picture, name, version and credits.
class TAboutBox : public TCentredDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* Version;
};
